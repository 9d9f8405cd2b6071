// The property editor: field parsing and display, validation messages and limits, the edge-end
// choice, and what Apply hands to the main window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <limits>

#include "tests/ui/TestPlatform.h"
#include "ui/TRollup.h"
#include "ui/TRollupFields.h"
#include "ui/TRollupSketch.h"

namespace tavrin {
namespace {

// Stands in for the main window: records the calls and, like the real one, clears the loads,
// prescribed values and constraint code of the request after carrying it out.
struct FakeHost : TRollupHost {
  EditRequest request;
  std::vector<EditRequest> applied;
  std::vector<std::pair<int, int>> endRequests;
  EditRequest& Request() override { return request; }
  void SelectEdgeEnd(int edge, int end) override { endRequests.emplace_back(edge, end); }
  void ApplyEdits() override {
    applied.push_back(request);
    request.constraintCode = 0;
    request.dispLinZ = request.dispRotX = request.dispRotY = 0;
    request.loadLinZ = request.loadRotX = request.loadRotY = 0;
  }
};

// Tolerance: exact throughout; every value is a decimal text read back bit for bit.
TEST(RollupFields, ParsesFieldTexts) {
  EXPECT_EQ(ParseFieldValue("1,5"), 1.5);
  EXPECT_EQ(ParseFieldValue(""), 0.0);
  EXPECT_EQ(ParseFieldValue("-"), 0.0);
  EXPECT_EQ(ParseFieldValue("1-2"), 1.0);
  EXPECT_EQ(ParseFieldValue("-.25"), -0.25);
  EXPECT_EQ(ParseFieldValue("1e3"), kInvalidField);
  EXPECT_EQ(ParseFieldValue("+2"), kInvalidField);
  EXPECT_EQ(ParseFieldValue(" 2"), kInvalidField);
  // Longer than nine characters: read whole, not cut.
  EXPECT_EQ(ParseFieldValue("1234567890.5"), 1234567890.5);
  EXPECT_EQ(ParseFieldValue("0.000000001"), 1e-9);
  // Magnitudes beyond a double, either sign, are refused rather than wrapping or passing.
  std::string huge(400, '9');
  EXPECT_TRUE(IsInvalidFieldValue(ParseFieldValue(huge)));
  EXPECT_TRUE(IsInvalidFieldValue(ParseFieldValue("-" + huge)));
  EXPECT_TRUE(IsInvalidFieldValue(ParseFieldValue("-2" + std::string(101, '0'))));
  EXPECT_EQ(ParseFieldValue("0." + std::string(400, '0') + "1"), 0.0);
  EXPECT_FALSE(IsInvalidFieldValue(1e100));
  EXPECT_TRUE(IsInvalidFieldValue(std::nan("")));
}

TEST(RollupFields, DisplayedNumbersReadBackExactly) {
  const double values[] = {0.0,    0.1,  1.0 / 3.0, -2.5e-7, 2.1e11, 123456789.123,
                           1e-300, 1e99, -1e100,    0.3,     7e-9,   4.9e-324};
  for (double v : values) {
    std::string text = FormatFieldValue(v);
    EXPECT_EQ(text.find_first_not_of("0123456789.-"), std::string::npos) << text;
    EXPECT_EQ(ParseFieldValue(text), v) << text;
  }
  EXPECT_EQ(FormatFieldValue(0.5), "0.5");
  EXPECT_EQ(FormatFieldValue(210000), "210000");
}

// A node's strokes start at the side where each neighbour lies; a missing neighbour (passed as
// the node itself) and coinciding edge ends fall back to nothing and to the centre.
TEST(RollupSketch, NodeStrokesAndDegenerateEdge) {
  EXPECT_EQ(NodeStrokeStart(10, 0, 0, 0), (SketchPoint{5, 24}));
  EXPECT_EQ(NodeStrokeStart(0, 0, 0, 10), (SketchPoint{24, 44}));
  EXPECT_EQ(NodeStrokeStart(0, 0, 10, -5), (SketchPoint{44, 14}));
  EXPECT_FALSE(NodeStrokeStart(3, 3, 3, 3));
  auto same = EdgeSketchPoints(1, 1, 1, 1);
  EXPECT_EQ(same[0], (SketchPoint{24, 24}));
  EXPECT_EQ(same[1], same[0]);
}

class RollupTest : public ::testing::Test {
 protected:
  void SetUp() override { rollup.show(); }
  template <class T>
  T* Get(const char* name) {
    T* w = rollup.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Type(const char* field, const char* text) {
    Get<QLineEdit>(field)->setText(QString::fromUtf8(text));
  }
  QString Text(const char* field) { return Get<QLineEdit>(field)->text(); }
  void ShowNode(int id, double x, double y) {
    int ids[1] = {id};
    rollup.ShowSelection(SelectionKind::node, ids, {x - 10, y, x, y + 10, x, y});
  }
  void ShowEdge(int id, double x0, double y0, double x1, double y1) {
    int ids[1] = {id};
    rollup.ShowSelection(SelectionKind::edge, ids, {x0, y0, x1, y1, 0, 0});
  }
  void ShowPolygon(int id) {
    int ids[1] = {id};
    rollup.ShowSelection(SelectionKind::polygon, ids, {});
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (const auto& b : platform.messages) {
      EXPECT_EQ(b.caption, "Error!");
      out.push_back(b.text);
    }
    return out;
  }

  test::TestPlatform platform;
  FakeHost host;
  TRollup rollup{host};
};

TEST_F(RollupTest, ShowsEachKindOfSelection) {
  EXPECT_EQ(Get<QLabel>("Select_Label")->text(), "None");
  EXPECT_FALSE(Get<QLineEdit>("Value_X")->isEnabled());
  EXPECT_FALSE(Get<QLineEdit>("ForceUZ")->isEnabled());

  host.request.loadLinZ = -1.25;
  host.request.dispRotX = 0.5;
  host.request.constraintCode = 101;
  ShowNode(7, 1.5, -2);
  EXPECT_EQ(Get<QLabel>("Select_Label")->text(), "Node# 7");
  EXPECT_EQ(Text("Value_X"), "1.5");
  EXPECT_EQ(Text("Value_Y"), "-2");
  EXPECT_EQ(Text("ForceUZ"), "-1.25");
  EXPECT_EQ(Text("DispRX"), "0.5");
  EXPECT_TRUE(Get<QCheckBox>("EnableDZ")->isChecked());
  EXPECT_FALSE(Get<QCheckBox>("EnableRX")->isChecked());
  EXPECT_TRUE(Get<QCheckBox>("EnableRY")->isChecked());
  EXPECT_FALSE(Get<QPushButton>("SelBegin")->isEnabled());
  EXPECT_FALSE(Get<QLineEdit>("EModulus")->isEnabled());

  host.request.eModulus = 2.1e11;
  host.request.poisson = 0.3;
  host.request.hole = true;
  ShowPolygon(2);
  EXPECT_EQ(Get<QLabel>("Select_Label")->text(), "Polygon# 2");
  EXPECT_EQ(Text("Value_X"), "0");
  EXPECT_EQ(Text("EModulus"), "210000000000");
  EXPECT_EQ(Text("NuModulus"), "0.3");
  EXPECT_TRUE(Get<QCheckBox>("IsHole")->isChecked());
  EXPECT_FALSE(Get<QLineEdit>("ForceUZ")->isEnabled());
  EXPECT_TRUE(Get<QLineEdit>("PolyName")->isEnabled());
}

TEST_F(RollupTest, ValidatedPagesReachTheRequest) {
  ShowNode(4, 0, 0);
  Type("Value_X", "1,5");
  Type("ForceRY", "");
  Type("DispUZ", "0.25");
  Get<QCheckBox>("EnableRX")->click();
  rollup.Apply();
  ASSERT_EQ(host.applied.size(), 1u);
  const EditRequest& r = host.applied[0];
  EXPECT_TRUE(r.geometryChanged && r.loadsChanged && r.constraintsChanged);
  EXPECT_FALSE(r.physicsChanged);
  EXPECT_EQ(r.kind, SelectionKind::node);
  EXPECT_EQ(r.index, 4);
  EXPECT_EQ(r.x, 1.5);
  EXPECT_EQ(r.y, 0.0);
  EXPECT_EQ(r.loadRotY, 0.0);
  EXPECT_EQ(r.dispLinZ, 0.25);
  EXPECT_EQ(r.constraintCode, 10);
  // With nothing changed since, Apply still calls the host, with every changed flag cleared.
  rollup.Apply();
  ASSERT_EQ(host.applied.size(), 2u);
  const EditRequest& again = host.applied[1];
  EXPECT_FALSE(again.geometryChanged || again.loadsChanged || again.constraintsChanged ||
               again.physicsChanged);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RollupTest, InvalidNumbersShowTheirMessagesAndStopApply) {
  ShowNode(1, 0, 0);
  Type("Value_X", "1e3");
  Type("Value_Y", "+2");
  Type("ForceUZ", "x");
  rollup.Apply();
  EXPECT_TRUE(host.applied.empty());
  // Loads are not looked at while geometry is refused.
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Not a valid number in 'abs. X' field",
                                                  "Not a valid number in 'abs. Y' field"}));
  EXPECT_EQ(Text("Value_X"), "1e3");  // the user's text stays

