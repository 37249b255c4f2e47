// The presort list: the lines of PRESORT.PSL built from the ZIP counts, 5-digit groups first,
// then 3-digit groups, then center groups, then the keys that fit nowhere.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "presort/zip_counts.h"

namespace qb::presort {

// Every header begins with this mark. A key may hold it too (a ZIP text is whatever was typed),
// but a key that takes part begins with a digit, so only the start of a line tells them apart.
inline constexpr std::string_view kHeaderMark = "**";
inline constexpr std::string_view kFiveDigitHeader = "** 5-digit ";
inline constexpr std::string_view kThreeDigitHeader = "** 3-digit ";
inline constexpr std::string_view kAdcHeader = "** ADC ";
inline constexpr std::string_view kUnknownHeader = "** Unknown";

// A group takes keys only when they add up to more than this many pieces.
inline constexpr uint32_t kGroupMinimumExclusive = 9;

inline bool isHeaderLine(std::string_view line) {
    return line.starts_with(kHeaderMark);
}

std::vector<std::string> buildPresortList(const ZipCounts& counts);

}  // namespace qb::presort
