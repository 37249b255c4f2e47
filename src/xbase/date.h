// Calendar dates as Julian day numbers, the form in which expressions compare and index them.
// 0 stands for the empty date.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xb {

using Jdn = int32_t;  // Julian day number; 0 = empty date

constexpr Jdn kEmptyDate = 0;

// Proleptic Gregorian calendar. Returns 0 for an impossible date (month 13, 30 February).
Jdn jdnFromYmd(int year, int month, int day);
void ymdFromJdn(Jdn jdn, int& year, int& month, int& day);
// Reads the 8 bytes "yyyymmdd" of a D field; blanks (or zeros) give the empty date, and so
// does anything that is not a real date, which foreign files do contain.
Jdn jdnFromDbf(const char* eightBytes);
// Writes "yyyymmdd", or 8 blanks for the empty date.
void jdnToDbf(Jdn jdn, char* eightBytes);
std::string jdnToDtos(Jdn jdn);
Jdn today();

}  // namespace xb
