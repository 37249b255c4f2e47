// The one door through which every modal question, message and standard dialog of the program
// passes, so that tests can answer them from a script instead of a person.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace qb {

// What a file dialog is asked to offer. Filters may be written as "Text|*.txt|All|*.*".
struct FileDialogRequest {
    QString caption;
    QString directory;
    QString fileName;
    QString filter;
    QString defaultSuffix;
    bool overwritePrompt = false;  // save dialogs: ask before replacing an existing file
    bool mustExist = true;         // open dialogs: the chosen file must exist
};

// What Printer Setup offers and what was chosen there; the dialog edits the choice in place.
struct PrinterSetupRequest {
    QStringList printers;
    QString printer;
    QString paper;
    QString source;  // the paper source (bin)
    bool landscape = false;
    // The papers and sources of a printer, asked again whenever another printer is chosen.
    std::function<QStringList(const QString& printer)> papersOf;
    std::function<QStringList(const QString& printer)> sourcesOf;
};

class Prompts {
  public:
    virtual ~Prompts() = default;

    // A notice or error of the program's own: captioned "Information", information icon, OK.
    virtual void information(QWidget* parent, const QString& text) = 0;
    // An error of the report engine or another component: captioned "Error", OK.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // A Yes/No question; true means Yes. Questions whose Yes would go on with something doubtful
    // make No the button that Enter presses.
    enum class Default { Yes, No };
    virtual bool confirm(QWidget* parent, const QString& caption, const QString& text,
                         Default preferred = Default::Yes) = 0;
    // A Yes/No/Cancel question, for a choice that may also be called off as a whole (keep
    // the edit before leaving, drop it, or stay). A responder without a Cancel button answers
    // as its Yes/No question would.
    enum class Answer { Yes, No, Cancel };
    virtual Answer confirmOrCancel(QWidget* parent, const QString& caption, const QString& text) {
        return confirm(parent, caption, text) ? Answer::Yes : Answer::No;
    }
    // A one-line text entry; nothing when cancelled.
    virtual std::optional<QString> inputText(QWidget* parent, const QString& caption,
                                             const QString& prompt, const QString& initial) = 0;
    virtual std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial,
                                            const QString& caption) = 0;
    // Print dialog on the given device: copies, page range and printer are edited in place
    // (the range through QPrinter::printRange/fromPage/toPage). False when cancelled.
    virtual bool printDialog(QWidget* parent, QPrinter& printer) = 0;
    // Printer set-up: printer, paper, source and orientation. False when cancelled.
    virtual bool printerSetupDialog(QWidget* parent, PrinterSetupRequest& request) = 0;
    // Opens help topic number `context`; not modal, so nothing is answered.
    virtual void showHelp(QWidget* parent, int context) = 0;
};

// The responder in force: the real dialogs unless a test has put a script in place.
Prompts& prompts();

// Puts a responder in force for the lifetime of this object, then restores the previous one.
class ScopedPrompts {
  public:
    explicit ScopedPrompts(Prompts& responder);
    ~ScopedPrompts();
    ScopedPrompts(const ScopedPrompts&) = delete;
    ScopedPrompts& operator=(const ScopedPrompts&) = delete;

  private:
    Prompts* previous_;
};

// Turns "Files|*.dbf|All|*.*" into Qt's "Files (*.dbf);;All (*.*)"; Qt-style text is kept.
QString qtFileFilter(const QString& filter);

}  // namespace qb
