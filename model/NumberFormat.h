// Reading and writing the numbers of a job file.
#pragma once

#include <string>
#include <string_view>

#include "model/Status.h"

namespace tavrin {

// Reads one numeric field: optional sign, digits with at most one point, optional exponent.
// Blanks inside are skipped; the number ends at ";" or before the first other character once a
// digit was seen. Returns Done with the value, or BadNumber (value untouched) when the
// field holds no number or its value lies beyond the range of a double. A value too small for
// a double (1e-400) reads as zero of its sign.
StatusCode ParseNumber(std::string_view field, double& value);

// The text a default-configured output stream writes for v when that reads back to exactly v
// ("210000", "0.25", "2.1e+06", "1e-05"); otherwise the same general form with the fewest more
// significant digits that read back exactly.
std::string FormatNumber(double v);

// The shortest text that reads back to exactly v, plain or exponent form, whichever is shorter
// (plain on a tie): 2100000, 0.3, 1e-05, 1234.5678.
std::string ShortestNumber(double v);

}  // namespace tavrin
