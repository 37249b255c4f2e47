// How character values compare: '=' and the ordering operators under SET EXACT, '==' and '$'.
#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>

namespace xb::expr {

inline int bytesCompare(const char* a, const char* b, size_t n) {
    return n == 0 ? 0 : std::memcmp(a, b, n);  // memcmp compares as unsigned char
}

// Compares as though the shorter operand were padded with blanks.
inline int comparePadded(std::string_view l, std::string_view r) {
    size_t n = std::min(l.size(), r.size());
    int c = bytesCompare(l.data(), r.data(), n);
    if (c != 0) return c;
    // The longer operand's tail meets the other's padding blanks.
    bool leftLonger = l.size() > n;
    std::string_view tail = leftLonger ? l.substr(n) : r.substr(n);
    for (char ch : tail) {
        auto b = static_cast<unsigned char>(ch);
        if (b == ' ') continue;
        int tailVsBlank = b < ' ' ? -1 : 1;
        return leftLonger ? tailVsBlank : -tailVsBlank;
    }
    return 0;
}

// Order of L against R for < <= > >= (negative, zero, positive). Without EXACT only as many
// bytes as R has count when L is at least as long; a shorter L that is a prefix of R is smaller.
inline int compareOrder(std::string_view l, std::string_view r, bool exact) {
    if (exact) return comparePadded(l, r);
    if (l.size() >= r.size()) return bytesCompare(l.data(), r.data(), r.size());
    int c = bytesCompare(l.data(), r.data(), l.size());
    return c != 0 ? c : -1;
}

// The '=' operator: without EXACT, L must begin with R; with it, blanks at the end do not count.
inline bool equalsSet(std::string_view l, std::string_view r, bool exact) {
    if (exact) return comparePadded(l, r) == 0;
    return l.size() >= r.size() && bytesCompare(l.data(), r.data(), r.size()) == 0;
}

// The '==' operator: same length, same bytes.
inline bool equalsExactly(std::string_view l, std::string_view r) {
    return l.size() == r.size() && bytesCompare(l.data(), r.data(), l.size()) == 0;
}

// The '$' operator; an empty needle is found nowhere.
inline bool contains(std::string_view needle, std::string_view hay) {
    return !needle.empty() && hay.find(needle) != std::string_view::npos;
}

}  // namespace xb::expr
