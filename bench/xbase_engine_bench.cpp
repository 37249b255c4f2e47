// Engine benchmarks on synthetic contact files of 100,000 and 1,000,000 records: append,
// building the 21 tags, open, selection counts, seeks, an ordered walk and pack. The files
// are generated once into QB_BENCH_DIR (default /tmp/qb-bench) and reused.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "bench_files.h"
#include "gen_contacts.h"
#include "store/contact_schema.h"
#include "xbase/file.h"
#include "xbase/work_area.h"

namespace {

namespace fs = std::filesystem;

using qb::bench::benchDir;
using qb::bench::contactFile;

// A private copy of the generated file set, for benchmarks that change it.
std::string copyOf(uint32_t n, const std::string& name) {
    std::string src = contactFile(n);
    std::string dst = benchDir() + "/" + name + ".DBF";
    for (const char* ext : {".DBF", ".FPT", ".CDX"})
        fs::copy_file(xb::withExtension(src, ext), xb::withExtension(dst, ext),
                      fs::copy_options::overwrite_existing);
    return dst;
}

void reportPeakMemory(benchmark::State& state) {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    state.counters["peak_MB"] = double(ru.ru_maxrss) / 1024.0;
}

using Clock = std::chrono::steady_clock;
// User and system time of the process so far.
double cpuSeconds() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
           double(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}
double seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

void BM_Append(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    for (auto _ : state) {
        std::string path = benchDir() + "/APPEND.DBF";
        for (const char* ext : {".DBF", ".FPT", ".CDX"})
            fs::remove(xb::withExtension(path, ext));
        qb::createContactTable(path);
        xb::WorkArea area;
        area.use(path);
        auto t0 = Clock::now();
        qb::tools::addContacts(area, n, 9);
        area.commit();
        state.SetIterationTime(seconds(t0, Clock::now()));
    }
    state.counters["records_per_s"] = benchmark::Counter(double(n), benchmark::Counter::kIsRate);
    reportPeakMemory(state);
}

void BM_BuildAllTags(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    std::string path = copyOf(n, "TAGS");
    for (auto _ : state) {
        xb::WorkArea area;
        area.use(path);
        auto t0 = Clock::now();
        qb::buildContactTags(area);
        area.commit();
        state.SetIterationTime(seconds(t0, Clock::now()));
    }
    reportPeakMemory(state);
}

void BM_Open(benchmark::State& state) {
    std::string path = contactFile(uint32_t(state.range(0)));
    for (auto _ : state) {
        xb::WorkArea area;
        area.use(path, xb::UseMode::Exclusive);
        area.setOrder(area.tagArea("LNAME"));
        benchmark::DoNotOptimize(area.recNo());
    }
}

void countSelection(benchmark::State& state, const char* expr) {
    std::string path = contactFile(uint32_t(state.range(0)));
    xb::WorkArea area;
    area.use(path, xb::UseMode::Exclusive);
    area.setDeleted(true);
    uint32_t count = 0;
    for (auto _ : state) {
        area.query(expr);
        count = area.queryRecCount();
    }
    state.counters["matches"] = count;
    reportPeakMemory(state);
}

void BM_CountNotDeleted(benchmark::State& state) {
    countSelection(state, qb::kDeletionExclusion);
}
void BM_CountTwoTerms(benchmark::State& state) {
    countSelection(state,
                   "UPPER(STATE)=\"CA\" and UPPER(LNAME)>=\"M\" .and. UPPER(PREFIX)<>\"DELETED\"");
}

void BM_SeekLname(benchmark::State& state) {
    std::string path = contactFile(uint32_t(state.range(0)));
    xb::WorkArea area;
    area.use(path, xb::UseMode::Exclusive);
    area.setOrder(area.tagArea("LNAME"));
    // Keys to look for: real names taken from the file, and a few that are not there.
    std::vector<std::string> keys;
    std::mt19937 rng(1);
    for (int i = 0; i < 10000; ++i) {
        area.go(1 + rng() % area.recCount());
        std::string k = area.getText("LNAME");
        for (auto& c : k)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        keys.push_back(i % 10 ? k : k + "QQ");
    }
    size_t found = 0;
    for (auto _ : state) {
        for (auto& k : keys)
            found += area.seek(k);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(keys.size()));
    state.counters["found"] = double(found) / double(state.iterations());
}

void BM_WalkSelectionByLname(benchmark::State& state) {
    std::string path = contactFile(uint32_t(state.range(0)));
    xb::WorkArea area;
    area.use(path, xb::UseMode::Exclusive);
    area.setDeleted(true);
    area.query(qb::kDeletionExclusion);
    area.setOrder(area.tagArea("LNAME"));
    area.queryRecCount();
    uint64_t visited = 0;
    for (auto _ : state) {
        for (area.first(); !area.eof(); area.skip())
            ++visited;
    }
    state.counters["records"] = double(visited) / double(state.iterations());
    reportPeakMemory(state);
}

void BM_PackAfterDeleting10Percent(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    for (auto _ : state) {
        std::string path = copyOf(n, "PACK");
        xb::WorkArea area;
        area.use(path);
        area.setOrder(0);
        for (uint32_t r = 7; r <= area.recCount(); r += 10) {
            area.go(r);
            area.deleteRecord();
        }
        area.commit();
        auto t0 = Clock::now();
        area.pack();
        area.commit();
        state.SetIterationTime(seconds(t0, Clock::now()));
        state.counters["kept"] = area.recCount();
    }
    reportPeakMemory(state);
}

// Marks every tenth record deleted with the 21 tags open, as a user's bulk delete does.
void BM_DeleteEveryTenth(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    for (auto _ : state) {
        std::string path = copyOf(n, "DELETE");
        xb::WorkArea area;
        area.use(path);
        area.setOrder(0);
        auto t0 = Clock::now();
        const double cpu0 = cpuSeconds();
        for (uint32_t r = 10; r <= area.recCount(); r += 10) {
            area.go(r);
            area.deleteRecord();
        }
        area.commit();
        state.SetIterationTime(seconds(t0, Clock::now()));
        // On a shared machine the wall time waits for other processes; the CPU time does not.
        state.counters["cpu_ms"] = (cpuSeconds() - cpu0) * 1000.0;
    }
    reportPeakMemory(state);
}

// Ten million records (4 GB of table) only when QB_BENCH_10M is set: the file takes minutes to
// generate and a lot of disk.
const bool kTenMillion = [] {
    if (!std::getenv("QB_BENCH_10M")) return false;
    benchmark::RegisterBenchmark("BM_BuildAllTags", BM_BuildAllTags)
        ->Arg(10000000)
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_PackAfterDeleting10Percent", BM_PackAfterDeleting10Percent)
        ->Arg(10000000)
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace

BENCHMARK(BM_DeleteEveryTenth)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Append)->Arg(100000)->Arg(1000000)->UseManualTime()->Iterations(1)->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_BuildAllTags)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CountNotDeleted)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountTwoTerms)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeekLname)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkSelectionByLname)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackAfterDeleting10Percent)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
