// A responder for tests: answers prompts from a queue scripted beforehand, records every text
// and caption it was shown, and reports any prompt nobody scripted.
#pragma once

#include "controls/prompts.h"

#include <QList>
#include <QPageLayout>
#include <QStringList>
#include <deque>
#include <functional>
#include <utility>

namespace qb {

enum class PromptKind {
    Information,
    Error,
    Confirm,
    ConfirmOrCancel,  // a Yes/No/Cancel question; answerYes and answerNo answer it too
    Input,
    OpenFile,
    SaveFile,
    Font,
    PrintDialog,
    PrinterSetup,
    Help
};

QString promptKindName(PromptKind kind);

struct RecordedPrompt {
    PromptKind kind;
    QString caption;
    QString text;  // message text, input prompt, dialog caption, or the help context number
    bool defaultNo = false;  // a question whose default button is No
};

// How the print dialog is left: unset members keep what the device had.
struct PrintDialogAnswer {
    bool accept = true;
    std::optional<int> copies;
    std::optional<std::pair<int, int>> pages;  // a page range; none means all pages
};

// Unset members keep what the dialog was opened with; a name the dialog does not offer is a
// failure of the test.
struct PrinterSetupAnswer {
    bool accept = true;
    std::optional<QString> paperName;  // one of the printer's papers, such as "A4"
    std::optional<QPageLayout::Orientation> orientation;
    std::optional<QString> printerName;
    std::optional<QString> sourceName;
};

class ScriptedPrompts : public Prompts {
  public:
    using FailureHandler = std::function<void(const QString& message)>;

    // Without a handler a failure ends the program with the message, which fails the test.
    explicit ScriptedPrompts(FailureHandler onFailure = {});
    // Scripted answers nobody asked for are failures too: the prompt the test expected never came.
    ~ScriptedPrompts() override;

    // Each call queues the answer to the next prompt. An expected text, when given, must match.
    ScriptedPrompts& acknowledge(const QString& expectedText = {});
    ScriptedPrompts& acknowledgeError(const QString& expectedText = {});
    ScriptedPrompts& answerYes(const QString& expectedText = {});
    ScriptedPrompts& answerNo(const QString& expectedText = {});
    // Only a Yes/No/Cancel question can be answered Cancel.
    ScriptedPrompts& answerCancel(const QString& expectedText = {});
    ScriptedPrompts& answerInput(std::optional<QString> text);
    ScriptedPrompts& answerOpenFile(std::optional<QString> path);
    ScriptedPrompts& answerSaveFile(std::optional<QString> path);
    ScriptedPrompts& answerFont(std::optional<QFont> font);
    ScriptedPrompts& answerPrintDialog(PrintDialogAnswer answer);
    ScriptedPrompts& answerPrinterSetup(PrinterSetupAnswer answer);
    // Runs `action` when the prompt last queued is shown, before it is answered.
    ScriptedPrompts& whenShown(std::function<void()> action);

    const QList<RecordedPrompt>& asked() const { return asked_; }
    QStringList askedTexts() const;
    qsizetype pending() const { return static_cast<qsizetype>(script_.size()); }
    // Forgets answers still queued, so the destructor does not report them.
    void clearScript() { script_.clear(); }

    void information(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& caption, const QString& text,
                 Default preferred = Default::Yes) override;
    Answer confirmOrCancel(QWidget* parent, const QString& caption, const QString& text) override;
    std::optional<QString> inputText(QWidget* parent, const QString& caption, const QString& prompt,
                                     const QString& initial) override;
    std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial,
                                    const QString& caption) override;
    bool printDialog(QWidget* parent, QPrinter& printer) override;
    bool printerSetupDialog(QWidget* parent, PrinterSetupRequest& request) override;
    void showHelp(QWidget* parent, int context) override;

  private:
    struct Entry {
        PromptKind kind = PromptKind::Information;
        QString expectedText;
        bool yes = false;
        bool cancel = false;
        std::optional<QString> text;
        std::optional<QFont> font;
        PrintDialogAnswer print;
        PrinterSetupAnswer setup;
        std::function<void()> action;
    };

    static Entry makeEntry(PromptKind kind, const QString& expectedText = QString());
    ScriptedPrompts& queue(Entry entry);
    // Records the prompt and takes its scripted answer; nothing when the script does not fit.
    std::optional<Entry> take(PromptKind kind, const QString& caption, const QString& text);
    void fail(const QString& message);

    FailureHandler onFailure_;
    std::deque<Entry> script_;
    QList<RecordedPrompt> asked_;
};

}  // namespace qb
