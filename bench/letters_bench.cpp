// Letters printed to PDF by the unattended command, as a script would run it: time per run and
// the program's peak memory, at two record counts to show memory does not grow with them.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QFile>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_files.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using qb::bench::benchDir;
using qb::bench::contactFile;

const std::string kProgram = QB_BINARY_DIR "/src/app/quillbank";

// Runs the program; the exit status, and its peak memory in megabytes and processor seconds
// (which a busy machine does not inflate as it does the wall time).
int run(std::vector<std::string> args, double* peakMb = nullptr, double* cpuSeconds = nullptr) {
    args.insert(args.begin(), kProgram);
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, kProgram.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    if (peakMb) *peakMb = double(ru.ru_maxrss) / 1024.0;
    if (cpuSeconds)
        *cpuSeconds = double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
                      double(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A program folder holding one letter of a page: date, address block, salutation, body.
std::string letterHome() {
    const std::string home = benchDir() + "/letters-home";
    fs::create_directories(home);
    const std::string rtf = home + "/letter.rtf";
    std::ofstream(rtf) << "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}"
                          "\\f0\\fs24 [Today's Date]\\par\\par [Name and Address]\\par Dear "
                          "[First],\\par\\par We are writing to [Full Name]at [Street] about "
                          "your account with us. Please call [Phone] if anything is unclear."
                          "\\par\\par Yours sincerely,\\par\\par The Office}";
    run({"letters", "--home", home, "--import", "Bench", rtf});
    return home;
}

void BM_CommandLineLetters(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    const std::string file = contactFile(n);
    const std::string home = letterHome();
    const std::string out = benchDir() + "/letters-" + std::to_string(n) + ".pdf";
    setenv("QUILLBANK_PRINTERS", "pdf", 1);
    double peakMb = 0, cpu = 0;
    for (auto _ : state) {
        if (run({"letters", "--home", home, "--scope", "all", "--date", "2026-01-02", "--pdf", out,
                 file},
                &peakMb, &cpu) != 0)
            state.SkipWithError("the run failed");
    }
    state.counters["letters"] = n;
    state.counters["peak_MB"] = peakMb;
    state.counters["program_cpu_s"] = cpu;
    state.counters["pdf_MB"] = double(QFile(QString::fromStdString(out)).size()) / (1024.0 * 1024);
}

}  // namespace

BENCHMARK(BM_CommandLineLetters)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
