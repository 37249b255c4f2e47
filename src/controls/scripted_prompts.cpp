// Scripted answers for tests; each prompt is checked against the next entry of the script.
#include "controls/scripted_prompts.h"

#include <QPageSize>
#include <QPrinter>
#include <QtGlobal>

namespace qb {

QString promptKindName(PromptKind kind) {
    switch (kind) {
        case PromptKind::Information:
            return QStringLiteral("information message");
        case PromptKind::Error:
            return QStringLiteral("error message");
        case PromptKind::Confirm:
            return QStringLiteral("confirmation question");
        case PromptKind::ConfirmOrCancel:
            return QStringLiteral("yes/no/cancel question");
        case PromptKind::Input:
            return QStringLiteral("input box");
        case PromptKind::OpenFile:
            return QStringLiteral("open file dialog");
        case PromptKind::SaveFile:
            return QStringLiteral("save file dialog");
        case PromptKind::Font:
            return QStringLiteral("font dialog");
        case PromptKind::PrintDialog:
            return QStringLiteral("print dialog");
        case PromptKind::PrinterSetup:
            return QStringLiteral("printer setup dialog");
        case PromptKind::Help:
            return QStringLiteral("help topic");
    }
    return QStringLiteral("prompt");
}

ScriptedPrompts::ScriptedPrompts(FailureHandler onFailure) : onFailure_(std::move(onFailure)) {}

ScriptedPrompts::~ScriptedPrompts() {
    if (script_.empty()) return;
    QStringList left;
    for (const Entry& e : script_)
        left << promptKindName(e.kind);
    fail(QStringLiteral("scripted answers never asked for: %1")
             .arg(left.join(QStringLiteral(", "))));
}

void ScriptedPrompts::fail(const QString& message) {
    if (onFailure_) {
        onFailure_(message);
    } else {
        qFatal("ScriptedPrompts: %s", qPrintable(message));
    }
}

ScriptedPrompts::Entry ScriptedPrompts::makeEntry(PromptKind kind, const QString& expectedText) {
    Entry e;
    e.kind = kind;
    e.expectedText = expectedText;
    return e;
}

ScriptedPrompts& ScriptedPrompts::queue(Entry entry) {
    script_.push_back(std::move(entry));
    return *this;
}

ScriptedPrompts& ScriptedPrompts::acknowledge(const QString& expectedText) {
    return queue(makeEntry(PromptKind::Information, expectedText));
}

ScriptedPrompts& ScriptedPrompts::acknowledgeError(const QString& expectedText) {
    return queue(makeEntry(PromptKind::Error, expectedText));
}

ScriptedPrompts& ScriptedPrompts::answerYes(const QString& expectedText) {
    Entry e = makeEntry(PromptKind::Confirm, expectedText);
    e.yes = true;
    return queue(std::move(e));
}

ScriptedPrompts& ScriptedPrompts::answerNo(const QString& expectedText) {
    return queue(makeEntry(PromptKind::Confirm, expectedText));
}

ScriptedPrompts& ScriptedPrompts::answerCancel(const QString& expectedText) {
    Entry e = makeEntry(PromptKind::ConfirmOrCancel, expectedText);
    e.cancel = true;
    return queue(std::move(e));
}

ScriptedPrompts& ScriptedPrompts::answerInput(std::optional<QString> text) {
    Entry e = makeEntry(PromptKind::Input);
    e.text = std::move(text);
    return queue(std::move(e));
}

ScriptedPrompts& ScriptedPrompts::answerOpenFile(std::optional<QString> path) {
    Entry e = makeEntry(PromptKind::OpenFile);
    e.text = std::move(path);
    return queue(std::move(e));
}

ScriptedPrompts& ScriptedPrompts::answerSaveFile(std::optional<QString> path) {
    Entry e = makeEntry(PromptKind::SaveFile);
    e.text = std::move(path);
    return queue(std::move(e));
}

ScriptedPrompts& ScriptedPrompts::answerFont(std::optional<QFont> font) {
    Entry e = makeEntry(PromptKind::Font);
    e.font = std::move(font);
    return queue(std::move(e));
}

ScriptedPrompts& ScriptedPrompts::answerPrintDialog(PrintDialogAnswer answer) {
    Entry e = makeEntry(PromptKind::PrintDialog);
    e.print = answer;
    return queue(std::move(e));
}

ScriptedPrompts& ScriptedPrompts::answerPrinterSetup(PrinterSetupAnswer answer) {
    Entry e = makeEntry(PromptKind::PrinterSetup);
    e.setup = std::move(answer);
    return queue(std::move(e));
}

ScriptedPrompts& ScriptedPrompts::whenShown(std::function<void()> action) {
    if (script_.empty()) {
        fail(QStringLiteral("whenShown() needs a scripted prompt before it"));
    } else {
        script_.back().action = std::move(action);
    }
    return *this;
}

QStringList ScriptedPrompts::askedTexts() const {
    QStringList texts;
    for (const RecordedPrompt& p : asked_)
        texts << p.text;
    return texts;
}

std::optional<ScriptedPrompts::Entry> ScriptedPrompts::take(PromptKind kind, const QString& caption,
                                                            const QString& text) {
    asked_.append({kind, caption, text});
    if (script_.empty()) {
        fail(QStringLiteral("unscripted %1: \"%2\" (caption \"%3\")")
                 .arg(promptKindName(kind), text, caption));
        return {};
    }
    Entry entry = std::move(script_.front());
    script_.pop_front();
    // A Yes or No scripted for a question fits the three-way question as well.
    const bool fits = entry.kind == kind ||
                      (entry.kind == PromptKind::Confirm && kind == PromptKind::ConfirmOrCancel);
    if (!fits) {
        fail(QStringLiteral("scripted %1 next, but %2 came: \"%3\"")
                 .arg(promptKindName(entry.kind), promptKindName(kind), text));
        return {};
    }
    if (!entry.expectedText.isNull() && entry.expectedText != text) {
        fail(QStringLiteral("%1 text was \"%2\", expected \"%3\"")
                 .arg(promptKindName(kind), text, entry.expectedText));
    }
    if (entry.action) entry.action();
    return entry;
}

void ScriptedPrompts::information(QWidget*, const QString& text) {
    take(PromptKind::Information, QStringLiteral("Information"), text);
}

void ScriptedPrompts::error(QWidget*, const QString& text) {
    take(PromptKind::Error, QStringLiteral("Error"), text);
}

bool ScriptedPrompts::confirm(QWidget*, const QString& caption, const QString& text,
                              Default preferred) {
    const auto entry = take(PromptKind::Confirm, caption, text);
    asked_.back().defaultNo = preferred == Default::No;
    return entry && entry->yes;
}

Prompts::Answer ScriptedPrompts::confirmOrCancel(QWidget*, const QString& caption,
                                                 const QString& text) {
    const auto entry = take(PromptKind::ConfirmOrCancel, caption, text);
    if (!entry || entry->cancel) return Answer::Cancel;
    return entry->yes ? Answer::Yes : Answer::No;
}

std::optional<QString> ScriptedPrompts::inputText(QWidget*, const QString& caption,
                                                  const QString& prompt, const QString&) {
    const auto entry = take(PromptKind::Input, caption, prompt);
    return entry ? entry->text : std::nullopt;
}

std::optional<QString> ScriptedPrompts::openFile(QWidget*, const FileDialogRequest& request) {
    const auto entry = take(PromptKind::OpenFile, request.caption, request.fileName);
    return entry ? entry->text : std::nullopt;
}

std::optional<QString> ScriptedPrompts::saveFile(QWidget*, const FileDialogRequest& request) {
    const auto entry = take(PromptKind::SaveFile, request.caption, request.fileName);
    return entry ? entry->text : std::nullopt;
}

std::optional<QFont> ScriptedPrompts::chooseFont(QWidget*, const QFont& initial,
                                                 const QString& caption) {
    const auto entry = take(PromptKind::Font, caption, initial.family());
    return entry ? entry->font : std::nullopt;
}

bool ScriptedPrompts::printDialog(QWidget*, QPrinter& printer) {
    const auto entry =
        take(PromptKind::PrintDialog, QStringLiteral("Print"), printer.printerName());
    if (!entry || !entry->print.accept) return false;
    if (entry->print.copies) printer.setCopyCount(*entry->print.copies);
    if (entry->print.pages) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(entry->print.pages->first, entry->print.pages->second);
    } else {
        printer.setPrintRange(QPrinter::AllPages);
        printer.setFromTo(0, 0);
    }
    return true;
}

