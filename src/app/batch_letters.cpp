// The unattended letter run and the template transfers.
#include "app/batch_letters.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include "app/batch_front.h"
#include "app/preferences.h"
#include "letters/letter_print.h"
#include "letters/letter_store.h"
#include "richtext/rtf_reader.h"
#include "store/counted.h"
#include "store/date_format.h"
#include "store/output_file.h"
#include "store/settings.h"

namespace qb {

namespace {

const QCommandLineOption kLetter(QStringLiteral("letter"),
                                 QStringLiteral("Prints the letter of this description (letter "
                                                "case ignored); the first one otherwise."),
                                 QStringLiteral("NAME"));
const QCommandLineOption kCopies(QStringLiteral("copies"),
                                 QStringLiteral("Prints N copies of each letter (1 to 999)."),
                                 QStringLiteral("N"));
const QCommandLineOption kDate(QStringLiteral("date"),
                               QStringLiteral("Writes this day as Today's Date, so runs repeat "
                                              "exactly."),
                               QStringLiteral("YYYY-MM-DD"));
const QCommandLineOption kImport(QStringLiteral("import"),
                                 QStringLiteral("Stores the RTF file named after NAME as the "
                                                "letter NAME (replacing a letter of that name)."),
                                 QStringLiteral("NAME"));
const QCommandLineOption kExport(QStringLiteral("export"),
                                 QStringLiteral("Writes the letter NAME to the RTF file named "
                                                "after it."),
                                 QStringLiteral("NAME"));

int usage(const batch::Run& run, const QString& fault) {
    run.say(fault);
    run.say(batch::usageLine(run.def()));
    return batch::kUsage;
}

int printLetters(batch::Run& run) {
    const QCommandLineParser& a = run.arguments();
    letters::LetterPrintRequest request;
    if (a.isSet(kCopies)) {
        bool ok = false;
        request.job.copies = a.value(kCopies).toInt(&ok);
        if (!ok || request.job.copies < 1 || request.job.copies > 999)
            return usage(run, QStringLiteral("--copies takes a number from 1 to 999"));
    }
    // Today's Date is written as the program writes dates, in the format of the settings file.
    setCurrentDateFormat(
        Preferences::load(Settings(run.programFolder() + QStringLiteral("QUILLB.INI")))
            .dateFormat());
    request.job.date = xb::today();
    if (a.isSet(kDate)) {
        const QDate day = QDate::fromString(a.value(kDate), Qt::ISODate);
        if (!day.isValid()) return usage(run, QStringLiteral("--date takes a day as YYYY-MM-DD"));
        request.job.date = xb::jdnFromYmd(day.year(), day.month(), day.day());
    }
    request.scope = run.scope();
    Dataset table;
    if (!letters::openLettersTable(run.programFolder(), table, xb::UseMode::ReadOnly)) {
        run.say(QString::fromLatin1(letters::kUnableToOpenOrCreate));
        return batch::kFailed;
    }
    if (a.isSet(kLetter) ? !letters::findLetter(table, a.value(kLetter)) : !table.onRecord()) {
        run.say(a.isSet(kLetter)
                    ? QStringLiteral("There is no letter named \"%1\"").arg(a.value(kLetter))
                    : QStringLiteral("There are no letters"));
        return batch::kFailed;
    }
    QTextDocument letter;
    const QString notice = letters::LoadRichText(table, letter, request.job.page);
    if (!notice.isEmpty()) run.say(notice);
    table.close();
    request.job.letter = &letter;

    Dataset contacts;
    if (!run.openContacts(contacts) || !run.selectRecords(contacts)) return batch::kFailed;
    if (!run.usePdfPrinter(QString::fromLatin1(letters::kNoPrintersForLetters)))
        return batch::kFailed;
    const letters::LetterPrintResult result =
        letters::DoPrintLetters(contacts, request, nullptr, false);
    contacts.close();
    if (result.end == letters::LetterRunEnd::Failed) run.say(result.failure);
    const QString out = run.pdfPath();
    if (result.end != letters::LetterRunEnd::Completed || run.troubled() || !QFileInfo::exists(out))
        return batch::kFailed;
    run.say(counted(result.letters, "letter", "letters") + QStringLiteral(" on ") +
            counted(result.pages, "page", "pages") + QStringLiteral(" written to ") + out);
    return batch::kDone;
}

int transferLetter(batch::Run& run, const QString& file) {
    const QCommandLineParser& a = run.arguments();
    const bool import = a.isSet(kImport);
    if (import == a.isSet(kExport))
        return usage(run, QStringLiteral("give either --import or --export"));
    const QString name = (import ? a.value(kImport) : a.value(kExport)).trimmed();
    if (name.isEmpty() || file.isEmpty())
        return usage(run, QStringLiteral("a letter's name and an RTF file are needed"));
    Dataset table;
    if (!letters::openLettersTable(run.programFolder(), table,
                                   import ? xb::UseMode::Exclusive : xb::UseMode::ReadOnly)) {
        run.say(QString::fromLatin1(letters::kUnableToOpenOrCreate));
        return batch::kFailed;
    }
    const bool found = letters::findLetter(table, name);
    if (!import) {
        if (!found) {
            run.say(QStringLiteral("There is no letter named \"%1\"").arg(name));
            return batch::kFailed;
        }
        // The memo already holds the letter as RTF; it goes out as it is.
        const QString why = writeWholeFile(file, letters::storedRtf(table));
        if (!why.isEmpty()) {
            run.say(why);
            return batch::kFailed;
        }
        run.say(QStringLiteral("Letter \"%1\" written to %2").arg(name, file));
        return batch::kDone;
    }

    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        run.say(QStringLiteral("Cannot read %1: %2").arg(file, in.errorString()));
        return batch::kFailed;
    }
    QTextDocument doc;
    richtext::PageSettings page;
    letters::newLetter(doc, page);
    const richtext::RtfReadResult read = richtext::readRtf(in.readAll(), doc, page);
    if (!read.readable) {
        run.say(QStringLiteral("%1 is not an RTF file").arg(file));
        return batch::kFailed;
    }
    if (!read.notice.isEmpty()) run.say(read.notice);
    QString why;
    if (!letters::saveLetter(table, !found, name, doc, page, &why)) {
        run.say(why);
        return batch::kFailed;
    }
    run.say(QStringLiteral("Letter \"%1\" %2 from %3")
                .arg(name, found ? QStringLiteral("replaced") : QStringLiteral("stored"), file));
    return batch::kDone;
}

}  // namespace

