// The unattended state and ZIP check and duplicate check.
#include "app/batch_checks.h"

#include <QFile>
#include <QTextStream>
#include <algorithm>

#include "app/batch_front.h"
#include "store/contact_schema.h"
#include "store/csv_writer.h"
#include "store/output_file.h"
#include "store/program_tables.h"
#include "utilities/check_walk.h"
#include "utilities/dup_check.h"
#include "utilities/state_zip_check.h"
#include "xbase/error.h"

namespace qb {
namespace {

using utilities::DupKind;

const QCommandLineOption kBlanks(QStringLiteral("blanks"),
                                 QStringLiteral("Also lists records whose state/province or "
                                                "zip/postcode is empty."));
const QCommandLineOption kCsv(QStringLiteral("csv"),
                              QStringLiteral("Writes the listed records, with their record "
                                             "numbers, to this comma-delimited file."),
                              QStringLiteral("OUT.csv"));
const QCommandLineOption kBy(QStringLiteral("by"),
                             QStringLiteral("Compares last and first name (name, the default), "
                                            "last name and first initial (initial), or the "
                                            "street address (street)."),
                             QStringLiteral("KIND"));
const QCommandLineOption kChars(QStringLiteral("chars"),
                                QStringLiteral("How many leading characters of the street "
                                               "address are compared, 1 to 30 (default 30)."),
                                QStringLiteral("N"));

struct Column {
    const char* field;
    const char* title;
};

// The columns of each dialog's grid, in its order.
const std::vector<Column> kStateZipColumns = {
    {"ZIP", "Zip/Postal Code"}, {"STATE", "State/Province"}, {"LNAME", "Last"},
    {"FNAME", "First"},         {"ORG", "Organization"},     {"STREET", "Street Address"},
    {"CITY", "City"},           {"COUNTRY", "Country"}};
const std::vector<Column> kDupColumns = {
    {"LNAME", "Last"},       {"FNAME", "First"},      {"MIDDLE", "Mi."},      {"PREFIX", "Prefix"},
    {"TITLE", "Title"},      {"ORG", "Organization"}, {"STREET", "Street"},   {"CITY", "City"},
    {"STATE", "State/Prov"}, {"ZIP", "Zip/Postal"},   {"COUNTRY", "Country"}, {"PHONE", "Phone"},
    {"EMAIL", "E-mail"},     {"FAX", "Fax"},          {"NOTES", "Codes"}};

void printLine(const QString& text) {
    QTextStream(stdout) << text << '\n';
}

// Lists the records through the temporary check index, so the file shows them in the order
// the dialog's grid does, then removes the index.
bool listRecords(batch::Run& run, Dataset& contacts, const std::string& key, const char* indexName,
                 const std::vector<uint32_t>& records, std::vector<Column> columns) {
    if (!run.arguments().isSet(kCsv)) return true;
    const QString indexPath = run.programFolder() + QLatin1String(indexName);
    QByteArray bytes;
    QString failure;
    try {
        xb::WorkArea& area = contacts.area();
        utilities::fillCheckIndex(area, indexPath.toStdString(), key, records);
        QStringList header{QStringLiteral("Record")};
        for (const Column& c : columns)
            header << QLatin1String(c.title);
        bytes += csvLine(header, CsvQuoting::WhenNeeded).toUtf8() + "\r\n";
        for (area.first(); !area.eof(); area.skip(1)) {
            QStringList values{QString::number(area.recNo())};
            for (const Column& c : columns)
                values << QString::fromStdString(area.getText(c.field));
            bytes += csvLine(values, CsvQuoting::WhenNeeded).toUtf8() + "\r\n";
        }
    } catch (const xb::Error& e) {
        failure = QString::fromUtf8(e.what());
    }
    contacts.close();
    QFile::remove(indexPath);
    if (failure.isEmpty()) failure = writeWholeFile(run.arguments().value(kCsv), bytes);
    if (!failure.isEmpty()) {
        run.say(failure);
        return false;
    }
    return true;
}

bool openForCheck(batch::Run& run, Dataset& contacts) {
    if (!run.openContacts(contacts)) return false;
    if (!contacts.setSelection(QString::fromLatin1(kDeletionExclusion))) return false;
    return true;
}

int checkStates(batch::Run& run) {
    Dataset contacts;
    if (!openForCheck(run, contacts)) return batch::kFailed;
    utilities::StateRanges ranges;
    std::vector<uint32_t> records;
    try {
        ranges = utilities::StateRanges::read(
            (run.programFolder() + QLatin1String(stateTable().fileName)).toStdString());
    } catch (const xb::Error& e) {
        run.say(QString::fromLatin1(utilities::kUnableToOpenStates) + u'\n' +
                QString::fromUtf8(e.what()));
        return batch::kFailed;
    }
    try {
        records =
            utilities::findQuestionable(contacts.area(), ranges, run.arguments().isSet(kBlanks));
    } catch (const xb::Error& e) {
        run.say(QString::fromUtf8(e.what()));
        return batch::kFailed;
    }
    if (!listRecords(run, contacts, utilities::kStateZipIndexKey, utilities::kStateZipIndex,
                     records, kStateZipColumns))
        return batch::kFailed;
    printLine(utilities::stateZipFoundText(int(records.size())));
    return batch::kDone;
}

int checkDups(batch::Run& run) {
    const QCommandLineParser& a = run.arguments();
    DupKind kind = DupKind::Name;
    if (a.isSet(kBy)) {
        const QString by = a.value(kBy).toLower();
        if (by == QLatin1String("initial")) {
            kind = DupKind::Initial;
        } else if (by == QLatin1String("street")) {
            kind = DupKind::Street;
        } else if (by != QLatin1String("name")) {
            run.say(QStringLiteral("--by takes name, initial or street"));
            run.say(batch::usageLine(run.def()));
            return batch::kUsage;
        }
    }
    int chars = 30;
    if (a.isSet(kChars)) {
        bool ok = false;
        chars = a.value(kChars).toInt(&ok);
        if (!ok || chars < 1 || chars > 30) {
            run.say(QStringLiteral("--chars takes a number from 1 to 30"));
            run.say(batch::usageLine(run.def()));
            return batch::kUsage;
        }
    }
    Dataset contacts;
    if (!openForCheck(run, contacts)) return batch::kFailed;
    utilities::DupFindings findings;
    try {
        findings = utilities::findDuplicates(contacts.area(), kind, chars);
    } catch (const xb::Error& e) {
        run.say(QString::fromUtf8(e.what()));
        return batch::kFailed;
    }
    std::vector<Column> columns = kDupColumns;
    // The street check shows the street first, as its grid does.
    if (kind == DupKind::Street)
        std::rotate(columns.begin(), columns.begin() + 6, columns.begin() + 7);
    if (!listRecords(run, contacts, utilities::dupIndexKey(kind), utilities::kDupIndex,
                     findings.records, columns))
        return batch::kFailed;
    printLine(utilities::dupFoundText(findings.pairs));
    return batch::kDone;
}

}  // namespace

int runCheckStatesCommandLine(const QStringList& arguments) {
    batch::CommandDef def;
    def.name = QStringLiteral("check-states");
    def.summary = QStringLiteral(
        "Lists the contacts whose state or ZIP code the State/Province file does not back, as "
        "the state and ZIP check does, and prints their count.");
    def.options = {kBlanks, kCsv};
    def.optionsUsage = QStringLiteral("[--blanks] [--csv OUT.csv]");
    def.printRun = false;
    return batch::runCommand(def, arguments, checkStates);
}

int runCheckDupsCommandLine(const QStringList& arguments) {
    batch::CommandDef def;
    def.name = QStringLiteral("check-dups");
    def.summary = QStringLiteral(
        "Lists neighbouring contacts that look alike, as the duplicate check does, and prints "
        "the number of pairs.");
    def.options = {kBy, kChars, kCsv};
    def.optionsUsage = QStringLiteral("[--by name|initial|street] [--chars N] [--csv OUT.csv]");
    def.printRun = false;
    return batch::runCommand(def, arguments, checkDups);
}

}  // namespace qb
