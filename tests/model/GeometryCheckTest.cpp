// The geometry check before meshing: plates that pass, and each kind of hostile drawing with the
// message that names what is wrong.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "model/GeometryCheck.h"
#include "model/TObjCont.h"
#include "tests/model/TestJobs.h"

namespace tavrin {
namespace {

using testing::AddClosedPolygon;
using testing::AddRectangle;

const char kSquare[] =
    "N, 0, 0\nN, 100, 0\nN, 100, 100\nN, 0, 100\nE, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, 0\nClose\n";

GeometryCheckResult CheckText(const std::string& text) {
  TObjCont job;
  job.ReadJobText(text);
  job.PrepareForMeshing();
  return CheckGeometry(job);
}

GeometryCheckResult CheckJob(TObjCont& job) {
  job.PrepareForMeshing();
  return CheckGeometry(job);
}

TEST(GeometryCheck, SoundPlatesPass) {
  const std::vector<std::string> jobs = {
      kSquare,
      // A hole, an insert of another material, free nodes in the plate and in the insert.
      std::string(kSquare) +
          "N, 10, 10\nN, 30, 10\nN, 20, 30\nE, 4, 5\nE, 5, 6\nE, 6, 4\nClose\n"
          "N, 60, 60\nN, 90, 60\nN, 90, 90\nN, 60, 90\nE, 7, 8\nE, 8, 9\nE, 9, 10\nE, 10, "
          "7\nClose\n"
          "P, 2, 0, 70000, 0.3, 5, 0\nN, 50, 20\nN, 75, 75\n",
      // The hole drawn first: the preparation makes the outline polygon 0.
      "N, 40, 40\nN, 60, 40\nN, 50, 60\nE, 0, 1\nE, 1, 2\nE, 2, 0\nClose\n"
      "N, 0, 0\nN, 100, 0\nN, 100, 100\nN, 0, 100\nE, 3, 4\nE, 4, 5\nE, 5, 6\nE, 6, 3\nClose\n",
      // Edges given against the drawing order, and a polygon of no edges (two Close lines).
      "N, 0, 0\nN, 100, 0\nN, 100, 100\nE, 1, 0\nE, 1, 2\nE, 0, 2\nClose\nClose\n",
      // A plate far from the origin, still spanning more than 1e-6 of its coordinates, with
      // nodes just over 0.1 apart and 0.1 off an edge.
      "N, 1e11, 1e11\nN, 1.000002e11, 1e11\nN, 1.000002e11, 1.000002e11\nE, 0, 1\nE, 1, 2\nE, 2, "
      "0\nClose\n",
      "N, 0, 0\nN, 10, 0\nN, 10, 10\nN, 5, 0.101\nN, 5.101, 0.101\nE, 0, 1\nE, 1, 2\nE, 2, "
      "0\nClose\n",
  };
  for (const std::string& text : jobs) {
    const GeometryCheckResult r = CheckText(text);
    EXPECT_TRUE(r.ok) << text << "\n" << r.message;
    EXPECT_EQ(r.message, "");
  }
  for (const char* name : {"square", "plate-with-hole", "l-shaped", "two-materials"}) {
    TObjCont job;
    ASSERT_TRUE(job.LoadJob(std::string(TAVRIN_SOURCE_DIR) + "/examples/" + name + ".sam"));
    EXPECT_TRUE(CheckJob(job)) << name << ": " << CheckJob(job).message;
  }
}

struct Hostile {
  const char* what;
  std::string text;
  std::string message;  // the whole message expected
};

TEST(GeometryCheck, PolygonsMustBeClosedLoops) {
  const std::vector<Hostile> cases = {
      {"nothing drawn", "N, 0, 0\n",
       "The job has no closed polygon: draw the plate's outline and close it."},
      {"a polygon still being drawn",
       std::string(kSquare) + "N, 20, 20\nN, 40, 20\nN, 30, 40\nE, 4, 5\nE, 5, 6\n",
       "The polygon being drawn (edges 4 and 5) is not closed: close it on its first node before "
       "meshing."},
      {"the one-edge polygon of the fuzzing run",
       "N, 0, 0\nN, 1e152, 0\nN, 100, 1e152\nE, 1, 2\nClose\n",
       "Polygon 0 is not closed: it has only edge 0, from node 1 to node 2; a polygon needs at "
       "least three "
       "edges."},
      {"two edges", "N, 0, 0\nN, 10, 0\nN, 10, 10\nE, 0, 1\nE, 1, 2\nClose\n",
       "Polygon 0 is not closed: it has only edges 0 and 1; a polygon needs at least three edges."},
      {"a chain closed by Close alone",
       "N, 0, 0\nN, 10, 0\nN, 10, 10\nN, 0, 10\nE, 0, 1\nE, 1, 2\nE, 2, 3\nClose\n",
       "Polygon 0 is not closed: only one of its edges (edge 0) ends at node 0."},
      {"a figure eight",
       "N, 0, 0\nN, 10, 0\nN, 10, 10\nN, 20, 0\nN, 20, 10\nE, 0, 1\nE, 1, 2\nE, 2, 0\n"
       "E, 1, 3\nE, 3, 4\nE, 4, 1\nClose\n",
       "Polygon 0 passes through node 1 more than once: draw each loop as a polygon of its own."},
      {"two loops in one polygon",
       "N, 0, 0\nN, 10, 0\nN, 10, 10\nN, 2, 1\nN, 5, 1\nN, 5, 4\nE, 0, 1\nE, 1, 2\n"
       "E, 2, 0\nE, 3, 4\nE, 4, 5\nE, 5, 3\nClose\n",
       "Polygon 0 is more than one loop: edge 3 is not connected to edge 0 through the polygon's "
       "edges."},
      {"polygons sharing a node",
       std::string(kSquare) + "N, 50, 50\nN, 20, 50\nE, 0, 4\nE, 4, 5\nE, 5, 0\nClose\n",
       "Polygons 0 and 1 touch at node 0: polygons may not share a node."},
      {"collinear nodes", "N, 0, 0\nN, 100, 0\nN, 200, 0\nE, 0, 1\nE, 1, 2\nE, 2, 0\nClose\n",
       "Polygon 0 encloses no area: its nodes lie on one line."},
  };
  for (const Hostile& c : cases) EXPECT_EQ(CheckText(c.text).message, c.message) << c.what;
}

TEST(GeometryCheck, EdgesMeetOnlyAtTheirNodes) {
  const std::vector<Hostile> cases = {
      {"crossing edges of one polygon (a bow tie)",
       "N, 0, 0\nN, 100, 0\nN, 100, 100\nN, 0, 100\nE, 0, 2\nE, 2, 1\nE, 1, 3\nE, 3, 0\nClose\n",
       "Edges 0 and 2 cross at (50, 50)."},
      {"a hole crossing the outline",
       std::string(kSquare) +
           "N, 90, 40\nN, 120, 45\nN, 90, 60\nE, 4, 5\nE, 5, 6\nE, 6, 4\nClose\n",
       "Edges 1 and 4 cross at (100, 41.6667)."},
      {"a hole's edge along the outline's",
       std::string(kSquare) + "N, 20, 0\nN, 80, 0\nN, 50, 30\nE, 4, 5\nE, 5, 6\nE, 6, 4\nClose\n",
       "Edges 0 and 4 overlap near (20, 0)."},
      {"a node on an edge",
       std::string(kSquare) + "N, 50, 0\nN, 60, 30\nN, 40, 30\nE, 4, 5\nE, 5, 6\nE, 6, 4\nClose\n",
       "Node 4 lies on edge 0, at (50, 0)."},
      {"a node just off an edge",
       std::string(kSquare) +
           "N, 50, 0.005\nN, 60, 30\nN, 40, 30\nE, 4, 5\nE, 5, 6\nE, 6, 4\nClose\n",
       "Node 4 is only 0.005 from edge 0, at (50, 0.005): a node must be at least 0.1 from every "
       "edge that "
       "does not end at it."},
      {"a free node on an edge", std::string(kSquare) + "N, 100, 30\n",
       "Node 4 lies on edge 1, at (100, 30)."},
      {"duplicate nodes", std::string(kSquare) + "N, 100, 100\n",
       "Nodes 2 and 4 are at the same place, (100, 100)."},
      {"nodes too close", std::string(kSquare) + "N, 50, 50\nN, 50.003, 50.004\n",
       "Nodes 4 and 5 are only 0.005 apart, at (50, 50): nodes must be at least 0.1 apart."},
      {"a plate scaled by 1e-9",
       "N, 0, 0\nN, 1e-7, 0\nN, 1e-7, 1e-7\nN, 0, 1e-7\nE, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, "
       "0\nClose\n",
       "Nodes 0 and 3 are only 1e-07 apart, at (0, 0): nodes must be at least 0.1 apart."},
  };
  for (const Hostile& c : cases) EXPECT_EQ(CheckText(c.text).message, c.message) << c.what;
}

TEST(GeometryCheck, EverythingLiesInThePlate) {
  const std::string hole =
      std::string(kSquare) + "N, 10, 10\nN, 40, 10\nN, 25, 40\nE, 4, 5\nE, 5, 6\nE, 6, 4\nClose\n";
  const std::vector<Hostile> cases = {
      {"a free node outside", std::string(kSquare) + "N, 500, 50\n",
       "Node 4, a free node, lies outside the plate's outline (polygon 0)."},
      {"a free node in a hole", hole + "N, 25, 20\n",
       "Node 7, a free node, lies inside polygon 1, a hole."},
      {"a polygon beside the plate",
       std::string(kSquare) +
           "N, 200, 0\nN, 300, 0\nN, 250, 50\nE, 4, 5\nE, 5, 6\nE, 6, 4\nClose\n",
       "Polygon 1 lies outside the plate's outline (polygon 0)."},
      {"an insert inside a hole",
       hole + "N, 20, 15\nN, 30, 15\nN, 25, 25\nE, 7, 8\nE, 8, 9\nE, 9, 7\nClose\nP, 2, 0, 210000, "
              "0.25, 10, 0\n",
       "Polygon 2 lies inside polygon 1, a hole."},
      {"a hole inside a hole",
       hole + "N, 20, 15\nN, 30, 15\nN, 25, 25\nE, 7, 8\nE, 8, 9\nE, 9, 7\nClose\n",
       "Polygon 2 lies inside polygon 1, a hole."},
  };
  for (const Hostile& c : cases) EXPECT_EQ(CheckText(c.text).message, c.message) << c.what;
}

TEST(GeometryCheck, MagnitudesKeepTheProductsFinite) {
  const std::vector<Hostile> cases = {
      {"coordinates near 1e150 (the fuzzing run)",
       "N, 0, 0\nN, 1e150, 0\nN, 1e150, 1e150\nE, 0, 1\nE, 1, 2\nE, 2, 0\nClose\n",
       "Node 1 lies at (1e+150, 0): coordinates must be finite and at most 1e+12 in magnitude."},
      {"just beyond the bound", std::string(kSquare) + "N, 50, -1.1e12\n",
       "Node 4 lies at (50, -1.1e+12): coordinates must be finite and at most 1e+12 in magnitude."},
      {"a plate small against its coordinates",
       "N, 1e9, 0\nN, 1.0000001e9, 0\nN, 1e9, 100\nE, 0, 1\nE, 1, 2\nE, 2, 0\nClose\n",
       "The plate spans only 100 at coordinates up to 1e+09: it must span at least 1e-06 of its "
       "largest "
       "coordinate; move it nearer the origin or draw it in smaller units."},
      // Both from fuzzing; each meshed to no triangle.
      {"an edge of 1 in a plate of 1e11",
       "N, 0, 0\nN, 1e11, 0\nN, 1e11, 1\nN, 0, 1e11\nE, 1, 2\nE, 2, 3\nE, 0, 1\nE, 3, 0\nClose\n",
       "Nodes 1 and 2 are only 1 apart, at (1e+11, 0): nodes must be at least 100000 apart in a "
       "plate spanning 1e+11 (1e-06 of its span)."},
      {"a node 11 off an edge in a plate of 1e11",
       "N, 0, 0\nN, 11, 210000\nN, 1e11, 1e11\nN, 0, 1e11\nE, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, 0\n"
       "Close\n",
       "Node 1 is only 11 from edge 3, at (11, 210000): a node must be at least 100000 from every "
       "edge that does not end at it in a plate spanning 1e+11 (1e-06 of its span)."},
      {"a load beyond 1e30", std::string(kSquare) + "FN, 2, 0, -2e30, 0\n",
       "Node 2 has a load (rot. X) of -2e+30: loads, displacements and pressures must be finite "
       "and at most "
       "1e+30 in magnitude."},
      {"an edge displacement beyond 1e30", std::string(kSquare) + "DE, 3, n, n, 1e300\n",
       "Edge 3 has a prescribed displacement (rot. Y) of 1e+300: loads, displacements and "
       "pressures must be "
       "finite and at most 1e+30 in magnitude."},
      {"zero E modulus", std::string(kSquare) + "P, 0, 0, 0, 0.25, 10, 0\n",
       "Polygon 0 has an E modulus of 0: it must be positive and at most 1e+30."},
      {"negative thickness", std::string(kSquare) + "P, 0, 0, 210000, 0.25, -1, 0\n",
       "Polygon 0 has a thickness of -1: it must be positive and at most 1e+12."},
      {"Poisson ratio 1", std::string(kSquare) + "P, 0, 0, 210000, 1, 10, 0\n",
       "Polygon 0 has a Poisson ratio of 1: it must lie strictly between -1 and 1."},
      {"a pressure beyond 1e30", std::string(kSquare) + "P, 0, 1e31, 210000, 0.3, 10, 0\n",
       "Polygon 0 has a pressure of 1e+31: it must be finite and at most 1e+30 in magnitude."},
  };
  for (const Hostile& c : cases) EXPECT_EQ(CheckText(c.text).message, c.message) << c.what;

  // A hole's physics are never used; a displacement not prescribed is never read.
  EXPECT_TRUE(CheckText(std::string(kSquare) +
                        "N, 10, 10\nN, 40, 10\nN, 25, 40\nE, 4, 5\nE, 5, 6\nE, 6, 4\n"
                        "Close\nP, 1, 0, 0, 7, -3, 1\n"));
  TObjCont job;
  AddRectangle(job, 0, 0, 10, 10);
  job.SetNodeConstraints(0, 100, 0, 1e300, 1e300);
  EXPECT_TRUE(CheckJob(job)) << CheckJob(job).message;

  // Values no job file can hold reach the model through its operations.
  for (double bad : {std::numeric_limits<double>::infinity(), std::nan("")}) {
    TObjCont raw;
    AddClosedPolygon(raw, {{0, 0}, {10, 0}, {bad, 10}});
    const GeometryCheckResult r = CheckJob(raw);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.rfind("Node 2 lies at (", 0), 0u) << r.message;
  }
}

TEST(GeometryCheck, PrescribedDisplacementsWithinWhatTheSolveCarries) {
  // A 100 x 100 square of ordinary stiffness under 400 in all (its loads deflect it far less
  // than its span): the bound is 1e9 times the span, 1e11; a rotation counts times the span.
  const std::string loaded = std::string(kSquare) + "P, 0, -0.04, 210000, 0.3, 10, 0\n" +
                             "DE, 0, 0, n, n\nDE, 1, 0, n, n\nDE, 3, 0, n, n\n";
  const std::string beyond =
      ", the most double precision carries next to the plate's own deflections (1e+09 times the "
      "larger of its span and its loads' deflection, 100).";
  struct Case {
    std::string what, record, message;  // message "" for a job that passes
  };
  const std::vector<Case> cases = {
      {"an ordinary settlement", "DE, 2, -5, n, n\n", ""},
      {"a metre on a plate in millimetres", "DN, 2, 1000, 0, n\n", ""},
      {"right at the bound", "DE, 2, 1e11, n, n\n", ""},
      {"1e12", "DE, 2, 1e12, n, n\n",
       "Edge 2 has a prescribed displacement (lin. Z) of 1e+12: beyond 1e+11" + beyond},
      {"1e15", "DE, 2, -1e15, n, n\n",
       "Edge 2 has a prescribed displacement (lin. Z) of -1e+15: beyond 1e+11" + beyond},
      {"1e20 at an edge", "DE, 2, 1e20, n, n\n",
       "Edge 2 has a prescribed displacement (lin. Z) of 1e+20: beyond 1e+11" + beyond},
      {"1e20 at a node", "DN, 2, 1e20, n, n\n",
       "Node 2 has a prescribed displacement (lin. Z) of 1e+20: beyond 1e+11" + beyond},
      {"a rotation of 1e10", "DE, 2, n, 1e10, n\n",
       "Edge 2 has a prescribed displacement (rot. X) of 1e+10 (times the span): beyond 1e+11" +
           beyond},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckText(loaded + c.record).message, c.message) << c.what;

  // A soft plate under a heavy load deflects more than its span: the loads set the scale
  // (400 * 100^2 / D, D = 210 * 10^3 / 12 / 0.91).
  const double scale = 400.0 * 100 * 100 / (210.0 * 1000 / 12 / 0.91);
  const std::string soft = std::string(kSquare) + "P, 0, -0.04, 210, 0.3, 10, 0\n";
  EXPECT_TRUE(CheckText(soft + "DE, 2, " + std::to_string(0.99e9 * scale) + ", n, n\n"));
  EXPECT_FALSE(CheckText(soft + "DE, 2, " + std::to_string(1.01e9 * scale) + ", n, n\n"));
}

}  // namespace
}  // namespace tavrin
