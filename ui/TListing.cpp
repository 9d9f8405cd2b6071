#include "ui/TListing.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>

#include "analysis/TGlobMatrix.h"
#include "ui/NumberFit.h"
#include "ui/Platform.h"
#include "ui/TRollupFields.h"

namespace tavrin {

namespace {
// The signed value of a number cell and the most significant digits it is shown with.
constexpr int kValueRole = Qt::UserRole;
constexpr int kDigitsRole = Qt::UserRole + 1;
// Leading blanks leave room for the arrow.
const char* const kCaptions[kListingColumns] = {"    Node #",   "    Lin. DZ",  "     Rot. DX",
                                                "     Rot. DY", "     sigma X", "     sigma Y",
                                                "    tau XY"};
// A column is never narrower than this when dragged.
constexpr int kMinColumnWidth = 30;
// Pixels either side of a header's edge where a drag widens the column instead of sorting.
constexpr int kEdgeGrip = 4;
}  // namespace

// The grid's model: the listed rows, formatted only when the view asks for a cell; the further
// columns are read from the source then.
class TListingModel : public QAbstractTableModel {
 public:
  TListingModel(const std::vector<ListingRow>& rows, const bool& byNodes,
                const ListingSource* const& source, const std::vector<ResultColumns::Column>& extra,
                QObject* parent)
      : QAbstractTableModel(parent),
        rows_(rows),
        byNodes_(byNodes),
        source_(source),
        extra_(extra) {}
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : kListingColumns + static_cast<int>(extra_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    // The delegate writes numbers to fit their column; the tool tip shows them whole.
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
      return Text(index.row(), index.column());
    if (role != kValueRole && role != kDigitsRole) return {};
    double value = 0.0;
    int digits = 0;
    if (!Number(index.row(), index.column(), value, digits)) return {};
    return role == kValueRole ? QVariant(value) : QVariant(digits);
  }
  QString Text(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= columnCount({}))
      return {};
    if (column == kColNumber) return QString::number(rows_[row].number);
    if (column >= kListingColumns && source_ && extra_[column - kListingColumns].names)
      return QString::fromStdString(
          source_->ExtraText(column - kListingColumns, byNodes_, rows_[row].number));
    double value = 0.0;
    int digits = 0;
    return Number(row, column, value, digits) ? QString::number(value, 'g', digits) : QString();
  }
  // A value cell of the mode: its value and digits; false for the number column and for the
  // columns the mode leaves empty.
  bool Number(int row, int column, double& value, int& digits) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column <= kColNumber ||
        column >= columnCount({}))
      return false;
    if (column >= kListingColumns) {
      const ResultColumns::Column& c = extra_[column - kListingColumns];
      if (!source_ || c.names || !(byNodes_ ? c.atNodes : c.atElements)) return false;
      value = source_->ExtraValue(column - kListingColumns, byNodes_, rows_[row].number);
      digits = 15;
      return true;
    }
    const bool used = byNodes_ ? column <= kColRotY : (column == kColLinZ || column >= kColSigmaX);
    if (!used) return false;
    value = rows_[row].values[column - 1];
    // The deflection column keeps 8 significant digits, the others 15.
    digits = column == kColLinZ ? 8 : 15;
    return true;
  }
  void Reset() {
    beginResetModel();
    endResetModel();
  }

 private:
  const std::vector<ListingRow>& rows_;
  const bool& byNodes_;
  const ListingSource* const& source_;
  const std::vector<ResultColumns::Column>& extra_;
};

// Writes each number with as many of its digits as its column has room for, in the exponent
// form where the fixed one would not fit, instead of cutting the text at the column's edge.
class TListingDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  // The text a cell shows in the given option (its rect is the cell's).
  QString Shown(QStyleOptionViewItem option, const QModelIndex& index) const {
    initStyleOption(&option, index);
    return option.text;
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const QVariant value = index.data(kValueRole);
    if (!value.isValid()) return;
    const QWidget* widget = option->widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    // The style draws the text inside this rectangle less a margin on either side, and elides
    // what is wider.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const int width =
        style->subElementRect(QStyle::SE_ItemViewItemText, option, widget).width() - 2 * margin;
    option->text =
        FitNumber(value.toDouble(), index.data(kDigitsRole).toInt(), width, option->fontMetrics);
  }
};

