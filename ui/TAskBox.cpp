#include "ui/TAskBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <charconv>

namespace tavrin {

TAskBox::TAskBox(QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("TAskBox"));
  setWindowTitle(QStringLiteral("AskBox"));
  QFont f = font();
  f.setPointSize(8);
  setFont(f);
  setFixedSize(152, 53);
  auto* label = new QLabel(QStringLiteral("Enter element #"), this);
  label->setGeometry(6, 4, 140, 16);
  answer_ = new QLineEdit(QStringLiteral("0"), this);
  answer_->setObjectName(QStringLiteral("Answer"));
  answer_->setGeometry(6, 24, 80, 22);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OK"));
  ok->setGeometry(92, 23, 54, 24);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

bool TAskBox::Ask() {
  answer_->selectAll();  // typing replaces the last answer
  answer_->setFocus();
  return exec() == QDialog::Accepted;
}

std::string TAskBox::AnswerText() const { return answer_->text().toStdString(); }

std::optional<int> ParseElementNumber(const std::string& text) {
  size_t b = text.find_first_not_of(" \t");
  if (b == std::string::npos) return std::nullopt;
  size_t e = text.find_last_not_of(" \t") + 1;
  const char* first = text.data() + b;
  const char* last = text.data() + e;
  if (*first == '+') {  // from_chars takes "-" but not "+"; a "+" must be followed by a digit
    ++first;
    if (first == last || *first < '0' || *first > '9') return std::nullopt;
  }
  int value = 0;
  auto [end, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || end != last) return std::nullopt;
  return value;
}

}  // namespace tavrin
