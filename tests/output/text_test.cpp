// Text placement as recorded in the page: at the cursor, by left edge, centre and right edge,
// justified blocks, clipped rectangles, fonts, origin and scale.
#include "report_harness.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using test::opsOf;
using test::record;

TEST(Text, PrintPlacesAtTheCursorAndMovesItByTheTextWidth) {
    double width = 0, startY = 0;
    const auto rec = record([&](TBaseReport& r) {
        r.GotoXY(1.5, 2.0);
        startY = r.YPos();
        width = r.TextWidth(QStringLiteral("Hello "));
        r.Print(QStringLiteral("Hello "));
        EXPECT_NEAR(r.XPos(), 1.5 + width, 1e-9);
        r.Print(QStringLiteral("World"));
    });
    const auto texts = opsOf<TextOp>(rec.pages.at(0));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_FLOAT_EQ(texts[0].x, 1.5f);
    EXPECT_FLOAT_EQ(texts[0].y, 2.0f);
    EXPECT_NEAR(texts[1].x, 1.5 + width, 1e-6);
    EXPECT_NEAR(texts[0].width, width, 1e-6);
    EXPECT_DOUBLE_EQ(startY, 2.0);
}

TEST(Text, LeftCentreAndRightEdgesAtX) {
    double w = 0;
    const auto rec = record([&](TBaseReport& r) {
        r.GotoXY(0, 3);
        w = r.TextWidth(QStringLiteral("Page 12"));
        r.PrintLeft(QStringLiteral("Page 12"), 4);
        r.PrintCenter(QStringLiteral("Page 12"), 4);
        r.PrintRight(QStringLiteral("Page 12"), 4);
        EXPECT_NEAR(r.XPos(), 4, 1e-9);
    });
    const auto t = opsOf<TextOp>(rec.pages.at(0));
    ASSERT_EQ(t.size(), 3u);
    EXPECT_NEAR(t[0].x, 4, 1e-6);
    EXPECT_NEAR(t[1].x, 4 - w / 2, 1e-6);
    EXPECT_NEAR(t[2].x, 4 - w, 1e-6);
    EXPECT_GT(w, 0.3);
}

TEST(Text, PrintBlockSpreadsTheSpareRoomOverTheGapsBetweenWords) {
    double a = 0, b = 0, c = 0;
    const auto rec = record([&](TBaseReport& r) {
        r.GotoXY(0, 1);
        a = r.TextWidth(QStringLiteral("one"));
        b = r.TextWidth(QStringLiteral("two"));
        c = r.TextWidth(QStringLiteral("three"));
        r.PrintBlock(QStringLiteral("one two  three"), 1, 4);
        EXPECT_NEAR(r.XPos(), 5, 1e-9);
    });
    const auto t = opsOf<TextOp>(rec.pages.at(0));
    ASSERT_EQ(t.size(), 3u);
    const double gap = (4 - a - b - c) / 2;
    EXPECT_NEAR(t[0].x, 1, 1e-6);
    EXPECT_NEAR(t[1].x, 1 + a + gap, 1e-5);
    EXPECT_NEAR(t[2].x, 1 + a + gap + b + gap, 1e-5);
    // The last word ends exactly at the right edge.
    EXPECT_NEAR(t[2].x + t[2].width, 5, 1e-5);
}

TEST(Text, PrintBlockWithoutSpacesSpreadsTheCharacters) {
    const auto rec = record([](TBaseReport& r) {
        r.GotoXY(0, 1);
        r.PrintBlock(QStringLiteral("ABCD"), 2, 2);
    });
    const auto t = opsOf<TextOp>(rec.pages.at(0));
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].text, QStringLiteral("A"));
    EXPECT_EQ(t[3].text, QStringLiteral("D"));
    EXPECT_NEAR(t[0].x, 2, 1e-6);
    EXPECT_NEAR(t[3].x + t[3].width, 4, 1e-5);
    const double gap1 = t[1].x - (t[0].x + t[0].width);
    const double gap2 = t[2].x - (t[1].x + t[1].width);
    EXPECT_NEAR(gap1, gap2, 1e-5);
    EXPECT_GT(gap1, 0.3);
}

TEST(Text, TextRectRecordsItsClipRectangle) {
    const auto rec = record([](TBaseReport& r) {
        r.SetOriginX(0.5);
        r.GotoXY(1, 2);
        r.TextRect(1, 1.8, 2.5, 2.1, 1.05, QStringLiteral("A long text that is clipped"));
    });
    const auto clips = opsOf<ClipTextOp>(rec.pages.at(0));
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_FLOAT_EQ(clips[0].x, 1.55f);
    EXPECT_FLOAT_EQ(clips[0].left, 1.5f);
    EXPECT_FLOAT_EQ(clips[0].right, 3.0f);
    EXPECT_FLOAT_EQ(clips[0].top, 1.8f);
    EXPECT_FLOAT_EQ(clips[0].bottom, 2.1f);
}