  platform.messages.clear();
  Type("Value_X", "1");
  Type("Value_Y", "2");
  Type("ForceUZ", "3");
  Type("ForceRY", "b");
  Type("DispUZ", "q");
  Type("DispRX", "q");
  Type("DispRY", "?");
  rollup.Apply();
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Not a valid number in 'Rot. Y' field in loads tab"}));
  platform.messages.clear();
  Type("ForceRY", "0");
  rollup.Apply();
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Not a valid number in 'Lin. X' field in constrains tab",
                                      "Not a valid number in 'Rot. X' field in constrains tab",
                                      "Not a valid number in 'Rot. Y' field in constrains tab"}));
  EXPECT_TRUE(host.applied.empty());

  // Correcting the last bad page applies every page changed since the selection, not only the
  // page that was corrected.
  // A freedom is either held or on a spring, and a stiffness is not negative.
  for (const char* f : {"DispUZ", "DispRX", "DispRY"}) Type(f, "0");
  Get<QCheckBox>("ElasticRY")->click();
  Type("SpringRY", "-1");
  platform.messages.clear();
  rollup.Apply();
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Not a valid stiffness in 'k Rot. Y' field in "
                                                  "constrains tab: it must not be negative"}));
  Get<QCheckBox>("EnableRY")->click();
  Type("SpringRY", "5");
  platform.messages.clear();
  rollup.Apply();
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{
                "Rot. Y cannot be both constrained and on a spring in constrains tab"}));
  EXPECT_TRUE(host.applied.empty());
  Get<QCheckBox>("ElasticRY")->click();
  platform.messages.clear();
  rollup.Apply();
  ASSERT_EQ(host.applied.size(), 1u);
  EXPECT_TRUE(host.applied[0].geometryChanged && host.applied[0].loadsChanged &&
              host.applied[0].constraintsChanged);
  EXPECT_EQ(host.applied[0].x, 1.0);
  EXPECT_EQ(host.applied[0].loadLinZ, 3.0);
}

