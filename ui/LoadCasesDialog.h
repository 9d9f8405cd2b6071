// LoadCasesDialog: the job's load cases, combinations and envelopes in three tables, edited
// together and handed back whole on OK (the window records them as one undoable step).
//
//   Cases:        one row per case, its name; the first case (the loads of the job's tables)
//                 can be renamed, never deleted. A new case starts without loads.
//   Combinations: one row per combination, its name and one column per case holding the
//                 case's factor (blank: not in the combination).
//   Envelopes:    one row per envelope, its name and one check column per combination.
// Renaming a case or a combination renames its column; deleting one removes it from every
// combination or envelope.
//
// OK builds the LoadCases and checks them with LoadCases::Problem() (the check the job file
// and the Python module use); a fault is named in a message and the dialog stays open with
// everything as typed. Owns its widgets and the loads of the cases (which it does not edit).
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "model/LoadCases.h"

class QTableWidget;

namespace tavrin {

class LoadCasesDialog : public QDialog {
  Q_OBJECT
 public:
  explicit LoadCasesDialog(const LoadCases& cases, QWidget* parent = nullptr);

  // The tables (object names "CaseTable", "CombinationTable", "EnvelopeTable").
  QTableWidget* CaseTable() const { return cases_; }
  QTableWidget* CombinationTable() const { return combinations_; }
  QTableWidget* EnvelopeTable() const { return envelopes_; }
  void AddCase();
  void DeleteCase();  // the selected row, unless it is the first
  void AddCombination();
  void DeleteCombination();
  void AddEnvelope();
  void DeleteEnvelope();

  // The cases as the tables hold them, or "" and `out` untouched with the first fault named
  // (shown to the user by accept()).
  std::string Build(LoadCases& out) const;
  // Valid after the dialog was accepted.
  const LoadCases& Result() const { return result_; }

  void accept() override;

 private:
  void Fill(const LoadCases& cases);
  // Column headers of the combination and envelope tables after the rows they name.
  void RenameColumns();

  std::vector<LoadCase> loads_;  // per case row; entry 0 unused (the job's tables hold it)
  LoadCases result_;
  QTableWidget* cases_ = nullptr;
  QTableWidget* combinations_ = nullptr;
  QTableWidget* envelopes_ = nullptr;
};

}  // namespace tavrin
