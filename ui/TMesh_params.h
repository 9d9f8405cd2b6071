// TMesh_params, the "Parameters & Stats" dialog: edits the process-wide mesh parameters (minimal
// angle, maximal triangle area, node limit, animation) and the analysis options (solver, recovery
// of nodal values), and shows the statistics of the last generation, with a word on whether that
// mesh is usable, and the adaptive solve's target and limits. Owns only its controls; the values
// live in GlobalMeshParameters(), GlobalAnalysisOptions(), GlobalAdaptiveSettings() and
// GlobalMeshStatistics().
#pragma once

#include <QDialog>

class QLineEdit;
class QCheckBox;
class QLabel;
class QComboBox;
class QPushButton;

namespace tavrin {

struct AdaptiveSettings;
// The workbench's adaptive solve settings, as the dialog last stored them (a target of 1 %).
AdaptiveSettings& GlobalAdaptiveSettings();

class TMesh_params : public QDialog {
  Q_OBJECT
 public:
  explicit TMesh_params(QWidget* parent = nullptr);

  // Fills the fields from the parameters and statistics (the show event runs it).
  void setup();
  // The OK button: stores what can be read, then closes the dialog in every case.
  void Button1Click();

  QLineEdit* set_min_ang = nullptr;
  QLineEdit* set_max_area = nullptr;
  QLineEdit* set_max_nodes = nullptr;  // the node limit
  QCheckBox* animate = nullptr;
  QComboBox* solver_choice = nullptr;     // items in SolverKind order
  QComboBox* recovery_choice = nullptr;   // items in RecoveryKind order
  QComboBox* edge_load_choice = nullptr;  // items in EdgeLoadKind order
  // Adaptive Solve: the estimate aimed for (per cent), the most cycles and elements.
  QLineEdit* adapt_target = nullptr;
  QLineEdit* adapt_cycles = nullptr;
  QLineEdit* adapt_elements = nullptr;
  QLineEdit* num_nodes = nullptr;
  QLineEdit* num_elements = nullptr;
  QLineEdit* real_min_ang = nullptr;
  // The smallest angle away from input corners sharper than the minimal angle, the number of
  // elements at such corners, and whether the last mesh is usable or why not.
  QLineEdit* free_min_ang = nullptr;
  QLineEdit* corner_elements = nullptr;
  QLabel* verdict = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Stores the adaptive fields, or says what is wrong and stores none of them.
  bool StoreAdaptiveSettings();
};

// The general float-to-text form of the dialog: the shortest text that reads back to the same
// single-precision value ("31", "200", "578", "0.1").
QString FloatText(float value);
// Strict text-to-float: the whole text (blanks around it allowed) must be one finite number
// within the single-precision range.
bool TextToFloat(const QString& text, float& value);
// A node limit: a whole number from 1 to the largest int (blanks around it allowed).
bool TextToNodeLimit(const QString& text, int& value);

}  // namespace tavrin
