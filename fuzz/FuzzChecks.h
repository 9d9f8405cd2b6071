// What the fuzz targets check on one input, shared by the libFuzzer programs (which abort on a
// failure so that the fuzzer keeps the input) and by the regression test of the normal suite
// (which runs every kept input through both). Each returns an empty string when the input
// passed, or one line on what went wrong.
#pragma once

#include <string>
#include <string_view>

namespace tavrin::fuzz {

// Reads the text as a job file, writes it, reads that back and writes it again: the two models
// must be the same (nodes, edges, polygons, attributes and physics) and the two texts equal.
std::string CheckJobFileRoundTrip(std::string_view data);

// Reads the text as a job file and, when it passes the geometry check, meshes it with a small
// node limit and solves it: every coordinate, area, displacement and stress that comes out
// must be finite (a solve may fail, with its code and message, but not produce NaN); a mesh
// that is not usable says why; triangles are exempt from the angle only at sharp corners; a solve
// that succeeds balances the vertical forces to kFuzzImbalance of the larger of load and reaction.
std::string CheckMeshAndSolve(std::string_view data);

// The node limit of the mesh, and the largest job meshed at all (the first triangulation is
// cubic in the input, which would make a large input a hang rather than a finding).
inline constexpr int kFuzzNodeLimit = 200;
inline constexpr int kFuzzLargestInput = 150;
// Far above the solver's own limit (1e-9): a success beyond it is a balance measured wrong.
inline constexpr double kFuzzImbalance = 1e-6;
// Loads summing to less than this are round-off themselves (a stiffness term times one is
// subnormal): their balance is not checked.
inline constexpr double kFuzzSmallestLoad = 1e-200;

}  // namespace tavrin::fuzz
