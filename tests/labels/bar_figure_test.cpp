// Barcode bars as drawing primitives: printed dimensions, the designer's picture, and
// replaying a figure on a painter.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>

#include "labels/bar_figure.h"
#include "labels/bar_painter.h"
#include "labels/postnet.h"

using namespace qb::labels;

namespace {

constexpr double kEps = 1e-9;

TEST(BarFigure, PrintedBarsHaveTheirHeightsPitchAndPen) {
    BarFigure f = postnetFigure("12345", "");
    ASSERT_EQ(f.bars.size(), 32u);
    EXPECT_EQ(kPenHundredths, 1) << "0.018 truncated to whole hundredths";
    EXPECT_NEAR(f.penWidth, 0.01, kEps);
    std::vector<bool> tall = postnetBars(barcodeDigits("12345"));
    for (size_t i = 0; i < f.bars.size(); ++i) {
        SCOPED_TRACE(i);
        const Bar& b = f.bars[i];
        EXPECT_NEAR(b.x, 0.045 * double(i), kEps);
        EXPECT_NEAR(b.bottom, 0.125, kEps) << "tall and short bars end on one line";
        EXPECT_NEAR(b.top, tall[i] ? 0.0 : 0.0625, kEps);
    }
    EXPECT_NEAR(f.height, 0.125, kEps);
}

TEST(BarFigure, WidthGrowsByFiveBarsPerDigit) {
    struct Case {
        const char* zip;
        const char* street;
        size_t bars;
        double width;  // inches the cursor moves on
    };
    const Case cases[] = {
        {"12345", "", 32, 1.44},                  // 5 digits + check digit
        {"123456789", "100 MAIN ST", 52, 2.34},   // 9 digits + check digit, no delivery point
        {"12345-6789", "100 MAIN ST", 62, 2.79},  // 9 + 2 delivery-point digits + check digit
        {"1234A", "", 27, 1.215},                 // 4 digits + check digit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zip);
        BarFigure f = postnetFigure(c.zip, c.street);
        EXPECT_EQ(f.bars.size(), c.bars);
        EXPECT_NEAR(f.width, c.width, kEps);
        EXPECT_NEAR(f.bars.back().x, c.width - 0.045, kEps);
    }
}

TEST(BarFigure, LayoutStartsAtTheGivenOriginAndNonQualifyingZipsDrawNothing) {
    BarFigure f = layOutBars({true, false, true}, kPrintedBars, 2.0, 1.5);
    EXPECT_EQ(f.bars,
              (std::vector<Bar>{{2.0, 1.5, 1.625}, {2.045, 1.5625, 1.625}, {2.09, 1.5, 1.625}}));
    EXPECT_TRUE(postnetFigure("M5V 2T6", "1 KING ST").bars.empty());
    EXPECT_TRUE(postnetFigure("1234", "").bars.empty());
}

TEST(BarFigure, DesignerPictureIsAFullBarcodeFilling248By12Pixels) {
    BarFigure f = designerBarcodePicture();
    ASSERT_EQ(f.bars.size(), 62u);
    EXPECT_EQ(f.width, 248);
    EXPECT_EQ(f.height, 12);
    int tallBars = 0;
    for (const Bar& b : f.bars) {
        EXPECT_GE(b.x - f.penWidth / 2, 0);
        EXPECT_LE(b.x + f.penWidth / 2, 248);
        EXPECT_EQ(b.bottom, 12);
        EXPECT_TRUE(b.top == 0 || b.top == 6) << b.top;
        tallBars += b.top == 0;
    }
    EXPECT_TRUE(f.bars.front().top == 0 && f.bars.back().top == 0) << "frame bars";
    EXPECT_EQ(tallBars, 2 + 2 * 12) << "two tall bars in each of twelve digits";
}

// Whether the pixel is painted dark.
bool dark(const QImage& img, int x, int y) {
    return qGray(img.pixel(x, y)) < 128;
}

TEST(BarFigure, ReplayedOnAPainterEachBarCoversItsOwnBand) {
    // 200 dots per inch: pitch 9 dots, tall 25, short 12.5, pen 2.
    const double dpi = 200;
    const QPointF origin(10, 10);
    BarFigure f = postnetFigure("12345-6789", "100 MAIN ST");
    QImage img(600, 60, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        paintBarFigure(p, f, origin, dpi);
    }
    for (size_t i = 0; i < f.bars.size(); ++i) {
        SCOPED_TRACE(i);
        const Bar& b = f.bars[i];
        int x = int(std::floor(origin.x() + b.x * dpi));  // right half of the 2-dot pen
        bool tall = b.top == 0;
        EXPECT_FALSE(dark(img, x, 9)) << "nothing above the top line";
        EXPECT_EQ(dark(img, x, 10), tall) << "only tall bars reach the top line";
        EXPECT_EQ(dark(img, x, 22), tall) << "short bars start half way down";
        EXPECT_TRUE(dark(img, x, 23));
        EXPECT_TRUE(dark(img, x, 34)) << "every bar reaches the bottom line";
        EXPECT_FALSE(dark(img, x, 35)) << "no bar passes the bottom line";
        EXPECT_FALSE(dark(img, x + 4, 32)) << "a gap between bars";
    }
    EXPECT_FALSE(dark(img, int(origin.x() + f.width * dpi) + 2, 32)) << "nothing past the end";
}

}  // namespace