TEST_F(RollupTest, PhysicsLimits) {
  ShowPolygon(0);
  auto tryPhysics = [&](const char* p, const char* e, const char* nu, const char* t) {
    platform.messages.clear();
    host.applied.clear();
    Type("Pressure", p);
    Type("EModulus", e);
    Type("NuModulus", nu);
    Type("Thickness", t);
    rollup.Apply();
    return host.applied.size() == 1;
  };
  EXPECT_TRUE(tryPhysics("-3", "0.0001", "0.5", "0.0001"));
  EXPECT_EQ(host.applied[0].poisson, 0.5);
  EXPECT_EQ(host.applied[0].eModulus, 0.0001);
  EXPECT_EQ(host.applied[0].pressure, -3.0);
  EXPECT_TRUE(host.applied[0].physicsChanged);

  EXPECT_FALSE(tryPhysics("1", "1000", "0.5000001", "1"));
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Not a valid number in «Poisson Modulus» field"}));
  EXPECT_EQ(Get<QLineEdit>("NuModulus")->selectedText(), "0.5000001");
  EXPECT_FALSE(tryPhysics("1", "1000", "0", "1"));
  EXPECT_FALSE(tryPhysics("1", "1000", "0.3", "0"));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Not a valid number in «Thickness» field"}));

  rollup.findChild<QTabWidget*>("PageControl")->setCurrentIndex(TRollup::TabLoads);
  EXPECT_FALSE(tryPhysics("z", "0.00009", "0.3", "1"));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Not a valid number in «pressure» field",
                                                  "Not a valid number in «E modulus» field"}));
  // The refused field is brought into view on its page.
  EXPECT_EQ(rollup.findChild<QTabWidget*>("PageControl")->currentIndex(), TRollup::TabPhysics);
}

