#include "CliArguments.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tavrin::cli {

bool IsOption(const std::string& argument) {
  if (argument.size() < 2 || argument[0] != '-') return false;
  const auto next = static_cast<unsigned char>(argument[1]);
  return !std::isdigit(next) && next != '.';
}

bool ParseArguments(const Args& args, const OptionReader& read, std::size_t count,
                    std::vector<std::string>& positional) {
  positional.clear();
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!IsOption(args[i])) {
      positional.push_back(args[i]);
      continue;
    }
    const OptionResult r = read(args, i);
    if (r == OptionResult::NotMine)
      std::fprintf(stderr, "tavrin-cli: unknown option %s\n", args[i].c_str());
    if (r != OptionResult::Taken) return false;
  }
  return positional.size() == count;
}

OptionResult TakeValue(const Args& args, std::size_t& i, std::string& value) {
  if (i + 1 >= args.size()) {
    std::fprintf(stderr, "tavrin-cli: %s needs a value\n", args[i].c_str());
    return OptionResult::Bad;
  }
  value = args[++i];
  return OptionResult::Taken;
}

bool ParseDecimal(const std::string& text, double& value) {
  // The shape is checked here, so that strtod's other forms (hexadecimal, "inf", "nan",
  // leading blanks, a locale's own separators) never reach it.
  std::size_t k = 0;
  const auto digits = [&] {
    const std::size_t start = k;
    while (k < text.size() && std::isdigit(static_cast<unsigned char>(text[k]))) ++k;
    return k - start;
  };
  if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
  std::size_t mantissa = digits();
  if (k < text.size() && text[k] == '.') {
    ++k;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (k < text.size() && (text[k] == 'e' || text[k] == 'E')) {
    ++k;
    if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
    if (digits() == 0) return false;
  }
  if (k != text.size()) return false;
  const double v = std::strtod(text.c_str(), nullptr);  // an underflow reads as zero of its sign
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

OptionResult RefuseValue(const std::string& option, const std::string& value, const char* why) {
  std::fprintf(stderr, "tavrin-cli: %s \"%s\" %s\n", option.c_str(), value.c_str(), why);
  return OptionResult::Bad;
}

}  // namespace tavrin::cli
