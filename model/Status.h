// Status codes returned by the job model's operations. The numbers are fixed: the workbench
// tests them and turns some into messages.
#pragma once

namespace tavrin {

enum StatusCode : int {
  stCrossing = 1,       // a new or moved segment would cross an existing edge
  stPolygonClosed = 3,  // the open polygon was closed
  stAdded = 4,          // a node or a polygon vertex was added
  stDone = 5,           // the operation was carried out
  stBadNumber = 6,      // a job file field is not a readable number
  stComment = 7,        // a job file line is a comment
  stBadNode = 8,        // a node index is outside the node table
  stExists = 10,        // the edge exists already, or a moved node would land on another vertex
  stBadIndex = 11,      // a node or edge index is outside its table
  stBadPolygon = 12,    // a polygon index is outside the polygon table
  stRejected = 13,      // a click on a vertex that does not close the polygon, or an unmovable node
  stUnknownRecord = 14,  // a job file line whose keyword starts no record
  stBadName = 15,        // a case, combination or envelope name the file cannot hold, or repeated
  stOutsideCase = 16,    // a load line of a further case with no LC line opening one
  stHeldRigidly = 17,    // a spring on a freedom the constraint code holds rigidly
  stBadStiffness = 18,   // a spring stiffness or foundation modulus negative or not finite
};

}  // namespace tavrin
