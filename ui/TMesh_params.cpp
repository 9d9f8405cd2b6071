#include "ui/TMesh_params.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>
#include <limits>

#include "analysis/AdaptiveSolve.h"
#include "analysis/AnalysisOptions.h"
#include "mesh/MeshParameters.h"
#include "ui/Platform.h"

namespace tavrin {

QString FloatText(float value) {
  char text[64];
  auto result = std::to_chars(text, text + sizeof text, value);
  return QString::fromLatin1(text, static_cast<int>(result.ptr - text));
}

bool TextToFloat(const QString& text, float& value) {
  std::string s = text.trimmed().toStdString();
  if (s.empty()) return false;
  const char* begin = s.data();
  if (*begin == '+') ++begin;
  double v = 0;
  auto result = std::from_chars(begin, s.data() + s.size(), v);
  if (result.ec != std::errc() || result.ptr != s.data() + s.size() || !std::isfinite(v))
    return false;
  if (std::fabs(v) > std::numeric_limits<float>::max()) return false;
  value = static_cast<float>(v);
  return true;
}

TMesh_params::TMesh_params(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Triangulation parameters and ststistics");
  setModal(true);
  auto* layout = new QVBoxLayout(this);

  auto* params = new QGroupBox("Triangulation parameters", this);
  auto* pg = new QGridLayout(params);
  set_min_ang = new QLineEdit(params);
  set_min_ang->setObjectName("set_min_ang");
  set_max_area = new QLineEdit(params);
  set_max_area->setObjectName("set_max_area");
  set_max_nodes = new QLineEdit(params);
  set_max_nodes->setObjectName("set_max_nodes");
  animate = new QCheckBox("Show animation", params);
  animate->setObjectName("animate");
  pg->addWidget(new QLabel("Minimal angle of triangles in mesh\nto be generated", params), 0, 0);
  pg->addWidget(set_min_ang, 0, 1);
  pg->addWidget(new QLabel("Maximal area of triangle", params), 1, 0);
  pg->addWidget(set_max_area, 1, 1);
  pg->addWidget(new QLabel("Node limit", params), 2, 0);
  pg->addWidget(set_max_nodes, 2, 1);
  pg->addWidget(animate, 3, 0, 1, 2);
  layout->addWidget(params);

  // Read by every later Solve Static; items in the order of SolverKind, RecoveryKind and
  // EdgeLoadKind.
  auto* analysis = new QGroupBox("Analysis", this);
  auto* ag = new QGridLayout(analysis);
  solver_choice = new QComboBox(analysis);
  solver_choice->setObjectName("solver_choice");
  solver_choice->addItems({"Sparse direct (fill-reducing order)", "Envelope (profile)"});
  recovery_choice = new QComboBox(analysis);
  recovery_choice->setObjectName("recovery_choice");
  recovery_choice->addItems({"Patch recovery", "Average of elements"});
  ag->addWidget(new QLabel("Equation solver", analysis), 0, 0);
  ag->addWidget(solver_choice, 0, 1);
  ag->addWidget(new QLabel("Nodal moments and stresses", analysis), 1, 0);
  ag->addWidget(recovery_choice, 1, 1);
  edge_load_choice = new QComboBox(analysis);
  edge_load_choice->setObjectName("edge_load_choice");
  edge_load_choice->addItems({"Lumped on the edge's ends", "Consistent with the element"});
  ag->addWidget(new QLabel("Edge loads", analysis), 2, 0);
  ag->addWidget(edge_load_choice, 2, 1);
  layout->addWidget(analysis);

  auto* adaptive = new QGroupBox("Adaptive Solve", this);
  auto* dg = new QGridLayout(adaptive);
  adapt_target = new QLineEdit(adaptive);
  adapt_target->setObjectName("adapt_target");
  adapt_cycles = new QLineEdit(adaptive);
  adapt_cycles->setObjectName("adapt_cycles");
  adapt_elements = new QLineEdit(adaptive);
  adapt_elements->setObjectName("adapt_elements");
  dg->addWidget(new QLabel("Target error estimate, %", adaptive), 0, 0);
  dg->addWidget(adapt_target, 0, 1);
  dg->addWidget(new QLabel("Most cycles", adaptive), 1, 0);
  dg->addWidget(adapt_cycles, 1, 1);
  dg->addWidget(new QLabel("Most elements", adaptive), 2, 0);
  dg->addWidget(adapt_elements, 2, 1);
  layout->addWidget(adaptive);

  auto* stats = new QGroupBox("Statistics", this);
  auto* sg = new QGridLayout(stats);
  num_nodes = new QLineEdit(stats);
  num_elements = new QLineEdit(stats);
  real_min_ang = new QLineEdit(stats);
  free_min_ang = new QLineEdit(stats);
  corner_elements = new QLineEdit(stats);
  num_nodes->setObjectName("num_nodes");
  num_elements->setObjectName("num_elements");
  real_min_ang->setObjectName("real_min_ang");
  free_min_ang->setObjectName("free_min_ang");
  corner_elements->setObjectName("corner_elements");
  QLineEdit* shown[] = {num_nodes, num_elements, real_min_ang, free_min_ang, corner_elements};
  const char* labels[] = {"Number of nodes", "Number of elements", "Minimal angle",
                          "Minimal angle off sharp input corners",
                          "Elements at sharp input corners"};
  for (int i = 0; i < 5; ++i) {
    shown[i]->setEnabled(false);
    sg->addWidget(new QLabel(labels[i], stats), i, 0);
    sg->addWidget(shown[i], i, 1);
  }
  verdict = new QLabel(stats);
  verdict->setObjectName("verdict");
  verdict->setWordWrap(true);
  sg->addWidget(verdict, 5, 0, 1, 2);
  layout->addWidget(stats);

  QFont bold = font();
  bold.setBold(true);
  for (const char* line : {"Given the value of minimal angle > 32 degrees, algorithm",
                           "of mesh generation could loop endlessly"}) {
    auto* warning = new QLabel(line, this);
    warning->setFont(bold);
    layout->addWidget(warning);
  }

  auto* buttons = new QHBoxLayout;
  Button1 = new QPushButton(QString::fromUtf8("Ок"), this);
  Button1->setObjectName("Button1");
  Button1->setDefault(true);
  Button2 = new QPushButton("Cancel", this);
  Button2->setObjectName("Button2");
  buttons->addStretch();
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  layout->addLayout(buttons);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
  resize(424, 521);
}

void TMesh_params::showEvent(QShowEvent* event) {
  setup();
  QDialog::showEvent(event);
}

void TMesh_params::setup() {
  const MeshParameters& p = GlobalMeshParameters();
  set_min_ang->setText(FloatText(p.minAngle));
  set_max_area->setText(FloatText(p.maxArea));
  set_max_nodes->setText(QString::number(p.maxNodes));
  animate->setChecked(p.animate);
  const AnalysisOptions& a = GlobalAnalysisOptions();
  solver_choice->setCurrentIndex(static_cast<int>(a.solver));
  recovery_choice->setCurrentIndex(static_cast<int>(a.recovery));
  edge_load_choice->setCurrentIndex(static_cast<int>(a.edgeLoads));
  const AdaptiveSettings& d = GlobalAdaptiveSettings();
  adapt_target->setText(QString::number(100 * d.target, 'g', 6));
  adapt_cycles->setText(QString::number(d.maxCycles));
  adapt_elements->setText(QString::number(d.maxElements));
  const MeshStatistics& s = GlobalMeshStatistics();
  if (s.nodeCount != 0) {
    num_nodes->setText(QString::number(s.nodeCount));
    num_elements->setText(QString::number(s.elementCount));
    real_min_ang->setText(FloatText(s.minAngle));
    free_min_ang->setText(FloatText(s.minAngleFree));
    corner_elements->setText(QString::number(s.inputCornerTriangles));
  } else {
    for (QLineEdit* field : {num_nodes, num_elements, real_min_ang, free_min_ang, corner_elements})
      field->setText("no_data");
  }
  verdict->setText(QString::fromStdString(MeshVerdict(s)));
}

void TMesh_params::Button1Click() {
  // A choice cannot be invalid: stored whatever the number fields hold.
  AnalysisOptions& a = GlobalAnalysisOptions();
  a.solver = static_cast<SolverKind>(solver_choice->currentIndex());
  a.recovery = static_cast<RecoveryKind>(recovery_choice->currentIndex());
  a.edgeLoads = static_cast<EdgeLoadKind>(edge_load_choice->currentIndex());
  MeshParameters& p = GlobalMeshParameters();
  float angle = 0;
  if (!TextToFloat(set_min_ang->text(), angle)) {
    set_min_ang->selectAll();
    CurrentPlatform().ShowMessage("Not a valid number", "Error");
    accept();
    return;
  }
  // Numbers the mesher cannot aim for are refused like text that is no number.
  if (!MinAngleAccepted(angle)) {
    set_min_ang->selectAll();
    CurrentPlatform().ShowMessage(
        QStringLiteral("Minimal angle of triangles must lie between 0 and %1 degrees")
            .arg(kMaxMinAngle)
            .toStdString(),
        "Error");
    accept();
    return;
  }
  p.minAngle = angle;
  float area = 0;
  if (!TextToFloat(set_max_area->text(), area)) {
    CurrentPlatform().ShowMessage(QStringLiteral("'%1' is not a valid floating point value")
                                      .arg(set_max_area->text())
                                      .toStdString(),
                                  "Error");
    accept();
    return;
  }
  if (!MaxAreaAccepted(area)) {
    set_max_area->selectAll();
    CurrentPlatform().ShowMessage("Maximal area of triangle must be positive", "Error");
    accept();
    return;
  }
  p.maxArea = area;
  p.animate = animate->isChecked();
  int nodes = 0;
  if (!TextToNodeLimit(set_max_nodes->text(), nodes)) {
    set_max_nodes->selectAll();
    CurrentPlatform().ShowMessage("Node limit must be a whole number from 1 to 2147483647",
                                  "Error");
    accept();
    return;
  }
  p.maxNodes = nodes;
  if (!StoreAdaptiveSettings()) {
    accept();
    return;
  }
  accept();
}

bool TMesh_params::StoreAdaptiveSettings() {
  bool ok = false;
  const double percent = adapt_target->text().trimmed().toDouble(&ok);
  if (!ok || !(percent > 0 && percent < 100)) {
    adapt_target->selectAll();
    CurrentPlatform().ShowMessage(
        "The target error estimate must be a per cent above 0 and below 100", "Error");
    return false;
  }
  int cycles = 0, elements = 0;
  if (!TextToNodeLimit(adapt_cycles->text(), cycles) ||
      !TextToNodeLimit(adapt_elements->text(), elements)) {
    CurrentPlatform().ShowMessage(
        "The most cycles and elements must be whole numbers from 1 to 2147483647", "Error");
    return false;
  }
  AdaptiveSettings& d = GlobalAdaptiveSettings();
  d.target = percent / 100;
  d.maxCycles = cycles;
  d.maxElements = elements;
  return true;
}

AdaptiveSettings& GlobalAdaptiveSettings() {
  static AdaptiveSettings settings;
  return settings;
}

bool TextToNodeLimit(const QString& text, int& value) {
  bool ok = false;
  const int v = text.trimmed().toInt(&ok);
  if (!ok || v < 1) return false;
  value = v;
  return true;
}

}  // namespace tavrin
