// Working with records on a 1,000,000-record contact file, in the main window built
// offscreen: Set Now with a two-box filter until the match count shows, Search in last-name
// order, a memo search that finds nothing, and the whole Rebuild Indexes run. The generated
// file is shared with the other benchmarks (QB_BENCH_DIR, default /tmp/qb-bench); each run
// works on its own copy, since the window holds the file exclusively and the rebuild packs it.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <filesystem>

#include "app/filter_page.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app/reindex_dialog.h"
#include "app/search_box.h"
#include "controls/scripted_prompts.h"
#include "gen_contacts.h"
#include "store/program_folder.h"
#include "store/settings.h"
#include "xbase/file.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string benchDir() {
    const char* d = std::getenv("QB_BENCH_DIR");
    std::string dir = d ? d : "/tmp/qb-bench";
    std::filesystem::create_directories(dir);
    return dir;
}

std::string sharedFile(uint32_t n) {
    const std::string path = benchDir() + "/C" + std::to_string(n) + ".DBF";
    if (!xb::fileExists(path)) qb::tools::generateContacts(path, n, 42);
    return path;
}

// A program folder with the shipped tables and a copy of the contact file, which the
// recently-used list names so that start-up opens it.
struct Home {
    explicit Home(uint32_t n) {
        folder = dir.path() + u'/';
        qb::provideShippedTables(folder, QStringLiteral(QB_BINARY_DIR "/src/app"));
        const std::string from = sharedFile(n);
        file = folder + QStringLiteral("BENCH.DBF");
        for (const char* ext : {".DBF", ".FPT", ".CDX"}) {
            std::filesystem::copy_file(xb::withExtension(from, ext),
                                       xb::withExtension(file.toStdString(), ext),
                                       std::filesystem::copy_options::overwrite_existing);
        }
        qb::Settings(folder + QStringLiteral("QUILLB.INI")).write(qb::setting::MruItem, file, "1");
    }
    QTemporaryDir dir;
    QString folder;
    QString file;
};

double seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

void reportPeakMemory(benchmark::State& state) {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    state.counters["peak_MB"] = double(ru.ru_maxrss) / 1024.0;
}

// Runs act on the modal dialog of type T that the next command opens.
template <typename T, typename F>
void whenModal(F act) {
    QTimer::singleShot(0, [act] {
        if (auto* d = qobject_cast<T*>(QApplication::activeModalWidget())) act(*d);
    });
}

void BM_SetNowTwoBoxes(benchmark::State& state) {
    Home home(uint32_t(state.range(0)));
    qb::ScriptedPrompts quiet;
    qb::ScopedPrompts scoped(quiet);
    qb::TQBMMain window(home.folder);
    window.startUp();
    window.FilterButtonClick();
    qb::FilterPage& page = *window.filterPage();
    for (auto _ : state) {
        // Cleared first, outside the timing, so each Set Now starts from the full view.
        page.qClearButton->click();
        page.qLName->setText(QStringLiteral("b"));
        page.qState->setText(QStringLiteral("CA;TX"));
        const auto t0 = Clock::now();
        page.qSetFilterButton->click();
        QApplication::processEvents();
        state.SetIterationTime(seconds(t0));
        if (window.currentFilter().isEmpty()) state.SkipWithError("no filter in force");
        state.counters["matches"] = page.qMatchCount->text().section(u' ', 0, 0).toDouble();
    }
    reportPeakMemory(state);
}

void BM_SearchLastName(benchmark::State& state) {
    Home home(uint32_t(state.range(0)));
    qb::ScriptedPrompts quiet;
    qb::ScopedPrompts scoped(quiet);
    qb::TQBMMain window(home.folder);
    window.startUp();
    QApplication::processEvents();
    // Beginnings of names spread over the whole order, so every search has somewhere to go.
    QStringList texts;
    qb::Dataset& table = window.contactTable();
    for (uint32_t row = 777; row < table.selectionCount(); row += 97331) {
        table.goPosition(row);
        texts << table.text(QStringLiteral("LNAME")).left(3).toLower();
    }
    int i = 0;
    for (auto _ : state) {
        table.first();
        const QString text = texts[i++ % texts.size()];
        whenModal<qb::TSearchBox>([text](qb::TSearchBox& box) {
            box.SearchForEdit->setText(text);
            box.OKButton->click();
        });
        const auto t0 = Clock::now();
        window.SearchButtonClick();
        QApplication::processEvents();
        state.SetIterationTime(seconds(t0));
        if (!window.mainPage()->Last->text().startsWith(text, Qt::CaseInsensitive))
            state.SkipWithError("the search did not arrive");
    }
    reportPeakMemory(state);
}

void BM_MemoSearchFindingNothing(benchmark::State& state) {
    Home home(uint32_t(state.range(0)));
    qb::ScriptedPrompts quiet;
    qb::ScopedPrompts scoped(quiet);
    qb::TQBMMain window(home.folder);
    window.startUp();
    QApplication::processEvents();
    for (auto _ : state) {
        quiet.answerInput(QStringLiteral("no memo holds this"));
        const auto t0 = Clock::now();
        window.SearchMemoButtonClick();
        state.SetIterationTime(seconds(t0));
        if (window.memoFound()) state.SkipWithError("found what is not there");
        state.counters["records"] = window.contactTable().selectionRecordCount();
    }
    reportPeakMemory(state);
}

void BM_RebuildIndexes(benchmark::State& state) {
    qb::ScriptedPrompts quiet;
    qb::ScopedPrompts scoped(quiet);
    for (auto _ : state) {
        Home home(uint32_t(state.range(0)));
        qb::TQBMMain window(home.folder);
        window.startUp();
        QApplication::processEvents();
        const uint32_t before = window.contactTable().recCount();
        whenModal<qb::TQBReindex>([](qb::TQBReindex& d) { d.Doit->click(); });
        const auto t0 = Clock::now();
        window.mnuRebuildIndexesClick();
        state.SetIterationTime(seconds(t0));
        state.counters["removed"] = double(before - window.contactTable().recCount());
        if (window.contactTable().area().orderCount() != 21) state.SkipWithError("tags missing");
    }
    reportPeakMemory(state);
}

BENCHMARK(BM_SetNowTwoBoxes)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchLastName)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoSearchFindingNothing)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildIndexes)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

}  // namespace
