#include "ui/TSolveInformer.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

namespace tavrin {

TSolveInformer::TSolveInformer(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle("Solve information");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 4, 6, 4);
  currentAction_ = new QLabel("Generating local stiffness matrix #", this);
  currentIndex_ = new QLabel("0", this);
  currentIndex_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  actionProgress_ = new QProgressBar(this);
  actionProgress_->setRange(0, 100);
  actionProgress_->setValue(0);
  grid->addWidget(currentAction_, 0, 0);
  grid->addWidget(currentIndex_, 0, 1);
  grid->addWidget(new QLabel("Progress", this), 1, 0, 1, 2);
  grid->addWidget(actionProgress_, 2, 0, 1, 2);
  resize(194, 64);
}

void TSolveInformer::ShowSolveProgress(const std::string& caption, int position, int index, int total) {
  if (!isVisible()) {
    if (placement) move(placement(width()));
    show();
  }
  // Integer percentage; a zero total (nothing to do) reads as no progress rather than faulting.
  long long percent = total != 0 ? static_cast<long long>(position) * 100 / total : 0;
  actionProgress_->setValue(static_cast<int>(std::clamp<long long>(percent, 0, 100)));
  currentAction_->setText(QString::fromStdString(caption));
  currentIndex_->setNum(index);
}

void TSolveInformer::HideSolveProgress() {
  if (isVisible()) close();
}

void TSolveInformer::ProcessEvents() { QCoreApplication::processEvents(); }

int TSolveInformer::Percent() const { return actionProgress_->value(); }
QString TSolveInformer::ActionText() const { return currentAction_->text(); }
QString TSolveInformer::IndexText() const { return currentIndex_->text(); }

}  // namespace tavrin