// The 16 x 16 arrow box inside a column header: the sort direction's triangle while its column
// is the sort column. It paints only its top left 13 x 13 pixels, where the triangle lies, so
// the caption behind it stays readable.
class TListingArrow : public QWidget {
 public:
  TListingArrow(const TListing& owner, int column, QWidget* parent)
      : QWidget(parent), owner_(owner), column_(column) {
    setFixedSize(16, 16);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(QRect(0, 0, 13, 13), palette().color(QPalette::Button));
    if (owner_.SortColumn() != column_) return;
    p.setPen(Qt::black);
    p.setBrush(Qt::black);
    if (owner_.Ascending())
      p.drawPolygon(QPolygon({QPoint(2, 2), QPoint(11, 2), QPoint(6, 10)}));  // pointing down
    else
      p.drawPolygon(QPolygon({QPoint(2, 11), QPoint(11, 11), QPoint(6, 3)}));  // pointing up
  }

 private:
  const TListing& owner_;
  int column_;
};

// A column header: a raised panel with its caption and its arrow box; a left click sorts by
// the column, a drag at its right edge (or at the left edge of the next header) widens or
// narrows the column.
class TListingHeader : public QWidget {
 public:
  TListingHeader(TListing& owner, int column, const QString& caption, QWidget* parent)
      : QWidget(parent), owner_(owner), column_(column), caption_(caption) {
    setFixedHeight(21);
    resize(80, 21);
    setMouseTracking(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Button));
    p.setPen(pal.color(QPalette::Light));
    p.drawLine(0, 0, width() - 1, 0);
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(pal.color(QPalette::Dark));
    p.drawLine(width() - 1, 0, width() - 1, height() - 1);
    p.drawLine(0, height() - 1, width() - 1, height() - 1);
    p.setPen(pal.color(QPalette::ButtonText));
    p.drawText(rect().adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, caption_);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    const int edge = EdgeColumn(event->position().x());
    if (edge < 0) {
      owner_.HeaderClick(column_);
      return;
    }
    resizing_ = edge;
    dragStart_ = event->globalPosition().x();
    startWidth_ = owner_.ColumnWidth(edge);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (resizing_ >= 0) {
      owner_.SetColumnWidth(
          resizing_, startWidth_ + static_cast<int>(event->globalPosition().x() - dragStart_));
      return;
    }
    if (EdgeColumn(event->position().x()) >= 0)
      setCursor(Qt::SplitHCursor);
    else
      unsetCursor();
  }
  void mouseReleaseEvent(QMouseEvent*) override { resizing_ = -1; }

 private:
  // The column whose right edge is at x, or -1 away from the edges.
  int EdgeColumn(double x) const {
    if (x >= width() - kEdgeGrip) return column_;
    if (x < kEdgeGrip && column_ > 0) return column_ - 1;
    return -1;
  }

  TListing& owner_;
  int column_;
  QString caption_;
  int resizing_ = -1;  // the column being widened
  double dragStart_ = 0.0;
  int startWidth_ = 0;
};

