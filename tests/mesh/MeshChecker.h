// Checks a mesh against the job it was made from, for any test that makes meshes: topology
// (every triangle attached to its three edges and every edge's triangles holding it, three
// distinct nodes joined by the three edges, no duplicate edge), stored measures equal to the
// measures of the nodes, no triangle outside the plate or inside a hole, areas adding up to the
// outline's area minus the holes' (so nothing overlaps and nothing is missing), every job edge
// covered exactly by segments, the published smallest angle equal to the mesh's true one, and
// the input-corner exemptions sound (CheckInputCorners). Returns one line per problem found.
#pragma once

#include <string>
#include <vector>

#include "mesh/MeshGeometry.h"

namespace tavrin {
class FEM;
class TObjCont;

struct MeshCheckOptions {
  // The statistics are compared only for a mesh that GenerateMesh finished.
  bool checkPublished = true;
  // The area and hole checks need a complete covering of the plate.
  bool checkCoverage = true;
};

std::vector<std::string> CheckMesh(const FEM& mesh, const TObjCont& job,
                                   MeshCheckOptions options = {});

// The exemptions at input corners: a triangle is exempt from the minimal angle exactly when it
// lies at a job corner sharper than it (SharpJobCorners), every other triangle of a usable mesh
// meets it (every triangle, when the mesh was stopped), and the published free angle and count
// of exempt triangles are the mesh's. Part of CheckMesh when the statistics are checked.
std::vector<std::string> CheckInputCorners(const FEM& mesh, const TObjCont& job);

// The triangles at job corners sharper than a bound, measured from the job's edges and the
// mesh's nodes alone: two job edges meet at a job node at less than the bound (degrees), the
// triangle lies inside the wedge between them, and it touches that node or its three nodes lie
// within the innermost shell (the distance to the nearest mesh node on either edge, to 0.1 %);
// touching the node on any side counts when the wedge itself is plate (holds a triangle).
// Building costs the job's edge pairs times the nodes; a query the sharp corners.
class SharpJobCorners {
 public:
  SharpJobCorners(const FEM& mesh, const TObjCont& job, double boundDegrees);
  bool Holds(int t) const;

 private:
  struct Wedge {
    MeshPoint corner, u, w;         // the corner and its edges' directions
    double shell;                   // squared radius of the innermost shell
    bool meshed;                    // a triangle touching the corner lies inside
    bool Holds(MeshPoint g) const;  // g strictly inside the wedge
  };
  const FEM& mesh_;
  std::vector<Wedge> wedges_;
};
bool AtSharpJobCorner(const FEM& mesh, const TObjCont& job, int t, double boundDegrees);

// Topology alone, for meshes built by hand.
std::vector<std::string> CheckTopology(const FEM& mesh);

// The first difference between two meshes' tables (sizes, node coordinates bit for bit, edge
// ends, marks and triangle slots, triangle edges), or "" when they are the same.
std::string FirstTableDifference(const FEM& a, const FEM& b);

// Even-odd test against job polygon p; the centroid of mesh triangle t.
bool InsideJobPolygon(const TObjCont& job, int p, MeshPoint q);
MeshPoint TriangleCentroid(const FEM& mesh, int t);

// Smallest angle of all triangles, recomputed from the nodes, in radians.
double TrueMinAngle(const FEM& mesh);

}  // namespace tavrin
