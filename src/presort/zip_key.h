// The ZIP key the presort groups by (the first five characters of a ZIP text) and the rule
// that decides whether a record takes part in the presort at all.
#pragma once

#include <string_view>

namespace qb::presort {

// The first n characters of UTF-8 text (whole characters, never a cut multi-byte sequence).
std::string_view leadingChars(std::string_view utf8, int n);

// The grouping key of a ZIP text: its first five characters.
inline std::string_view zipKey(std::string_view zip) {
    return leadingChars(zip, 5);
}

// A key takes part when it begins with a digit and lies between "00000" and "99999-999" in
// character-code order. So "123" counts while "0" to "0000" (below "00000") do not.
bool keyQualifies(std::string_view key);

}  // namespace qb::presort