int runLettersCommandLine(const QStringList& arguments) {
    batch::CommandDef def;
    def.name = QStringLiteral("letters");
    // A transfer takes the RTF file after the letter's name; it needs no contacts or printer.
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        for (const QString& option : {QStringLiteral("import"), QStringLiteral("export")}) {
            // The name follows as the next word, or in the same word after "=".
            const bool joined = word.startsWith(QStringLiteral("--") + option + u'=') ||
                                word.startsWith(u'-' + option + u'=');
            if (!joined && word != QStringLiteral("--") + option && word != u'-' + option) continue;
            QStringList rest = arguments;
            QString file;
            const qsizetype at = i + (joined ? 1 : 2);
            if (at < rest.size() && !rest[at].startsWith(u'-')) file = rest.takeAt(at);
            def.summary = QStringLiteral(
                "Moves a letter between the letters table and an RTF "
                "file a word processor reads and writes.");
            def.options = {kImport, kExport};
            def.optionsUsage = QStringLiteral("--import NAME FILE.rtf | --export NAME FILE.rtf");
            def.printRun = false;
            def.contactFile = false;
            return batch::runCommand(
                def, rest, [&file](batch::Run& run) { return transferLetter(run, file); });
        }
    }
    def.summary = QStringLiteral(
        "Prints a letter for each chosen contact, as Print Now in the Print Letters window does. "
        "With --import or --export it moves a letter between the letters table and an RTF file.");
    def.options = {kLetter, kCopies, kDate, kImport, kExport};
    def.optionsUsage = QStringLiteral("[--letter NAME] [--copies N] [--date YYYY-MM-DD]");
    def.recordScope = true;
    return batch::runCommand(def, arguments, printLetters);
}

}  // namespace qb
