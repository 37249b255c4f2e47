// The shared front end of the unattended commands.
#include "app/batch_front.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "app/mru_list.h"
#include "controls/prompts.h"
#include "output/printer_catalog.h"
#include "output/printer_device.h"
#include "store/contact_file.h"
#include "store/contact_schema.h"
#include "store/program_folder.h"

namespace qb::batch {

namespace {

// The selection may be at most this long, as on the Filter page.
constexpr qsizetype kMaxSelection = 255;

QString asLines(QString text) {
    // Message boxes break lines with CR LF or CR alone; a terminal wants LF.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text.trimmed();
}

// Messages go to standard error; questions are answered No, since nobody is there to ask.
class StandardErrorPrompts : public Prompts {
  public:
    explicit StandardErrorPrompts(const QString& command) : command_(command) {}

    void say(const QString& text) const {
        std::fprintf(stderr, "quillbank %s: %s\n", command_.toLocal8Bit().constData(),
                     asLines(text).toLocal8Bit().constData());
    }

    void information(QWidget*, const QString& text) override { say(text); }
    void error(QWidget*, const QString& text) override {
        // A fault met again while the run winds down (restoring the order, the record) is
        // the same fault: it is told once.
        if (!told_.contains(text)) say(text);
        told_ << text;
        troubled = true;
    }
    bool confirm(QWidget*, const QString&, const QString& text, Default) override {
        say(text + QStringLiteral("\n(answered No: the run is unattended)"));
        troubled = true;
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

    bool troubled = false;

  private:
    QString command_;
    QStringList told_;
};

StandardErrorPrompts* g_messages = nullptr;

const QCommandLineOption& helpOption() {
    static const QCommandLineOption o({QStringLiteral("h"), QStringLiteral("help")},
                                      QStringLiteral("Shows this text."));
    return o;
}
const QCommandLineOption& homeOption() {
    static const QCommandLineOption o(QStringLiteral("home"),
                                      QStringLiteral("Keeps settings and tables in DIR."),
                                      QStringLiteral("DIR"));
    return o;
}
const QCommandLineOption& pdfOption() {
    static const QCommandLineOption o(QStringLiteral("pdf"),
                                      QStringLiteral("Writes the output to FILE, a PDF file."),
                                      QStringLiteral("FILE"));
    return o;
}
// Only the name matters to the parser; the description says which scope the command takes
// when none is given, so it is made per command.
QCommandLineOption scopeOption(const CommandDef& def = {}) {
    const bool current = def.defaultScope == ScopeChoice::OnlyCurrent;
    return QCommandLineOption(
        QStringLiteral("scope"),
        current ? QStringLiteral("Which records: current (the default: the record the program "
                                 "would start on), all, or filter (those matching --filter).")
                : QStringLiteral("Which records: all (the default), filter (those matching "
                                 "--filter) or current (the record the program would start on)."),
        QStringLiteral("SCOPE"));
}
const QCommandLineOption& filterOption() {
    static const QCommandLineOption o(QStringLiteral("filter"),
                                      QStringLiteral("Only the records for which EXPR is true."),
                                      QStringLiteral("EXPR"));
    return o;
}

QList<QCommandLineOption> allOptions(const CommandDef& def) {
    QList<QCommandLineOption> options{helpOption(), homeOption()};
    options += def.options;
    if (def.recordScope && !def.filterOnly) options += scopeOption(def);
    if (def.recordScope) options += filterOption();
    if (def.printRun) options += pdfOption();
    return options;
}

QString helpText(const CommandDef& def) {
    QString text =
        usageLine(def) + QStringLiteral("\n\n") + def.summary + QStringLiteral("\n\nOptions:\n");
    for (const QCommandLineOption& o : allOptions(def)) {
        QStringList names;
        for (const QString& n : o.names())
            names << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
        QString left = names.join(QStringLiteral(", "));
        if (!o.valueName().isEmpty()) left += u' ' + o.valueName();
        text += QStringLiteral("  %1  %2\n").arg(left, -24).arg(o.description());
    }
    if (def.contactFile)
        text += QStringLiteral(
            "\nCONTACTFILE is the contact file to use; without it the program's start-up file "
            "is used.\n");
    text += QStringLiteral("\nExit status: 0 done, 1 failed, 2 wrong arguments.\n");
    return text;
}

// The file the program would open at start-up: the most recent one, else the default file.
QString startUpFile(const QString& programFolder) {
    const QStringList recent = GetMRUList(Settings(programFolder + QStringLiteral("QUILLB.INI")));
    if (!recent.isEmpty()) return recent.front();
    return programFolder + QStringLiteral("QUILLB1.DBF");
}

bool isHomeOption(const QString& word) {
    return word == u"--home" || word == u"-home";
}

}  // namespace

QString usageLine(const CommandDef& def) {
    QString line = QStringLiteral("usage: quillbank ") + def.name + QStringLiteral(" [--home DIR]");
    if (!def.optionsUsage.isEmpty()) line += u' ' + def.optionsUsage;
    if (def.recordScope && !def.filterOnly) line += QStringLiteral(" [--scope all|filter|current]");
    if (def.recordScope) line += QStringLiteral(" [--filter EXPR]");
    if (def.printRun && !def.pdfOptional) line += QStringLiteral(" --pdf OUT.pdf");
    if (def.contactFile) line += QStringLiteral(" [CONTACTFILE]");
    if (!def.argumentName.isEmpty()) line += u' ' + def.argumentName;
    return line;
}

Run::Run(const CommandDef& def, QCommandLineParser& parser, QString programFolder)
    : def_(def), parser_(parser), programFolder_(std::move(programFolder)) {}

QString Run::pdfPath() const {
    return QFileInfo(parser_.value(pdfOption())).absoluteFilePath();
}

void Run::say(const QString& text) const {
    if (g_messages) g_messages->say(text);
}

bool Run::troubled() const {
    return g_messages && g_messages->troubled;
}

QString Run::readScope() {
    const bool scopeOffered = !def_.filterOnly;
    const QString scopeText = scopeOffered ? parser_.value(scopeOption()) : QString();
    if (scopeText.isEmpty()) {
        scope_ = def_.defaultScope;
    } else if (scopeText == u"all") {
        scope_ = ScopeChoice::AllRecords;
    } else if (scopeText == u"filter") {
        scope_ = ScopeChoice::MatchingFilter;
    } else if (scopeText == u"current") {
        scope_ = ScopeChoice::OnlyCurrent;
    } else {
        return QStringLiteral("--scope takes all, filter or current");
    }
    if (parser_.isSet(filterOption())) {
        if (scopeOffered && parser_.isSet(scopeOption()) && scope_ != ScopeChoice::MatchingFilter)
            return QStringLiteral("--filter goes with --scope filter only");
        scope_ = ScopeChoice::MatchingFilter;
        filter_ = parser_.value(filterOption());
        if (filter_.trimmed().isEmpty()) return QStringLiteral("--filter needs an expression");
    }
    return {};
}

QString Run::contactFilePath() const {
    const QStringList files = parser_.positionalArguments();
    const QString file = files.isEmpty() ? startUpFile(programFolder_) : files.front();
    return QFileInfo(file).absoluteFilePath();
}

bool Run::openContacts(Dataset& contacts) const {
    const QString file = contactFilePath();
    if (!QFileInfo::exists(file)) {
        say(QStringLiteral("The contact file %1 does not exist").arg(file));
        return false;
    }
    // A record that cannot be read while the run goes through the file fails the run.
    QObject::connect(&contacts, &Dataset::failed, [](const QString& m) {
        if (g_messages) g_messages->error(nullptr, m);
    });
    // A print run only reads: it must serve a file the user may not change, and one that
    // another reader has open.
    const xb::UseMode mode = def_.printRun ? xb::UseMode::ReadOnly : xb::UseMode::Exclusive;
    bool told = false;
    const bool opened = OpenContactFile(
        file, contacts,
        [&](const QString& m) {
            told = true;
            say(m);
        },
        mode);
    // A file opened with a notice (its index missing or out of step with the table) is in
    // record order: nobody is there to rebuild it, and output in the wrong order is no success.
    if (opened && told) {
        say(
            QStringLiteral("Nothing was printed: rebuild the indexes first (File, Rebuild "
                           "Indexes, or xbtool reindex)."));
        contacts.close();
        return false;
    }
    return opened;
}

bool Run::selectRecords(Dataset& contacts) const {
    const QString exclusion = QString::fromLatin1(kDeletionExclusion);
    QString selection = exclusion;
    if (!filter_.isEmpty()) {
        // In parentheses, so an expression joined by .OR. cannot let soft-deleted contacts in.
        selection = u'(' + filter_ + QStringLiteral(").and. ") + exclusion;
        if (selection.size() > kMaxSelection) {
            say(QStringLiteral("Sorry - filter is too complex.Please simplify it."));
            return false;
        }
    }
    if (!contacts.setSelection(selection)) return false;
    contacts.first();
    if (!contacts.onRecord()) {
        say(QStringLiteral("No records to print"));
        return false;
    }
    return true;
}

bool Run::usePdfPrinter(const QString& noPrinterMessage) {
    if (!PrinterCatalog::names().contains(PrinterCatalog::pdfPrinterName())) {
        say(noPrinterMessage);
        return false;
    }
    PrinterDevice& device = PrinterDevice::shared();
    device.selectPrinter(PrinterCatalog::pdfPrinterName());
    device.setCopies(1);
    device.setOutputFileName(pdfPath());
    printerInUse_ = true;
    return true;
}

int runCommand(const CommandDef& def, const QStringList& arguments, const CommandBody& body) {
    StandardErrorPrompts messages(def.name);
    ScopedPrompts scoped(messages);
    g_messages = &messages;
    struct Forget {
        ~Forget() { g_messages = nullptr; }
    } forget;

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(allOptions(def));
    if (def.contactFile) parser.addPositionalArgument(QStringLiteral("CONTACTFILE"), QString());
    Run run(def, parser, QString());

    QString fault;
    if (!parser.parse(QStringList{QStringLiteral("quillbank")} + arguments)) {
        fault = parser.errorText();
    } else if (parser.isSet(helpOption())) {
        std::fprintf(stdout, "%s", helpText(def).toLocal8Bit().constData());
        return kDone;
    } else if (def.printRun && !def.pdfOptional && parser.value(pdfOption()).isEmpty()) {
        fault = QStringLiteral("--pdf OUT.pdf is required");
    } else if (parser.positionalArguments().size() >
               (def.contactFile || !def.argumentName.isEmpty() ? 1 : 0)) {
        fault = def.contactFile
                    ? QStringLiteral("only one contact file can be given")
                    : QStringLiteral("unexpected argument ") + parser.positionalArguments().front();
    } else if (def.recordScope) {
        fault = run.readScope();
    }
    if (!fault.isEmpty()) {
        messages.say(fault);
        messages.say(usageLine(def));
        return kUsage;
    }

    const QString appFolder = QCoreApplication::applicationDirPath();
    run.programFolder_ = resolveProgramFolder(parser.value(homeOption()), appFolder);
    provideShippedTables(run.programFolder_, appFolder);
    Dataset::setHideMarkedRecords(true);

    int code = body(run);
    if (run.printerInUse_) PrinterDevice::releaseShared();
    if (code == kDone && messages.troubled) code = kFailed;
    return code;
}

std::optional<CommandLine> findCommand(const QStringList& arguments, const QStringList& commands) {
    QStringList global;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (isHomeOption(word) && i + 1 < arguments.size()) {
            global << word << arguments[++i];
        } else if (word.startsWith(QStringLiteral("--home=")) ||
                   word.startsWith(QStringLiteral("-home="))) {
            global << word;
        } else if (commands.contains(word)) {
            return CommandLine{word, global + arguments.mid(i + 1)};
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace qb::batch
