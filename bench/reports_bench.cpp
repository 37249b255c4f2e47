// Report benchmarks on synthetic contact files: layout 1 of 100,000 contacts to PDF through the
// unattended command (with the program's peak memory), the ZIP code count of 1,000,000 records,
// and a count report of 45,000 keys to PDF.
//
// Files are generated once into QB_BENCH_DIR (default /tmp/qb-bench) and reused.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QFile>
#include <filesystem>

#include "bench_files.h"
#include "output/printer_catalog.h"
#include "output/printer_device.h"
#include "presort/zip_report.h"
#include "presort/zip_tally.h"
#include "reports/pass_front_end.h"
#include "store/contact_schema.h"
#include "xbase/work_area.h"

extern char** environ;

namespace {

class QuietCount : public qb::presort::PresortObserver {
  public:
    void showProgress(const QString&) override {}
    bool cancelRequested() override { return false; }
};

// The program, run as a user would, with its own peak memory from the kernel.
void BM_ReportLayout1Pdf(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    const std::string file = qb::bench::contactFile(n);
    const std::string home = qb::bench::benchDir() + "/reports-home";
    std::filesystem::create_directories(home);
    const std::string out = qb::bench::benchDir() + "/report-" + std::to_string(n) + ".pdf";
    const std::string program = QB_BINARY_DIR "/src/app/quillbank";
    std::vector<std::string> args = {program, "report", "--home", home, "--pdf", out, file};
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    setenv("QUILLBANK_PRINTERS", "pdf", 1);
    double peakMb = 0;
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("the program could not be started");
            break;
        }
        int status = 0;
        rusage ru{};
        wait4(pid, &status, 0, &ru);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the run failed");
        peakMb = double(ru.ru_maxrss) / 1024.0;
    }
    state.counters["contacts"] = n;
    state.counters["peak_MB"] = peakMb;
    state.counters["pdf_MB"] = double(QFile(QString::fromStdString(out)).size()) / (1024.0 * 1024);
}

void BM_ZipCount(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    xb::WorkArea area;
    area.use(qb::bench::contactFile(n), xb::UseMode::ReadOnly);
    area.setOrder(area.tagArea("LNAME"));
    area.query(qb::kDeletionExclusion);
    area.first();
    QuietCount observer;
    size_t keys = 0;
    for (auto _ : state) {
        const auto tally = qb::presort::countZipCodes(area, observer);
        if (!tally) state.SkipWithError("the count stopped");
        keys = tally->validEntries().size() + tally->otherEntries().size();
    }
    state.counters["records"] = n;
    state.counters["keys"] = double(keys);
}

void BM_ZipReportPdf(benchmark::State& state) {
    QStringList lines;
    for (int64_t i = 0; i < state.range(0); ++i)
        lines << qb::presort::zipReportLine(
            QStringLiteral("%1").arg(i * 2, 5, 10, QLatin1Char('0')), uint64_t(i % 5000 + 1));
    const QString out = QString::fromStdString(qb::bench::benchDir()) + "/zipcount.pdf";
    qb::PrinterCatalog::setMode(qb::PrinterCatalog::Mode::PdfOnly);
    int pages = 0;
    for (auto _ : state) {
        qb::PrinterDevice::shared().selectPrinter(qb::PrinterCatalog::pdfPrinterName());
        qb::PrinterDevice::shared().setOutputFileName(out);
        qb::UnshownPassFrontEnd frontEnd;
        if (!qb::presort::RunZipReport(lines, false, frontEnd, nullptr))
            state.SkipWithError("the report failed");
        pages = frontEnd.pages;
        qb::PrinterDevice::releaseShared();
    }
    state.counters["keys"] = double(lines.size());
    state.counters["pages"] = pages;
    state.counters["pdf_MB"] = double(QFile(out).size()) / (1024.0 * 1024);
}

}  // namespace

BENCHMARK(BM_ReportLayout1Pdf)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZipCount)->Arg(1000000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZipReportPdf)->Arg(45000)->Iterations(2)->Unit(benchmark::kMillisecond);
