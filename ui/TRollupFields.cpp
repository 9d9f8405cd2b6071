// Field texts. Parsing uses std::from_chars, not strtod, because the workbench runs under the
// user's locale and a decimal comma there would silently cut "1.5" to 1.
#include "ui/TRollupFields.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tavrin {

double ParseFieldValue(const std::string& text) {
  std::string t = text;
  for (char& ch : t) {
    if (ch == ',') ch = '.';
    if (!((ch >= '0' && ch <= '9') || ch == '.' || ch == '-')) return kInvalidField;
  }
  double value = 0.0;
  const char* first = t.data();
  const char* last = t.data() + t.size();
  auto [end, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
  (void)end;
  if (ec == std::errc::invalid_argument) return 0.0;  // "", "-", ".", "--1": no number at all
  if (ec == std::errc::result_out_of_range) {
    // Too large or too small for a double. Only digits, "." and "-" are present, so a non-zero
    // digit before the point means the magnitude is at least 1: an overflow.
    bool negative = !t.empty() && t[0] == '-';
    bool overflow = false;
    for (const char* p = first + (negative ? 1 : 0); p < last && *p != '.' && *p != '-'; ++p) {
      if (*p != '0') {
        overflow = true;
        break;
      }
    }
    if (!overflow) return negative ? -0.0 : 0.0;
    double inf = std::numeric_limits<double>::infinity();
    return negative ? -inf : inf;
  }
  return value;
}

bool IsInvalidFieldValue(double value) { return !(std::fabs(value) <= 1e100); }

std::string FormatFieldValue(double value) {
  if (!std::isfinite(value)) return "0";
  // Fixed notation of a double needs at most ~330 characters (1e308 or 4.9e-324).
  char buffer[400];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (ec != std::errc()) return "0";
  return std::string(buffer, end);
}

}  // namespace tavrin
