// Numbers given on a command line: the whole argument is a plain decimal within a range, or
// the argument is refused. No sign, blank, exponent or trailing character is ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qb::tools {

std::optional<uint64_t> parseCount(std::string_view text, uint64_t min, uint64_t max);

// A wrong argument: the program prints the message and exits with the usage status.
struct BadArgument : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// parseCount, or BadArgument saying what `what` (e.g. "the record count") accepts.
uint64_t requireCount(std::string_view text, const char* what, uint64_t min, uint64_t max);

}  // namespace qb::tools
