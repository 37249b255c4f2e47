// Error messages for expressions: every message quotes the expression and, when the fault has
// a place, the column where it sits.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "xbase/error.h"

namespace xb::expr {

// Marks "no position" for faults that belong to the whole expression.
constexpr size_t kNoPos = size_t(-1);

// The expression as quoted in messages; very long texts are shortened.
std::string quoteExpression(std::string_view text);

[[noreturn]] void failIn(ErrorCode code, std::string_view text, size_t pos,
                         const std::string& what);

}  // namespace xb::expr
