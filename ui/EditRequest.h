// EditRequest: the one record through which the property editor hands validated edits to the
// main window, and through which the main window hands a picked item's attributes back to the
// editor for display. Plain data, no Qt, so both sides (and tests) can fill it freely.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tavrin {

// What the plan view has selected. The numeric values are part of the contract with the editor.
enum class SelectionKind : std::int32_t { none = 0, node = 1, edge = 2, polygon = 3 };

struct EditRequest {
  bool geometryChanged = false;     // x, y validated and to be applied
  bool loadsChanged = false;        // the three loads validated
  bool constraintsChanged = false;  // constraintCode, prescribed values and springs validated
  bool physicsChanged = false;      // polygon physics validated
  bool arcChanged = false;          // an edge's bulge validated and to be applied
  bool moveBeginNode = true;        // for an edge: move its begin node (true) or its end node
  std::int32_t index = -1;          // selected node, edge or polygon
  SelectionKind kind = SelectionKind::none;
  double x = 0.0, y = 0.0;  // new world coordinates
  double bulge = 0.0;       // an edge's bulge (model/ArcGeometry.h); 0 for a straight edge
  double loadLinZ = 0.0, loadRotX = 0.0, loadRotY = 0.0;
  std::uint16_t constraintCode = 0;                       // 100 lin. Z + 10 rot. X + 1 rot. Y
  double dispLinZ = 0.0, dispRotX = 0.0, dispRotY = 0.0;  // prescribed values
  std::array<double, 3> springs{};  // stiffness on lin. Z, rot. X, rot. Y; 0 for none
  double pressure = 0.0, eModulus = 0.0, poisson = 0.0, thickness = 0.0;
  bool hole = false;
  double foundation = 0.0;          // modulus of the polygon's foundation; 0 for none
  double reinforcementAngle = 0.0;  // the polygon's steel direction, degrees from x
  std::string name;                 // polygon name shown by the editor; nothing fills it
  // The load case the loads, prescribed values and pressure are shown from and applied to: 0
  // the job's own tables, k > 0 its further case k (CaseEditing.h). Kept across selections.
  int loadCase = 0;
};

}  // namespace tavrin
