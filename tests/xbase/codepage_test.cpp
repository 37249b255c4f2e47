// Code page conversion and case mapping.
#include <gtest/gtest.h>

#include "xbase/codepage.h"
#include "xbase/error.h"

namespace xb {
namespace {

TEST(CodePage, DriverBytesNameTheirPages) {
    EXPECT_EQ(CodePage::forDriverByte(0x03).id(), CodePageId::Cp1252);
    EXPECT_EQ(CodePage::forDriverByte(0x00).id(), CodePageId::Cp1252);
    EXPECT_EQ(CodePage::forDriverByte(0x01).id(), CodePageId::Cp437);
    EXPECT_EQ(CodePage::forDriverByte(0x02).id(), CodePageId::Cp850);
    EXPECT_EQ(CodePage::forDriverByte(0x57).id(), CodePageId::Cp1252);
}

TEST(CodePage, SameByteMeansDifferentLettersPerPage) {
    // 0x81 is u-umlaut in the DOS pages; 0xFC is u-umlaut in Windows-1252.
    EXPECT_EQ(CodePage::get(CodePageId::Cp437).toUtf8("M\x81ller"), "M\xC3\xBCller");
    EXPECT_EQ(CodePage::get(CodePageId::Cp850).toUtf8("M\x81ller"), "M\xC3\xBCller");
    EXPECT_EQ(CodePage::windows1252().toUtf8("M\xFCller"), "M\xC3\xBCller");
    EXPECT_EQ(CodePage::windows1252().toUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
}

TEST(CodePage, RoundTripsAndRefusesWhatItCannotHold) {
    const auto& cp = CodePage::windows1252();
    std::string out;
    EXPECT_TRUE(
        cp.fromUtf8("Stra\xC3\x9F"
                    "e \xE2\x82\xAC",
                    out));
    EXPECT_EQ(out,
              "Stra\xDF"
              "e \x80");
    char32_t bad = 0;
    EXPECT_FALSE(cp.fromUtf8("\xE4\xB8\xAD", out, &bad));  // a CJK character
    EXPECT_EQ(bad, U'\u4E2D');
    EXPECT_FALSE(cp.fromUtf8("\xC3", out, &bad));  // truncated sequence
    EXPECT_THROW(cp.encode("\xE4\xB8\xAD"), Error);
}

TEST(CodePage, UpperMapsAccentedLettersWithoutChangingLength) {
    const uint8_t* up = CodePage::windows1252().upperTable();
    EXPECT_EQ(up['a'], 'A');
    EXPECT_EQ(up[0xFC], 0xDC);  // u-umlaut
    EXPECT_EQ(up[0xF7], 0xF7);  // division sign has no case
    EXPECT_EQ(up[0xDF], 0xDF);  // sharp s stays one byte
    EXPECT_EQ(up[0xFF], 0x9F);  // y-diaeresis
    EXPECT_EQ(up[0x9A], 0x8A);
    const uint8_t* up437 = CodePage::get(CodePageId::Cp437).upperTable();
    EXPECT_EQ(up437[0x81], 0x9A);  // u-umlaut to U-umlaut in the DOS page
}

}  // namespace
}  // namespace xb
