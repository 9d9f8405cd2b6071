#include "ui/TRollup.h"

#include <QShowEvent>

namespace tavrin {

TRollup::TRollup(TRollupHost& host, QWidget* parent) : QWidget(parent, Qt::Tool), host_(host) {
  setWindowTitle(QStringLiteral("Node Properties"));
}

TRollup::~TRollup() = default;

void TRollup::ShowSelection(SelectionKind kind, std::span<const int> ids,
                            const std::array<double, 6>& c) {
  kind_ = kind;
  id_ = ids.empty() ? -1 : ids[0];
  c_ = c;
  endSelected_ = false;
}

void TRollup::ShowPage(int) { show(); }
void TRollup::Startup(const QRect&, int) {}
void TRollup::SetApplyBlocked(bool) {}
void TRollup::Apply() {}
void TRollup::ToggleEdgeEnd() {}
void TRollup::SketchClick(int, int) {}
void TRollup::showEvent(QShowEvent* event) { QWidget::showEvent(event); }

}  // namespace tavrin
