#include "ui/TSolveInformer.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace tavrin {

TSolveInformer::TSolveInformer(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle("Solve information");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 4, 6, 4);
  currentAction_ = new QLabel("Generating local stiffness matrix #", this);
  currentIndex_ = new QLabel("0", this);
  currentIndex_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  actionProgress_ = new QProgressBar(this);
  actionProgress_->setRange(0, 100);
  actionProgress_->setValue(0);
  // The stage captions are long for this narrow window: the caption gives way (cut at the
  // right), never the index, which keeps room for seven digits.
  currentAction_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  currentIndex_->setMinimumWidth(
      currentIndex_->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
  grid->setColumnStretch(0, 1);
  grid->addWidget(currentAction_, 0, 0);
  grid->addWidget(currentIndex_, 0, 1);
  grid->addWidget(new QLabel("Progress", this), 1, 0, 1, 2);
  grid->addWidget(actionProgress_, 2, 0, 1, 2);
  auto* stop = new QPushButton("Stop", this);
  stop->setObjectName("StopButton");
  stop->setFocusPolicy(Qt::NoFocus);
  connect(stop, &QPushButton::clicked, this, [this] {
    RequestStop();
    if (onStop) onStop();
  });
  grid->addWidget(stop, 3, 0, 1, 2);
  resize(194, 64);
}

void TSolveInformer::ShowSolveProgress(const std::string& caption, int position, int index,
                                       int total) {
  if (!isVisible()) {
    // The layout may widen the design size: place the window by the width it will show with.
    if (layout()) layout()->activate();
    if (placement) move(placement(width()));
    show();
    throttle_.NewStage();
  }
  // Integer percentage; a zero total (nothing to do) reads as no progress rather than faulting.
  long long percent = total != 0 ? static_cast<long long>(position) * 100 / total : 0;
  percent_ = static_cast<int>(std::clamp<long long>(percent, 0, 100));
  index_ = index;
  if (throttle_.Report(caption)) Refresh();
}

void TSolveInformer::Refresh() {
  actionProgress_->setValue(percent_);
  currentAction_->setText(QString::fromStdString(throttle_.Caption()));
  currentIndex_->setNum(index_);
}

void TSolveInformer::HideSolveProgress() {
  Refresh();
  throttle_.NewStage();
  if (isVisible()) close();
}

void TSolveInformer::ShowStopping() {
  if (isVisible()) currentAction_->setText(QStringLiteral("Stopping..."));
}

void TSolveInformer::ProcessEvents() {
  if (throttle_.TakeEventsTurn()) QCoreApplication::processEvents();
}

int TSolveInformer::Percent() const { return percent_; }
QString TSolveInformer::ActionText() const { return QString::fromStdString(throttle_.Caption()); }
QString TSolveInformer::IndexText() const { return QString::number(index_); }

}  // namespace tavrin
