#include "ui/TRollup.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/RollupConstraintsPage.h"
#include "ui/RollupGeometryPage.h"
#include "ui/RollupLoadsPage.h"
#include "ui/RollupPhysicsPage.h"

namespace tavrin {

namespace {

// The pictures of the four page tabs, 21 x 21, drawn here rather than shipped as files.
QIcon TabIcon(int page) {
  QPixmap pm(21, 21);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1.5));
  switch (page) {
    case 0:  // a node on a line
      p.drawLine(3, 17, 17, 4);
      p.fillRect(8, 8, 5, 5, Qt::red);
      break;
    case 1:  // a load arrow
      p.drawLine(10, 2, 10, 16);
      p.setBrush(Qt::black);
      p.drawPolygon(QPolygon({QPoint(6, 12), QPoint(14, 12), QPoint(10, 18)}));
      break;
    case 2:  // a support triangle on hatching
      p.setBrush(Qt::NoBrush);
      p.drawPolygon(QPolygon({QPoint(10, 3), QPoint(4, 14), QPoint(16, 14)}));
      for (int x = 3; x < 18; x += 4) p.drawLine(x + 3, 15, x, 19);
      break;
    default:  // a plate
      p.setBrush(QColor(200, 200, 200));
      p.drawPolygon(QPolygon({QPoint(2, 14), QPoint(8, 6), QPoint(19, 6), QPoint(13, 14)}));
      break;
  }
  return QIcon(pm);
}

}  // namespace

