// The property editor's pages on their own: what a filled page counts as a change, which part
// of the request a validated page writes, and what a refused page leaves behind.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>

#include "tests/ui/TestPlatform.h"
#include "ui/RollupConstraintsPage.h"
#include "ui/RollupGeometryPage.h"
#include "ui/RollupLoadsPage.h"
#include "ui/RollupPhysicsPage.h"

namespace tavrin {
namespace {

void Type(QWidget& page, const char* field, const char* text) {
  auto* edit = page.findChild<QLineEdit*>(QString::fromLatin1(field));
  ASSERT_NE(edit, nullptr) << field;
  edit->setText(QString::fromUtf8(text));
}

RollupSelection Edge(int id, bool endSelected) {
  return RollupSelection{SelectionKind::edge, id, {0, 0, 10, 0, 0, 0}, endSelected};
}

// Tolerance: exact; every value is a short decimal text.
TEST(RollupPages, EachPageWritesOnlyItsOwnPartOfTheRequest) {
  test::TestPlatform platform;
  EditRequest shown;
  shown.loadLinZ = 3;
  shown.constraintCode = 110;
  shown.pressure = -1;
  shown.eModulus = 210000;
  shown.poisson = 0.3;
  shown.thickness = 10;

  RollupLoadsPage loads;
  loads.Fill(Edge(4, true), shown);
  Type(loads, "ForceRY", "-2.5");
  EditRequest r;
  ASSERT_TRUE(loads.Validate(Edge(4, true), r));
  EXPECT_TRUE(r.loadsChanged);
  EXPECT_FALSE(r.geometryChanged || r.constraintsChanged || r.physicsChanged);
  EXPECT_EQ(r.loadLinZ, 3.0);
  EXPECT_EQ(r.loadRotY, -2.5);
  EXPECT_EQ(r.kind, SelectionKind::edge);
  EXPECT_EQ(r.index, 4);
  EXPECT_FALSE(r.moveBeginNode);  // the endpoint was the chosen end
  EXPECT_EQ(r.constraintCode, 0);

  RollupConstraintsPage constraints;
  constraints.Fill(Edge(4, false), shown);
  constraints.findChild<QCheckBox*>("EnableRY")->click();
  EXPECT_TRUE(constraints.Changed());
  r = EditRequest{};
  ASSERT_TRUE(constraints.Validate(Edge(4, false), r));
  EXPECT_TRUE(r.constraintsChanged && !r.loadsChanged);
  EXPECT_EQ(r.constraintCode, 111);
  EXPECT_TRUE(r.moveBeginNode);

  // A polygon's physics never says which end of anything moves.
  RollupPhysicsPage physics;
  const RollupSelection polygon{SelectionKind::polygon, 2, {}, true};
  physics.Fill(polygon, shown);
  Type(physics, "Thickness", "12");
  r = EditRequest{};
  ASSERT_TRUE(physics.Validate(polygon, r));
  EXPECT_TRUE(r.physicsChanged && !r.geometryChanged);
  EXPECT_EQ(r.thickness, 12.0);
  EXPECT_EQ(r.poisson, 0.3);
  EXPECT_EQ(r.index, 2);
  EXPECT_TRUE(r.moveBeginNode);

  RollupGeometryPage geometry;
  RollupSelection edge = Edge(4, true);
  geometry.Fill(edge, shown);
  Type(geometry, "Value_Y", "7");
  r = EditRequest{};
  ASSERT_TRUE(geometry.Validate(edge, r));
  EXPECT_EQ(r.x, 10.0);  // the endpoint's x, as shown
  EXPECT_EQ(r.y, 7.0);
  EXPECT_FALSE(r.moveBeginNode);
  // The applied move becomes the selection's coordinates, of the chosen end only.
  geometry.KeepApplied(r, edge, shown);
  EXPECT_EQ(edge.c[3], 7.0);
  EXPECT_EQ(edge.c[1], 0.0);
  EXPECT_TRUE(platform.messages.empty());
}

TEST(RollupPages, FillingIsNoChangeAndARefusedPageWritesNothing) {
  test::TestPlatform platform;
  EditRequest shown;
  shown.loadRotX = 1;
  RollupLoadsPage loads;
  const RollupSelection node{SelectionKind::node, 1, {}, false};
  loads.Fill(node, shown);
  EXPECT_FALSE(loads.Changed());
  Type(loads, "ForceUZ", "x");
  Type(loads, "ForceRX", "5");
  Type(loads, "ForceRY", "1e3");
  EXPECT_TRUE(loads.Changed());
  EditRequest r;
  r.loadRotX = -9;
  EXPECT_FALSE(loads.Validate(node, r));
  EXPECT_EQ(r.loadRotX, -9.0);  // the good field is not written either
  EXPECT_FALSE(r.loadsChanged);
  EXPECT_EQ(r.index, -1);
  ASSERT_EQ(platform.messages.size(), 2u);  // one message per bad field
  EXPECT_EQ(platform.messages[1].text, "Not a valid number in 'Rot. Y' field in loads tab");
  // Filling again replaces the typing and forgets the change.
  loads.Fill(node, shown);
  EXPECT_FALSE(loads.Changed());
  EXPECT_EQ(loads.findChild<QLineEdit*>("ForceRX")->text(), "1");

  // A page for another kind of item is disabled and keeps no change.
  RollupPhysicsPage physics;
  physics.Fill(node, shown);
  EXPECT_FALSE(physics.findChild<QLineEdit*>("Pressure")->isEnabled());
  EXPECT_FALSE(physics.Changed());
}

TEST(RollupPages, ARefusedPolygonFieldAsksForItsPageOncePerBadField) {
  test::TestPlatform platform;
  RollupPhysicsPage physics;
  QSignalSpy showMe(&physics, &RollupPage::ShowMe);
  const RollupSelection polygon{SelectionKind::polygon, 0, {}, false};
  EditRequest shown;
  shown.eModulus = 1;
  shown.poisson = 0.3;
  shown.thickness = 1;
  physics.Fill(polygon, shown);
  Type(physics, "NuModulus", "0.6");  // beyond the ratio's upper bound of 0.5
  Type(physics, "Thickness", "0");
  EditRequest r;
  EXPECT_FALSE(physics.Validate(polygon, r));
  EXPECT_EQ(showMe.count(), 2);
  EXPECT_FALSE(r.physicsChanged);
  EXPECT_EQ(r.thickness, 0.0);
  Type(physics, "NuModulus", "0.5");
  Type(physics, "Thickness", "0.0001");
  EXPECT_TRUE(physics.Validate(polygon, r));
  EXPECT_EQ(showMe.count(), 2);
}

}  // namespace
}  // namespace tavrin
