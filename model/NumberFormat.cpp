// Job file numbers. The reader gathers the characters of one number (sign, digits, one point,
// exponent) and converts them with std::from_chars, which rounds correctly, so every double the
// writer produces reads back to the same bits. The writer tries the six significant digits of a
// default output stream first and widens the precision one digit at a time (at most 17) until
// the text reads back exactly. Both are locale independent and linear in the field's length.
#include "model/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "model/Status.h"

namespace tavrin {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when the canonical text's magnitude is below one, judged from its digits alone: the
// first significant digit lies after the point once the exponent is applied. Used to tell an
// underflow (a tiny value, which rounds to zero) from an overflow when conversion fails.
bool BelowOne(const std::string& text) {
  const std::size_t e = text.find('e');
  const std::string mantissa = text.substr(0, e);
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string::npos) return true;  // all zeros
  // Decimal position of the leading digit: 0 for 1..9, -1 for 0.1..0.9, and so on.
  long long lead = first < point ? static_cast<long long>(point - first) - 1
                                 : -static_cast<long long>(first - point);
  if (e != std::string::npos) {
    long long exponent = 0;
    const bool negative = e + 1 < text.size() && text[e + 1] == '-';
    for (std::size_t k = e + (negative ? 2 : 1); k < text.size(); ++k) {
      exponent = std::min(exponent * 10 + (text[k] - '0'), 1000000000LL);  // saturates
    }
    lead += negative ? -exponent : exponent;
  }
  return lead < 0;
}

// Reads a double from a canonical text (no '+', no blanks). A value too small for a double
// reads as zero of its sign, as the digits would sum to; false when it is too large.
bool Convert(const std::string& text, double& value) {
  double v = 0.0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
  if (ec == std::errc::result_out_of_range && ptr == last && BelowOne(text)) {
    value = text[0] == '-' ? -0.0 : 0.0;
    return true;
  }
  if (ec != std::errc() || ptr != last || !std::isfinite(v)) return false;
  value = v;
  return true;
}

}  // namespace

StatusCode ParseNumber(std::string_view field, double& value) {
  std::string text;  // canonical form handed to from_chars
  std::size_t i = 0;
  const std::size_t n = field.size();
  auto skipBlanks = [&] {
    while (i < n && field[i] == ' ') ++i;
  };

  skipBlanks();
  if (i < n && (field[i] == '-' || field[i] == '+')) {
    if (field[i] == '-') text.push_back('-');
    ++i;
  }
  bool digits = false;
  bool point = false;
  for (; i < n; ++i) {
    const char c = field[i];
    if (c == ' ') continue;
    if (IsDigit(c)) {
      digits = true;
      text.push_back(c);
    } else if (c == '.' && !point) {
      point = true;
      text.push_back(c);
    } else {
      break;  // ';', a second point, an exponent mark or any other character
    }
  }
  if (!digits) return StatusCode::BadNumber;

  // An exponent counts only with at least one digit; otherwise the number ends before the 'e'.
  if (i < n && (field[i] == 'e' || field[i] == 'E')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    while (j < n && field[j] == ' ') ++j;
    if (j < n && (field[j] == '-' || field[j] == '+')) {
      if (field[j] == '-') exponent.push_back('-');
      ++j;
    }
    bool expDigits = false;
    for (; j < n; ++j) {
      if (field[j] == ' ') continue;
      if (!IsDigit(field[j])) break;
      expDigits = true;
      exponent.push_back(field[j]);
    }
    if (expDigits) text += exponent;
  }

  return Convert(text, value) ? StatusCode::Done : StatusCode::BadNumber;
}

std::string FormatNumber(double v) {
  char buf[64];
  for (int precision = 6; precision <= 17; ++precision) {
    const auto [ptr, ec] =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, precision);
    if (ec != std::errc()) break;
    std::string text(buf, ptr);
    double back = 0.0;
    if (!std::isfinite(v) ||
        (Convert(text, back) && back == v && std::signbit(back) == std::signbit(v))) {
      return text;
    }
  }
  // Not reached for finite values: 17 significant digits always read back exactly.
  const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
  (void)ec;
  return std::string(buf, ptr);
}

std::string ShortestNumber(double v) {
  char buf[64];
  const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
  (void)ec;  // 64 characters always suffice
  return std::string(buf, ptr);
}

}  // namespace tavrin
