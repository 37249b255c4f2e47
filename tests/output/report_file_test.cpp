// The report file: pages come back exactly as recorded, and damaged files of every kind are
// refused with an error naming the file and the fault, never a crash.
#include "output/report_file.h"
#include "output/page_codec.h"
#include "output/report_error.h"
#include "report_harness.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QRandomGenerator>
#include <QtEndian>

namespace qb {
namespace {

using test::opsOf;

QByteArray sampleReport() {
    QImage stamp(8, 8, QImage::Format_RGB32);
    stamp.fill(Qt::red);
    return test::record([stamp](TBaseReport& r) {
               r.SetFont(QStringLiteral("Times New Roman"), 14);
               r.SetBold(true);
               r.GotoXY(1, 1);
               r.Print(QStringLiteral("Zip Code Count Report — Größe"));
               r.SetPen(Qt::red, psDot, -2, pmCopy);
               r.MoveTo(0.5, 0.5);
               r.LineTo(8, 0.5);
               r.Rectangle(0.5, 1, 8, 10);
               r.TextRect(1, 2, 2, 2.2, 1, QStringLiteral("clipped"));
               r.StretchDraw(7, 0.125, 7.75, 0.875, stamp);
               r.SetTab(1, pjLeft, 2, 5, BOXLINEALL, 10);
               r.Tab();
               r.Print(QStringLiteral("cell"));
               r.NewPage();
               r.Print(QStringLiteral("second page"));
           })
        .bytes;
}

ReportFileReader* openOn(QBuffer& buffer, const QByteArray& bytes) {
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return new ReportFileReader(buffer, QStringLiteral("damaged.qbr"));
}

// Opening and reading every page of `bytes` either works or fails with a ReportError that
// names the file; anything else fails the test.
bool readsOrFailsCleanly(const QByteArray& bytes, QString* message = nullptr) {
    QBuffer buffer;
    try {
        std::unique_ptr<ReportFileReader> reader(openOn(buffer, bytes));
        const auto& h = reader->header();
        for (int p = h.firstPage; h.pageCount > 0 && p <= h.lastPage; ++p)
            reader->readPage(p);
        return true;
    } catch (const ReportError& e) {
        if (message) *message = e.message();
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("damaged.qbr: ")))
            << qPrintable(e.message());
        return false;
    }
}

TEST(ReportFile, PagesComeBackAsRecorded) {
    const auto rec = test::readBack(sampleReport());
    EXPECT_EQ(rec.header.version, 1);
    EXPECT_EQ(rec.header.pageCount, 2);
    EXPECT_EQ(rec.header.firstPage, 1);
    EXPECT_EQ(rec.header.lastPage, 2);
    EXPECT_DOUBLE_EQ(rec.header.pageWidth, 8.5);
    EXPECT_DOUBLE_EQ(rec.header.pageHeight, 11);
    const PageOps& p1 = rec.pages[0];
    EXPECT_EQ(test::textsOf(p1).at(0), QStringLiteral("Zip Code Count Report — Größe"));
    EXPECT_EQ(opsOf<FontOp>(p1).at(0).family, QStringLiteral("Times New Roman"));
    EXPECT_EQ(opsOf<PenOp>(p1).at(0).style, psDot);
    EXPECT_EQ(opsOf<RectOp>(p1).size(), 1u);
    EXPECT_EQ(opsOf<ClipTextOp>(p1).at(0).text, QStringLiteral("clipped"));
    const auto pictures = opsOf<PictureOp>(p1);
    ASSERT_EQ(pictures.size(), 1u);
    QImage back;
    ASSERT_TRUE(back.loadFromData(pictures[0].png, "PNG"));
    EXPECT_EQ(back.pixelColor(3, 3), QColor(Qt::red));
    EXPECT_EQ(opsOf<FillOp>(p1).size(), 1u);
    EXPECT_EQ(test::textsOf(rec.pages[1]), std::vector<QString>{QStringLiteral("second page")});
}

TEST(ReportFile, PositioningAccuracyIsKeptInTheHeader) {
    const auto rec = test::record([](TBaseReport& r) { r.Print(QStringLiteral("x")); },
                                  [](TReportFiler& f) { f.SetAccuracyMethod(amPositioning); });
    EXPECT_TRUE(rec.header.positioning);
}

TEST(ReportFile, EveryTruncationIsRefusedCleanly) {
    const QByteArray good = sampleReport();
    for (qsizetype n = 0; n < good.size(); ++n) {
        QString message;
        EXPECT_FALSE(readsOrFailsCleanly(good.left(n), &message)) << "length " << n;
    }
}

