// Imported values on their way into the contact file's code page, as bytes: a table worked out
// once per import instead of a QString and two conversions for every value of every record.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "xbase/codepage.h"

namespace qb::import {

class PageText {
  public:
    // Values in a single-byte code page (another table's, or Windows-1252 text).
    PageText(const xb::CodePage& source, const xb::CodePage& target);
    // Values in UTF-8.
    explicit PageText(const xb::CodePage& target);

    // True when every value can be stored, so nothing needs checking before the import.
    bool holdsEverything() const { return holdsEverything_; }
    // The value without the blanks (any Unicode white space) around it.
    std::string_view trimmed(std::string_view value) const;
    // The value in the target page into out. A character the page cannot hold is replaced by
    // '?' when replace is on; otherwise false, with the character in bad.
    bool convert(std::string_view value, std::string& out, bool replace, char32_t& bad) const;

  private:
    const xb::CodePage& target_;
    bool utf8_;
    bool holdsEverything_ = true;
    bool identity_ = true;
    std::array<std::string, 256> bytes_;  // single-byte source: each byte in the target page
    std::array<char32_t, 256> chars_{};   // single-byte source: each byte's character
    std::array<bool, 256> unholdable_{};
};

}  // namespace qb::import
