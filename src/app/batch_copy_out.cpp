// The unattended copy out.
#include "app/batch_copy_out.h"

#include <QFileInfo>

#include "app/batch_front.h"
#include "app/preferences.h"
#include "store/contact_file.h"
#include "store/contact_schema.h"
#include "store/counted.h"
#include "store/date_format.h"
#include "utilities/copy_out.h"

namespace qb {

namespace {

const QCommandLineOption kDbf(QStringLiteral("dbf"),
                              QStringLiteral("Copies into a new table OUT.DBF (memo included)."),
                              QStringLiteral("OUT.DBF"));
const QCommandLineOption kCsv(QStringLiteral("csv"),
                              QStringLiteral("Copies into a comma-delimited text file."),
                              QStringLiteral("OUT.TXT"));
const QCommandLineOption kEncoding(
    QStringLiteral("encoding"),
    QStringLiteral("The text file's encoding: utf-8 (the default) or windows-1252."),
    QStringLiteral("ENC"));
const QCommandLineOption kFilter(QStringLiteral("filter"),
                                 QStringLiteral("Only the records for which EXPR is true."),
                                 QStringLiteral("EXPR"));
const QCommandLineOption kOverwrite(QStringLiteral("overwrite"),
                                    QStringLiteral("Replaces the target when it exists."));

int wrong(const batch::Run& run, const QString& what) {
    run.say(what);
    run.say(batch::usageLine(run.def()));
    return batch::kUsage;
}

int copyOut(batch::Run& run) {
    const QCommandLineParser& a = run.arguments();
    if (a.isSet(kDbf) == a.isSet(kCsv)) return wrong(run, QStringLiteral("Give --dbf or --csv"));
    const utilities::CopyKind kind =
        a.isSet(kDbf) ? utilities::CopyKind::Dbf : utilities::CopyKind::Text;
    const QString target = QFileInfo(a.value(a.isSet(kDbf) ? kDbf : kCsv)).absoluteFilePath();
    TextEncoding encoding = TextEncoding::Utf8;
    if (a.isSet(kEncoding)) {
        if (!parseTextEncoding(a.value(kEncoding), encoding) || encoding == TextEncoding::Auto)
            return wrong(run, QStringLiteral("--encoding takes utf-8 or windows-1252"));
        if (kind == utilities::CopyKind::Dbf)
            return wrong(run, QStringLiteral("--encoding goes with --csv only"));
    }
    setCurrentDateFormat(
        Preferences::load(Settings(run.programFolder() + QStringLiteral("QUILLB.INI")))
            .dateFormat());

    const QString file = run.contactFilePath();
    const QString problem = utilities::copyTargetProblem(file, target, kind);
    if (!problem.isEmpty()) {
        run.say(problem);
        return batch::kFailed;
    }
    if (QFileInfo::exists(target) && !a.isSet(kOverwrite)) {
        run.say(utilities::overwriteQuestion(target) +
                QStringLiteral("\n(answered No: --overwrite replaces it)"));
        return batch::kFailed;
    }
    // Copying only reads: a file another reader has open, or one the user may not change,
    // still serves; an index out of step leaves the copy in record order.
    Dataset contacts;
    if (!QFileInfo::exists(file)) {
        run.say(QStringLiteral("The contact file %1 does not exist").arg(file));
        return batch::kFailed;
    }
    if (!OpenContactFile(
            file, contacts, [&](const QString& m) { run.say(m); }, xb::UseMode::ReadOnly))
        return batch::kFailed;
    QString selection = QString::fromLatin1(kDeletionExclusion);
    if (a.isSet(kFilter))
        selection = u'(' + a.value(kFilter) + QStringLiteral(").and. ") + selection;
    if (!contacts.setSelection(selection)) {
        run.say(QStringLiteral("The filter is not a valid expression: ") + a.value(kFilter));
        return batch::kFailed;
    }
    if (contacts.selectionRecordCount() == 0) {
        run.say(QString::fromLatin1(utilities::kNothingToCopy));
        return batch::kFailed;
    }
    const utilities::CopyResult result =
        utilities::copyRecordsOut(contacts, kind, target, encoding);
    contacts.close();
    if (!result.error.isEmpty()) {
        run.say(result.error + (result.detail.isEmpty() ? QString() : u'\n' + result.detail));
        return batch::kFailed;
    }
    run.say(
        QStringLiteral("Copied %1 to %2").arg(counted(result.copied, "record", "records"), target));
    return batch::kDone;
}

}  // namespace

int runCopyOutCommandLine(const QStringList& arguments) {
    batch::CommandDef def;
    def.name = QStringLiteral("copy-out");
    def.summary = QStringLiteral(
        "Copies the contacts (soft-deleted ones left out) to a new table or a comma-delimited "
        "text file, as Copy Records Out does.");
    def.options = {kDbf, kCsv, kEncoding, kFilter, kOverwrite};
    def.optionsUsage = QStringLiteral(
        "(--dbf OUT.DBF | --csv OUT.TXT) [--encoding utf-8|windows-1252] [--filter EXPR] "
        "[--overwrite]");
    def.printRun = false;
    return batch::runCommand(def, arguments, copyOut);
}

}  // namespace qb
