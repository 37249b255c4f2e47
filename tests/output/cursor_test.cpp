// The line arithmetic of the cursor: Home, NewLine and LinesLeft against the section, with
// line heights by lines per inch and by font; and the calls refused outside or during a pass.
#include "controls/scripted_prompts.h"
#include "output/report_error.h"
#include "output/report_printer.h"
#include "report_harness.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

using test::record;

TEST(Cursor, HomeSitsOneLineBelowTheSectionTopLessTheDescent) {
    record([](TBaseReport& r) {
        r.SetLineHeightMethod(lhmFont);
        r.SetFont(QStringLiteral("Arial"), 12);  // line height 0.2 inch
        r.SetSectionTop(2.0);
        r.SetSectionLeft(1.25);
        r.SetXPos(5);
        r.Home();
        EXPECT_DOUBLE_EQ(r.XPos(), 1.25);
        EXPECT_NEAR(r.YPos(), 2.0 + 0.2 - r.FontDescent(), 1e-12);
        EXPECT_GT(r.FontDescent(), 0.02);
        EXPECT_EQ(r.LineNum(), 1);
        r.NewLine();
        EXPECT_NEAR(r.YPos(), 2.4 - r.FontDescent(), 1e-12);
        EXPECT_EQ(r.LineNum(), 2);
        EXPECT_DOUBLE_EQ(r.XPos(), 1.25);
    });
}

TEST(Cursor, LinesLeftCountsWholeLinesDownToTheSectionBottom) {
    record([](TBaseReport& r) {
        // A one-inch label at 6 lines per inch holds exactly six lines.
        r.SetLinesPerInch(6);
        r.SetSectionTop(0);
        r.SetSectionBottom(1.0);
        r.Home();
        for (int expected = 6; expected >= 1; --expected) {
            EXPECT_EQ(r.LinesLeft(), expected) << "line " << r.LineNum();
            r.NewLine();
        }
        EXPECT_EQ(r.LinesLeft(), 0);
        r.NewLine();
        EXPECT_EQ(r.LinesLeft(), 0);
    });
}

TEST(Cursor, LinesLeftIsZeroOnlyWhenTheLineBottomPassesTheSection) {
    record([](TBaseReport& r) {
        r.SetLineHeightMethod(lhmFont);
        r.SetFont(QStringLiteral("Arial"), 10);
        r.SetSectionTop(0);
        r.Home();
        const double lineBottom = r.YPos() + r.FontDescent();
        r.SetSectionBottom(lineBottom);
        EXPECT_EQ(r.LinesLeft(), 1);
        r.SetSectionBottom(lineBottom - 0.001);
        EXPECT_EQ(r.LinesLeft(), 0);
        // Room for one more line only when a whole line height fits below.
        r.SetSectionBottom(lineBottom + 10.0 / 60 - 0.001);
        EXPECT_EQ(r.LinesLeft(), 1);
        r.SetSectionBottom(lineBottom + 10.0 / 60);
        EXPECT_EQ(r.LinesLeft(), 2);
    });
}

TEST(Cursor, LabelLinesStopAtTheLabelsBottomEdge) {
    // As label printing draws: the section ends at the label's bottom and lines that would
    // pass it are dropped through LinesLeft.
    const auto rec = record([](TBaseReport& r) {
        r.SetLineHeightMethod(lhmFont);
        r.SetFont(QStringLiteral("Arial"), 14);  // 0.2333 inch lines
        r.SetOriginY(3.0);
        r.SetSectionBottom(1.0);
        r.SetSectionTop(0);
        r.Home();
        for (int i = 1; i <= 8; ++i) {
            if (r.LinesLeft() > 0) r.Println(QStringLiteral("line %1").arg(i));
        }
    });
    EXPECT_EQ(test::textsOf(rec.pages.at(0)).size(), 4u);
}

TEST(Cursor, DrawingOutsideAPassIsRefused) {
    TReportPrinter r;
    try {
        r.Print(QStringLiteral("x"));
        FAIL() << "printing outside a pass was accepted";
    } catch (const ReportError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Invalid method call.  Report engine is not printing."));
    }
    EXPECT_THROW(r.LineTo(1, 1), ReportError);
    EXPECT_THROW(r.NewPage(), ReportError);
    EXPECT_THROW(r.Tab(), ReportError);
    // Measuring and setting up is fine outside a pass.
    r.SetFont(QStringLiteral("Arial"), 10);
    EXPECT_GT(r.TextWidth(QStringLiteral("abc")), 0);
}

TEST(Cursor, PrinterChangesDuringAPassAreRefused) {
    int refused = 0;
    record([&](TBaseReport& r) {
        const auto tryIt = [&](const std::function<void()>& f) {
            try {
                f();
            } catch (const ReportError& e) {
                if (e.message() ==
                    QStringLiteral("Invalid method call.  Report engine already printing.")) {
                    ++refused;
                }
            }
        };
        tryIt([&] { r.SetCopies(2); });
        tryIt([&] { r.SetPaperSize(9, 0, 0); });
        tryIt([&] { r.SelectPrinter(QStringLiteral("PDF file")); });
        tryIt([&] { r.SetOrientation(poLandScape); });
        tryIt([&] { r.Execute(); });
    });
    EXPECT_EQ(refused, 5);
}

}  // namespace
}  // namespace qb
