// Converting imported values into the contact file's code page a byte table at a time.
#include "import/page_text.h"

#include <QChar>

namespace qb::import {

namespace {

// The character starting at p (at most n bytes) and how many bytes it takes; a byte that does
// not start a valid sequence is one U+FFFD, as a QString would read it.
char32_t decodeUtf8(const unsigned char* p, size_t n, size_t& length) {
    length = 1;
    const unsigned b = p[0];
    if (b < 0x80) return b;
    size_t need = b >= 0xF0 && b <= 0xF4 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b <= 0xDF ? 1 : 0;
    if (need == 0 || need >= n) return 0xFFFD;
    char32_t cp = b & (0x3F >> need);
    for (size_t k = 1; k <= need; ++k) {
        if ((p[k] & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (p[k] & 0x3F);
    }
    if ((need == 2 && cp < 0x800) || (need == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0xFFFD;
    length = need + 1;
    return cp;
}

bool isBlank(char32_t c) {
    return QChar::isSpace(c);
}

bool asciiKept(const xb::CodePage& page) {
    for (int b = 0; b < 0x80; ++b) {
        std::string out;
        if (!page.fromUtf8(std::string(1, char(b)), out) || out != std::string(1, char(b)))
            return false;
    }
    return true;
}

}  // namespace

PageText::PageText(const xb::CodePage& source, const xb::CodePage& target)
    : target_(target), utf8_(false) {
    for (int b = 0; b < 256; ++b) {
        const std::string utf8 = source.toUtf8(std::string(1, char(b)));
        size_t length = 0;
        chars_[size_t(b)] = utf8.empty()
                                ? 0xFFFD
                                : decodeUtf8(reinterpret_cast<const unsigned char*>(utf8.data()),
                                             utf8.size(), length);
        std::string out;
        if (target.fromUtf8(utf8, out)) {
            bytes_[size_t(b)] = out;
        } else {
            unholdable_[size_t(b)] = true;
            holdsEverything_ = false;
        }
        identity_ = identity_ && !unholdable_[size_t(b)] && out == std::string(1, char(b));
    }
}

PageText::PageText(const xb::CodePage& target) : target_(target), utf8_(true) {
    holdsEverything_ = false;
    identity_ = asciiKept(target);  // for UTF-8: ASCII values go across as they are
}

std::string_view PageText::trimmed(std::string_view value) const {
    const auto* p = reinterpret_cast<const unsigned char*>(value.data());
    size_t begin = 0, end = value.size();
    // Fields are padded with plain blanks: those go without decoding anything.
    while (end > 0 && p[end - 1] == ' ')
        --end;
    while (begin < end && p[begin] == ' ')
        ++begin;
    while (begin < end) {
        size_t length = 1;
        const char32_t c = utf8_ ? decodeUtf8(p + begin, end - begin, length) : chars_[p[begin]];
        if (!isBlank(c)) break;
        begin += length;
    }
    while (end > begin) {
        size_t start = end - 1;
        if (utf8_)
            while (start > begin && (p[start] & 0xC0) == 0x80)
                --start;
        size_t length = 1;
        const char32_t c = utf8_ ? decodeUtf8(p + start, end - start, length) : chars_[p[start]];
        if (!isBlank(c) || start + length != end) break;
        end = start;
    }
    return value.substr(begin, end - begin);
}

bool PageText::convert(std::string_view value, std::string& out, bool replace,
                       char32_t& bad) const {
    out.clear();
    if (!utf8_) {
        if (identity_) {
            out.assign(value);
            return true;
        }
        for (const char ch : value) {
            const auto b = size_t(uint8_t(ch));
            if (unholdable_[b]) {
                if (!replace) {
                    bad = chars_[b];
                    return false;
                }
                out += '?';
            } else {
                out += bytes_[b];
            }
        }
        return true;
    }
    bool ascii = true;
    for (const char ch : value)
        ascii = ascii && uint8_t(ch) < 0x80;
    if (ascii && identity_) {
        out.assign(value);
        return true;
    }
    if (target_.fromUtf8(value, out, &bad)) return true;
    if (!replace) return false;
    // Character by character, each one the page cannot hold becoming '?'.
    out.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(value.data());
    std::string one;
    for (size_t i = 0; i < value.size();) {
        size_t length = 1;
        decodeUtf8(p + i, value.size() - i, length);
        one.clear();
        if (target_.fromUtf8(value.substr(i, length), one))
            out += one;
        else
            out += '?';
        i += length;
    }
    return true;
}

}  // namespace qb::import
