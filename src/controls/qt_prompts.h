// The prompts as the user sees them: Qt message boxes and the standard Qt dialogs.
#pragma once

#include "controls/prompts.h"

#include <functional>

namespace qb {

class QtPrompts : public Prompts {
  public:
    using HelpHandler = std::function<void(QWidget* parent, int context)>;

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

    // The help window lives with the main window, above this layer; it registers itself here.
    static void setHelpHandler(HelpHandler handler);
};

}  // namespace qb
