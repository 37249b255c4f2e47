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
