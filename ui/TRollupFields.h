// Number fields of the property editor and the results table: the text-to-number rule every
// field uses and the number-to-text rule the editor displays with. No Qt, so the rules can be
// checked alone.
#pragma once

#include <cstdint>
#include <string>

namespace tavrin {

// Returned for a text that holds anything but digits, "." or "-".
inline constexpr double kInvalidField = 1e200;

// A field's number: "," counts as ".", and any other character than a digit, "." or "-" makes
// the result kInvalidField. Otherwise the longest leading decimal number is taken (an empty
// or sign-only text is 0, "1-2" is 1), whatever the text's length and the process locale. A
// number too large for a double comes back infinite.
double ParseFieldValue(const std::string& text);

// A value is refused by a field when its magnitude is above 1e100 (this covers
// kInvalidField, infinities and NaN).
bool IsInvalidFieldValue(double value);

// The shortest plain decimal text (no exponent, no "+") that ParseFieldValue reads back as
// exactly the same double. Infinities and NaN have no such text; they are shown as "0".
std::string FormatFieldValue(double value);

}  // namespace tavrin
