// Runs the built program as a user would and reads its peak memory from the kernel, for the
// benchmarks of unattended commands.
#pragma once

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace qb::bench {

struct ProgramRun {
    bool ok = false;
    double peakMb = 0;
};

// `quillbank ARGS` with only the "PDF file" printer installed.
inline ProgramRun runProgram(const std::string& program, std::vector<std::string> args) {
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    setenv("QUILLBANK_PRINTERS", "pdf", 1);
    ProgramRun r;
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return r;
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    r.peakMb = double(ru.ru_maxrss) / 1024.0;
    return r;
}

}  // namespace qb::bench