TListing::TListing(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TListing"));
  setWindowTitle(QStringLiteral("Anlysis Data"));
  QFont f = font();
  f.setPointSize(8);
  setFont(f);
  // The design size is the smallest; a larger dialog gives the grid the room.
  setMinimumSize(601, 389);
  resize(601, 389);

  static const char* const kNames[kListingColumns] = {
      "NodeButton", "DUZButton", "DRXButton", "DRYButton", "SXButton", "SYButton", "XYButton"};
  static const char* const kArrows[kListingColumns] = {
      "NodeArrow", "DUZArrow", "DRXArrow", "DRYArrow", "SXArrow", "SYArrow", "XYArrow"};
  // The headers sit in a strip as wide as the table, which clips those scrolled out of sight.
  headerStrip_ = new QWidget(this);
  headerStrip_->setGeometry(12, 8, 601 - 24, 21);
  for (int c = 0; c < kListingColumns; ++c) {
    headers_.push_back(
        new TListingHeader(*this, c, QString::fromLatin1(kCaptions[c]), headerStrip_));
    headers_[c]->setObjectName(QString::fromLatin1(kNames[c]));
    headers_[c]->move(80 * c, 0);
    arrows_.push_back(new TListingArrow(*this, c, headers_[c]));
    arrows_[c]->setObjectName(QString::fromLatin1(kArrows[c]));
    arrows_[c]->move(3, 3);
  }

  model_ = new TListingModel(rows_, rowsByNodes_, source_, extra_, this);
  resTable_ = new QTableView(this);
  resTable_->setObjectName(QStringLiteral("ResTable"));
  resTable_->setModel(model_);
  delegate_ = new TListingDelegate(resTable_);
  resTable_->setItemDelegate(delegate_);
  resTable_->horizontalHeader()->hide();
  resTable_->verticalHeader()->hide();
  // Fixed row heights and column widths keep the view from measuring rows: it stays quick with
  // any number of them.
  resTable_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  resTable_->verticalHeader()->setDefaultSectionSize(15);
  resTable_->verticalHeader()->setMinimumSectionSize(15);
  // Widths change only through the header panels above, which follow them.
  resTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  resTable_->horizontalHeader()->setMinimumSectionSize(kMinColumnWidth);
  // 79 pixels of text and the 1-pixel grid line: each column lines up under its 80-pixel header.
  resTable_->horizontalHeader()->setDefaultSectionSize(80);
  resTable_->setWordWrap(false);
  // The numbers are written to fit already; the style's text layout measures a pixel wider
  // than the font metrics at some sizes and would put "..." in place of the last digits.
  resTable_->setTextElideMode(Qt::ElideNone);
  resTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
  resTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  resTable_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  resTable_->installEventFilter(this);
  connect(resTable_->horizontalHeader(), &QHeaderView::sectionResized, this,
          &TListing::PlaceHeaders);
  connect(resTable_->horizontalScrollBar(), &QScrollBar::valueChanged, this,
          &TListing::PlaceHeaders);

  devLabel_ = new QLabel(QStringLiteral("Maximum deviation, %"), this);
  deviation_ = new QLineEdit(QStringLiteral("100"), this);
  deviation_->setObjectName(QStringLiteral("Deviation"));

  byNodesButton_ = new QRadioButton(QStringLiteral("Mesh nodes"), this);
  byNodesButton_->setObjectName(QStringLiteral("ByNodes"));
  byNodesButton_->setChecked(true);
  byCentersButton_ = new QRadioButton(QStringLiteral("Element centers"), this);
  byCentersButton_->setObjectName(QStringLiteral("ByCenters"));

  button1_ = new QPushButton(QStringLiteral("Cancel"), this);
  button1_->setObjectName(QStringLiteral("Button1"));
  // Enter in the deviation field must not close the dialog.
  button1_->setAutoDefault(false);
  button1_->setDefault(false);

  Layout();
  connect(button1_, &QPushButton::clicked, this, &QDialog::reject);
  connect(byNodesButton_, &QRadioButton::clicked, this, &TListing::ByNodesClick);
  connect(byCentersButton_, &QRadioButton::clicked, this, &TListing::ByCentersClick);
}

TListing::~TListing() = default;

void TListing::Show(const TGlobMatrix& solver) { Show(SolverListingSource(solver)); }

void TListing::Show(const ListingSource& source) {
  Open(source);
  exec();
  Close();
}

// The grid takes what the dialog has beyond its design size; the controls below it keep their
// places against the bottom edge, Cancel against the right one.
void TListing::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Layout();
}

void TListing::Layout() {
  const int w = width(), h = height(), bottom = h - 389;
  headerStrip_->setGeometry(12, 8, w - 24, 21);
  resTable_->setGeometry(12, 30, w - 24, 310 + bottom);
  devLabel_->setGeometry(12, 352 + bottom, 140, 21);
  deviation_->setGeometry(156, 352 + bottom, 50, 21);
  byNodesButton_->setGeometry(225, 352 + bottom, 105, 21);
  byCentersButton_->setGeometry(335, 352 + bottom, 130, 21);
  button1_->setGeometry(w - 12 - 90, 350 + bottom, 90, 25);
  PlaceHeaders();
}

