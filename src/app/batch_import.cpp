// The unattended import.
#include "app/batch_import.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "app/batch_front.h"
#include "app/preferences.h"
#include "import/ascii_import.h"
#include "import/dbf_import.h"
#include "store/contact_file.h"
#include "store/date_format.h"

namespace qb {

namespace {

const QCommandLineOption kCsv(QStringLiteral("csv"),
                              QStringLiteral("Imports the comma-delimited file IN.TXT."),
                              QStringLiteral("IN.TXT"));
const QCommandLineOption kDbf(QStringLiteral("dbf"),
                              QStringLiteral("Imports the records of the table IN.DBF."),
                              QStringLiteral("IN.DBF"));
const QCommandLineOption kMap(
    QStringLiteral("map"),
    QStringLiteral("Which value of a line (or field of the table, by number) goes where, e.g. "
                   "1=Last,2=First,7=Memo, with the captions of the Match Fields buttons; "
                   "without it, the order copy out writes (a table: the automatic match)."),
    QStringLiteral("N=Label,..."));
const QCommandLineOption kEncoding(
    QStringLiteral("encoding"),
    QStringLiteral("How the file is read: auto (the default), utf-8 or windows-1252."),
    QStringLiteral("ENC"));
const QCommandLineOption kReplace(
    QStringLiteral("replace-unstorable"),
    QStringLiteral("Imports characters the contact file cannot store as '?'; without it such a "
                   "file is not imported."));
const QCommandLineOption kDryRun(
    QStringLiteral("dry-run"),
    QStringLiteral("Prints what would be imported and changes nothing."));

int wrong(const batch::Run& run, const QString& what) {
    run.say(what);
    run.say(batch::usageLine(run.def()));
    return batch::kUsage;
}

// The matches from --map: a caption for each value position.
bool readMap(const QString& text, QStringList& matches, QString& fault) {
    for (const QString& item : text.split(u',', Qt::SkipEmptyParts)) {
        const qsizetype eq = item.indexOf(u'=');
        bool ok = false;
        const int n = eq > 0 ? item.left(eq).trimmed().toInt(&ok) : 0;
        const QString caption = eq > 0 ? item.mid(eq + 1).trimmed() : QString();
        if (!ok || n < 1 || n > import::kMaxImportFields) {
            fault = QStringLiteral("--map: \"%1\" is not N=Label with N from 1 to %2")
                        .arg(item)
                        .arg(import::kMaxImportFields);
            return false;
        }
        QString known;
        for (const import::MatchButton& b : import::asciiMatchButtons())
            if (caption.compare(QLatin1String(b.caption), Qt::CaseInsensitive) == 0)
                known = QLatin1String(b.caption);
        if (known.isEmpty() || known == QLatin1String("(none)")) {
            fault = QStringLiteral("--map: there is no field \"%1\"").arg(caption);
            return false;
        }
        while (matches.size() < n)
            matches << QString();
        if (!matches[n - 1].isEmpty() ||
            (known != QLatin1String("Memo") && matches.contains(known))) {
            fault = QStringLiteral("--map: \"%1\" is given twice").arg(item);
            return false;
        }
        matches[n - 1] = known;
    }
    return true;
}

int dryRun(const batch::Run& run, const QString& source, TextEncoding encoding,
           const QStringList& matches) {
    const import::AsciiSample sample = import::sampleAsciiFile(source, encoding);
    if (!sample.problem.isEmpty()) {
        run.say(sample.problem);
        return batch::kFailed;
    }
    std::printf("%s: %s, %d values a line\n", source.toLocal8Bit().constData(),
                textEncodingName(sample.encoding).toLocal8Bit().constData(), sample.fieldCount);
    for (int i = 0; i < sample.fieldCount; ++i) {
        const QString match = matches.value(i);
        std::printf(
            "  value %d -> %s (first line: \"%s\")\n", i + 1,
            (match.isEmpty() ? QStringLiteral("not imported") : match).toLocal8Bit().constData(),
            sample.lines.front().value(i).toLocal8Bit().constData());
    }
    return batch::kDone;
}

// The table's fields with their matches: --map by field number, else the automatic match.
bool tableMatches(const batch::Run& run, std::vector<import::SourceField>& fields,
                  const QStringList& mapped) {
    if (!run.arguments().isSet(kMap)) {
        import::applyAutomaticMatch(fields);
        return true;
    }
    for (int i = 0; i < mapped.size(); ++i) {
        if (mapped[i].isEmpty()) continue;
        if (i >= int(fields.size())) {
            run.say(QStringLiteral("--map: the table has no field %1").arg(i + 1));
            return false;
        }
        int row = 0;
        while (row < int(import::dbfMatchRows().size()) &&
               mapped[i] != QLatin1String(import::dbfMatchRows()[size_t(row)].label))
            ++row;
        if (!import::offeredFields(fields, row).contains(fields[size_t(i)].name)) {
            run.say(QStringLiteral("--map: field %1 (%2) cannot go into %3")
                        .arg(i + 1)
                        .arg(fields[size_t(i)].name, mapped[i]));
            return false;
        }
        fields[size_t(i)].match = mapped[i];
    }
    return true;
}

int importFile(batch::Run& run) {
    const QCommandLineParser& a = run.arguments();
    if (a.isSet(kCsv) == a.isSet(kDbf)) return wrong(run, QStringLiteral("Give --csv or --dbf"));
    const bool table = a.isSet(kDbf);
    const QString source = QFileInfo(a.value(table ? kDbf : kCsv)).absoluteFilePath();
    TextEncoding encoding = TextEncoding::Auto;
    if (a.isSet(kEncoding) && !parseTextEncoding(a.value(kEncoding), encoding))
        return wrong(run, QStringLiteral("--encoding takes auto, utf-8 or windows-1252"));
    QStringList matches = import::copyOutMatches();
    if (a.isSet(kMap)) {
        matches.clear();
        QString fault;
        if (!readMap(a.value(kMap), matches, fault)) return wrong(run, fault);
    }
    setCurrentDateFormat(
        Preferences::load(Settings(run.programFolder() + QStringLiteral("QUILLB.INI")))
            .dateFormat());
    import::DbfSource dbf;
    if (table) {
        if (a.isSet(kEncoding))
            return wrong(run, QStringLiteral("--encoding goes with --csv only"));
        dbf = import::readDbfSource(source);
        if (!dbf.problem.isEmpty()) {
            run.say(dbf.problem);
            return batch::kFailed;
        }
        if (!tableMatches(run, dbf.fields, matches)) return batch::kUsage;
        if (a.isSet(kDryRun)) {
            std::printf("%s: %u records\n", source.toLocal8Bit().constData(), dbf.records);
            for (const import::SourceField& f : dbf.fields)
                std::printf("  %s (%c %d) -> %s\n", f.name.toLocal8Bit().constData(), f.type,
                            f.width,
                            (f.match.isEmpty() ? QStringLiteral("not imported") : f.match)
                                .toLocal8Bit()
                                .constData());
            return batch::kDone;
        }
    } else if (a.isSet(kDryRun)) {
        return dryRun(run, source, encoding, matches);
    }

    const QString file = run.contactFilePath();
    if (!QFileInfo::exists(file)) {
        run.say(QStringLiteral("The contact file %1 does not exist").arg(file));
        return batch::kFailed;
    }
    // The import needs the file alone, as the window's import does; a missing index is no
    // obstacle, since the import rebuilds it.
    Dataset contacts;
    const auto tell = [&](const QString& m) { run.say(m); };
    QString reason;
    if (!OpenTableFile(file, contacts, tell, xb::UseMode::Exclusive, &reason)) {
        run.say(unableToOpenMessage(file, reason));
        return batch::kFailed;
    }
    import::ImportObserver observer;
    observer.replaceUnholdable = [&](const QString& question) {
        run.say(question + (a.isSet(kReplace)
                                ? QStringLiteral("\n(answered Yes: --replace-unstorable)")
                                : QStringLiteral("\n(answered No: --replace-unstorable imports "
                                                 "them as '?')")));
        return a.isSet(kReplace);
    };
    const import::ImportResult result =
        table ? import::importDbfFile(contacts.area(), source, dbf.fields, observer)
              : import::importAsciiFile(contacts.area(), source, encoding, matches, observer);
    int code = batch::kDone;
    if (!result.error.isEmpty()) {
        run.say(result.error);
        code = batch::kFailed;
    }
    if (result.declined) code = batch::kFailed;
    if (result.indexDropped) {
        run.say(import::importOutcomeMessage(result));
        run.say(QStringLiteral("Rebuilding Indexes "));
        if (!BuildContactIndexes(contacts, tell)) code = batch::kFailed;
    }
    contacts.close();
    return code;
}

}  // namespace

int runImportCommandLine(const QStringList& arguments) {
    batch::CommandDef def;
    def.name = QStringLiteral("import");
    def.summary = QStringLiteral(
        "Appends a contact for each line of a comma-delimited file or each record of a table, "
        "as the ASCII and DBF imports do, then rebuilds the indexes.");
    def.options = {kCsv, kDbf, kMap, kEncoding, kReplace, kDryRun};
    def.optionsUsage = QStringLiteral(
        "(--csv IN.TXT | --dbf IN.DBF) [--map N=Label,...] [--encoding auto|utf-8|windows-1252] "
        "[--replace-unstorable] [--dry-run]");
    def.printRun = false;
    return batch::runCommand(def, arguments, importFile);
}

}  // namespace qb
