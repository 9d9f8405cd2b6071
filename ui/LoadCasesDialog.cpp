#include "ui/LoadCasesDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <initializer_list>
#include <tuple>

#include "ui/Platform.h"

namespace tavrin {

namespace {

QTableWidget* MakeTable(QWidget* parent, const char* name) {
  auto* table = new QTableWidget(0, 1, parent);
  table->setObjectName(name);
  table->setHorizontalHeaderLabels({"Name"});
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  return table;
}

// As typed: a name's blanks are for LoadCases::Problem() to judge.
QString Text(const QTableWidget* table, int row, int column) {
  const QTableWidgetItem* item = table->item(row, column);
  return item ? item->text() : QString();
}

void SetText(QTableWidget* table, int row, int column, const QString& text) {
  table->setItem(row, column, new QTableWidgetItem(text));
}

QTableWidgetItem* CheckItem(bool checked) {
  auto* item = new QTableWidgetItem;
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
  item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  return item;
}

// A row appended with `name` and the further columns blank (or unchecked boxes).
void AppendRow(QTableWidget* table, const QString& name, bool checks) {
  const int row = table->rowCount();
  table->insertRow(row);
  SetText(table, row, 0, name);
  for (int c = 1; c < table->columnCount(); ++c) {
    if (checks)
      table->setItem(row, c, CheckItem(false));
    else
      SetText(table, row, c, QString());
  }
}

// A name not yet in column 0 of any of the tables: stem and the first free number.
QString FreeName(const QString& stem, std::initializer_list<const QTableWidget*> tables) {
  for (int n = 1;; ++n) {
    const QString name = stem + " " + QString::number(n);
    bool used = false;
    for (const QTableWidget* t : tables)
      for (int r = 0; r < t->rowCount(); ++r) used = used || Text(t, r, 0) == name;
    if (!used) return name;
  }
}

}  // namespace

LoadCasesDialog::LoadCasesDialog(const LoadCases& cases, QWidget* parent) : QDialog(parent) {
  setObjectName("LoadCasesDialog");
  setWindowTitle("Load cases");
  cases_ = MakeTable(this, "CaseTable");
  combinations_ = MakeTable(this, "CombinationTable");
  envelopes_ = MakeTable(this, "EnvelopeTable");
  auto* grid = new QGridLayout;
  auto button = [this](const char* text, const char* name, void (LoadCasesDialog::*slot)()) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    return b;
  };
  const std::tuple<const char*, QTableWidget*, QPushButton*, QPushButton*> rows[] = {
      {"Cases", cases_, button("Add case", "AddCase", &LoadCasesDialog::AddCase),
       button("Delete case", "DeleteCase", &LoadCasesDialog::DeleteCase)},
      {"Combinations (factor per case; blank: not in it)", combinations_,
       button("Add combination", "AddCombination", &LoadCasesDialog::AddCombination),
       button("Delete combination", "DeleteCombination", &LoadCasesDialog::DeleteCombination)},
      {"Envelopes (combinations taken)", envelopes_,
       button("Add envelope", "AddEnvelope", &LoadCasesDialog::AddEnvelope),
       button("Delete envelope", "DeleteEnvelope", &LoadCasesDialog::DeleteEnvelope)}};
  int r = 0;
  for (const auto& [label, table, add, remove] : rows) {
    grid->addWidget(new QLabel(label, this), r, 0, 1, 2);
    grid->addWidget(table, r + 1, 0, 2, 1);
    grid->addWidget(add, r + 1, 1);
    grid->addWidget(remove, r + 2, 1, Qt::AlignTop);
    r += 3;
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &LoadCasesDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &LoadCasesDialog::reject);
  auto* all = new QVBoxLayout(this);
  all->addLayout(grid);
  all->addWidget(buttons);
  Fill(cases);
  connect(cases_, &QTableWidget::itemChanged, this, [this] { RenameColumns(); });
  connect(combinations_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->column() == 0) RenameColumns();
  });
  resize(620, 560);
}

void LoadCasesDialog::Fill(const LoadCases& cases) {
  loads_.assign(1, LoadCase{});
  cases_->setRowCount(0);
  AppendRow(cases_, QString::fromStdString(cases.firstName), false);
  combinations_->setColumnCount(1);
  for (const LoadCase& c : cases.further) {
    loads_.push_back(c);
    AppendRow(cases_, QString::fromStdString(c.name), false);
  }
  combinations_->setColumnCount(1 + cases.CaseCount());
  for (const Combination& combination : cases.combinations) {
    AppendRow(combinations_, QString::fromStdString(combination.name), false);
    const int row = combinations_->rowCount() - 1;
    for (const CombinationTerm& term : combination.terms) {
      const int k = cases.FindCase(term.caseName);
      if (k >= 0) SetText(combinations_, row, 1 + k, QString::number(term.factor, 'g', 17));
    }
  }
  envelopes_->setColumnCount(1 + static_cast<int>(cases.combinations.size()));
  for (const Envelope& envelope : cases.envelopes) {
    AppendRow(envelopes_, QString::fromStdString(envelope.name), true);
    const int row = envelopes_->rowCount() - 1;
    for (const std::string& name : envelope.combinations)
      if (const int k = cases.FindCombination(name); k >= 0)
        envelopes_->item(row, 1 + k)->setCheckState(Qt::Checked);
  }
  RenameColumns();
}

