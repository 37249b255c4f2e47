// Pages printed through the built-in PDF printer land where their inch positions say: the
// PDF is read back with pdftotext and the words' boxes are compared with the positions.
#include "controls/scripted_prompts.h"
#include "output/printer_device.h"
#include "output/report_printer.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace qb {
namespace {

struct WordBox {
    QString word;
    double xMin, yMin, xMax, yMax;  // inches
};

std::vector<WordBox> wordsOf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression re(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    std::vector<WordBox> words;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(5), m.captured(1).toDouble() / 72,
                         m.captured(2).toDouble() / 72, m.captured(3).toDouble() / 72,
                         m.captured(4).toDouble() / 72});
    }
    return words;
}

TEST(PdfOutput, Experiment) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    ScriptedPrompts script;
    script.answerSaveFile(path);
    ScopedPrompts scoped(script);
    PrinterDevice::releaseShared();
    TReportPrinter printer;
    printer.OnPrint = [](TBaseReport& r) {
        r.SetFont(QStringLiteral("Arial"), 10);
        r.GotoXY(1.0, 1.0);
        r.Print(QStringLiteral("Alpha"));
        r.PrintLeft(QStringLiteral("Bravo"), 3.25);
        r.SetFont(QStringLiteral("Times New Roman"), 14);
        r.GotoXY(2.0, 5.5);
        r.Print(QStringLiteral("Charlie"));
        printf("descent %f ascent %f\n", r.FontDescent(), r.FontAscent());
    };
    printer.Execute();
    ASSERT_TRUE(QFile::exists(path));
    for (const auto& w : wordsOf(path)) {
        printf("%s %f %f %f %f\n", qPrintable(w.word), w.xMin, w.yMin, w.xMax, w.yMax);
    }
}

}  // namespace
}  // namespace qb
