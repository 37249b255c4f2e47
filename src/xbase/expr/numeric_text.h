// Numbers as text: reading N/F field bytes and VAL(), STR()'s fixed-width formatting and the
// decimal rounding shared by STR() and ROUND().
#pragma once

#include <cstddef>
#include <string_view>

namespace xb::expr {

// The value of an N or F field. Blanks (and NUL padding) read as 0, and so does anything that
// is not a number, which foreign files do contain; never NaN or infinite.
double readNumericText(const char* p, size_t width);

// VAL(): the number at the start of the text after leading blanks; 0 when there is none.
double leadingNumber(std::string_view text);

// Rounds to dec decimals (negative: to tens, hundreds, ...), half away from zero, as the
// value's shortest decimal form reads: 2.675 rounds to 2.68 although its double is below it.
double roundDecimal(double v, int dec);

// STR(): writes exactly len bytes (len >= 1): the value rounded to dec decimals, right-aligned
// with leading blanks, '-' before the digits. Decimals are dropped as far as needed to fit;
// when even the integer part does not fit the result is len asterisks.
void formatFixed(double v, int len, int dec, char* out);

}  // namespace xb::expr
