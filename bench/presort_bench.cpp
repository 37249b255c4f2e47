// Bulk-mail presort benchmarks over 100,000 and 1,000,000 synthetic contacts: the whole run and
// the presort-order walk that label printing takes afterwards.
//
// Files are generated once into QB_BENCH_DIR (default /tmp/qb-bench) and reused; run each size
// in its own process for a clean peak-memory figure.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QString>
#include <filesystem>

#include "bench_files.h"
#include "gen_contacts.h"
#include "presort/bulk_mail_presort.h"
#include "presort/presort_file.h"
#include "presort/sorted_zip_walk.h"
#include "store/contact_schema.h"
#include "xbase/file.h"
#include "xbase/work_area.h"

namespace {

namespace fs = std::filesystem;

using qb::bench::benchDir;
using qb::bench::contactFile;

QString outputFolder() {
    std::string dir = benchDir() + "/presort-out";
    fs::create_directories(dir);
    return QString::fromStdString(dir);
}

void reportPeakMemory(benchmark::State& state) {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    state.counters["peak_MB"] = double(ru.ru_maxrss) / 1024.0;
}

// What the presort window would do, minus the window: texts are built but not shown.
class QuietObserver : public qb::presort::PresortObserver {
  public:
    void showProgress(const QString& text) override { shown += text.size() > 0; }
    bool cancelRequested() override { return false; }
    int shown = 0;
};

// The contact table as label printing hands it over: the scope's selection set.
void openContacts(xb::WorkArea& area, uint32_t n) {
    area.use(contactFile(n), xb::UseMode::ReadOnly);
    area.query(qb::kDeletionExclusion);
}

void BM_PresortRun(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    xb::WorkArea area;
    openContacts(area, n);
    QString folder = outputFolder();
    size_t lines = 0;
    uint64_t read = 0;
    for (auto _ : state) {
        QuietObserver observer;
        qb::presort::BulkMailPresort presort(observer);
        if (!presort.run(area, folder)) state.SkipWithError("the presort did not complete");
        lines = presort.lines().size();
        read = presort.recordsRead();
    }
    state.counters["records"] = double(read);
    state.counters["list_lines"] = double(lines);
    reportPeakMemory(state);
}

void BM_PresortedWalk(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    xb::WorkArea area;
    openContacts(area, n);
    QString folder = outputFolder();
    QuietObserver observer;
    qb::presort::BulkMailPresort presort(observer);
    presort.run(area, folder);
    uint64_t labels = 0;
    for (auto _ : state) {
        qb::presort::SortedZipWalk::prepare(area);
        qb::presort::SortedZipWalk walk(area, qb::presort::readPresortFile(folder));
        labels = 0;
        for (walk.nextGroup(); !walk.finished(); walk.moveOn())
            ++labels;
    }
    state.counters["labels"] = double(labels);
    reportPeakMemory(state);
}

}  // namespace

BENCHMARK(BM_PresortRun)->Arg(100000)->Arg(1000000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresortedWalk)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);
