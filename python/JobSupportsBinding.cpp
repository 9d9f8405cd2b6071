// tavrin.Job's arc edges, springs, foundation and reinforcement angle: the bulge of an edge, the
// spring stiffnesses of a node's or an edge's freedoms, the foundation modulus and the
// reinforcement angle of a polygon, each set through the job model's own setter, so a refusal
// changes nothing and carries the reason a job file line with the same values is refused for.
#include <pybind11/stl.h>

#include <array>
#include <tuple>

#include "python/Bindings.h"
#include "python/JobBinding.h"

namespace tavrin::python {

namespace {

std::tuple<double, double, double> Triple(const std::array<double, 3>& k) {
  return {k[0], k[1], k[2]};
}

}  // namespace

void BindJobArcsAndSprings(py::class_<Job>& c) {
  c.def(
       "set_arc",
       [](Job& j, int e, double bulge) {
         RequireDone(j.model.SetEdgeBulge(e, bulge), "set_arc", e);
       },
       py::arg("edge"), py::arg("bulge"),
       "Makes the edge a circular arc between its nodes: bulge = tan(angle / 4), positive when "
       "the arc runs counter-clockwise from the edge's first node, 1 a half circle (the "
       "largest the geometry check takes); 0 makes it straight again.")
      .def(
          "bulge", [](const Job& j, int e) { return j.model.EdgeBulge(e); }, py::arg("edge"),
          "The edge's bulge: 0 for a straight edge.")
      .def(
          "spring_node",
          [](Job& j, int i, double w, double rx, double ry) {
            RequireDone(j.model.SetNodeSprings(i, {w, rx, ry}), "spring_node", i);
          },
          py::arg("node"), py::arg("w") = 0.0, py::arg("rot_x") = 0.0, py::arg("rot_y") = 0.0,
          "Sets the node's spring stiffnesses: force per deflection for w, moment per rotation "
          "for rot_x and rot_y; 0 is no spring. A spring acts on a freedom the node's support "
          "leaves free: a freedom held rigidly and given a spring raises ValueError, as does "
          "a stiffness that is negative or not finite.")
      .def(
          "spring_edge",
          [](Job& j, int e, double w, double rx, double ry) {
            RequireDone(j.model.SetEdgeSprings(e, {w, rx, ry}), "spring_edge", e);
          },
          py::arg("edge"), py::arg("w") = 0.0, py::arg("rot_x") = 0.0, py::arg("rot_y") = 0.0,
          "As spring_node, along an edge, per unit length.")
      .def(
          "node_springs", [](const Job& j, int i) { return Triple(j.model.NodeSprings(i)); },
          py::arg("node"), "The node's spring stiffnesses (w, rot_x, rot_y).")
      .def(
          "edge_springs", [](const Job& j, int e) { return Triple(j.model.EdgeSprings(e)); },
          py::arg("edge"), "The edge's spring stiffnesses per unit length (w, rot_x, rot_y).")
      .def(
          "set_foundation",
          [](Job& j, int p, double k) {
            RequireDone(j.model.SetPolygonFoundation(p, k), "set_foundation", p);
          },
          py::arg("polygon"), py::arg("modulus"),
          "Rests the polygon on an elastic (Winkler) foundation of this modulus (pressure per "
          "deflection; 0 for none). A plate on a foundation needs no other support.")
      .def(
          "set_reinforcement_angle",
          [](Job& j, int p, double degrees) {
            RequireDone(j.model.SetPolygonReinforcementAngle(p, degrees), "set_reinforcement_angle",
                        p);
          },
          py::arg("polygon"), py::arg("degrees"),
          "Turns the polygon's reinforcement: its first steel layer runs at this angle from x "
          "(degrees), the second at right angles; the Wood-Armer columns (wa_x_*, wa_y_*) are "
          "given in these axes. 0 (the default) is steel along x and y.")
      .def(
          "reinforcement_angle", [](const Job& j, int p) { return j.model.ReinforcementAngle(p); },
          py::arg("polygon"),
          "The polygon's reinforcement angle in degrees from x (0 by default).");
}

}  // namespace tavrin::python
