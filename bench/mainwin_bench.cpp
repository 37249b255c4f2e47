// The main window on a 1,000,000-record contact file, built offscreen: start-up to a usable
// Main page, and moving the Browse grid to its last row. The file is generated once into
// QB_BENCH_DIR (default /tmp/qb-bench) and shared with the engine benchmarks.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <filesystem>

#include "app/browse_page.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "controls/scripted_prompts.h"
#include "bench_files.h"
#include "store/settings.h"
#include "xbase/file.h"

namespace {

using Clock = std::chrono::steady_clock;

QString contactFile(uint32_t n) { return QString::fromStdString(qb::bench::contactFile(n)); }

// A program folder whose recently-used list names the big file, so start-up opens it.
struct Home {
    explicit Home(const QString& file) {
        folder = dir.path() + u'/';
        qb::Settings(folder + QStringLiteral("QUILLB.INI")).write(qb::setting::MruItem, file, "1");
    }
    QTemporaryDir dir;
    QString folder;
};

void reportPeakMemory(benchmark::State& state) {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    state.counters["peak_MB"] = double(ru.ru_maxrss) / 1024.0;
}

void BM_StartToMainPage(benchmark::State& state) {
    const QString file = contactFile(uint32_t(state.range(0)));
    Home home(file);
    qb::ScriptedPrompts quiet;  // a prompt here would be a failure
    qb::ScopedPrompts scoped(quiet);
    for (auto _ : state) {
        const auto t0 = Clock::now();
        {
            qb::TQBMMain window(home.folder);
            window.startUp();
            QApplication::processEvents();
            const auto t1 = Clock::now();
            state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
            if (window.mainPage()->Last->text().isEmpty()) state.SkipWithError("no record shown");
            state.counters["records"] = double(window.contactTable().recCount());
        }
    }
    reportPeakMemory(state);
}

void BM_BrowseToLastRow(benchmark::State& state) {
    const QString file = contactFile(uint32_t(state.range(0)));
    Home home(file);
    qb::ScriptedPrompts quiet;
    qb::ScopedPrompts scoped(quiet);
    for (auto _ : state) {
        qb::TQBMMain window(home.folder);
        window.startUp();
        QApplication::processEvents();
        qb::BrowseGrid* grid = window.browsePage()->DBGrid1;
        // From the Main page: show the grid (its first screen of rows), then Ctrl+End.
        const auto t0 = Clock::now();
        window.BrowseButtonClick();
        QApplication::processEvents();
        QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
        QApplication::processEvents();
        const auto t1 = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        const int rows = grid->model()->rowCount();
        if (grid->currentIndex().row() != rows - 1) state.SkipWithError("not on the last row");
        state.counters["rows"] = rows;
        state.counters["blocks_read"] = grid->datasetModel()->blocksRead();
    }
    reportPeakMemory(state);
}

BENCHMARK(BM_StartToMainPage)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrowseToLastRow)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
