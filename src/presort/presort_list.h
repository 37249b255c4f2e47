// The presort list: the lines of PRESORT.PSL built from the ZIP counts, 5-digit groups first,
// then 3-digit groups, then center groups, then the keys that fit nowhere.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "presort/zip_counts.h"

namespace qb::presort {

// Every header holds this mark; a line without it is a ZIP key.
inline constexpr std::string_view kHeaderMark = "**";
inline constexpr std::string_view kFiveDigitHeader = "** 5-digit ";
inline constexpr std::string_view kThreeDigitHeader = "** 3-digit ";
inline constexpr std::string_view kAdcHeader = "** ADC ";
inline constexpr std::string_view kUnknownHeader = "** Unknown";

// A group takes keys only when they add up to more than this many pieces.
inline constexpr uint32_t kGroupMinimumExclusive = 9;

inline bool isHeaderLine(std::string_view line) {
    return line.find(kHeaderMark) != std::string_view::npos;
}

std::vector<std::string> buildPresortList(const ZipCounts& counts);

}  // namespace qb::presort
