// The values that queries answer in place of a failure (an index out of range, a value not yet
// computed). They lie far beyond any value a job may hold, so a caller tells them apart by
// comparing with these names.
#pragma once

namespace tavrin {

// A node coordinate of the job model or of the mesh asked for with an index out of range.
inline constexpr double kNoCoordinate = 2e200;

// A result value of the solver (displacement, stress, moment, error) that does not exist: an
// index out of range, or a value not computed yet.
inline constexpr double kNoValue = 1e200;

}  // namespace tavrin
