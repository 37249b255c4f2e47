// Imported values into the contact file's code page as bytes: the blanks trimmed as a QString
// trims them, and characters the page cannot hold refused or replaced.
#include <gtest/gtest.h>

#include <QString>

#include "import/page_text.h"

namespace qb::import {
namespace {

using xb::CodePage;
using xb::CodePageId;

std::string bytesOf(const QString& s) {
    return s.toStdString();
}

TEST(PageText, TrimsEveryBlankAQStringTrims) {
    const PageText utf8(CodePage::windows1252());
    for (const QString v :
         {QString(""), QString("  "), QString("\t Smith \r\n"), QString("\u2003Zo\u00EB\u00A0"),
          QString("a \u00A0b"), QString("\u00A0\u3000"), QString("x\u00E9")}) {
        const std::string in = bytesOf(v);
        EXPECT_EQ(std::string(utf8.trimmed(in)), bytesOf(v.trimmed())) << in;
    }
    // The same in a single-byte page, where 0xA0 is a blank in one page and a letter in another.
    const PageText ansi(CodePage::windows1252(), CodePage::windows1252());
    EXPECT_EQ(ansi.trimmed("\xA0\tZ\xFCrich \xA0"), "Z\xFCrich");
    const PageText dos(CodePage::get(CodePageId::Cp437), CodePage::get(CodePageId::Cp437));
    EXPECT_EQ(dos.trimmed(" \xA0 "), "\xA0");
}

TEST(PageText, RefusesOrReplacesWhatThePageCannotHold) {
    std::string out;
    char32_t bad = 0;
    const PageText same(CodePage::windows1252(), CodePage::windows1252());
    EXPECT_TRUE(same.holdsEverything());

    const PageText toDos(CodePage::windows1252(), CodePage::get(CodePageId::Cp437));
    EXPECT_FALSE(toDos.holdsEverything());
    ASSERT_TRUE(toDos.convert("caf\xE9", out, false, bad));
    EXPECT_EQ(out, "caf\x82");
    EXPECT_FALSE(toDos.convert("5 \x80", out, false, bad));
    EXPECT_EQ(bad, U'\u20AC');
    ASSERT_TRUE(toDos.convert("5 \x80", out, true, bad));
    EXPECT_EQ(out, "5 ?");

    const PageText utf8(CodePage::windows1252());
    ASSERT_TRUE(utf8.convert(bytesOf("Zo\u00EB"), out, false, bad));
    EXPECT_EQ(out, "Zo\xEB");
    EXPECT_FALSE(utf8.convert(bytesOf("\u03A9mega"), out, false, bad));
    EXPECT_EQ(bad, U'\u03A9');
    ASSERT_TRUE(utf8.convert(bytesOf("\u03A9mega \u00E9") + "\xFF", out, true, bad));
    EXPECT_EQ(out, "?mega \xE9?");
}

}  // namespace
}  // namespace qb::import
