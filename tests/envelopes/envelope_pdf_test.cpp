// Envelopes printed through the "PDF file" printer put each block where the setup says: word
// positions read back with pdftotext, the POSTNET bars from a rendering of the page.
#include "envelopes_fixture.h"
#include "labels/bar_figure.h"

namespace {

using namespace qb::envelopes;
using envtest::findWord;
using envtest::pdfWords;
using envtest::Word;

class EnvelopePdf : public envtest::EnvelopesTest {
  protected:
    void SetUp() override {
        EnvelopesTest::SetUp();
        // One contact with a full ZIP+4 and a street number: a barcode with delivery point.
        openContacts({{"Zebulon", "62704-1234", "4821 Oak Ave"}});
    }
    // The first word of the return block, of the delivery block (the first name).
    static const Word& word(const std::vector<Word>& words, const char* text) {
        const Word* w = findWord(words, QString::fromLatin1(text));
        EXPECT_NE(w, nullptr) << text;
        static const Word none{};
        return w ? *w : none;
    }
};

// Counts the bars crossing a horizontal line through their common lower part.
int barsAcross(const qb::test::Raster& page, double y, double from, double to) {
    int bars = 0;
    bool inBar = false;
    for (double x = from; x < to; x += 1.0 / page.dpi) {
        const bool dark = page.dark(x, y);
        if (dark && !inBar) ++bars;
        inBar = dark;
    }
    return bars;
}

TEST_F(EnvelopePdf, DefaultSetupOnAnEnvelopePagePutsEachBlockAtItsStoredPlace) {
    EnvelopeSetup s;
    s.barcode = true;
    const QString pdf = printPdf(s, "env10.pdf");
    const QSizeF page = envtest::pdfPageSize(pdf);
    EXPECT_NEAR(page.width(), 9.5, 0.01);
    EXPECT_NEAR(page.height(), 4.125, 0.01);
    EXPECT_TRUE(frontEnd.paperIsEnvelope);
    const std::vector<Word> words = pdfWords(pdf);
    const Word& ret = word(words, "John");
    const Word& del = word(words, "Pat");
    EXPECT_NEAR(ret.xMin, 0.25, 0.01);
    EXPECT_NEAR(del.xMin, 9.5 / 3, 0.01);
    // Text sits below its block's top, within the first line.
    // A line's tallest glyphs start about a twelfth of the font size below the block's top
    // (the line height less the font's ascent and descent).
    EXPECT_NEAR(ret.yMin, 0.25 + 8 / 72.0 / 12, 0.005);
    EXPECT_NEAR(del.yMin, s.delTop + 10 / 72.0 / 12, 0.005);

    // 62 bars (ZIP+4, delivery point, check digit, two frame bars) in the band above the
    // delivery block, starting at its left edge.
    const qb::test::Raster r = qb::test::render(pdf, path("env10"), 600);
    const double lowerPart = s.delTop - qb::labels::kBarcodeRise + 0.1;
    EXPECT_EQ(barsAcross(r, lowerPart, s.delLeft - 0.05, 9.5), 62);
    EXPECT_TRUE(r.dark(s.delLeft + 0.003, lowerPart));
    EXPECT_FALSE(r.dark(s.delLeft - 0.02, lowerPart));
    // Nothing dark between the bars' bottom and the top of the first address line.
    EXPECT_LT(s.delTop - qb::labels::kBarcodeRise + qb::labels::kPrintedBars.tallHeight, del.yMin);
}

TEST_F(EnvelopePdf, OnLetterPaperTheEnvelopeIsPlacedByTheFeedTable) {
    const EnvelopeSetup s;  // landscape, face down, centre
    const std::vector<Word> onEnvelope = pdfWords(printPdf(s, "own.pdf"));
    const std::vector<Word> onLetter =
        pdfWords(printPdf(s, "letter.pdf", QStringLiteral("Letter")));
    EXPECT_FALSE(frontEnd.paperIsEnvelope);
    const double x = 11 - 9.5, y = (8.5 - 4.125) / 2;
    for (const char* text : {"John", "Pat", "Zebulon", "62704-1234"}) {
        EXPECT_NEAR(word(onLetter, text).xMin, word(onEnvelope, text).xMin + x, 0.01) << text;
        EXPECT_NEAR(word(onLetter, text).yMin, word(onEnvelope, text).yMin + y, 0.01) << text;
    }
    EXPECT_NEAR(word(onLetter, "John").xMin, 1.75, 0.01);
}

TEST_F(EnvelopePdf, ClockwiseLeftFeedPrintsAsTheRightOneWithoutShiftAcross) {
    EnvelopeSetup s;
    s.facing = FaceUp;
    s.position = 10;
    const std::vector<Word> words = pdfWords(printPdf(s, "pos10.pdf", QStringLiteral("Letter")));
    const std::vector<Word> own = pdfWords(printPdf(s, "pos10own.pdf"));
    EXPECT_NEAR(word(words, "John").xMin, 0.25, 0.01);
    EXPECT_NEAR(word(words, "John").yMin, word(own, "John").yMin + 8.5 - 4.125, 0.01);
    EXPECT_NEAR(word(words, "Pat").xMin, 9.5 / 3, 0.01);
}

TEST_F(EnvelopePdf, AnEmptyReturnLineKeepsItsHeight) {
    EnvelopeSetup s;
    s.retLines = {QStringLiteral("Alpha"), QString(), QStringLiteral("Gamma"), QString(),
                  QString()};
    const std::vector<Word> words = pdfWords(printPdf(s, "gap.pdf"));
    // Two lines of an 8-point font, 1.2 times its size each.
    EXPECT_NEAR(word(words, "Gamma").yMin - word(words, "Alpha").yMin, 2 * 8 / 60.0, 0.01);
    EXPECT_NEAR(word(words, "Gamma").xMin, 0.25, 0.01);
}

}  // namespace

