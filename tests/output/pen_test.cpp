// Pen widths: hundredths of an inch become device pixels of the pass's device, never fewer
// than one; positive widths are pixels already.
#include "output/printer_device.h"
#include "report_harness.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

class PenTest : public ::testing::Test {
  protected:
    void SetUp() override { PrinterDevice::releaseShared(); }
    void TearDown() override { PrinterDevice::releaseShared(); }

    int pixelsFor(int width, int dpi) {
        PrinterDevice::shared().setResolution(dpi);
        int pixels = -1;
        test::record([&](TBaseReport& r) {
            EXPECT_DOUBLE_EQ(r.XDPI(), dpi);
            r.SetPen(Qt::black, psSolid, width, pmCopy);
            pixels = r.PenWidthPixels();
        });
        return pixels;
    }
};

TEST_F(PenTest, OneHundredthOfAnInchByResolution) {
    EXPECT_EQ(pixelsFor(-1, 300), 3);
    EXPECT_EQ(pixelsFor(-1, 72), 1);  // 0.72 rounds up to the one-pixel minimum
    EXPECT_EQ(pixelsFor(-1, 600), 6);
    EXPECT_EQ(pixelsFor(-2, 72), 1);  // 1.44
    EXPECT_EQ(pixelsFor(-3, 72), 2);  // 2.16
}

TEST_F(PenTest, PositiveWidthsArePixelsAndZeroIsOnePixel) {
    EXPECT_EQ(pixelsFor(4, 300), 4);
    EXPECT_EQ(pixelsFor(0, 300), 1);
}

TEST_F(PenTest, ThePageRecordsThePenInInchesOfTheDevice) {
    PrinterDevice::shared().setResolution(300);
    const auto rec = test::record([](TBaseReport& r) {
        r.SetPen(QColor(192, 192, 192), psDash, -1, pmCopy);
        r.MoveTo(1, 1);
        r.LineTo(2, 1);
    });
    const auto pens = test::opsOf<PenOp>(rec.pages.at(0));
    ASSERT_EQ(pens.size(), 1u);
    EXPECT_NEAR(pens[0].width, 3.0 / 300, 1e-7);
    EXPECT_EQ(pens[0].colour, 0xC0C0C0u);
    EXPECT_EQ(pens[0].style, psDash);
}

TEST_F(PenTest, APassStartsWithABlackOnePixelPen) {
    PrinterDevice::shared().setResolution(300);
    const auto rec = test::record([](TBaseReport& r) {
        EXPECT_EQ(r.PenWidthPixels(), 1);
        r.MoveTo(0, 0);
        r.LineTo(1, 1);
    });
    const auto pens = test::opsOf<PenOp>(rec.pages.at(0));
    ASSERT_EQ(pens.size(), 1u);
    EXPECT_EQ(pens[0].colour, 0u);
    EXPECT_NEAR(pens[0].width, 1.0 / 300, 1e-7);
}

}  // namespace
}  // namespace qb
