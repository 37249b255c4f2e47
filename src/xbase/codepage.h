// The single-byte code pages of xBase tables: which page a language-driver byte names, text
// conversion between a page and UTF-8, and each page's UPPER() mapping.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xb {

enum class CodePageId {
    Cp1252,
    Cp437,
    Cp850,
    Mac,
    Cp852,
    Cp866,
    Cp865,
    Cp1250,
    Cp1251,
    Cp1254,
    Cp1253
};

class CodePage {
  public:
    // The page a table's language-driver byte names; unknown bytes and 0 mean Windows-1252.
    static const CodePage& forDriverByte(uint8_t b);
    static const CodePage& get(CodePageId id);
    static const CodePage& windows1252() { return get(CodePageId::Cp1252); }

    CodePageId id() const { return id_; }
    const char* name() const { return name_; }
    uint8_t driverByte() const { return driverByte_; }
    const uint8_t* upperTable() const { return upper_; }

    std::string toUtf8(std::string_view bytes) const;
    // Converts UTF-8 into this page. Returns false (out holding the text up to the fault and
    // *badChar the character) when the page cannot hold a character or the UTF-8 is invalid.
    bool fromUtf8(std::string_view utf8, std::string& out, char32_t* badChar = nullptr) const;
    // As fromUtf8, but throws Error(CodePage) naming the character.
    std::string encode(std::string_view utf8) const;
    // UTF-8 text with every character this page has a capital for replaced by it, as UPPER()
    // capitalises a field; characters the page cannot hold are left as they are.
    std::string upper(std::string_view utf8) const;

    CodePage() = default;  // only the registry makes pages; use get()

  private:
    CodePageId id_ = CodePageId::Cp1252;
    const char* name_ = "";
    uint8_t driverByte_ = 0;
    const char16_t* high_ = nullptr;
    const uint8_t* upper_ = nullptr;
    friend struct CodePageRegistry;
};

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t cp);

}  // namespace xb
