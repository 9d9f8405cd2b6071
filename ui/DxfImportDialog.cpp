// The DXF import dialog: the layer list drives a new import on every change; the preview fits
// the loops of the last import into its widget (linear in their corners per paint).
#ifdef TAVRIN_HAVE_DXF

#include "ui/DxfImportDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>

namespace tavrin {

// The loops and points of an import, fitted into the widget: the outline solid, the holes
// dashed, free nodes as dots; empty for a refused import.
class DxfPreview : public QWidget {
 public:
  explicit DxfPreview(QWidget* parent) : QWidget(parent) { setMinimumSize(320, 240); }
  void Show(const dxf::ImportReport* report) {
    report_ = report;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!report_ || report_->loops.empty()) return;
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    for (const dxf::ImportedLoop& loop : report_->loops)
      for (const dxf::XY& q : loop.points)
        x0 = std::min(x0, q.x), y0 = std::min(y0, q.y), x1 = std::max(x1, q.x),
        y1 = std::max(y1, q.y);
    const double margin = 12.0;
    const double span = std::max(x1 - x0, y1 - y0);
    const double scale = std::min((width() - 2 * margin) / std::max(x1 - x0, span * 1e-9),
                                  (height() - 2 * margin) / std::max(y1 - y0, span * 1e-9));
    const auto at = [&](dxf::XY q) {
      return QPointF(margin + (q.x - x0) * scale, height() - margin - (q.y - y0) * scale);
    };
    p.setRenderHint(QPainter::Antialiasing);
    for (const dxf::ImportedLoop& loop : report_->loops) {
      QPainterPath path(at(loop.points.front()));
      for (const dxf::XY& q : loop.points) path.lineTo(at(q));
      path.closeSubpath();
      p.setPen(QPen(Qt::black, loop.hole ? 1.0 : 2.0, loop.hole ? Qt::DashLine : Qt::SolidLine));
      p.setBrush(loop.hole ? QBrush(Qt::white) : QBrush(QColor(220, 232, 245)));
      p.drawPath(path);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::darkRed);
    for (const dxf::XY& q : report_->freeNodes) p.drawEllipse(at(q), 3.0, 3.0);
  }

 private:
  const dxf::ImportReport* report_ = nullptr;  // the dialog's; not owned
};

DxfImportDialog::DxfImportDialog(std::string path, QWidget* parent)
    : QDialog(parent), path_(std::move(path)) {
  setObjectName("DxfImportDialog");
  setWindowTitle(QStringLiteral("Import DXF - %1")
                     .arg(QString::fromStdString(std::filesystem::path(path_).filename())));
  layers_ = new QListWidget(this);
  layers_->setObjectName("DxfLayers");
  preview_ = new DxfPreview(this);
  summary_ = new QLabel(this);
  summary_->setObjectName("DxfSummary");
  summary_->setWordWrap(true);
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(layers_, &QListWidget::itemChanged, this, [this] {
    if (!filling_) Import(TickedLayers());
  });

  auto* top = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel("Layers to read:", this));
  left->addWidget(layers_);
  top->addLayout(left, 1);
  top->addWidget(preview_, 2);
  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addWidget(summary_);
  all->addWidget(buttons_);
  Import({});
}

void DxfImportDialog::ChooseLayers(const std::vector<std::string>& layers) { Import(layers); }

QString DxfImportDialog::Summary() const { return summary_->text(); }

std::vector<std::string> DxfImportDialog::TickedLayers() const {
  std::vector<std::string> ticked;
  for (int i = 0; i < layers_->count(); ++i)
    if (layers_->item(i)->checkState() == Qt::Checked)
      ticked.push_back(layers_->item(i)->text().section(" (", 0, 0).toStdString());
  return ticked;
}

void DxfImportDialog::Import(const std::vector<std::string>& layers) {
  // No layer ticked reads none, not all: the importer's empty list means every layer.
  const bool none = layers.empty() && layers_->count() > 0;
  result_ = dxf::ImportDxf(path_, {none ? std::vector<std::string>{""} : layers});
  const dxf::ImportReport& report = result_.report;

  filling_ = true;
  layers_->clear();
  for (const dxf::LayerSummary& layer : report.layers) {
    auto* item = new QListWidgetItem(
        QStringLiteral("%1 (%2)").arg(QString::fromStdString(layer.name)).arg(layer.entities),
        layers_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(layer.selected && !none ? Qt::Checked : Qt::Unchecked);
  }
  filling_ = false;

  QString text = QStringLiteral("Units: %1; the numbers stay as drawn. ")
                     .arg(QString::fromStdString(dxf::UnitName(report.insunits)));
  if (result_) {
    text += QStringLiteral("Outline of %1 edges, %2 holes, %3 free nodes.")
                .arg(report.loops.front().corners.size())
                .arg(report.loops.size() - 1)
                .arg(report.freeNodes.size());
    summary_->setStyleSheet({});
  } else {
    text += none ? QStringLiteral("Tick the layers of the plate.")
                 : QString::fromStdString(result_.message);
    summary_->setStyleSheet("color: darkred");
  }
  summary_->setText(text);
  preview_->Show(result_ ? &report : nullptr);
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(static_cast<bool>(result_));
}

}  // namespace tavrin

#endif
