// Shows the real message boxes and standard dialogs, each modal over its parent.
#include "controls/qt_prompts.h"

#include "controls/printer_setup_dialog.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QtGlobal>

namespace qb {
namespace {

QtPrompts::HelpHandler& helpHandler() {
    static QtPrompts::HelpHandler handler;
    return handler;
}

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.caption, request.directory, qtFileFilter(request.filter));
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptOpen) {
        dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

void QtPrompts::information(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

void QtPrompts::error(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtPrompts::confirm(QWidget* parent, const QString& caption, const QString& text,
                        Default preferred) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(preferred == Default::No ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

Prompts::Answer QtPrompts::confirmOrCancel(QWidget* parent, const QString& caption,
                                           const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

std::optional<QString> QtPrompts::inputText(QWidget* parent, const QString& caption,
                                            const QString& prompt, const QString& initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return {};
    return text;
}

std::optional<QString> QtPrompts::openFile(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPrompts::saveFile(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

std::optional<QFont> QtPrompts::chooseFont(QWidget* parent, const QFont& initial,
                                           const QString& caption) {
    // The dialog lists the installed families only and opens on a default one when the given
    // family is not among them, as happens to one served by a stand-in under another name:
    // it is shown under the name of the font that serves it.
    QFont shown = initial;
    if (!QFontDatabase::hasFamily(initial.family())) shown.setFamily(QFontInfo(initial).family());
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, shown, parent, caption);
    if (!ok) return {};
    return font;
}

bool QtPrompts::printDialog(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, 32767);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::printerSetupDialog(QWidget* parent, PrinterSetupRequest& request) {
    PrinterSetupDialog dialog(request, parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrompts::showHelp(QWidget* parent, int context) {
    if (helpHandler()) {
        helpHandler()(parent, context);
    } else {
        qWarning("No help window is registered; help topic %d not shown", context);
    }
}

void QtPrompts::setHelpHandler(HelpHandler handler) {
    helpHandler() = std::move(handler);
}

}  // namespace qb
