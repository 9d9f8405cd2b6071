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
// NotMine when the command has no such option, Bad (after a line on stderr naming the option,
// if the reader has one to say) when the value is missing or refused.
using OptionReader = std::function<OptionResult(const Args& args, std::size_t& i)>;

bool IsOption(const std::string& argument);

// Splits args by the rule above, handing each option to read. False, a usage error, for an
// option that read does not know or refuses, or for other than `count` positional arguments.
bool ParseArguments(const Args& args, const OptionReader& read, std::size_t count,
                    std::vector<std::string>& positional);

// For readers: the value after the option at args[i] into value; Bad when none follows.
OptionResult TakeValue(const Args& args, std::size_t& i, std::string& value);

}  // namespace tavrin::cli
