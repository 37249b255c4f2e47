// Code page conversion over the generated tables.
#include "xbase/codepage.h"

#include <array>
#include <cstdio>
#include <unordered_map>
#include <vector>

#include "xbase/codepage_tables.h"
#include "xbase/error.h"

namespace xb {

struct CodePageRegistry {
    std::vector<CodePage> pages;
    std::array<std::unordered_map<char32_t, uint8_t>, 16> reverse;

    CodePageRegistry() {
        pages.resize(size_t(detail::kCodePageTableCount));
        for (int i = 0; i < detail::kCodePageTableCount; ++i) {
            const auto& t = detail::kCodePageTables[i];
            CodePage& p = pages[size_t(int(t.id))];
            p.id_ = t.id;
            p.name_ = t.name;
            p.driverByte_ = t.driverByte;
            p.high_ = t.high;
            p.upper_ = t.upper;
            auto& rev = reverse[size_t(int(t.id))];
            for (int b = 0; b < 128; ++b)
                rev.emplace(char32_t(t.high[b]), uint8_t(0x80 + b));
        }
    }
    static const CodePageRegistry& instance() {
        static const CodePageRegistry r;
        return r;
    }
};

const CodePage& CodePage::get(CodePageId id) {
    return CodePageRegistry::instance().pages[size_t(int(id))];
}

const CodePage& CodePage::forDriverByte(uint8_t b) {
    switch (b) {
        case 0x01:
            return get(CodePageId::Cp437);
        case 0x02:
            return get(CodePageId::Cp850);
        case 0x04:
            return get(CodePageId::Mac);
        case 0x64:
            return get(CodePageId::Cp852);
        case 0x65:
            return get(CodePageId::Cp866);
        case 0x66:
            return get(CodePageId::Cp865);
        case 0xC8:
            return get(CodePageId::Cp1250);
        case 0xC9:
            return get(CodePageId::Cp1251);
        case 0xCA:
            return get(CodePageId::Cp1254);
        case 0xCB:
            return get(CodePageId::Cp1253);
        default:
            return get(CodePageId::Cp1252);
    }
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::string CodePage::toUtf8(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c < 0x80)
            out += char(c);
        else
            appendUtf8(out, high_[c - 0x80]);
    }
    return out;
}

bool CodePage::fromUtf8(std::string_view s, std::string& out, char32_t* badChar) const {
    const auto& rev = CodePageRegistry::instance().reverse[size_t(int(id_))];
    out.clear();
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out += char(c);
            ++i;
            continue;
        }
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
        char32_t cp = extra == 3 ? (c & 0x07) : extra == 2 ? (c & 0x0F) : (c & 0x1F);
        bool valid = extra > 0 && c < 0xF8 && i + size_t(extra) < s.size();
        for (int k = 1; valid && k <= extra; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + size_t(k)]);
            if ((cc & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!valid) {
            if (badChar) *badChar = 0xFFFD;
            return false;
        }
        auto it = rev.find(cp);
        if (it == rev.end()) {
            if (badChar) *badChar = cp;
            return false;
        }
        out += char(it->second);
        i += size_t(extra) + 1;
    }
    return true;
}

std::string CodePage::upper(std::string_view s) const {
    const auto& rev = CodePageRegistry::instance().reverse[size_t(int(id_))];
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (c < 0x80) {
            out += char(upper_[c]);
            ++i;
            continue;
        }
        if (c < 0xC0 || i + n > s.size()) {
            // Not the start of a whole character: passed on untouched.
            out += char(c);
            ++i;
            continue;
        }
        char32_t cp = n == 4 ? (c & 0x07) : n == 3 ? (c & 0x0F) : (c & 0x1F);
        for (size_t k = 1; k < n; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        auto it = rev.find(cp);
        if (it == rev.end()) {
            out.append(s.substr(i, n));
        } else {
            const uint8_t b = upper_[it->second];
            if (b < 0x80)
                out += char(b);
            else
                appendUtf8(out, high_[b - 0x80]);
        }
        i += n;
    }
    return out;
}

std::string CodePage::encode(std::string_view utf8) const {
    std::string out;
    char32_t bad = 0;
    if (!fromUtf8(utf8, out, &bad)) {
        std::string ch;
        if (bad != 0xFFFD) appendUtf8(ch, bad);
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", unsigned(bad));
        if (bad == 0xFFFD) fail(ErrorCode::CodePage, "The text is not valid UTF-8");
        fail(ErrorCode::CodePage, "The character " + ch + " (" + code + ") cannot be stored in a " +
                                      std::string(name_) + " file");
    }
    return out;
}

}  // namespace xb
