// The front end every unattended command shares: option parsing with --help and --home, the
// program folder, messages on standard error, questions answered No, the contact file and its
// records, the "PDF file" printer, and the exit codes. A command adds its own options and the
// work itself.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "store/dataset.h"
#include "store/record_scope.h"

namespace qb::batch {

inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

// What a command declares of itself.
struct CommandDef {
    QString name;     // the command word
    QString summary;  // one sentence for --help
    // The command's own options (each with a description for --help) and how the usage line
    // shows them, e.g. "[--setup NAME] [--copies N]".
    QList<QCommandLineOption> options;
    QString optionsUsage;
    // A print run writes to --pdf OUT.pdf (required) from a contact file it only reads.
    bool printRun = true;
    // --scope all|filter|current and --filter EXPR choose the records.
    bool recordScope = false;
    // With recordScope: only --filter EXPR is offered; without it every record counts.
    bool filterOnly = false;
    // With recordScope: the records taken when neither --scope nor --filter is given.
    ScopeChoice defaultScope = ScopeChoice::AllRecords;
    // With printRun: --pdf is one of the outputs the command offers in its own options (and
    // usage), so it is not required.
    bool pdfOptional = false;
    // A contact file may be named last; without one the file the program would open at
    // start-up is used.
    bool contactFile = true;
    // Instead of a contact file the command may take one argument of its own, named so in the
    // usage line ("NUMBER"); empty for none.
    QString argumentName;
};

// The usage line of a command, as wrong arguments and --help show it.
QString usageLine(const CommandDef& def);

class Run {
  public:
    Run(const CommandDef& def, QCommandLineParser& parser, QString programFolder);

    const CommandDef& def() const { return def_; }
    const QCommandLineParser& arguments() const { return parser_; }
    const QString& programFolder() const { return programFolder_; }
    // The output file of a print run, absolute.
    QString pdfPath() const;
    ScopeChoice scope() const { return scope_; }
    // The --filter expression; empty when none was given.
    QString filter() const { return filter_; }

    // Writes a message to standard error, one line per line of the text, after the command's
    // name.
    void say(const QString& text) const;
    // True once an error was told or a question answered No: the run did not do all it was
    // asked, so it cannot end as done.
    bool troubled() const;

    // The contact file the command works on: the one named, else the start-up file.
    QString contactFilePath() const;
    // Opens the contact file on contacts (read-only for a print run, exclusively otherwise),
    // with every failure told; false when it did not open.
    bool openContacts(Dataset& contacts) const;
    // Puts the chosen records in force: the --filter expression, if any, and never a
    // soft-deleted contact; false (told) when the expression is refused.
    bool selectRecords(Dataset& contacts) const;
    // Sends the next output to the built-in "PDF file" printer writing pdfPath(); false (the
    // given message told) when that printer is not installed. The selection is released when
    // the run ends.
    bool usePdfPrinter(const QString& noPrinterMessage);

  private:
    friend int runCommand(const CommandDef&, const QStringList&, const std::function<int(Run&)>&);
    QString readScope();

    const CommandDef& def_;
    QCommandLineParser& parser_;
    QString programFolder_;
    ScopeChoice scope_ = ScopeChoice::AllRecords;
    QString filter_;
    bool printerInUse_ = false;
};

// A command's work: returns the exit code (kDone, kFailed, or kUsage for a wrong combination
// of arguments it found, after saying what is wrong).
using CommandBody = std::function<int(Run& run)>;

// Runs a command with the arguments that follow its word. --help prints the usage to standard
// output and ends with 0; wrong arguments end with 2 after the usage on standard error; a run
// that told an error ends with 1 whatever the body returned.
int runCommand(const CommandDef& def, const QStringList& arguments, const CommandBody& body);

// A command line split into the command word and the command's arguments.
struct CommandLine {
    QString command;
    QStringList arguments;
};

// The command that a program's arguments (without the program name) ask for. Options common to
// the program and its commands (--home DIR) may stand before the command word; they are moved
// behind it. nullopt when the first word that is not such an option is not a command.
std::optional<CommandLine> findCommand(const QStringList& arguments, const QStringList& commands);

}  // namespace qb::batch