TRollup::TRollup(TRollupHost& host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      host_(host) {
  setObjectName(QStringLiteral("TRollup"));
  setWindowTitle(QStringLiteral("Node Properties"));
  QFont f = font();
  f.setPointSize(8);
  setFont(f);
  BuildControls();
  RefreshSelection();
}

TRollup::~TRollup() = default;

void TRollup::BuildControls() {
  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(4, 4, 4, 4);
  top->setSpacing(4);

  auto* selRow = new QHBoxLayout;
  selRow->addWidget(new QLabel(QStringLiteral("Selected:"), this));
  selectLabel_ = new QLabel(this);
  selectLabel_->setObjectName(QStringLiteral("Select_Label"));
  selRow->addWidget(selectLabel_, 1);
  top->addLayout(selRow);

  caseRow_ = new QWidget(this);
  auto* caseLayout = new QHBoxLayout(caseRow_);
  caseLayout->setContentsMargins(0, 0, 0, 0);
  caseLayout->addWidget(new QLabel(QStringLiteral("Case:"), caseRow_));
  caseBox_ = new QComboBox(caseRow_);
  caseBox_->setObjectName(QStringLiteral("LoadCase"));
  caseBox_->setToolTip(
      QStringLiteral("The load case whose loads, prescribed values and pressure "
                     "the pages show and Apply sets"));
  caseLayout->addWidget(caseBox_, 1);
  caseRow_->hide();
  top->addWidget(caseRow_);
  connect(caseBox_, &QComboBox::activated, this, [this](int k) { host_.ChooseLoadCase(k); });

  pageControl_ = new QTabWidget(this);
  pageControl_->setObjectName(QStringLiteral("PageControl"));
  pageControl_->setIconSize(QSize(21, 21));
  pageControl_->tabBar()->setExpanding(false);
  pageControl_->setStyleSheet(QStringLiteral("QTabBar::tab { width: 25px; padding: 2px 0px; }"));
  top->addWidget(pageControl_, 1);

  geometry_ = new RollupGeometryPage;
  loads_ = new RollupLoadsPage;
  constraints_ = new RollupConstraintsPage;
  physics_ = new RollupPhysicsPage;
  pages_ = {geometry_, loads_, constraints_, physics_};
  AddPage(geometry_, QStringLiteral("Geomery Properties"));
  AddPage(loads_, QStringLiteral("Loads Properties"));
  AddPage(constraints_, QStringLiteral("Constrains Properties"));
  AddPage(physics_, QString());

  mainButton_ = new QPushButton(QStringLiteral("Apply"), this);
  mainButton_->setObjectName(QStringLiteral("MainButton"));
  top->addWidget(mainButton_);

  connect(mainButton_, &QPushButton::clicked, this, &TRollup::Apply);
  connect(geometry_, &RollupGeometryPage::EdgeEndRequested, this,
          [this](int end) { host_.SelectEdgeEnd(selection_.id, end); });
  connect(geometry_, &RollupGeometryPage::FarEndClicked, this, &TRollup::ToggleEdgeEnd);
  connect(pageControl_, &QTabWidget::currentChanged, this, [this](int page) {
    if (page == TabGeometry) RefreshSelection();
  });

  // As small as the controls allow, and not smaller than the designed 135 x 290.
  QSize least = minimumSizeHint();
  resize(std::max(135, least.width()), std::max(290, least.height()));
}

void TRollup::AddPage(RollupPage* page, const QString& toolTip) {
  const int index = pageControl_->addTab(page, TabIcon(pageControl_->count()), QString());
  if (!toolTip.isEmpty()) pageControl_->setTabToolTip(index, toolTip);
  connect(page, &RollupPage::ShowMe, this, [this, page] { pageControl_->setCurrentWidget(page); });
}

void TRollup::ShowSelection(SelectionKind kind, std::span<const int> ids,
                            const std::array<double, 6>& c) {
  selection_ = RollupSelection{kind, ids.empty() ? -1 : ids[0], c, false};
  ++selectionGeneration_;
  shown_ = host_.Request();
  RefreshCases();
  RefreshSelection();
}

void TRollup::RefreshCases() {
  const std::vector<std::string> names = host_.CaseNames();
  caseRow_->setVisible(names.size() > 1);
  const QSignalBlocker quiet(caseBox_);
  caseBox_->clear();
  for (const std::string& name : names) caseBox_->addItem(QString::fromStdString(name));
  // A case gone (undone, deleted) leaves the editor on the job's own loads.
  int& k = host_.Request().loadCase;
  if (k < 0 || k >= static_cast<int>(names.size())) k = 0;
  caseBox_->setCurrentIndex(k);
}

// Shows the stored selection on every page. The fields then hold exactly the stored values, so
// no page has a pending change any more.
void TRollup::RefreshSelection() {
  switch (selection_.kind) {
    case SelectionKind::node:
      selectLabel_->setText(QStringLiteral("Node# %1").arg(selection_.id));
      break;
    case SelectionKind::edge:
      selectLabel_->setText(QStringLiteral("Edge# %1").arg(selection_.id));
      break;
    case SelectionKind::polygon:
      selectLabel_->setText(QStringLiteral("Polygon# %1").arg(selection_.id));
      break;
    default:
      selectLabel_->setText(QStringLiteral("None"));
      break;
  }
  for (RollupPage* page : pages_) page->Fill(selection_, shown_);
}

void TRollup::SketchClick(int x, int y) { geometry_->SketchClick(x, y); }

void TRollup::ToggleEdgeEnd() {
  if (selection_.kind != SelectionKind::edge) return;
  selection_.endSelected = !selection_.endSelected;
  geometry_->ShowEnd(selection_);
}

void TRollup::Apply() {
  if (!mainButton_->isEnabled()) return;
  EditRequest& r = host_.Request();
  r.geometryChanged = r.loadsChanged = r.constraintsChanged = r.physicsChanged = r.arcChanged =
      false;
  // A refused page keeps every page's pending changes, so that correcting the bad field and
  // pressing Apply again applies all of them.
  for (RollupPage* page : pages_) {
    if (page->Changed() && !page->Validate(selection_, r)) return;
  }

  const EditRequest applied = r;  // the host resets parts of the request when it is done
  const unsigned generation = selectionGeneration_;
  host_.ApplyEdits();
  if (generation != selectionGeneration_) return;  // the host showed a new selection meanwhile

  for (RollupPage* page : pages_) page->KeepApplied(applied, selection_, shown_);
  // The polygon page's change stays pending until a new selection, as released.
  for (RollupPage* page : {static_cast<RollupPage*>(geometry_), static_cast<RollupPage*>(loads_),
                           static_cast<RollupPage*>(constraints_)})
    page->ForgetChange();
}

void TRollup::ShowPage(int page) {
  if (isHidden()) show();
  if (page >= 0 && page < pageControl_->count()) pageControl_->setCurrentIndex(page);
}

void TRollup::Startup(const QRect& mainFrame, int statusBarHeight) {
  QSize own = isVisible() ? frameGeometry().size() : size();
  move(mainFrame.left() + mainFrame.width() - own.width() - 5,
       mainFrame.top() + mainFrame.height() - statusBarHeight - own.height() - 5);
}

void TRollup::SetApplyBlocked(bool blocked) { mainButton_->setEnabled(!blocked); }

void TRollup::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous() && pageControl_->currentIndex() == TabGeometry) RefreshSelection();
}

}  // namespace tavrin
