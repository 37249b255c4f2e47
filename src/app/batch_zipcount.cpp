// The unattended ZIP code count.
#include "app/batch_zipcount.h"

#include <QFileInfo>

#include "app/batch_front.h"
#include "controls/prompts.h"
#include "presort/zip_report.h"
#include "presort/zip_tally.h"
#include "reports/pass_front_end.h"
#include "store/counted.h"
#include "store/csv_writer.h"
#include "store/output_file.h"
#include "xbase/error.h"

namespace qb {

namespace {

class QuietCount : public presort::PresortObserver {
  public:
    void showProgress(const QString&) override {}
    bool cancelRequested() override { return false; }
};

const QCommandLineOption kCsv(QStringLiteral("csv"),
                              QStringLiteral("Writes the counts to FILE as comma-delimited text: "
                                             "a line ZIP,COUNT, then one line per key."),
                              QStringLiteral("FILE"));

// The counts in the report's order, one key a line, written whole or not at all.
QString writeCsv(const QString& path, const presort::ZipTally& tally) {
    QByteArray bytes =
        csvLine({QStringLiteral("ZIP"), QStringLiteral("COUNT")}, CsvQuoting::WhenNeeded).toUtf8() +
        "\r\n";
    auto add = [&](const std::string& key, uint64_t count) {
        bytes +=
            csvLine({QString::fromStdString(key), QString::number(count)}, CsvQuoting::WhenNeeded)
                .toUtf8() +
            "\r\n";
    };
    for (const auto& e : tally.validEntries())
        add(e.key, e.tally);
    for (const auto& e : tally.otherEntries())
        add(e.key, e.tally);
    if (tally.blanks() > 0) add(presort::kBlankZipKey, tally.blanks());
    return writeWholeFile(path, bytes);
}

int countZipCodes(batch::Run& run) {
    const QCommandLineParser& a = run.arguments();
    const bool pdf = a.isSet(QStringLiteral("pdf"));
    const bool csv = a.isSet(kCsv);
    if (!pdf && !csv) {
        run.say(QStringLiteral("--pdf OUT.pdf or --csv OUT.csv is required"));
        run.say(batch::usageLine(run.def()));
        return batch::kUsage;
    }

    Dataset contacts;
    if (!run.openContacts(contacts) || !run.selectRecords(contacts)) return batch::kFailed;
    std::optional<presort::ZipTally> tally;
    QuietCount observer;
    try {
        tally = presort::countZipCodes(contacts.area(), observer);
    } catch (const xb::Error& e) {
        run.say(QString::fromUtf8(e.what()));
        return batch::kFailed;
    }
    contacts.close();
    if (!tally) return batch::kFailed;
    const QStringList lines = tally->reportLines();
    uint64_t records = tally->blanks();
    for (const auto& list : {tally->validEntries(), tally->otherEntries()})
        for (const auto& e : list)
            records += e.tally;
    const qint64 keys = lines.size() - 2;

    QStringList written;
    if (csv) {
        const QString out = QFileInfo(a.value(kCsv)).absoluteFilePath();
        if (const QString fault = writeCsv(out, *tally); !fault.isEmpty()) {
            run.say(fault);
            return batch::kFailed;
        }
        written << out;
    }
    if (pdf) {
        if (!run.usePdfPrinter(QStringLiteral("There are no printers installed")))
            return batch::kFailed;
        UnshownPassFrontEnd frontEnd;
        if (!presort::RunZipReport(lines, false, frontEnd, nullptr) || run.troubled() ||
            !QFileInfo::exists(run.pdfPath()))
            return batch::kFailed;
        written << run.pdfPath();
    }
    run.say(counted(qint64(records), "record", "records") + QStringLiteral(" under ") +
            counted(keys, "key", "keys") + QStringLiteral(" written to ") +
            written.join(QStringLiteral(" and ")));
    return batch::kDone;
}

}  // namespace

int runZipCountCommandLine(const QStringList& arguments) {
    batch::CommandDef def;
    def.name = QStringLiteral("zipcount");
    def.summary = QStringLiteral(
        "Counts the contacts under each ZIP code, as the Count Zip Codes window does, and "
        "writes the count report to a PDF file, the counts to a comma-delimited file, or both.");
    def.options = {kCsv};
    def.optionsUsage = QStringLiteral("(--pdf OUT.pdf | --csv OUT.csv)");
    def.recordScope = true;
    def.filterOnly = true;
    def.pdfOptional = true;
    return batch::runCommand(def, arguments, countZipCodes);
}

}  // namespace qb