TEST(Text, OriginAndScaleApplyToEveryPosition) {
    const auto rec = record([](TBaseReport& r) {
        r.SetOriginX(1);
        r.SetOriginY(2);
        r.SetScaleX(50);
        r.SetScaleY(200);
        r.GotoXY(3, 1);
        r.Print(QStringLiteral("x"));
        r.MoveTo(1, 1);
        r.LineTo(3, 2);
    });
    const auto t = opsOf<TextOp>(rec.pages.at(0));
    ASSERT_EQ(t.size(), 1u);
    EXPECT_FLOAT_EQ(t[0].x, 2.0f);  // (3 + 1) * 0.5
    EXPECT_FLOAT_EQ(t[0].y, 6.0f);  // (1 + 2) * 2
    const auto lines = opsOf<LineOp>(rec.pages.at(0));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_FLOAT_EQ(lines[0].x1, 1.0f);
    EXPECT_FLOAT_EQ(lines[0].y2, 8.0f);
}

TEST(Text, UnitsConvertToInchesInThePage) {
    const auto rec = record([](TBaseReport& r) {
        r.SetUnitsFactor(25.4);
        r.GotoXY(50.8, 25.4);
        r.Print(QStringLiteral("mm"));
    });
    const auto t = opsOf<TextOp>(rec.pages.at(0));
    ASSERT_EQ(t.size(), 1u);
    EXPECT_FLOAT_EQ(t[0].x, 2.0f);
    EXPECT_FLOAT_EQ(t[0].y, 1.0f);
}

TEST(Text, SetFontSwitchesStylesOffAndIgnoresASizeOfZero) {
    const auto rec = record([](TBaseReport& r) {
        r.SetFont(QStringLiteral("Times New Roman"), 14);
        r.SetBold(true);
        r.SetItalic(true);
        r.SetUnderline(true);
        r.GotoXY(1, 1);
        r.Print(QStringLiteral("bold"));
        r.SetFont(QStringLiteral("Arial"), 0);
        EXPECT_FALSE(r.Bold());
        EXPECT_FALSE(r.Italic());
        EXPECT_FALSE(r.Underline());
        EXPECT_DOUBLE_EQ(r.FontSize(), 14);
        r.Print(QStringLiteral("plain"));
    });
    const auto fonts = opsOf<FontOp>(rec.pages.at(0));
    ASSERT_EQ(fonts.size(), 2u);
    EXPECT_EQ(fonts[0].family, QStringLiteral("Times New Roman"));
    EXPECT_EQ(fonts[0].style, FontBold | FontItalic | FontUnderline);
    EXPECT_EQ(fonts[1].family, QStringLiteral("Arial"));
    EXPECT_EQ(fonts[1].style, 0);
    EXPECT_FLOAT_EQ(fonts[1].size, 14.0f);
}

TEST(Text, TheFontIsRecordedOncePerPageWhileItStaysTheSame) {
    const auto rec = record([](TBaseReport& r) {
        r.SetFont(QStringLiteral("Arial"), 9);
        for (int page = 0; page < 3; ++page) {
            if (page > 0) r.NewPage();
            for (int i = 0; i < 5; ++i)
                r.Println(QStringLiteral("line"));
        }
    });
    ASSERT_EQ(rec.pages.size(), 3u);
    for (const PageOps& page : rec.pages) {
        EXPECT_EQ(opsOf<FontOp>(page).size(), 1u);
        EXPECT_EQ(opsOf<TextOp>(page).size(), 5u);
    }
}

TEST(Text, BoldTextMeasuresWiderThanRegular) {
    record([](TBaseReport& r) {
        r.SetFont(QStringLiteral("Arial"), 10);
        const double regular = r.TextWidth(QStringLiteral("Mailing List"));
        r.SetBold(true);
        EXPECT_GT(r.TextWidth(QStringLiteral("Mailing List")), regular * 1.03);
        r.SetFont(QStringLiteral("Arial"), 20);
        EXPECT_NEAR(r.TextWidth(QStringLiteral("Mailing List")), 2 * regular, 1e-4);
    });
}

TEST(Text, OpaqueTextRecordsItsBackgroundMode) {
    const auto rec = record([](TBaseReport& r) {
        r.GotoXY(1, 1);
        r.Print(QStringLiteral("clear"));
        r.SetTextBKMode(bkOpaque);
        r.Print(QStringLiteral("boxed"));
    });
    const auto modes = opsOf<TextModeOp>(rec.pages.at(0));
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_TRUE(modes[0].opaque);
}

}  // namespace
}  // namespace qb
