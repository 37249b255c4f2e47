// One envelope run: the stamp of a preview on a sheet, the question when the envelope or a
// block would fall off the paper, and the fit rules behind it.
#include <QBuffer>

#include "envelopes_fixture.h"

namespace {

using namespace qb::envelopes;

class EnvelopeJob : public envtest::EnvelopesTest {
  protected:
    void SetUp() override {
        EnvelopesTest::SetUp();
        openContacts({{"Able"}, {"Baker"}});
        ASSERT_TRUE(
            qb::PrinterDevice::shared().selectPrinter(qb::PrinterCatalog::pdfPrinterName()));
    }
    // Pictures on the previewed page.
    std::vector<qb::PictureOp> previewPictures(const QString& paper) {
        if (!paper.isEmpty()) {
            EXPECT_TRUE(qb::PrinterDevice::shared().selectPaper(paper));
        }
        EnvelopeJobRequest r;
        r.preview = true;
        r.envelopePaper = paper.isEmpty();
        EXPECT_EQ(DoPrint(host->table, r, frontEnd, nullptr), EnvelopeJobOutcome::Completed);
        QBuffer read(&frontEnd.preview);
        read.open(QIODevice::ReadOnly);
        qb::ReportFileReader reader(read, QStringLiteral("preview"));
        EXPECT_EQ(reader.header().pageCount, 1);
        return labelstest::opsOf<qb::PictureOp>(reader.readPage(1));
    }
};

TEST_F(EnvelopeJob, APreviewOnASheetShowsTheStampInTheEnvelopesCorner) {
    EXPECT_TRUE(previewPictures(QString()).empty());
    const auto stamps = previewPictures(QStringLiteral("Letter"));
    ASSERT_EQ(stamps.size(), 1u);
    // Default setup on landscape letter: the envelope starts 1.5 across and 2.1875 down.
    EXPECT_NEAR(stamps[0].x1, 1.5 + 9.5 - 1, 1e-4);
    EXPECT_NEAR(stamps[0].y1, 2.1875 + 0.125, 1e-4);
    EXPECT_NEAR(stamps[0].x2 - stamps[0].x1, 0.75, 1e-4);
    EXPECT_NEAR(stamps[0].y2 - stamps[0].y1, 0.75, 1e-4);
}

TEST_F(EnvelopeJob, AnEnvelopeLargerThanThePaperAsksAndNoPrintsNothing) {
    ASSERT_TRUE(qb::PrinterDevice::shared().selectPaper(QStringLiteral("A6")));
    const QString pdf = path("none.pdf");
    qb::PrinterDevice::shared().setOutputFileName(pdf);
    script.answerNo();
    EnvelopeJobRequest r;
    EXPECT_EQ(DoPrint(host->table, r, frontEnd, nullptr), EnvelopeJobOutcome::PaperRefused);
    EXPECT_FALSE(QFile::exists(pdf));
    ASSERT_EQ(script.asked().size(), 1);
    EXPECT_TRUE(script.asked()[0].text.startsWith(QStringLiteral("The envelope (9.50\" by ")));
    // Yes prints anyway.
    script.answerYes();
    EXPECT_EQ(DoPrint(host->table, r, frontEnd, nullptr), EnvelopeJobOutcome::Completed);
    EXPECT_TRUE(QFile::exists(pdf));
}

TEST(EnvelopeFit, TheEnvelopeAndEveryPrintedBlockMustLieOnThePaper) {
    const EnvelopeSetup d;                                 // #10, landscape, face down, centre
    EXPECT_TRUE(envelopeFitsOnPaper(d, 9.5, 4.12, 0, 0));  // the envelope itself
    EXPECT_TRUE(envelopeFitsOnPaper(d, 11, 8.5, 0, 0));
    EXPECT_FALSE(envelopeFitsOnPaper(d, 8.5, 11, 0, 0));    // portrait letter is too narrow
    EXPECT_FALSE(envelopeFitsOnPaper(d, 11, 8.5, 1.6, 0));  // pushed off by the edge
    EnvelopeSetup off = d;
    off.delLeft = 9.6;
    EXPECT_FALSE(envelopeFitsOnPaper(off, 9.5, 4.125, 0, 0));
    off = d;
    off.messTop = 4.2;
    EXPECT_TRUE(envelopeFitsOnPaper(off, 9.5, 4.125, 0, 0));  // the message is not printed
    off.useMessage = true;
    EXPECT_FALSE(envelopeFitsOnPaper(off, 9.5, 4.125, 0, 0));
    off = d;
    off.delTop = 0.1;
    EXPECT_TRUE(envelopeFitsOnPaper(off, 9.5, 4.125, 0, 0));
    off.barcode = true;  // the bars would start above the page
    EXPECT_FALSE(envelopeFitsOnPaper(off, 9.5, 4.125, 0, 0));
}

}  // namespace