void LoadCasesDialog::RenameColumns() {
  QStringList caseHeaders{"Name"}, combinationHeaders{"Name"};
  for (int r = 0; r < cases_->rowCount(); ++r) caseHeaders << Text(cases_, r, 0);
  for (int r = 0; r < combinations_->rowCount(); ++r)
    combinationHeaders << Text(combinations_, r, 0);
  combinations_->setHorizontalHeaderLabels(caseHeaders);
  envelopes_->setHorizontalHeaderLabels(combinationHeaders);
}

void LoadCasesDialog::AddCase() {
  loads_.emplace_back();
  const QString name = FreeName("Case", {cases_, combinations_, envelopes_});
  combinations_->insertColumn(combinations_->columnCount());
  for (int r = 0; r < combinations_->rowCount(); ++r)
    SetText(combinations_, r, combinations_->columnCount() - 1, QString());
  AppendRow(cases_, name, false);  // renames the columns
}

void LoadCasesDialog::DeleteCase() {
  const int row = cases_->currentRow();
  if (row <= 0) return;  // the first case is the job's own loads
  loads_.erase(loads_.begin() + row);
  combinations_->removeColumn(1 + row);
  cases_->removeRow(row);
  RenameColumns();
}

void LoadCasesDialog::AddCombination() {
  envelopes_->insertColumn(envelopes_->columnCount());
  for (int r = 0; r < envelopes_->rowCount(); ++r)
    envelopes_->setItem(r, envelopes_->columnCount() - 1, CheckItem(false));
  AppendRow(combinations_, FreeName("Combination", {cases_, combinations_, envelopes_}), false);
  RenameColumns();
}

void LoadCasesDialog::DeleteCombination() {
  const int row = combinations_->currentRow();
  if (row < 0) return;
  envelopes_->removeColumn(1 + row);
  combinations_->removeRow(row);
  RenameColumns();
}

void LoadCasesDialog::AddEnvelope() {
  AppendRow(envelopes_, FreeName("Envelope", {cases_, combinations_, envelopes_}), true);
}

void LoadCasesDialog::DeleteEnvelope() {
  if (const int row = envelopes_->currentRow(); row >= 0) envelopes_->removeRow(row);
}

std::string LoadCasesDialog::Build(LoadCases& out) const {
  LoadCases built;
  built.firstName = Text(cases_, 0, 0).toStdString();
  for (int r = 1; r < cases_->rowCount(); ++r) {
    LoadCase c = loads_[static_cast<std::size_t>(r)];
    c.name = Text(cases_, r, 0).toStdString();
    built.further.push_back(std::move(c));
  }
  for (int r = 0; r < combinations_->rowCount(); ++r) {
    Combination combination{Text(combinations_, r, 0).toStdString(), {}};
    for (int k = 0; k < cases_->rowCount(); ++k) {
      const QString factor = Text(combinations_, r, 1 + k).trimmed();
      if (factor.isEmpty()) continue;
      bool ok = false;
      const double value = factor.toDouble(&ok);
      if (!ok) {
        std::string message = "combination '" + combination.name + "': the factor of case '";
        message += Text(cases_, k, 0).toStdString() + "' is not a number";
        return message;
      }
      combination.terms.push_back({Text(cases_, k, 0).toStdString(), value});
    }
    built.combinations.push_back(std::move(combination));
  }
  for (int r = 0; r < envelopes_->rowCount(); ++r) {
    Envelope envelope{Text(envelopes_, r, 0).toStdString(), {}};
    for (int k = 0; k < combinations_->rowCount(); ++k)
      if (const QTableWidgetItem* item = envelopes_->item(r, 1 + k);
          item && item->checkState() == Qt::Checked)
        envelope.combinations.push_back(Text(combinations_, k, 0).toStdString());
    built.envelopes.push_back(std::move(envelope));
  }
  // The job file's and the Python module's check: names, uniqueness, factors, references.
  if (std::string problem = built.Problem(); !problem.empty()) return problem;
  out = std::move(built);
  return {};
}

void LoadCasesDialog::accept() {
  if (const std::string problem = Build(result_); !problem.empty()) {
    std::string text = "The load cases cannot be kept: ";
    text += problem;
    text += ".";
    ShowError(text);
    return;
  }
  QDialog::accept();
}

}  // namespace tavrin
