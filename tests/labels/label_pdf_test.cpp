// Labels printed through the "PDF file" printer land on their labels: text positions are read
// back with pdftotext, the POSTNET bars from a rendering of the page.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <cmath>
#include <map>

#include "labels/imb.h"
#include "labels/imb_mailer.h"
#include "labels/label_definition.h"
#include "labels/label_job.h"
#include "labels/label_print.h"
#include "labels_fixture.h"
#include "pdf_readback.h"

namespace {

using namespace labelstest;
using qb::labels::LabelSetup;

using qb::test::pdfWords;
using qb::test::Raster;
using qb::test::render;
using qb::test::Word;

class PassOnly : public qb::labels::LabelJobFrontEnd {
  public:
    bool runPresort(qb::Dataset&, const QString&) override { return false; }
    bool runPass(qb::labels::TLabelPrint& window) override {
        window.RunUnshown();
        return true;
    }
    void showPreview(QIODevice&) override {}
};

class LabelPdf : public LabelsTest {
  protected:
    // The shipped stock whose description starts with `name`.
    LabelSetup stock(const char* name) {
        xb::WorkArea a;
        a.use(path(qb::labels::kLabelStockFileName).toStdString(), xb::UseMode::ReadOnly);
        for (a.first(); !a.eof(); a.skip())
            if (QString::fromStdString(a.getText("USERDESC")).startsWith(QLatin1String(name)))
                break;
        EXPECT_FALSE(a.eof()) << name;
        LabelSetup s;
        qb::labels::copyDefinitionIntoSetup(qb::labels::readLabelDefinition(a), s);
        return s;
    }
    QString print(const LabelSetup& setup, const char* file,
                  qb::labels::LabelJobRequest r = qb::labels::LabelJobRequest(),
                  const QString& notice = QString()) {
        const QString pdf = path(file);
        script.answerSaveFile(pdf);
        if (!notice.isEmpty()) script.acknowledge(notice);
        r.setup = setup;
        r.scope = qb::ScopeChoice::AllRecords;
        PassOnly frontEnd;
        bool presortDone = false;
        EXPECT_EQ(qb::labels::DoPrint(host->table, folder, r, presortDone, frontEnd, nullptr),
                  qb::labels::LabelJobOutcome::Completed);
        EXPECT_TRUE(QFile::exists(pdf));
        return pdf;
    }
};

TEST_F(LabelPdf, EachLabelsFirstLineStartsAtItsLeftEdgePlusTheOffset) {
    openContacts(numbered(30));
    LabelSetup s = stock("Avery 5160");
    s.xOffset = 0.2f;
    const std::vector<Word> words = pdfWords(print(s, "5160.pdf"));
    std::map<QString, Word> names;
    std::vector<Word> firsts;
    for (const Word& w : words) {
        if (w.text.startsWith(u'P') && w.text.size() == 4) names[w.text] = w;
        if (w.text == u"Pat") firsts.push_back(w);
    }
    ASSERT_EQ(names.size(), 30u);
    ASSERT_EQ(firsts.size(), 30u);
    for (int i = 0; i < 30; ++i) {
        const QString name = QStringLiteral("P%1").arg(i + 1, 3, 10, QLatin1Char('0'));
        const Word& n = names.at(name);
        const double left = (i % 3) * s.horizPitch + s.leftMarg;
        const double top = (i / 3) * s.vertPitch + s.topMarg;
        // The line's first word is the "Pat" on the same line, just left of the name.
        const Word* first = nullptr;
        for (const Word& w : firsts)
            if (std::abs(w.yMin - n.yMin) < 0.01 && w.xMin < n.xMin && w.xMin > left - 0.1)
                first = &w;
        ASSERT_NE(first, nullptr) << qPrintable(name);
        EXPECT_NEAR(first->xMin, left + s.xOffset, 0.01) << qPrintable(name);
        EXPECT_GT(first->yMin, top + s.yOffset - 0.01) << qPrintable(name);
        EXPECT_LT(first->yMax, top + s.lblHeight) << qPrintable(name);
    }
}

TEST_F(LabelPdf, ThePdfIsTitledAfterTheRunAndItsFile) {
    openContacts(numbered(3));
    const QString pdf = print(stock("Avery 5160"), "titled.pdf");
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(
        info.contains(QRegularExpression(QStringLiteral("Title: +Labels \u2014 CONTACTS.DBF\n"))))
        << qPrintable(info);
}

TEST_F(LabelPdf, PostnetBarsFallInsideTheirLabelsAboveTheFirstLine) {
    std::vector<Person> people;
    for (int i = 0; i < 10; ++i)
        people.push_back({"B" + std::to_string(i), "12345-6789", "100 MAIN ST"});
    openContacts(people);
    LabelSetup s = stock("Avery 5163");
    ASSERT_GE(s.lblWidth, 3.0f);
    s.barcode = true;
    const QString pdf = print(s, "5163.pdf");
    const std::vector<Word> words = pdfWords(pdf);
    const Raster page = render(pdf, path("5163"), 300);
    const double dot = 1.0 / page.dpi;
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        const double left = (i % 2) * s.horizPitch + s.leftMarg;
        const double top = (i / 2) * s.vertPitch + s.topMarg;
        const double textLeft = left + s.xOffset;
        double firstLine = 1e9;
        for (const Word& w : words)
            if (w.text == u"Pat" && w.yMin > top && w.yMin < top + s.lblHeight && w.xMin > left &&
                w.xMin < left + s.lblWidth)
                firstLine = std::min(firstLine, w.yMin);
        ASSERT_LT(firstLine, 1e9);

        // Across the band that short and tall bars share: 62 bars (ZIP+4 and delivery point).
        const double bandBottom = top + s.yOffset - 0.04;
        const double y = bandBottom - 0.02;
        int bars = 0;
        double firstBar = -1, lastBar = -1;
        bool inBar = false;
        for (double x = left; x < left + s.lblWidth; x += dot) {
            const bool d = page.dark(x, y);
            if (d && !inBar) {
                ++bars;
                if (firstBar < 0) firstBar = x;
                lastBar = x;
            }
            inBar = d;
        }
        EXPECT_EQ(bars, 62);
        EXPECT_NEAR(firstBar, textLeft, 0.01);
        EXPECT_NEAR(lastBar, textLeft + 61 * 0.045, 0.01);
        // The frame bar: dark from the band's top to its bottom, nothing above or below.
        const double bar = firstBar + dot / 2;
        EXPECT_TRUE(page.dark(bar, top + s.yOffset - 0.165 + 0.01));
        EXPECT_FALSE(page.dark(bar, top + s.yOffset - 0.165 - 0.02));
        EXPECT_FALSE(page.dark(bar, bandBottom + 0.02));
        EXPECT_GT(top + s.yOffset - 0.165, top);
        EXPECT_LT(bandBottom, firstLine);
        EXPECT_LT(lastBar, left + s.lblWidth);
    }
}