TEST(ReportFile, DamageAtChosenPlacesNamesTheFault) {
    const QByteArray good = sampleReport();
    struct Case {
        qsizetype offset;
        quint32 value;
        int bytes;
        const char* expected;
    };
    const quint64 dir = qFromLittleEndian<quint64>(good.constData() + 40);
    const quint64 page2 = qFromLittleEndian<quint64>(good.constData() + dir + 16);
    const std::vector<Case> cases = {
        {0, 0x58, 1, "is not a report file"},
        {8, 2, 2, "has report file version 2; this program reads version 1"},
        {12, 6, 4, "has unknown header flags 6"},
        {16, 900000, 4, "claims 900000 pages"},
        {24, 7, 4, "has page numbers 1 to 7 for 2 pages"},
        {28, 0x7FC00000, 4, "has an invalid page size"},  // NaN
        {40, 0, 4, "was not finished"},
        {40, 0xFFFFFF, 4, "has a page directory outside the file"},
        {qsizetype(dir), 0, 4, "has a damaged page directory"},
        {qsizetype(dir) + 4, 3, 4, "has 3 pages in its directory but 2 in its header"},
        {qsizetype(dir) + 4, 1, 4, "has 1 page in its directory but 2 in its header"},
        {qsizetype(dir) + 16, 20, 4, "has page 2 outside its page area"},
        {qsizetype(page2), 0, 4, "page 2: damaged page record"},
        {qsizetype(page2) + 4, 9, 4, "page 2: the record holds page 9"},
        {qsizetype(page2) + 8, 0xFFFF, 4, "page 2: the page runs into the next record"},
        {qsizetype(page2) + 12, 0xEE, 1, "page 2: unknown drawing operation 238"},
    };
    for (const Case& c : cases) {
        QByteArray bad = good;
        char raw[4];
        qToLittleEndian(c.value, raw);
        bad.replace(c.offset, c.bytes, QByteArray(raw, c.bytes));
        QString message;
        EXPECT_FALSE(readsOrFailsCleanly(bad, &message)) << c.expected;
        EXPECT_TRUE(message.contains(QLatin1String(c.expected)))
            << qPrintable(message) << " <- expected " << c.expected;
    }
}

TEST(ReportFile, PageBodiesWithBadFieldsAreRefused) {
    const auto decodeFails = [](const QByteArray& body, const char* expected) {
        QString fault;
        EXPECT_FALSE(decodePage(body, &fault).has_value()) << expected;
        EXPECT_TRUE(fault.contains(QLatin1String(expected))) << qPrintable(fault);
    };
    PageEncoder e;
    e.add(TextOp{1, 1, 1, QStringLiteral("abc")});
    QByteArray text = e.bytes();
    decodeFails(text.left(text.size() - 1), "text runs past the end of the page");
    QByteArray badUtf8 = text;
    badUtf8[badUtf8.size() - 1] = char(0xC3);
    decodeFails(badUtf8, "text is not valid UTF-8");
    QByteArray infinite = text;
    qToLittleEndian<quint32>(0x7F800000, infinite.data() + 1);
    decodeFails(infinite, "text x out of range");

    e.clear();
    e.add(FontOp{QStringLiteral("Arial"), 10, 0, 0});
    QByteArray font = e.bytes();
    font[1] = char(0x40);
    decodeFails(font, "invalid font");

    e.clear();
    e.add(PictureOp{0, 0, 1, 1, QByteArray(10, 'x')});
    QByteArray picture = e.bytes();
    qToLittleEndian<quint32>(0xFFFFFFF0u, picture.data() + 17);
    decodeFails(picture, "picture runs past the end of the page");
}

TEST(ReportFile, RandomDamageNeverCrashes) {
    const QByteArray good = sampleReport();
    QRandomGenerator random(20240611);
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bad = good;
        const int flips = 1 + random.bounded(6);
        for (int i = 0; i < flips; ++i) {
            bad[random.bounded(int(bad.size()))] = char(random.bounded(256));
        }
        if (!readsOrFailsCleanly(bad)) ++refused;
    }
    EXPECT_GT(refused, 500);
}

TEST(ReportFile, AnEmptyPassGivesAFileWithItsOneBlankPage) {
    const auto rec = test::record([](TBaseReport&) {});
    EXPECT_EQ(rec.header.pageCount, 1);
    EXPECT_TRUE(rec.pages.at(0).empty());
}

TEST(ReportFile, TheWriterRefusesPagesOutOfOrder) {
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    ReportFileWriter writer(buffer, QStringLiteral("ordered.qbr"));
    writer.begin(8.5, 11, false);
    writer.addPage(4, {});
    EXPECT_THROW(writer.addPage(6, {}), ReportError);
    writer.addPage(5, {});
    writer.finish();
    const auto rec = test::readBack(buffer.data());
    EXPECT_EQ(rec.header.firstPage, 4);
    EXPECT_EQ(rec.header.lastPage, 5);
}

}  // namespace
}  // namespace qb
