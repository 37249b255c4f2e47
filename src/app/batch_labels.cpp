// The unattended label run.
#include "app/batch_labels.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "app/labels_command.h"
#include "app/mru_list.h"
#include "controls/prompts.h"
#include "labels/label_print.h"
#include "labels/qb_labels.h"
#include "output/printer_catalog.h"
#include "output/printer_device.h"
#include "output/report_error.h"
#include "presort/bulk_mail_presort.h"
#include "presort/presort_file.h"
#include "store/contact_file.h"
#include "store/contact_schema.h"
#include "store/program_folder.h"
#include "xbase/error.h"

namespace qb {

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

void say(const QString& text) {
    // Message boxes break lines with CR LF or CR alone; a terminal wants LF.
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    line.replace(u'\r', u'\n');
    std::fprintf(stderr, "quillbank labels: %s\n", line.trimmed().toLocal8Bit().constData());
}

// Messages go to standard error; questions are answered No, since nobody is there to ask.
class StandardErrorPrompts : public Prompts {
  public:
    void information(QWidget*, const QString& text) override { say(text); }
    void error(QWidget*, const QString& text) override {
        // A fault met again while the run winds down (restoring the order, the record) is
        // the same fault: it is told once.
        if (!told.contains(text)) say(text);
        told << text;
        failed = true;
    }
    bool confirm(QWidget*, const QString&, const QString& text, Default) override {
        say(text + QStringLiteral("\n(answered No: the run is unattended)"));
        failed = true;
        return false;
    }
    std::optional<QString> inputText(QWidget*, const QString&, const QString&,
                                     const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> openFile(QWidget*, const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFile(QWidget*, const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont&, const QString&) override {
        return std::nullopt;
    }
    bool printDialog(QWidget*, QPrinter&) override { return false; }
    bool printerSetupDialog(QWidget*, PrinterSetupRequest&) override { return false; }
    void showHelp(QWidget*, int) override {}

    bool failed = false;
    QStringList told;
};

class QuietPresort : public presort::PresortObserver {
  public:
    void showProgress(const QString&) override {}
    bool cancelRequested() override { return false; }
};

// The presort and the pass without their windows; nothing to preview.
class UnattendedFrontEnd : public labels::LabelJobFrontEnd {
  public:
    explicit UnattendedFrontEnd(const StandardErrorPrompts& messages) : messages_(messages) {}

    bool runPresort(Dataset& contacts, const QString& programFolder) override {
        QuietPresort observer;
        presort::BulkMailPresort run(observer);
        try {
            return run.run(contacts.area(), programFolder);
        } catch (const presort::PresortFileError& e) {
            prompts().error(nullptr, QString::fromUtf8(e.what()));
        } catch (const xb::Error& e) {
            prompts().error(nullptr, QString::fromUtf8(e.what()));
        }
        return false;
    }
    bool runPass(labels::TLabelPrint& window) override {
        // A run that has already met an error (reading the records for the scope, say) would
        // print from a selection that is not what was asked for.
        if (messages_.failed) return false;
        try {
            window.RunUnshown();
        } catch (const ReportError& e) {
            prompts().error(nullptr, e.message());
            return false;
        } catch (const std::exception& e) {
            prompts().error(nullptr, QString::fromLocal8Bit(e.what()));
            return false;
        }
        if (const labels::LabelSheetRun* run = window.run()) {
            labels = run->recordLabels();
            separators = run->separatorLabels();
        }
        pages = window.Engine().CurrentPage();
        return true;
    }
    void showPreview(QIODevice&) override {}

    int labels = 0;
    int separators = 0;
    int pages = 0;

  private:
    const StandardErrorPrompts& messages_;
};

struct Options {
    QString setup;
    bool hasSetup = false;
    ScopeChoice scope = ScopeChoice::AllRecords;
    QString filter;
    bool presort = false;
    int copies = 1;
    QString pdf;
    QString home;
    QString contactFile;
};

// Reads the arguments; an empty text when they are usable, else what is wrong.
QString parse(const QStringList& arguments, Options& o) {
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption setup(QStringLiteral("setup"), QString(), QStringLiteral("name"));
    const QCommandLineOption scope(QStringLiteral("scope"), QString(), QStringLiteral("scope"));
    const QCommandLineOption filter(QStringLiteral("filter"), QString(), QStringLiteral("expr"));
    const QCommandLineOption presortOption(QStringLiteral("presort"));
    const QCommandLineOption copies(QStringLiteral("copies"), QString(), QStringLiteral("n"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QString(), QStringLiteral("file"));
    const QCommandLineOption home(QStringLiteral("home"), QString(), QStringLiteral("folder"));
    p.addOptions({setup, scope, filter, presortOption, copies, pdf, home});
    p.addPositionalArgument(QStringLiteral("contactfile"), QString());
    if (!p.parse(QStringList{QStringLiteral("quillbank")} + arguments)) return p.errorText();

    o.hasSetup = p.isSet(setup);
    o.setup = p.value(setup);
    o.filter = p.value(filter);
    o.presort = p.isSet(presortOption);
    o.home = p.value(home);
    o.pdf = p.value(pdf);
    if (o.pdf.isEmpty()) return QStringLiteral("--pdf OUT.pdf is required");
    if (p.isSet(copies)) {
        bool ok = false;
        o.copies = p.value(copies).toInt(&ok);
        if (!ok || o.copies < 1 || o.copies > 999)
            return QStringLiteral("--copies takes a number from 1 to 999");
    }
    const QString scopeText = p.value(scope);
    if (scopeText == u"all" || scopeText.isEmpty()) {
        o.scope = ScopeChoice::AllRecords;
    } else if (scopeText == u"filter") {
        o.scope = ScopeChoice::MatchingFilter;
    } else if (scopeText == u"current") {
        o.scope = ScopeChoice::OnlyCurrent;
    } else {
        return QStringLiteral("--scope takes all, filter or current");
    }
    if (p.isSet(filter)) {
        if (p.isSet(scope) && o.scope != ScopeChoice::MatchingFilter)
            return QStringLiteral("--filter goes with --scope filter only");
        o.scope = ScopeChoice::MatchingFilter;
    }
    if (o.presort && o.scope == ScopeChoice::OnlyCurrent)
        return QStringLiteral("--presort cannot be used with --scope current");
    const QStringList files = p.positionalArguments();
    if (files.size() > 1) return QStringLiteral("only one contact file can be given");
    if (!files.isEmpty()) o.contactFile = files.front();
    return {};
}

// The file the program would open at start-up: the most recent one, else the default file.
QString startUpFile(const QString& programFolder) {
    const QStringList recent = GetMRUList(Settings(programFolder + QStringLiteral("QUILLB.INI")));
    if (!recent.isEmpty()) return recent.front();
    return programFolder + QStringLiteral("QUILLB1.DBF");
}

// Finds the named setup (trimmed, letter case ignored); false when there is none.
bool goToSetup(Dataset& setups, const QString& name) {
    for (setups.first(); !setups.eof(); setups.next()) {
        if (setups.text(QStringLiteral("DESCRIPT"))
                .trimmed()
                .compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

}  // namespace

int runLabelsCommandLine(const QStringList& arguments) {
    StandardErrorPrompts messages;
    ScopedPrompts scoped(messages);

    Options o;
    if (const QString fault = parse(arguments, o); !fault.isEmpty()) {
        say(fault);
        say(
            QStringLiteral("usage: quillbank labels [--setup NAME] [--scope all|filter|current] "
                           "[--filter EXPR] [--presort] [--copies N] --pdf OUT.pdf "
                           "[CONTACTFILE]"));
        return kUsage;
    }

    const QString folder = resolveProgramFolder(o.home, QCoreApplication::applicationDirPath());
    provideShippedTables(folder, QCoreApplication::applicationDirPath());
    Dataset::setHideMarkedRecords(true);

    // The label setup.
    Dataset setups;
    try {
        setups.open(folder + QLatin1String(labels::kLabelSetupFileName), xb::UseMode::ReadOnly);
    } catch (const xb::Error&) {
        say(QString::fromLatin1(labels::kUnableToOpenSetups));
        return kFailed;
    }
    if (o.hasSetup && !goToSetup(setups, o.setup)) {
        say(QStringLiteral("There is no label setup named \"%1\"").arg(o.setup));
        return kFailed;
    }
    if (!o.hasSetup) setups.first();
    const labels::LabelSetup setup = labels::ReadLabelSetup(setups.area());
    setups.close();

    // The contacts and their selection.
    const QString file = o.contactFile.isEmpty() ? startUpFile(folder) : o.contactFile;
    if (!QFileInfo::exists(file)) {
        say(QStringLiteral("The contact file %1 does not exist").arg(file));
        return kFailed;
    }
    Dataset contacts;
    QObject::connect(&contacts, &Dataset::failed,
                     [&messages](const QString& m) { messages.error(nullptr, m); });
    if (!OpenContactFile(QFileInfo(file).absoluteFilePath(), contacts,
                         [](const QString& m) { say(m); }))
        return kFailed;
    const QString exclusion = QString::fromLatin1(kDeletionExclusion);
    if (!o.filter.isEmpty()) {
        // The same joining and the same limit as the Filter page's filter.
        if (o.filter.size() + 30 > 255) {
            say(QStringLiteral("Sorry - filter is too complex.Please simplify it."));
            return kFailed;
        }
        if (!contacts.setSelection(o.filter + QStringLiteral(".and. ") + exclusion)) return kFailed;
    } else if (!contacts.setSelection(exclusion)) {
        return kFailed;
    }
    contacts.first();
    if (!contacts.onRecord()) {
        say(QStringLiteral("No records to print"));
        return kFailed;
    }

    // The "PDF file" printer, writing where it was told instead of asking.
    if (!PrinterCatalog::names().contains(PrinterCatalog::pdfPrinterName())) {
        say(QString::fromLatin1(kNoPrintersForLabels));
        return kFailed;
    }
    PrinterDevice& device = PrinterDevice::shared();
    device.selectPrinter(PrinterCatalog::pdfPrinterName());
    device.setCopies(1);
    const QString out = QFileInfo(o.pdf).absoluteFilePath();
    device.setOutputFileName(out);

    labels::LabelJobRequest request;
    request.setup = setup;
    request.scope = o.scope;
    request.presort = o.presort;
    request.copies = o.copies;
    request.preview = false;
    bool presortDone = false;
    UnattendedFrontEnd frontEnd(messages);
    const labels::LabelJobOutcome outcome =
        labels::DoPrint(contacts, folder, request, presortDone, frontEnd, nullptr);
    PrinterDevice::releaseShared();
    contacts.close();

    if (outcome != labels::LabelJobOutcome::Completed || messages.failed || !QFileInfo::exists(out))
        return kFailed;
    QString done = QStringLiteral("%1 labels").arg(frontEnd.labels);
    if (frontEnd.separators > 0)
        done += QStringLiteral(" and %1 separators").arg(frontEnd.separators);
    say(done + QStringLiteral(" on %1 pages written to %2").arg(frontEnd.pages).arg(out));
    return kDone;
}

}  // namespace qb
