// Numbers and messages of the solve and recovery codes: one switch per family, so a new code
// cannot be added without its number and its text.
#include "analysis/SolveCode.h"

namespace tavrin {

int ToCode(SolveCode code) {
  switch (code) {
    case SolveCode::Ok:
      return 0;
    case SolveCode::AssemblyFailed:
      return -1;
    case SolveCode::AdjacencyFailed:
      return 3;
    case SolveCode::NoRoot:
      return 4;
    case SolveCode::IsolatedNode:
      return 5;
    case SolveCode::FirstPivot:
      return 9;
    case SolveCode::NotPositive:
      return 10;
    case SolveCode::DegenerateElement:
      return 11;
    case SolveCode::EmptyMesh:
      return 12;
    case SolveCode::OutOfRange:
      return 13;
    case SolveCode::OutOfMemory:
      return 14;
    case SolveCode::Stopped:
      return 15;
    case SolveCode::Inaccurate:
      return 16;
  }
  return -1;
}

const char* Message(SolveCode code) {
  switch (code) {
    case SolveCode::Ok:
      return "The static solution is complete.";
    case SolveCode::AssemblyFailed:
      return "An element falls outside the matrix profile.";
    case SolveCode::AdjacencyFailed:
      return "The mesh refers to a node outside the mesh.";
    case SolveCode::NoRoot:
      return "The node renumbering found no starting node.";
    case SolveCode::IsolatedNode:
      return "A node of the mesh is not connected to any element.";
    case SolveCode::FirstPivot:
    case SolveCode::NotPositive:
      return "The stiffness matrix is singular: the plate is not held enough by its constraints.";
    case SolveCode::DegenerateElement:
      return "An element is degenerate or has no valid material.";
    case SolveCode::EmptyMesh:
      return "The mesh has no elements.";
    case SolveCode::OutOfRange:
      return "A displacement is out of range: the plate is far too soft for its loads.";
    case SolveCode::OutOfMemory:
      return "The stiffness matrix does not fit in memory.";
    case SolveCode::Stopped:
      return "The solve was stopped.";
    case SolveCode::Inaccurate:
      return "The solution is not accurate.";
  }
  return "";
}

int ToCode(StressCode code) {
  switch (code) {
    case StressCode::Ok:
      return 0;
    case StressCode::NoSolution:
      return 1;
    case StressCode::OutOfRange:
      return 2;
    case StressCode::Stopped:
      return 3;
  }
  return 1;
}

const char* Message(StressCode code) {
  switch (code) {
    case StressCode::Ok:
      return "The stresses are recovered.";
    case StressCode::NoSolution:
      return "The stresses need a finished Solve Static.";
    case StressCode::OutOfRange:
      return "The stresses exceed the range of numbers: check the prescribed displacements and "
             "the loads against the plate's stiffness.";
    case StressCode::Stopped:
      return "The stress recovery was stopped.";
  }
  return "";
}

}  // namespace tavrin
