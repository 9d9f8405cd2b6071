#include "ui/TMeshInformer.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace tavrin {

TMeshInformer::TMeshInformer(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle("Delaunay Refinement");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setVerticalSpacing(1);
  grid->addWidget(new QLabel("Current minimal angle", this), 0, 0, 1, 2);
  currentMinAngle_ = new QProgressBar(this);
  currentMinAngle_->setRange(0, 100);
  currentMinAngle_->setValue(0);
  currentMinAngle_->setTextVisible(false);
  grid->addWidget(currentMinAngle_, 1, 0, 1, 2);
  auto* low = new QLabel("0", this);
  auto* high = new QLabel("35", this);
  high->setAlignment(Qt::AlignRight);
  grid->addWidget(low, 2, 0);
  grid->addWidget(high, 2, 1);
  grid->addWidget(new QLabel("Elements number", this), 3, 0);
  numberOfElements_ = new QLabel("0", this);
  numberOfElements_->setAlignment(Qt::AlignRight);
  grid->addWidget(numberOfElements_, 3, 1);
  grid->addWidget(new QLabel("Nodes number", this), 4, 0);
  numberOfNodes_ = new QLabel("0", this);
  numberOfNodes_->setAlignment(Qt::AlignRight);
  grid->addWidget(numberOfNodes_, 4, 1);
  auto* stop = new QPushButton("Stop", this);
  stop->setObjectName("StopButton");
  // A stop key pressed while the button had the focus would click it a second time.
  stop->setFocusPolicy(Qt::NoFocus);
  connect(stop, &QPushButton::clicked, this, [this] {
    if (onStop) onStop();
  });
  grid->addWidget(stop, 5, 0, 1, 2);
  resize(123, 77);
}

void TMeshInformer::ShowMeshProgress(const std::string& caption, int nodes, int elements,
                                     double angleDeg) {
  if (!isVisible()) {
    // The layout may widen the design size: place the window by the width it will show with.
    if (layout()) layout()->activate();
    if (placement) move(placement(width()));
    show();
    throttle_.NewStage();
  }
  double bar = std::floor(angleDeg * 100.0 / 35.0);
  bar_ = static_cast<int>(std::clamp(bar, 0.0, 100.0));
  nodes_ = nodes;
  elements_ = elements;
  if (throttle_.Report(caption)) Refresh();
}

void TMeshInformer::Refresh() {
  setWindowTitle(QString::fromStdString(throttle_.Caption()));
  currentMinAngle_->setValue(bar_);
  numberOfElements_->setNum(elements_);
  numberOfNodes_->setNum(nodes_);
}

void TMeshInformer::ShowStopping() {
  if (isVisible()) setWindowTitle(QStringLiteral("Stopping..."));
}

void TMeshInformer::HideMeshProgress() {
  Refresh();
  throttle_.NewStage();
  if (isVisible()) close();
}

void TMeshInformer::ProcessEvents() {
  // The hook runs every pass: it measures the animation frame just drawn.
  if (beforeEvents) beforeEvents();
  if (throttle_.TakeEventsTurn()) QCoreApplication::processEvents();
}

void TMeshInformer::keyPressEvent(QKeyEvent* event) {
  if (onKeyPressed) onKeyPressed(event->key());
  QWidget::keyPressEvent(event);
}

void TMeshInformer::keyReleaseEvent(QKeyEvent* event) {
  if (onKeyReleased) onKeyReleased(event->key());
  QWidget::keyReleaseEvent(event);
}

int TMeshInformer::AngleBar() const { return bar_; }
QString TMeshInformer::ElementsText() const { return QString::number(elements_); }
QString TMeshInformer::NodesText() const { return QString::number(nodes_); }

}  // namespace tavrin
