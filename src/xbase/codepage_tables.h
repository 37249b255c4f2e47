// The generated tables behind the code pages (see tools/gen_codepages.py).
#pragma once

#include <cstdint>

#include "xbase/codepage.h"

namespace xb::detail {

struct CodePageTable {
    CodePageId id;
    const char* name;
    uint8_t driverByte;    // the language-driver byte written for this page
    const char16_t* high;  // Unicode of bytes 0x80..0xFF
    const uint8_t* upper;  // UPPER() of every byte
};

extern const CodePageTable kCodePageTables[];
extern const int kCodePageTableCount;

}  // namespace xb::detail
