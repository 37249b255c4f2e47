// The clean-up utilities over 1,000,000 synthetic contacts: the state and ZIP check, the
// duplicate check by name (each with its temporary index), upper-casing every field, and a
// search-and-replace scan. The bulk edits change a private copy of the file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "bench_files.h"
#include "store/contact_schema.h"
#include "utilities/bulk_edits.h"
#include "utilities/check_walk.h"
#include "xbase/work_area.h"

namespace {

namespace fs = std::filesystem;
using namespace qb::utilities;

constexpr uint32_t kContacts = 1000000;

void openChecked(xb::WorkArea& area) {
    area.use(qb::bench::contactFile(kContacts), xb::UseMode::ReadOnly);
    area.setDeleted(true);
    area.query(qb::kDeletionExclusion);
}

// A copy the bulk edits may change, made fresh for each run.
std::string privateCopy() {
    const std::string from = qb::bench::contactFile(kContacts);
    const std::string dir = qb::bench::benchDir() + "/utilities";
    fs::create_directories(dir);
    for (const char* ext : {".DBF", ".CDX", ".FPT"}) {
        fs::path src = fs::path(from).replace_extension(ext);
        if (fs::exists(src))
            fs::copy_file(src, dir + "/EDIT" + ext, fs::copy_options::overwrite_existing);
    }
    return dir + "/EDIT.DBF";
}

void BM_StateZipCheck(benchmark::State& state) {
    const StateRanges ranges = StateRanges::read(QB_BINARY_DIR "/src/app/QBMSZCK.DBF");
    for (auto _ : state) {
        xb::WorkArea area;
        openChecked(area);
        const auto found = findQuestionable(area, ranges, false);
        fillCheckIndex(area, qb::bench::benchDir() + "/_chksz.idx", kStateZipIndexKey, found);
        state.counters["found"] = double(found.size());
    }
}
BENCHMARK(BM_StateZipCheck)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_DupCheckByName(benchmark::State& state) {
    for (auto _ : state) {
        xb::WorkArea area;
        openChecked(area);
        const auto start = std::chrono::steady_clock::now();
        const DupFindings f = findDuplicates(area, DupKind::Name, 30);
        state.counters["walk_s"] =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        fillCheckIndex(area, qb::bench::benchDir() + "/_chkdup.idx", dupIndexKey(DupKind::Name),
                       f.records);
        state.counters["pairs"] = f.pairs;
    }
}
BENCHMARK(BM_DupCheckByName)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_UpperCaseAllFields(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string path = privateCopy();
        state.ResumeTiming();
        xb::WorkArea area;
        area.use(path);
        area.setDeleted(true);
        area.query(qb::kDeletionExclusion);
        const int n = convertToUpper(area, selectedRecords(area),
                                     {"LNAME", "FNAME", "MIDDLE", "TITLE", "ORG", "STREET", "CITY",
                                      "STATE", "ZIP", "COUNTRY", "PREFIX"});
        area.close();
        state.counters["records"] = n;
    }
}
BENCHMARK(BM_UpperCaseAllFields)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ReplaceScan(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string path = privateCopy();
        state.ResumeTiming();
        xb::WorkArea area;
        area.use(path);
        area.setDeleted(true);
        area.query(qb::kDeletionExclusion);
        // A partial, case-blind search that matches few records: mostly the scan.
        const int n = searchAndReplace(area, selectedRecords(area),
                                       {"CITY", "zq", false, false, false, "ZQ"});
        area.close();
        state.counters["replaced"] = n;
    }
}
BENCHMARK(BM_ReplaceScan)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
