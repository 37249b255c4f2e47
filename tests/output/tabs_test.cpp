// Tab stops: placement after the previous stop, margins, justification in the cell, shading
// with the TabShade fallback, box lines, and the saved sets.
#include "report_harness.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using test::opsOf;
using test::record;

TEST(Tabs, StopsPlacedAfterThePreviousOneAndTextAtTheirMargin) {
    const auto rec = record([](TBaseReport& r) {
        r.SetSectionLeft(1.0);
        r.ClearTabs();
        r.SetTab(NA, pjLeft, 1.75, 2, BOXLINENONE, 0);   // 1.00 .. 2.75
        r.SetTab(NA, pjLeft, 2.15, 2, BOXLINENONE, 0);   // 2.75 .. 4.90
        r.SetTab(5.5, pjLeft, 1.0, 10, BOXLINENONE, 0);  // given position
        r.SetTab(NA, pjLeft, 1.0, 0, BOXLINENONE, 0);    // 6.50 ..
        r.GotoXY(0, 2);
        r.Print(QStringLiteral("\ta\tb\tc\td"));
    });
    const auto t = opsOf<TextOp>(rec.pages.at(0));
    ASSERT_EQ(t.size(), 4u);
    EXPECT_NEAR(t[0].x, 1.02, 1e-6);
    EXPECT_NEAR(t[1].x, 2.77, 1e-6);
    EXPECT_NEAR(t[2].x, 5.6, 1e-6);
    EXPECT_NEAR(t[3].x, 6.5, 1e-6);
}

TEST(Tabs, JustificationInsideTheCell) {
    double w = 0;
    const auto rec = record([&](TBaseReport& r) {
        r.SetTab(1, pjLeft, 2, 5, 0, 0);
        r.SetTab(NA, pjRight, 2, 5, 0, 0);
        r.SetTab(NA, pjCenter, 2, 5, 0, 0);
        r.GotoXY(0, 1);
        w = r.TextWidth(QStringLiteral("1,234"));
        for (int i = 0; i < 3; ++i) {
            r.Tab();
            r.Print(QStringLiteral("1,234"));
        }
    });
    const auto t = opsOf<TextOp>(rec.pages.at(0));
    ASSERT_EQ(t.size(), 3u);
    EXPECT_NEAR(t[0].x, 1.05, 1e-6);
    EXPECT_NEAR(t[1].x, 5 - 0.05 - w, 1e-6);
    EXPECT_NEAR(t[2].x, 5 + (2 - w) / 2, 1e-6);
}

TEST(Tabs, BlockJustifiedCellFillsItsInnerWidth) {
    const auto rec = record([](TBaseReport& r) {
        r.SetTab(1, pjBlock, 3, 10, 0, 0);
        r.GotoXY(0, 1);
        r.Tab();
        r.Print(QStringLiteral("left and right"));
    });
    const auto t = opsOf<TextOp>(rec.pages.at(0));
    ASSERT_EQ(t.size(), 3u);
    EXPECT_NEAR(t[0].x, 1.1, 1e-6);
    EXPECT_NEAR(t[2].x + t[2].width, 3.9, 1e-5);
}

TEST(Tabs, ShadeFillsTheLineBandAndZeroFallsBackToTabShade) {
    double top = 0, bottom = 0;
    const auto rec = record([&](TBaseReport& r) {
        r.SetLineHeightMethod(lhmFont);
        r.SetFont(QStringLiteral("Arial"), 9);
        r.SetTab(0.5, pjLeft, 0.625, 5, 0, 5);
        r.SetTab(NA, pjRight, 0.625, 5, 0, 0);
        r.SetTab(NA, pjLeft, 0.625, 5, 0, 0);
        r.Home();
        top = r.YPos() - r.LineHeight() + r.FontDescent();
        bottom = r.YPos() + r.FontDescent();
        r.Tab();  // its own 5 percent
        r.Tab();  // no shade, TabShade 0: nothing
        r.SetTabShade(10);
        r.Tab(NA, NA, NA, NA, 0);  // zero falls back to TabShade
        r.NewLine();
        r.Tab(NA, NA, NA, NA, 20);  // explicit shade wins over the stop's
    });
    const auto fills = opsOf<FillOp>(rec.pages.at(0));
    ASSERT_EQ(fills.size(), 3u);
    EXPECT_EQ(fills[0].colour, 0xF2F2F2u);  // 5 percent
    EXPECT_NEAR(fills[0].x1, 0.5, 1e-6);
    EXPECT_NEAR(fills[0].x2, 1.125, 1e-6);
    EXPECT_NEAR(fills[0].y1, top, 1e-6);
    EXPECT_NEAR(fills[0].y2, bottom, 1e-6);
    EXPECT_NEAR(fills[0].y2 - fills[0].y1, 9.0 / 60, 1e-6);  // exactly one line
    EXPECT_EQ(fills[1].colour, 0xE6E6E6u);                   // 10 percent
    EXPECT_NEAR(fills[1].x1, 1.75, 1e-6);
    EXPECT_EQ(fills[2].colour, 0xCCCCCCu);  // 20 percent
    EXPECT_NEAR(fills[2].x1, 0.5, 1e-6);
}