TEST_F(RollupTest, EdgeEndChoiceDecidesWhichNodeMoves) {
  ShowEdge(5, 0, 0, 10, 0);
  EXPECT_EQ(Get<QLabel>("Selected_End")->text(), "Begin");
  EXPECT_EQ(Text("Value_X"), "0");
  auto* box = rollup.findChild<TRollupSketch*>("DrawBox");
  ASSERT_NE(box, nullptr);

  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(20, 10));  // not on the far end
  EXPECT_FALSE(rollup.EndSelected());
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(41, 49 - 24));  // on the far end
  EXPECT_TRUE(rollup.EndSelected());
  EXPECT_EQ(Get<QLabel>("Selected_End")->text(), "Endpoint");
  EXPECT_EQ(Text("Value_X"), "10");
  std::filesystem::path shots = std::filesystem::path(TAVRIN_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(shots);
  rollup.grab().save(QString::fromStdString((shots / "property_editor_edge.png").string()));

  Type("Value_Y", "4");
  rollup.Apply();
  ASSERT_EQ(host.applied.size(), 1u);
  EXPECT_FALSE(host.applied[0].moveBeginNode);
  EXPECT_EQ(host.applied[0].x, 10.0);
  EXPECT_EQ(host.applied[0].y, 4.0);
  EXPECT_EQ(host.applied[0].kind, SelectionKind::edge);

  // The sketch now shows the moved edge (0, 0)-(10, 4); its far end is the begin point.
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, 49 - 18));
  EXPECT_FALSE(rollup.EndSelected());
  Type("Value_X", "-1");
  rollup.Apply();
  EXPECT_TRUE(host.applied[1].moveBeginNode);

  Get<QPushButton>("SelEnd")->click();
  Get<QPushButton>("SelBegin")->click();
  EXPECT_EQ(host.endRequests, (std::vector<std::pair<int, int>>{{5, 1}, {5, 0}}));
}

TEST_F(RollupTest, ShowingTheGeometryPageAgainShowsWhatWasApplied) {
  host.request.loadLinZ = 7;
  ShowNode(0, 1, 1);
  Type("ForceRX", "2");
  rollup.Apply();
  EXPECT_EQ(host.request.loadLinZ, 0.0);  // the host has reset its request
  auto* pages = rollup.findChild<QTabWidget*>("PageControl");
  pages->setCurrentIndex(TRollup::TabLoads);
  Type("ForceUZ", "99");  // not applied: replaced when the geometry page shows again
  pages->setCurrentIndex(TRollup::TabGeometry);
  EXPECT_EQ(Text("ForceUZ"), "7");
  EXPECT_EQ(Text("ForceRX"), "2");
  rollup.Apply();
  EXPECT_FALSE(host.applied.back().loadsChanged);
}

// An edge's arc typed as a bulge or as a signed radius over its chord of 10 (radius 5: a half
// circle); the other field follows as it is typed, and a value no arc has is refused naming the
// edge. Exact: every number here is a short decimal.
TEST_F(RollupTest, ArcFieldsFollowEachOtherAndRefuseWhatNoArcIs) {
  struct Case {
    const char* field;
    const char* typed;
    const char* other;  // the other field as it follows; nullptr when the typing is refused
    double bulge;       // applied
  };
  const Case cases[] = {
      {"Bulge", "0.5", "6.25", 0.5},   // R = c (1 + b^2) / (4 b)
      {"Radius", "-5", "-1", -1.0},    // half circle, clockwise
      {"Bulge", "0", "0", 0.0},        // back to straight
      {"Bulge", "1.5", nullptr, 0.0},  // more than a half turn
      {"Radius", "4", nullptr, 0.0},   // shorter than half the chord
  };
  for (const Case& c : cases) {
    host.request.bulge = 0.25;
    ShowEdge(3, 0, 0, 10, 0);
    ASSERT_EQ(Text("Bulge"), "0.25");
    QLineEdit* field = Get<QLineEdit>(c.field);
    field->selectAll();
    QTest::keyClicks(field, c.typed);
    platform.messages.clear();
    host.applied.clear();
    rollup.Apply();
    if (!c.other) {
      ASSERT_EQ(Messages().size(), 1u) << c.typed;
      EXPECT_EQ(Messages()[0].rfind("Edge# 3: not a valid", 0), 0u) << Messages()[0];
      EXPECT_TRUE(host.applied.empty()) << c.typed;
      continue;
    }
    EXPECT_EQ(Text(std::string(c.field) == "Bulge" ? "Radius" : "Bulge"), c.other) << c.typed;
    ASSERT_EQ(host.applied.size(), 1u) << c.typed;
    const EditRequest& r = host.applied[0];
    EXPECT_TRUE(r.arcChanged);
    EXPECT_EQ(r.bulge, c.bulge) << c.typed;
    EXPECT_FALSE(r.geometryChanged) << c.typed;  // no node moves with an arc typed alone
    if (c.bulge == 0.5) {
      const std::filesystem::path shots = std::filesystem::path(TAVRIN_BINARY_DIR) / "screenshots";
      std::filesystem::create_directories(shots);
      rollup.grab().save(QString::fromStdString((shots / "property_editor_arc.png").string()));
    }
  }
}

}  // namespace
}  // namespace tavrin