// Reads each label's Intelligent Mail bars back from the pixels: the four states from where
// each bar is dark, compared with the encoding of the tracking and routing codes printed.
TEST_F(LabelPdf, IntelligentMailBarsReadBackAsTheCodesPrintedInsideTheirLabels) {
    std::vector<Person> people;
    for (int i = 0; i < 6; ++i)
        people.push_back({"B" + std::to_string(i), i % 2 ? "12345" : "12345-6789", "148 MAIN ST"});
    openContacts(people);
    LabelSetup s = stock("Avery 5163");
    qb::labels::LabelJobRequest request;
    request.barcode = qb::labels::BarcodeKind::Imb;
    request.imbBarcodeId = QStringLiteral("00");
    request.imbServiceType = QStringLiteral("040");
    request.imbMailerId = QStringLiteral("123456");
    request.imbFirstSerial = 999999998;  // the range's end: later pieces start again from 0
    const QString pdf =
        print(s, "imb.pdf", request, QString::fromLatin1(qb::labels::kImbSerialsWrapped));
    const std::vector<Word> words = pdfWords(pdf);
    const Raster page = render(pdf, path("imb"), 600);
    const long long serials[] = {999999998, 999999999, 0, 1, 2, 3};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const double left = (i % 2) * s.horizPitch + s.leftMarg;
        const double top = (i / 2) * s.vertPitch + s.topMarg;
        double firstLine = 1e9;
        for (const Word& w : words)
            if (w.text == u"Pat" && w.yMin > top && w.yMin < top + s.lblHeight && w.xMin > left &&
                w.xMin < left + s.lblWidth)
                firstLine = std::min(firstLine, w.yMin);
        ASSERT_LT(firstLine, 1e9);

        // Every bar crosses the tracker band, the middle of the figure; bars end on the line
        // POSTNET's end on.
        const double bottom = top + s.yOffset - 0.165 + 0.125;
        const double figureTop = bottom - 0.145;
        const qb::test::FourStateBars bars =
            qb::test::readFourStateBars(page, left, left + s.lblWidth, figureTop, bottom);
        const std::vector<double>& centres = bars.centres;
        ASSERT_EQ(centres.size(), 65u);
        EXPECT_EQ(bars.overreaching, 0);
        const QString tracking =
            QStringLiteral("00040123456") + QString::number(serials[i]).rightJustified(9, u'0');
        const QString routing = i % 2 ? QStringLiteral("12345") : QStringLiteral("12345678948");
        EXPECT_EQ(bars.states, qb::labels::imbBars(tracking, routing));
        EXPECT_NEAR(centres.front(), left + s.xOffset, 0.01);
        EXPECT_NEAR(centres.back() - centres.front(), 64.0 / 22, 0.01);
        EXPECT_LT(centres.back(), left + s.lblWidth);
        EXPECT_GT(figureTop, top);
        EXPECT_LT(bottom, firstLine);
    }
}

TEST_F(LabelPdf, SavedSerialNumbersAdvancePerLabelPrintedAndOnlyThen) {
    openContacts(numbered(3));
    const qb::Settings settings(path("QUILLB.INI"));
    qb::labels::ImbMailer saved;
    saved.mailerId = QStringLiteral("912345678");
    saved.nextSerial = 41;
    ASSERT_TRUE(saved.save(settings));
    LabelSetup s = stock("Avery 5163");
    s.barcode = true;
    ASSERT_TRUE(qb::labels::saveBarcodeKind(settings, qb::labels::kLabelBarcodeSection, s.descript,
                                            qb::labels::BarcodeKind::Imb));
    print(s, "first.pdf");
    EXPECT_EQ(qb::labels::ImbMailer::load(settings).nextSerial, 44);
    qb::labels::LabelJobRequest given;
    given.imbFirstSerial = 7;  // a run's own serial numbers leave the saved ones alone
    print(s, "second.pdf", given);
    EXPECT_EQ(qb::labels::ImbMailer::load(settings).nextSerial, 44);

    // Without a mailer identifier nothing prints.
    settings.write(qb::labels::setting::ImbMailerId, QString());
    script.acknowledge(qb::labels::setupRefusedMessage(
        s.descript,
        QStringLiteral("No mailer identifier is set for the Intelligent Mail barcode")));
    qb::labels::LabelJobRequest r;
    r.setup = s;
    PassOnly frontEnd;
    bool presortDone = false;
    EXPECT_EQ(qb::labels::DoPrint(host->table, folder, r, presortDone, frontEnd, nullptr),
              qb::labels::LabelJobOutcome::SetupRefused);
}

}  // namespace
