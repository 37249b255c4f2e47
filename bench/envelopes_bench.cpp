// Envelope benchmarks through the unattended command line, as a user would run it: one
// envelope for the current contact, and one envelope per contact of 10,000 and 40,000 (the
// second shows whether peak memory grows with the count), each with the program's peak memory.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QString>

#include "bench_files.h"
#include "program_run.h"

namespace {

void BM_EnvelopesCommandLine(benchmark::State& state) {
    const auto n = uint32_t(state.range(0));
    const bool all = state.range(1) != 0;
    const std::string file = qb::bench::contactFile(n);
    const std::string home = qb::bench::benchDir() + "/envelopes-home";
    std::filesystem::create_directories(home);
    const std::string out =
        qb::bench::benchDir() + "/envelopes-" + std::to_string(n) + (all ? "-all" : "") + ".pdf";
    std::vector<std::string> args = {"envelopes", "--home", home, "--pdf", out, file};
    if (all) args.insert(args.begin() + 1, {"--scope", "all"});
    double peakMb = 0;
    for (auto _ : state) {
        const qb::bench::ProgramRun r =
            qb::bench::runProgram(QB_BINARY_DIR "/src/app/quillbank", args);
        if (!r.ok) state.SkipWithError("the run failed");
        peakMb = r.peakMb;
    }
    state.counters["envelopes"] = all ? n : 1;
    state.counters["peak_MB"] = peakMb;
    state.counters["pdf_MB"] = double(QFile(QString::fromStdString(out)).size()) / (1024.0 * 1024);
}

}  // namespace

BENCHMARK(BM_EnvelopesCommandLine)
    ->Args({1000, 0})
    ->Args({10000, 1})
    ->Args({40000, 1})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