namespace {

// Each envelope's Intelligent Mail bars, read back from the pixels of its page, are the
// encoding of the tracking code it was given and of its contact's routing code; the saved
// serial numbers advance per envelope printed, start again from 0 past the last, and stay
// as they are after a preview.
TEST_F(EnvelopePdf, IntelligentMailBarsReadBackAsTheCodesPrintedAboveTheAddress) {
    openContacts({{"Yolanda", "62704-1234", "4821 Oak Ave"}, {"Zebulon", "62701", "9 Elm St"}});
    const qb::Settings settings = host->settings();
    qb::labels::ImbMailer saved;
    saved.barcodeId = QStringLiteral("01");
    saved.serviceType = QStringLiteral("234");
    saved.mailerId = QStringLiteral("912345678");
    saved.nextSerial = 999999;  // the last of six digits
    ASSERT_TRUE(saved.save(settings));
    EnvelopeSetup s;
    s.barcode = true;
    ASSERT_TRUE(qb::labels::saveBarcodeKind(settings, qb::labels::kEnvelopeBarcodeSection,
                                            s.descript, qb::labels::BarcodeKind::Imb));
    script.acknowledge(QString::fromLatin1(qb::labels::kImbSerialsWrapped));
    EnvelopeJobRequest r;
    r.scope = qb::ScopeChoice::AllRecords;
    const QString pdf = printPdf(s, "imb.pdf", {}, r);
    ASSERT_EQ(frontEnd.envelopes, 2);
    EXPECT_EQ(qb::labels::ImbMailer::load(settings).nextSerial, 1);

    double firstLine = 1e9;
    for (const Word& w : pdfWords(pdf))
        if (w.text == u"Pat") firstLine = std::min(firstLine, w.yMin);
    const char* serials[] = {"999999", "000000"};
    const char* routings[] = {"62704123421", "62701"};
    const double bottom = s.delTop - qb::labels::kBarcodeRise + qb::labels::kPrintedBars.tallHeight;
    const double top = bottom - qb::labels::kImbFullHeight;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const qb::test::Raster page = qb::test::render(pdf, path("imb"), 600, i + 1);
        const qb::test::FourStateBars bars =
            qb::test::readFourStateBars(page, 0, s.envWidth, top, bottom);
        ASSERT_EQ(bars.centres.size(), 65u);
        EXPECT_EQ(bars.overreaching, 0);
        const QString tracking = QStringLiteral("01234912345678") + QLatin1String(serials[i]);
        EXPECT_EQ(bars.states, qb::labels::imbBars(tracking, QLatin1String(routings[i])));
        EXPECT_NEAR(bars.centres.front(), s.delLeft + 0.01, 0.01);
        EXPECT_LT(bars.centres.back(), s.envWidth);
        EXPECT_GT(top, 0);
        EXPECT_LT(bottom, firstLine);
    }

    // A preview numbers its envelopes from the saved serial number but keeps none.
    r.setup = s;
    r.settings = settings;
    r.preview = true;
    EXPECT_EQ(DoPrint(host->table, r, frontEnd, nullptr), EnvelopeJobOutcome::Completed);
    EXPECT_FALSE(frontEnd.preview.isEmpty());
    EXPECT_EQ(qb::labels::ImbMailer::load(settings).nextSerial, 1);
}

// The run's own values stand in for the saved ones and leave them alone; values that cannot
// make a barcode, or bars that would run off the envelope, print nothing.
TEST_F(EnvelopePdf, IntelligentMailValuesGivenForARunAndTheirRefusals) {
    const qb::Settings settings = host->settings();
    qb::labels::ImbMailer saved;
    saved.mailerId = QStringLiteral("123456");
    saved.nextSerial = 5;
    ASSERT_TRUE(saved.save(settings));
    EnvelopeSetup s;  // no barcode in the table; the run asks for one
    EnvelopeJobRequest r;
    r.barcode = qb::labels::BarcodeKind::Imb;
    r.imbFirstSerial = 70;
    const QString pdf = printPdf(s, "given.pdf", {}, r);
    EXPECT_EQ(qb::labels::ImbMailer::load(settings).nextSerial, 5);
    const double bottom = s.delTop - qb::labels::kBarcodeRise + qb::labels::kPrintedBars.tallHeight;
    const qb::test::FourStateBars bars =
        qb::test::readFourStateBars(qb::test::render(pdf, path("given"), 600), 0, s.envWidth,
                                    bottom - qb::labels::kImbFullHeight, bottom);
    EXPECT_EQ(bars.states, qb::labels::imbBars(QStringLiteral("00040123456000000070"),
                                               QStringLiteral("62704123421")));

    r.setup = s;
    r.settings = settings;
    r.imbServiceType = QStringLiteral("04");
    script.acknowledge(envelopeRefusedMessage(
        s.descript, QStringLiteral("The service type must be three digits")));
    EXPECT_EQ(DoPrint(host->table, r, frontEnd, nullptr), EnvelopeJobOutcome::SetupRefused);

    r.imbServiceType.reset();
    r.setup.delLeft = s.envWidth - 2;
    script.acknowledge(envelopeRefusedMessage(
        s.descript, QStringLiteral("The Intelligent Mail barcode, 2.93 inches long, does not fit "
                                   "on the envelope from the delivery address's left edge")));
    EXPECT_EQ(DoPrint(host->table, r, frontEnd, nullptr), EnvelopeJobOutcome::SetupRefused);
}

}  // namespace
