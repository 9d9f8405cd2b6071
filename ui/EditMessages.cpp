#include "ui/EditMessages.h"

namespace tavrin {

std::optional<EditMessage> MessageFor(EditOperation operation, StatusCode status) {
  switch (operation) {
    case EditOperation::AddPolygonVertex:
      if (status == StatusCode::Crossing) return EditMessage{"Intersect not allowed", "Error!"};
      if (status == StatusCode::PolygonClosed) return EditMessage{"Polygon closed", "Cool!"};
      return std::nullopt;
    case EditOperation::MoveNode:
      if (status == StatusCode::Crossing)
        return EditMessage{"Пересечение линий недопустимо", "Error!"};
      if (status == StatusCode::Rejected)
        return EditMessage{"Function returned -2 error code", "Error!"};
      if (status == StatusCode::Exists) return EditMessage{"Такая точка уже существует", "Error!"};
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace tavrin
