// Starts the real program for an unattended command, as a script would, and collects what it
// said and how it ended.
#pragma once

#include <sys/resource.h>
#include <QProcess>
#include <QStringList>
#include <csignal>

#include <gtest/gtest.h>

namespace qb::test {

struct Outcome {
    int exitCode = -1;
    QString errors;
    QString output;
};

// Runs `quillbank ARGUMENTS` with only the "PDF file" printer installed. A nonzero
// fileSizeLimit makes files past that size unwritable for the run, as a full disk would.
inline Outcome runQuillbank(const QStringList& arguments, rlim_t fileSizeLimit = 0) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILLBANK_PRINTERS"), QStringLiteral("pdf"));
    env.remove(QStringLiteral("QUILLBANK_HOME"));
    p.setProcessEnvironment(env);
    if (fileSizeLimit > 0) {
        p.setChildProcessModifier([fileSizeLimit] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = fileSizeLimit;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    p.start(QStringLiteral(QB_BINARY_DIR "/src/app/quillbank"), arguments);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError()),
            QString::fromLocal8Bit(p.readAllStandardOutput())};
}

}  // namespace qb::test
