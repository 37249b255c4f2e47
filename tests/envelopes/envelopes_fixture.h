// Shared set-up of the envelope tests: the label tests' program folder, contact files and
// stand-in main window, plus envelope runs through the "PDF file" printer read back with
// pdftotext.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>

#include "../labels/labels_fixture.h"
#include "envelopes/envelope_job.h"
#include "envelopes/envelope_print.h"
#include "output/printer_catalog.h"
#include "pdf_readback.h"

namespace envtest {

using labelstest::Person;

using qb::test::pdfWords;
using qb::test::Word;

inline const Word* findWord(const std::vector<Word>& words, const QString& text) {
    for (const Word& w : words)
        if (w.text == text) return &w;
    return nullptr;
}

// Page size in inches as pdfinfo reports it.
inline QSizeF pdfPageSize(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(p.waitForFinished(30000));
    static const QRegularExpression sizeRe(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)"));
    const auto m = sizeRe.match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble() / 72, m.captured(2).toDouble() / 72)
                        : QSizeF();
}

class PassOnly : public qb::envelopes::EnvelopeJobFrontEnd {
  public:
    bool confirmPrint(qb::envelopes::TEnvelopeForm&) override { return true; }
    bool runPass(qb::envelopes::TEnvelopeForm& window) override {
        window.RunUnshown();
        offset = window.run()->offset();
        paperIsEnvelope = window.run()->paperIsTheEnvelope();
        envelopes = window.run()->envelopes();
        return true;
    }
    void showPreview(QIODevice& stream) override {
        stream.seek(0);
        preview = stream.readAll();
    }
    qb::envelopes::Offset offset;
    bool paperIsEnvelope = false;
    int envelopes = 0;
    QByteArray preview;  // the report file a preview pass wrote
};

class EnvelopesTest : public labelstest::LabelsTest {
  protected:
    // Prints through the "PDF file" printer; paperName empty makes the page the envelope.
    QString printPdf(const qb::envelopes::EnvelopeSetup& setup, const char* file,
                     const QString& paperName = {},
                     qb::envelopes::EnvelopeJobRequest r = qb::envelopes::EnvelopeJobRequest()) {
        const QString pdf = path(file);
        qb::PrinterDevice& device = qb::PrinterDevice::shared();
        EXPECT_TRUE(device.selectPrinter(qb::PrinterCatalog::pdfPrinterName()));
        device.setOutputFileName(pdf);
        if (!paperName.isEmpty()) {
            EXPECT_TRUE(device.selectPaper(paperName)) << qPrintable(paperName);
        }
        r.setup = setup;
        r.settings = host->settings();
        r.envelopePaper = paperName.isEmpty();
        EXPECT_EQ(qb::envelopes::DoPrint(host->table, r, frontEnd, nullptr),
                  qb::envelopes::EnvelopeJobOutcome::Completed);
        EXPECT_TRUE(QFile::exists(pdf));
        return pdf;
    }
    PassOnly frontEnd;
};

}  // namespace envtest
