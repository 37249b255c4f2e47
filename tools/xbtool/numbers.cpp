// Strict reading of command-line numbers.
#include "numbers.h"

#include <charconv>

namespace qb::tools {

std::optional<uint64_t> parseCount(std::string_view text, uint64_t min, uint64_t max) {
    // from_chars takes neither a sign nor blanks; a digit must come first.
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < min || value > max) return std::nullopt;
    return value;
}

uint64_t requireCount(std::string_view text, const char* what, uint64_t min, uint64_t max) {
    if (auto n = parseCount(text, min, max)) return *n;
    throw BadArgument(std::string(what) + " must be a whole number from " + std::to_string(min) +
                      " to " + std::to_string(max) + ", not \"" + std::string(text) + "\"");
}

}  // namespace qb::tools
