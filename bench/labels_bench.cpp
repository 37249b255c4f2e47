// Label benchmarks on synthetic contact files: the presort as its window runs it (1,000,000
// records), a preview pass of 100,000 labels into a report file, and labels to PDF through
// the unattended command line (10,000 and 40,000 labels; 10,000 with the Intelligent Mail
// barcode) with the program's peak memory.
//
// Files are generated once into QB_BENCH_DIR (default /tmp/qb-bench) and reused.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <filesystem>

#include "gen_contacts.h"
#include "labels/label_print.h"
#include "output/printer_device.h"
#include "presort/sort_bulk_mail.h"
#include "store/contact_schema.h"
#include "xbase/file.h"
#include "xbase/work_area.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string benchDir() {
    const char* d = std::getenv("QB_BENCH_DIR");
    std::string dir = d ? d : "/tmp/qb-bench";
    fs::create_directories(dir);
    return dir;
}

std::string contactFile(uint32_t n) {
    std::string path = benchDir() + "/C" + std::to_string(n) + ".DBF";
    if (!xb::fileExists(path)) qb::tools::generateContacts(path, n, 42);
    return path;
}

void openContacts(xb::WorkArea& area, uint32_t n) {
    area.use(contactFile(n), xb::UseMode::ReadOnly);
    area.setOrder(area.tagArea("LNAME"));
    area.query(qb::kDeletionExclusion);
    area.first();
}

void BM_PresortWindow(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    xb::WorkArea area;
    openContacts(area, n);
    const QString folder = QString::fromStdString(benchDir()) + QStringLiteral("/");
    for (auto _ : state) {
        qb::presort::TSortBulkMail window(area, folder);
        window.exec();
        if (!window.Done()) state.SkipWithError("the presort did not complete");
    }
    state.counters["records"] = double(area.selectionCount());
}

void BM_LabelPreviewPass(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    xb::WorkArea area;
    openContacts(area, n);
    qb::labels::LabelSetup setup;  // 3 across, 10 down on letter paper
    setup.barcode = false;
    qint64 bytes = 0;
    int labels = 0, pages = 0;
    for (auto _ : state) {
        area.first();
        qb::labels::TLabelPrint window;
        QBuffer stream;
        stream.open(QIODevice::ReadWrite);
        window.PreparePreviewPass(&stream);
        window.PrepareRun(area, setup, 1, QString());
        window.RunUnshown();
        bytes = stream.size();
        labels = window.run()->recordLabels();
        pages = window.Engine().CurrentPage();
    }
    state.counters["labels"] = labels;
    state.counters["pages"] = pages;
    state.counters["report_MB"] = double(bytes) / (1024.0 * 1024.0);
}

// A setup of four-inch labels, wide enough for the Intelligent Mail barcode, in the program
// folder's setup table (taken from the build's shipped one the first time).
void addWideSetup(const std::string& home) {
    const std::string table = home + "/QBMLSU.DBF";
    if (!fs::exists(table)) {
        fs::copy_file(QB_BINARY_DIR "/src/app/QBMLSU.DBF", table);
        fs::copy_file(QB_BINARY_DIR "/src/app/QBMLSU.CDX", home + "/QBMLSU.CDX");
    }
    xb::WorkArea a;
    a.use(table);
    for (a.first(); !a.eof(); a.skip())
        if (qb::labels::ReadLabelSetup(a).descript == QLatin1String("Wide")) return;
    qb::labels::LabelSetup wide;
    wide.descript = QStringLiteral("Wide");
    wide.lblWidth = 4;
    wide.horizPitch = 4.125f;
    wide.nbrAcross = 2;
    a.append();
    qb::labels::WriteLabelSetup(a, wide);
    a.post();
}

// The program, run as a user would, with its own peak memory from the kernel.
void BM_CommandLinePdf(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    const std::string file = contactFile(n);
    const std::string home = benchDir() + "/labels-home";
    fs::create_directories(home);
    const std::string out = benchDir() + "/labels-" + std::to_string(n) + ".pdf";
    const std::string program = QB_BINARY_DIR "/src/app/quillbank";
    std::vector<std::string> args = {program, "labels", "--home", home, "--pdf", out, file};
    // The second argument: 1 presorts, 2 prints the Intelligent Mail barcode on every label.
    if (state.range(1) == 1) args.insert(args.begin() + 4, "--presort");
    if (state.range(1) == 2) {
        addWideSetup(home);
        args.insert(args.begin() + 4, {"--setup", "Wide", "--barcode", "imb", "--imb-mailer-id",
                                       "123456", "--imb-serial", "0"});
    }
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

}  // namespace

BENCHMARK(BM_PresortWindow)->Arg(1000000)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LabelPreviewPass)->Arg(100000)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommandLinePdf)
    ->Args({10000, 0})
    ->Args({40000, 0})
    ->Args({10000, 1})
    ->Args({10000, 2})
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);
