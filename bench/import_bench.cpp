// Moving lists in and out on 1,000,000 contacts: copy out to text and to a table, the text
// import with its index rebuild, and the table import (with the rebuild). The generated file
// is shared with the other benchmarks (QB_BENCH_DIR, default /tmp/qb-bench), and so are the
// copies the imports read; the files imported into are made in a temporary folder. Peak memory is
// reported, since the runs must not grow with the list.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QFile>
#include <QTemporaryDir>

#include "bench_files.h"
#include "import/ascii_import.h"
#include "import/dbf_import.h"
#include "store/contact_file.h"
#include "store/contact_schema.h"
#include "utilities/copy_out.h"

namespace {

constexpr uint32_t kContacts = 1000000;

void peak(benchmark::State& state) {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    state.counters["peak_MB"] = double(ru.ru_maxrss) / 1024.0;
}

QString source() {
    return QString::fromStdString(qb::bench::contactFile(kContacts));
}

QTemporaryDir& scratch() {
    static QTemporaryDir dir(QString::fromStdString(qb::bench::benchDir()) + "/importXXXXXX");
    return dir;
}

// The copies the imports read, made once and kept beside the generated file, so that timing
// an import alone (--benchmark_filter, /usr/bin/time) does not also run a copy out.
QString copyOf(qb::utilities::CopyKind kind) {
    const QString target =
        QString::fromStdString(qb::bench::benchDir()) +
        (kind == qb::utilities::CopyKind::Dbf ? "/COPY1000000.DBF" : "/COPY1000000.TXT");
    if (QFile::exists(target)) return target;
    qb::Dataset contacts;
    qb::OpenContactFile(
        source(), contacts, [](const QString&) {}, xb::UseMode::ReadOnly);
    contacts.setSelection(qb::kDeletionExclusion);
    qb::utilities::copyRecordsOut(contacts, kind, target, qb::TextEncoding::Utf8);
    return target;
}

void copyOut(benchmark::State& state, qb::utilities::CopyKind kind, const char* name) {
    qb::Dataset contacts;
    qb::OpenContactFile(
        source(), contacts, [](const QString&) {}, xb::UseMode::ReadOnly);
    contacts.setSelection(qb::kDeletionExclusion);
    const QString target = scratch().filePath(name);
    for (auto _ : state) {
        QFile::remove(target);
        const auto r =
            qb::utilities::copyRecordsOut(contacts, kind, target, qb::TextEncoding::Utf8);
        state.counters["records"] = r.copied;
    }
    peak(state);
}

void BM_CopyOutText(benchmark::State& state) {
    copyOut(state, qb::utilities::CopyKind::Text, "BENCH.TXT");
}
void BM_CopyOutTable(benchmark::State& state) {
    copyOut(state, qb::utilities::CopyKind::Dbf, "BENCH.DBF");
}

// An empty contact file to import into, made before the clock runs.
QString emptyContacts(benchmark::State& state) {
    state.PauseTiming();
    const QString path = scratch().filePath("INTO.DBF");
    for (const char* ext : {"DBF", "FPT", "CDX"})
        QFile::remove(scratch().filePath(QStringLiteral("INTO.") + ext));
    qb::Dataset maker;
    qb::CreateContactFile(path, maker, [](const QString&) {});
    maker.close();
    state.ResumeTiming();
    return path;
}

void BM_ImportText(benchmark::State& state) {
    const QString text = copyOf(qb::utilities::CopyKind::Text);
    for (auto _ : state) {
        const QString path = emptyContacts(state);
        qb::Dataset contacts;
        qb::OpenTableFile(path, contacts, [](const QString&) {});
        const auto r = qb::import::importAsciiFile(contacts.area(), text, qb::TextEncoding::Auto,
                                                   qb::import::copyOutMatches(), {});
        qb::BuildContactIndexes(contacts, [](const QString&) {});
        state.counters["records"] = r.imported;
    }
    peak(state);
}

void BM_ImportTable(benchmark::State& state) {
    const QString table = copyOf(qb::utilities::CopyKind::Dbf);
    qb::import::DbfSource src = qb::import::readDbfSource(table);
    qb::import::applyAutomaticMatch(src.fields);
    for (auto _ : state) {
        const QString path = emptyContacts(state);
        qb::Dataset contacts;
        qb::OpenTableFile(path, contacts, [](const QString&) {});
        const auto r = qb::import::importDbfFile(contacts.area(), table, src.fields, {});
        qb::BuildContactIndexes(contacts, [](const QString&) {});
        state.counters["records"] = r.imported;
    }
    peak(state);
}

}  // namespace

BENCHMARK(BM_CopyOutText)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_CopyOutTable)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ImportText)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ImportTable)->Unit(benchmark::kSecond)->Iterations(1);