bool ScriptedPrompts::printerSetupDialog(QWidget*, PrinterSetupRequest& request) {
    const auto entry =
        take(PromptKind::PrinterSetup, QStringLiteral("Printer Setup"), request.printer);
    if (!entry || !entry->setup.accept) return false;
    const PrinterSetupAnswer& a = entry->setup;
    // Picks `wanted` from what the dialog offers, as a user could.
    const auto choose = [this](const QStringList& offered, const QString& wanted, const char* what,
                               QString& into) {
        if (offered.contains(wanted)) {
            into = wanted;
        } else {
            fail(QStringLiteral("the printer setup dialog offers no %1 named \"%2\"")
                     .arg(QLatin1String(what), wanted));
        }
    };
    if (a.printerName) {
        choose(request.printers, *a.printerName, "printer", request.printer);
        const QStringList papers =
            request.papersOf ? request.papersOf(request.printer) : QStringList();
        const QStringList sources =
            request.sourcesOf ? request.sourcesOf(request.printer) : QStringList();
        if (!papers.contains(request.paper)) request.paper.clear();
        if (!sources.contains(request.source)) request.source.clear();
    }
    if (a.paperName && request.papersOf)
        choose(request.papersOf(request.printer), *a.paperName, "paper", request.paper);
    if (a.sourceName && request.sourcesOf)
        choose(request.sourcesOf(request.printer), *a.sourceName, "paper source", request.source);
    if (a.orientation) request.landscape = *a.orientation == QPageLayout::Landscape;
    return true;
}

void ScriptedPrompts::showHelp(QWidget*, int context) {
    asked_.append({PromptKind::Help, QString(), QString::number(context)});
}

}  // namespace qb
