#include "ui/TMeshInformer.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <cmath>

namespace tavrin {

TMeshInformer::TMeshInformer(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
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
  resize(123, 77);
}

void TMeshInformer::ShowMeshProgress(const std::string& caption, int nodes, int elements, double angleDeg) {
  if (!isVisible()) {
    if (placement) move(placement(width()));
    show();
  }
  setWindowTitle(QString::fromStdString(caption));
  double bar = std::floor(angleDeg * 100.0 / 35.0);
  currentMinAngle_->setValue(static_cast<int>(std::clamp(bar, 0.0, 100.0)));
  numberOfElements_->setNum(elements);
  numberOfNodes_->setNum(nodes);
}

void TMeshInformer::HideMeshProgress() {
  if (isVisible()) close();
}

void TMeshInformer::ProcessEvents() {
  if (beforeEvents) beforeEvents();
  QCoreApplication::processEvents();
}

void TMeshInformer::keyPressEvent(QKeyEvent* event) {
  if (onKeyPressed) onKeyPressed(event->key());
  QWidget::keyPressEvent(event);
}

void TMeshInformer::keyReleaseEvent(QKeyEvent* event) {
  if (onKeyReleased) onKeyReleased(event->key());
  QWidget::keyReleaseEvent(event);
}

int TMeshInformer::AngleBar() const { return currentMinAngle_->value(); }
QString TMeshInformer::ElementsText() const { return numberOfElements_->text(); }
QString TMeshInformer::NodesText() const { return numberOfNodes_->text(); }

}  // namespace tavrin
