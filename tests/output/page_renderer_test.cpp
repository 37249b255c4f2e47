// Replaying pages on an image: positions become pixels by the resolution, pens keep at least
// one pixel, texts are fitted to their recorded width only within reason, and inputs the fuzz
// target once broke the renderer with are painted safely.
#include "output/page_renderer.h"
#include "output/report_error.h"
#include "output/report_file.h"
#include "output/report_types.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QImage>
#include <QPainter>

namespace qb {
namespace {

QImage paint(const PageOps& ops, double ppi, bool fit = false, QSize size = QSize(200, 200)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    RenderTarget t;
    t.pixelsPerInchX = t.pixelsPerInchY = ppi;
    t.fitTextWidths = fit;
    renderPage(painter, ops, t);
    return image;
}

// The span of columns holding dark pixels.
std::pair<int, int> inkColumns(const QImage& image) {
    int first = image.width(), last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

TEST(PageRenderer, FillsLandOnTheirPixelsAtAnyResolution) {
    const PageOps ops = {FillOp{0.5, 0.25, 1.0, 0.75, 0x000000}};
    const QImage at100 = paint(ops, 100);
    EXPECT_LT(qGray(at100.pixel(50, 25)), 10);
    EXPECT_LT(qGray(at100.pixel(99, 74)), 10);
    EXPECT_GT(qGray(at100.pixel(100, 50)), 245);
    EXPECT_GT(qGray(at100.pixel(49, 50)), 245);
    const QImage at40 = paint(ops, 40);
    EXPECT_LT(qGray(at40.pixel(20, 10)), 10);
    EXPECT_GT(qGray(at40.pixel(40, 20)), 245);
}

TEST(PageRenderer, ThinPensStillDrawOnePixel) {
    const PageOps ops = {PenOp{0, psSolid, pmCopy, 0.0001f}, LineOp{0.1f, 1, 1.9f, 1}};
    const QImage image = paint(ops, 100);
    EXPECT_LT(qGray(image.pixel(100, 100)), 64);
    EXPECT_GT(qGray(image.pixel(100, 102)), 245);
}

TEST(PageRenderer, TextIsStretchedToItsRecordedWidthOnlyWithinReason) {
    const PageOps plain = {TextOp{0.1f, 1, 0.5f, QStringLiteral("WWWW")}};
    const auto natural = inkColumns(paint(plain, 100, false, QSize(400, 200)));
    ASSERT_GT(natural.second, natural.first);
    const int width = natural.second - natural.first;

    // Recorded 30 percent wider than it draws: fitted.
    const float wider = static_cast<float>(width * 1.3 / 100);
    const auto fitted = inkColumns(
        paint({TextOp{0.1f, 1, wider, QStringLiteral("WWWW")}}, 100, true, QSize(400, 200)));
    EXPECT_NEAR(fitted.second - fitted.first, width * 1.3, 3);

    // Recorded a hundred times wider: not a measurement; drawn as it is.
    const auto absurd = inkColumns(
        paint({TextOp{0.1f, 1, wider * 100, QStringLiteral("WWWW")}}, 100, true, QSize(400, 200)));
    EXPECT_NEAR(absurd.second - absurd.first, width, 2);
}

TEST(PageRenderer, AFuzzedReportWithAnAbsurdTextWidthPaintsSafely) {
    const QByteArray bytes = QByteArray::fromBase64(
        "UUJSRVBPUlQBADAAAQAAAAMAAAABAAAAAwAAAAAACEEAADBBAAAAALoAAAAAAAAAUEFHRQEAAAAiAAAAAQAAAAAA"
        "AAAgQQUAQXIIYWwEAAAAALCFDD6DLR4+AgBwMFBBR0UCAAAAIgAAAAEAAAAAAAAAIEEFAEFyaWFsBAAAAACwhQw+"
        "gy0eRAIAcDBQQUdFAwAAACIAAAABAAAAAAAAACBBBQBBcmlhbAQAAAAAsIUMPoMtHj4CAHAyUERJUgMAAAAwAAAA"
        "AAAAAF4AAAAAAAAAjAAAAAAAAAA=");
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const ReportFileReader reader(buffer, QStringLiteral("fuzzed.qbr"));
    ASSERT_TRUE(reader.header().positioning);
    for (int page = reader.header().firstPage; page <= reader.header().lastPage; ++page) {
        paint(reader.readPage(page), 6, true, QSize(48, 64));
    }
}

}  // namespace
}  // namespace qb
