#include "CliArguments.h"

#include <cctype>

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
    if (read(args, i) != OptionResult::Taken) return false;
  }
  return positional.size() == count;
}

OptionResult TakeValue(const Args& args, std::size_t& i, std::string& value) {
  if (i + 1 >= args.size()) return OptionResult::Bad;
  value = args[++i];
  return OptionResult::Taken;
}

}  // namespace tavrin::cli