TEST(Tabs, BoxLinesFromTheStopAndFromTheCall) {
    const auto rec = record([](TBaseReport& r) {
        r.SetTab(1, pjLeft, 2, 0, BOXLINELEFT | BOXLINEBOTTOM, 0);
        r.SetTab(NA, pjLeft, 2, 0, BOXLINEALL, 0);
        r.GotoXY(0, 1);
        r.Tab();  // the stop's own lines: left and bottom
        r.Tab(0, NA, -2, NA,
              NA);  // no left line, stop's right, a top of 2 hundredths, stop's bottom
    });
    const auto lines = opsOf<LineOp>(rec.pages.at(0));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_FLOAT_EQ(lines[0].x1, 1.0f);  // left of stop 1
    EXPECT_FLOAT_EQ(lines[0].x2, 1.0f);
    EXPECT_FLOAT_EQ(lines[1].y1, lines[1].y2);  // bottom of stop 1
    EXPECT_FLOAT_EQ(lines[2].x1, 5.0f);         // right of stop 2
    EXPECT_FLOAT_EQ(lines[3].y1, lines[3].y2);  // top of stop 2
    EXPECT_LT(lines[3].y1, lines[4].y1);
    // The top line was drawn with a pen of two hundredths of an inch; the pen returns after.
    const auto pens = opsOf<PenOp>(rec.pages.at(0));
    bool sawWide = false;
    for (const PenOp& p : pens)
        sawWide = sawWide || std::fabs(p.width - 0.02f) < 1e-4f;
    EXPECT_TRUE(sawWide);
}

TEST(Tabs, SavedSetsComeBackInOrderAndAPassStartsWithNone) {
    record([](TBaseReport& r) {
        EXPECT_EQ(r.TabCount(), 0);
        r.SetTab(1, pjLeft, 1, 0, 0, 0);
        r.SetTab(NA, pjLeft, 1, 0, 0, 0);
        r.SaveTabs();
        r.ClearTabs();
        r.SetTab(0.5, pjLeft, 7, 2, 0, 10);
        r.SaveTabs();
        r.ClearTabs();
        EXPECT_EQ(r.TabCount(), 0);
        r.RestoreTabs();
        EXPECT_EQ(r.TabCount(), 1);
        r.RestoreTabs();
        EXPECT_EQ(r.TabCount(), 2);
        r.RestoreTabs();  // nothing left to restore: the set stays
        EXPECT_EQ(r.TabCount(), 2);
        r.GotoXY(0, 1);
        r.Tab();
        r.Tab();
        EXPECT_NEAR(r.TabStart(), 2.0, 1e-9);
        r.Tab();  // past the last stop: stays in the last cell
        EXPECT_NEAR(r.TabStart(), 2.0, 1e-9);
    });
}

TEST(Tabs, NewLineStartsTheRowAtTheFirstStopAgain) {
    const auto rec = record([](TBaseReport& r) {
        r.SetTab(1, pjLeft, 1, 0, 0, 0);
        r.SetTab(NA, pjLeft, 1, 0, 0, 0);
        r.GotoXY(0, 1);
        r.Println(QStringLiteral("\ta\tb"));
        r.Print(QStringLiteral("\tc"));
    });
    const auto t = opsOf<TextOp>(rec.pages.at(0));
    ASSERT_EQ(t.size(), 3u);
    EXPECT_FLOAT_EQ(t[2].x, 1.0f);
    EXPECT_GT(t[2].y, t[0].y);
}

}  // namespace
}  // namespace qb
