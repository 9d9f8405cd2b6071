// How the job model's operations end. The numbers are the documented ones (the editing and file
// operations have always been described by them); ToCode gives them, and nothing compares a
// status with a number. The results are not [[nodiscard]]: a refused setter changes nothing, so
// builders that know their indices are good may drop the answer.
#pragma once

namespace tavrin {

enum class StatusCode : int {
  Crossing = 1,        // a new or moved segment would cross an existing edge
  PolygonClosed = 3,   // the open polygon was closed
  Added = 4,           // a node or a polygon vertex was added
  Done = 5,            // the operation was carried out
  BadNumber = 6,       // a job file field is not a readable number
  Comment = 7,         // a job file line is a comment
  BadNode = 8,         // a node index is outside the node table
  Exists = 10,         // the edge exists already, or a moved node would land on another vertex
  BadIndex = 11,       // a node or edge index is outside its table
  BadPolygon = 12,     // a polygon index is outside the polygon table
  Rejected = 13,       // a click on a vertex that does not close the polygon, or an unmovable node
  UnknownRecord = 14,  // a job file line whose keyword starts no record
  BadName = 15,        // a case, combination or envelope name the file cannot hold, or repeated
  OutsideCase = 16,    // a load line of a further case with no LC line opening one
  HeldRigidly = 17,    // a spring on a freedom the constraint code holds rigidly
  BadStiffness = 18,   // a spring stiffness or foundation modulus negative or not finite
};

// The documented number of a status.
constexpr int ToCode(StatusCode code) { return static_cast<int>(code); }

// True for the statuses of a job file line that was applied (a record read).
bool IsApplied(StatusCode code);

// Why a job file line that ended with this status was not read, as the read summary tells the
// user ("it repeats an edge"); "" for a line that was applied or is a comment.
const char* SkipReason(StatusCode code);

}  // namespace tavrin
