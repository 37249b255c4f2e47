// Numeric text conversions. Parsing and formatting go through std::from_chars/std::to_chars so
// that results never depend on the process locale.
#include "xbase/expr/numeric_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace xb::expr {

namespace {

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isPad(char c) {
    return c == ' ' || c == '\0';
}

// Parses all of [first, last) as a decimal number; false when it is not one.
bool parseWhole(const char* first, const char* last, double& out) {
    if (first < last && *first == '+') ++first;
    if (first == last) return false;
    double v = 0;
    auto r = std::from_chars(first, last, v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != last || !std::isfinite(v)) return false;
    out = v;
    return true;
}

}  // namespace

double readNumericText(const char* p, size_t width) {
    const char* b = p;
    const char* e = p + width;
    while (b < e && isPad(*b))
        ++b;
    while (e > b && isPad(e[-1]))
        --e;
    if (b == e) return 0;

    // Fast path for what writers put there: sign, up to 15 digits, point, decimals. An exact
    // integer divided by an exact power of ten rounds once, as from_chars would.
    const char* s = b;
    bool neg = false;
    if (*s == '-' || *s == '+') neg = *s++ == '-';
    uint64_t mant = 0;
    int digits = 0, frac = 0;
    bool point = false;
    for (; s < e; ++s) {
        if (isDigit(*s)) {
            if (mant != 0 || *s != '0') ++digits;
            mant = mant * 10 + uint64_t(*s - '0');
            if (point) ++frac;
            if (digits > 15) break;
        } else if (*s == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (s == e && frac <= 22) {
        double v = frac == 0 ? double(mant) : double(mant) / kPow10[frac];
        return neg ? -v : v;
    }
    double v = 0;
    return parseWhole(b, e, v) ? v : 0;
}

double leadingNumber(std::string_view text) {
    const char* b = text.data();
    const char* e = b + text.size();
    while (b < e && (*b == ' ' || *b == '\t'))
        ++b;
    const char* s = b;
    if (s < e && (*s == '-' || *s == '+')) ++s;
    const char* digitsStart = s;
    while (s < e && isDigit(*s))
        ++s;
    bool any = s > digitsStart;
    if (s < e && *s == '.') {
        const char* f = s + 1;
        while (f < e && isDigit(*f))
            ++f;
        any = any || f > s + 1;
        s = f;
    }
    if (!any) return 0;
    if (s < e && (*s == 'e' || *s == 'E')) {
        const char* x = s + 1;
        if (x < e && (*x == '-' || *x == '+')) ++x;
        const char* xd = x;
        while (x < e && isDigit(*x))
            ++x;
        if (x > xd) s = x;
    }
    double v = 0;
    if (parseWhole(b, s, v)) return v;
    // Too large for a double: the sign tells which way it overflowed; keep it finite.
    return 0;
}

double roundDecimal(double v, int dec) {
    if (!std::isfinite(v) || v == 0) return v;
    if (dec > 17) return v;
    if (dec >= 0 && v == std::trunc(v)) return v;
    if (dec < -330) return 0;

    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    std::string_view t(buf, size_t(r.ptr - buf));
    bool neg = t.front() == '-';
    if (neg) t.remove_prefix(1);
    size_t ePos = t.find('e');
    int exp = 0;
    std::from_chars(t.data() + ePos + 1 + (t[ePos + 1] == '+'), t.data() + t.size(), exp);
    std::string digits;
    for (char c : t.substr(0, ePos))
        if (c != '.') digits += c;
    // The value is 0.d1d2d3... x 10^(exp+1); keep the digits before the rounding position.
    long keep = long(exp) + 1 + dec;
    if (keep < 0) return 0;
    if (keep >= long(digits.size())) return v;
    bool up = digits[size_t(keep)] >= '5';
    digits.resize(size_t(keep));
    int scale = exp + 1 - int(keep);  // value = digits x 10^scale
    if (up) {
        long i = long(digits.size()) - 1;
        while (i >= 0 && digits[size_t(i)] == '9')
            digits[size_t(i--)] = '0';
        if (i >= 0)
            ++digits[size_t(i)];
        else
            digits.insert(digits.begin(), '1');
    }
    if (digits.empty()) return 0;
    std::string text = digits + "e" + std::to_string(scale);
    double out = 0;
    std::from_chars(text.data(), text.data() + text.size(), out);
    return neg ? -out : out;
}

void formatFixed(double v, int len, int dec, char* out) {
    if (dec < 0) dec = 0;
    if (dec > len) dec = len;
    auto stars = [&] { std::memset(out, '*', size_t(len)); };
    if (!std::isfinite(v)) return stars();

    // Whole numbers with no decimals asked for: the common case in keys.
    if (dec == 0 && v == std::trunc(v) && std::fabs(v) < 1e15) {
        long long n = static_cast<long long>(v);
        bool neg = n < 0;
        unsigned long long u = neg ? 0ULL - static_cast<unsigned long long>(n) : n;
        char tmp[24];
        int k = 0;
        do {
            tmp[k++] = char('0' + u % 10);
            u /= 10;
        } while (u != 0);
        if (neg) tmp[k++] = '-';
        if (k > len) return stars();
        std::memset(out, ' ', size_t(len - k));
        for (int i = 0; i < k; ++i)
            out[len - 1 - i] = tmp[i];
        return;
    }
    if (std::fabs(v) >= 1e256) return stars();  // more integer digits than any width allows

    char buf[320];
    for (int d = dec; d >= 0; --d) {
        double r = roundDecimal(v, d);
        if (r == 0) r = 0;  // no "-0"
        auto res = std::to_chars(buf, buf + sizeof buf, r, std::chars_format::fixed, d);
        int k = int(res.ptr - buf);
        if (res.ec == std::errc() && k <= len) {
            std::memset(out, ' ', size_t(len - k));
            std::memcpy(out + (len - k), buf, size_t(k));
            return;
        }
    }
    stars();
}

}  // namespace xb::expr
