// The one rule every tavrin-cli subcommand reads its arguments by. An argument that starts with
// "-" followed by anything but a digit or "." is an option, and every option takes the next
// argument as its value; all other arguments ("JOB.sam", "3", "-1", "-") are positional, in
// their order. So a negative number is never taken for an option, and a value that looks like
// one ("--max-area -5") still belongs to its option.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "Commands.h"

namespace tavrin::cli {

enum class OptionResult { NotMine, Taken, Bad };

// Reads the option at args[i] of one command: Taken after moving i onto the option's value,
// NotMine when the command has no such option, Bad after a line on stderr naming the option and
// the value (RefuseValue) when the value is refused.
using OptionReader = std::function<OptionResult(const Args& args, std::size_t& i)>;

bool IsOption(const std::string& argument);

// Splits args by the rule above, handing each option to read. False, a usage error, for an
// option that read does not know (named on stderr) or refuses, or for other than `count`
// positional arguments.
bool ParseArguments(const Args& args, const OptionReader& read, std::size_t count,
                    std::vector<std::string>& positional);

// For readers: the value after the option at args[i] into value; Bad, after a line on stderr
// naming the option, when none follows.
OptionResult TakeValue(const Args& args, std::size_t& i, std::string& value);

// A decimal number and nothing else: optional sign, digits with at most one point, optional
// exponent, finite. Refused: empty text, blanks, "nan", "inf", hexadecimal ("0x1e"), trailing
// characters ("30x") and values beyond a double.
bool ParseDecimal(const std::string& text, double& value);

// Prints "tavrin-cli: OPTION "VALUE" WHY" on stderr and returns Bad.
OptionResult RefuseValue(const std::string& option, const std::string& value, const char* why);

}  // namespace tavrin::cli