// Ctrl+C in the grid copies the selected rows whole; the view itself would copy one cell.
bool TListing::eventFilter(QObject* watched, QEvent* event) {
  if (watched == resTable_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    CopySelection();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TListing::Open(const ListingSource& source) {
  source_ = &source;
  extra_ = source.ExtraColumns();
  MakeExtraHeaders();
  // A further column of an earlier solve that this one lacks cannot stay the sort column.
  if (sortColumn_ >= ColumnCount()) sortColumn_ = kColNumber;
  // Element centres were chosen for an earlier solve; without stresses this one has no element
  // values to list.
  if (!byNodes_ && !source.HasStresses()) {
    byNodes_ = true;
    byNodesButton_->setChecked(true);
  }
  Refill();
}

// The rows belong to the solve they were read from: a later opening never shows them.
void TListing::Close() {
  source_ = nullptr;
  rows_.clear();
  model_->Reset();
}

void TListing::HeaderClick(int column) {
  if (column < 0 || column >= ColumnCount()) return;
  const bool accepted = column == kColNumber || column == kColLinZ ||
                        (source_ && ListingColumnUsed(*source_, column, byNodes_)) ||
                        (!source_ && (column == kColRotX || column == kColRotY) && byNodes_);
  if (!accepted) return;
  ascending_ = !ascending_;
  sortColumn_ = column;
  for (QWidget* a : arrows_) a->update();
  Refill();
}

void TListing::ByNodesClick() {
  byNodesButton_->setChecked(true);
  byNodes_ = true;
  Refill();
}

void TListing::ByCentersClick() {
  if (source_ && source_->HasStresses()) {
    byCentersButton_->setChecked(true);
    byNodes_ = false;
    Refill();
  } else {
    byNodesButton_->setChecked(true);  // element values exist only after the stress solve
  }
}

void TListing::Refill() {
  double value = ParseFieldValue(deviation_->text().toStdString());
  if (!(value > 0.0 && value <= 100.0)) {
    ShowError("NotValid deviation value");
    value = 100.0;
  }
  deviationFactor_ = 0.01 * value;
  if (!source_) return;
  ListingQuery q{byNodes_, sortColumn_, ascending_, deviationFactor_};
  std::vector<ListingRow> rows;
  if (!BuildListingRows(*source_, q, rows)) return;
  rows_ = std::move(rows);
  rowsByNodes_ = byNodes_;
  model_->Reset();
  resTable_->scrollToTop();
}

QString TListing::CellText(int row, int column) const { return model_->Text(row, column); }

QString TListing::ShownText(int row, int column) const {
  const QModelIndex index = model_->index(row, column);
  QStyleOptionViewItem option;
  option.initFrom(resTable_->viewport());
  option.widget = resTable_;
  option.rect = resTable_->visualRect(index);
  return delegate_->Shown(option, index);
}

int TListing::ColumnWidth(int column) const { return resTable_->columnWidth(column); }

void TListing::SetColumnWidth(int column, int width) {
  if (column < 0 || column >= ColumnCount()) return;
  resTable_->setColumnWidth(column, std::max(kMinColumnWidth, width));
}

QString TListing::ColumnName(int column) const {
  if (column >= kListingColumns && column < ColumnCount())
    return QString::fromStdString(extra_[column - kListingColumns].name);
  return column >= 0 && column < kListingColumns ? QString::fromLatin1(kCaptions[column]).trimmed()
                                                 : QString();
}

QString TListing::SelectionText() const {
  std::vector<int> rows;
  for (const QModelIndex& index : resTable_->selectionModel()->selectedRows())
    rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  QStringList lines;
  QStringList names;
  for (int c = 0; c < ColumnCount(); ++c) names << ColumnName(c);
  lines << names.join('\t');
  for (int row : rows) {
    QStringList cells;
    for (int c = 0; c < ColumnCount(); ++c) cells << CellText(row, c);
    lines << cells.join('\t');
  }
  return lines.join('\n') + '\n';
}

void TListing::CopySelection() const { QGuiApplication::clipboard()->setText(SelectionText()); }

void TListing::MakeExtraHeaders() {
  while (static_cast<int>(headers_.size()) > kListingColumns) {
    delete headers_.back();  // its arrow box goes with it
    headers_.pop_back();
    arrows_.pop_back();
  }
  for (int c = kListingColumns; c < ColumnCount(); ++c) {
    const QString name = ColumnName(c);
    auto* header = new TListingHeader(*this, c, QStringLiteral("    ") + name, headerStrip_);
    header->setObjectName(name + QStringLiteral("Button"));
    header->setToolTip(name);
    auto* arrow = new TListingArrow(*this, c, header);
    arrow->setObjectName(name + QStringLiteral("Arrow"));
    arrow->move(3, 3);
    header->show();
    // Wide enough for its name; the documented columns keep their 80 pixels.
    SetColumnWidth(c, std::max(80, header->fontMetrics().horizontalAdvance(name) + 30));
    headers_.push_back(header);
    arrows_.push_back(arrow);
  }
  model_->Reset();
  PlaceHeaders();
}

// Each header over its column, scrolled with the table.
void TListing::PlaceHeaders() {
  for (int c = 0; c < static_cast<int>(headers_.size()); ++c)
    headers_[c]->setGeometry(resTable_->columnViewportPosition(c), 0, resTable_->columnWidth(c),
                             21);
}

}  // namespace tavrin
