// Pictures of the main window's tool buttons, drawn at run time (the program ships no image
// files). Each is a small line drawing on a transparent 20 x 20 pixmap.
#pragma once

#include <QIcon>

namespace tavrin {

enum class ToolIcon {
  Open,
  Save,
  Polygon,
  Vertex,
  Edit,
  Mesh,
  SolveStatic,
  SolveStress,
  ZoomIn,
  ZoomOut,
  ZoomFit
};

QIcon MakeToolIcon(ToolIcon icon);

}  // namespace tavrin
