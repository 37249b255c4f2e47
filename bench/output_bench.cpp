// Speed of the report output engine on a large label run: 3,334 letter pages of 30 three-line
// labels (100,020 labels) recorded into a report file, one of its pages drawn in the preview at
// page-width zoom, and the whole file written to PDF.
#include "output/file_printer.h"
#include "output/printer_catalog.h"
#include "output/report_filer.h"
#include "reports/preview_form.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Pages = 3334;
constexpr int Across = 3;
constexpr int Down = 10;

// Deterministic contact lines, varied like real names and addresses.
QStringList labelLines(int n) {
    static const QStringList first = {"Mary", "John", "Patricia", "Robert", "Jennifer",
                                      "Michael", "Linda", "William", "Elizabeth", "David"};
    static const QStringList last = {"Smith", "Johnson", "Williams", "Brown", "Jones",
                                     "Garcia", "Miller", "Davis", "Rodriguez", "Martinez",
                                     "Hernandez", "Lopez", "Gonzalez"};
    static const QStringList street = {"MAIN ST", "OAK AVE", "PINE RD", "MAPLE DR", "CEDAR LN",
                                       "ELM ST", "WASHINGTON BLVD", "LAKE VIEW TER"};
    static const QStringList city = {"SPRINGFIELD", "RIVERSIDE", "FAIRVIEW", "MADISON",
                                     "GEORGETOWN", "CLINTON", "ARLINGTON"};
    static const QStringList state = {"IL", "CA", "TX", "NY", "OH", "PA", "FL"};
    return {QStringLiteral("%1 %2 ").arg(first[n % 10], last[(n / 10) % 13]),
            QStringLiteral("%1 %2").arg(100 + (n * 37) % 9800).arg(street[n % 8]),
            QStringLiteral("%1  %2 %3")
                .arg(city[n % 7], state[(n / 7) % 7])
                .arg(10000 + (n * 7919) % 89999, 5, 10, QLatin1Char('0'))};
}

// Lays out labels the way label printing does (5160-style stock: 2.625 by 1 inch, 3 across).
void drawLabels(qb::TBaseReport& r) {
    r.SetFont(QStringLiteral("Arial"), 10);
    r.SetMarginLeft(0);
    r.SetMarginTop(0);
    int row = 0, column = 0;
    for (int label = 0; label < Pages * Across * Down; ++label) {
        if (row >= Down) {
            row = column = 0;
            r.NewPage();
        }
        r.SetOriginX(column * 2.75 + 0.1875 + 0.1);
        r.SetOriginY(row * 1.0 + 0.5 + 0.1);
        r.SetSectionBottom(1.0 - 0.1);
        r.Home();
        for (const QString& line : labelLines(label)) {
            QString text = line;
            while (!text.isEmpty() && r.TextWidth(text) + 0.1 > 2.625) text.chop(1);
            if (r.LinesLeft() > 0) r.Println(text);
        }
        if (++column == Across) {
            column = 0;
            ++row;
        }
    }
}

QByteArray recordLabels(qint64* size = nullptr) {
    QWidget owner;
    QBuffer stream;
    qb::TReportFiler filer(&owner);
    filer.SetStreamMode(qb::smUser);
    filer.SetStream(&stream);
    filer.SetAccuracyMethod(qb::amPositioning);
    filer.SetLineHeightMethod(qb::lhmFont);
    filer.OnPrint = drawLabels;
    filer.Execute();
    if (size) *size = filer.ReportSize();
    return stream.data();
}

const QByteArray& labelReport() {
    static const QByteArray report = recordLabels();
    return report;
}

void BM_RecordLabelPages(benchmark::State& state) {
    qint64 size = 0;
    for (auto _ : state) {
        const QByteArray bytes = recordLabels(&size);
        benchmark::DoNotOptimize(bytes.size());
    }
    state.counters["pages"] = Pages;
    state.counters["labels"] = Pages * Across * Down;
    state.counters["bytes"] = static_cast<double>(size);
    state.counters["bytes_per_page"] = static_cast<double>(size) / Pages;
}
BENCHMARK(BM_RecordLabelPages)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PreviewPageAtPageWidth(benchmark::State& state) {
    QBuffer stream;
    stream.setData(labelReport());
    qb::TPreviewForm form;
    form.setWindowTitle(QStringLiteral("Preview Labels"));
    form.FilePreview1().SetStream(&stream);
    form.show();
    QElapsedTimer wait;
    wait.start();
    while (!form.FilePreview1().Active() && wait.elapsed() < 5000) {
        QCoreApplication::processEvents();
    }
    qb::TFilePreview& viewer = form.FilePreview1();
    int page = 1;
    for (auto _ : state) {
        viewer.PrintPage(page);
        page = page % Pages + 1;
    }
    state.counters["zoom"] = viewer.ZoomFactor();
    state.counters["image_width"] = viewer.PageImage().width();
    form.CloseButtonClick();
}
BENCHMARK(BM_PreviewPageAtPageWidth)->Unit(benchmark::kMillisecond);

void BM_WriteReportToPdf(benchmark::State& state) {
    QBuffer stream;
    stream.setData(labelReport());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("labels.pdf"));
    for (auto _ : state) {
        qb::TFilePrinter printer;
        printer.SetStream(&stream);
        printer.WritePdf(path);
    }
    state.counters["pdf_bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK(BM_WriteReportToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
