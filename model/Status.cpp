// The texts of the job model's statuses: one switch, so a new status cannot be added without
// saying how a job file line that ends with it is reported.
#include "model/Status.h"

namespace tavrin {

bool IsApplied(StatusCode code) {
  return code == StatusCode::Added || code == StatusCode::Done || code == StatusCode::PolygonClosed;
}

const char* SkipReason(StatusCode code) {
  switch (code) {
    case StatusCode::PolygonClosed:
    case StatusCode::Added:
    case StatusCode::Done:
    case StatusCode::Comment:
      return "";
    case StatusCode::BadNumber:
      return "a field it needs is not a number";
    case StatusCode::BadNode:
      return "it names a node the job does not have";
    case StatusCode::BadIndex:
      return "it names a node or edge the job does not have";
    case StatusCode::Exists:
      return "it repeats an edge";
    case StatusCode::BadPolygon:
      return "it names a polygon the job does not have";
    case StatusCode::BadName:
      return "its name is empty, repeats another or holds a comma, a semicolon or a control "
             "character";
    case StatusCode::OutsideCase:
      return "it loads a further case, but no LC line before it opens one";
    case StatusCode::HeldRigidly:
      return "it puts a spring on a freedom the constraint code holds rigidly";
    case StatusCode::BadStiffness:
      return "a stiffness or modulus it gives is negative or not finite";
    // No record line ends with an editing refusal; they read as an unknown keyword.
    case StatusCode::Crossing:
    case StatusCode::Rejected:
    case StatusCode::UnknownRecord:
      return "no record starts with its keyword";
  }
  return "no record starts with its keyword";
}

}  // namespace tavrin
