#include "ui/TAboutDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

TAboutDialog::TAboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TAboutDialog"));
  setWindowTitle(QStringLiteral("About"));
  auto* layout = new QVBoxLayout(this);
  auto* name = new QLabel(QString::fromLatin1(kProgramName), this);
  name->setObjectName(QStringLiteral("ProductName"));
  QFont big = name->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  name->setFont(big);
  auto* version =
      new QLabel(QStringLiteral("Version %1").arg(QString::fromLatin1(kProgramVersion)), this);
  version->setObjectName(QStringLiteral("Version"));
  auto* description = new QLabel(QString::fromLatin1(kProgramDescription), this);
  description->setObjectName(QStringLiteral("Comments"));
  for (QLabel* l : {name, version, description}) {
    l->setAlignment(Qt::AlignHCenter);
    layout->addWidget(l);
  }
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  setFixedSize(sizeHint());
}

}  // namespace tavrin
