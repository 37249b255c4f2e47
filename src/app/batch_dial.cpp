// The unattended dial.
#include "app/batch_dial.h"

#include <cstdio>

#include "app/batch_front.h"
#include "controls/prompts.h"
#include "dialer/dialer.h"

namespace qb {

namespace {

const QCommandLineOption kPort(QStringLiteral("port"),
                               QStringLiteral("Dials through COM N (1 to 4); the port last "
                                              "chosen in the Dial Phone Number window otherwise."),
                               QStringLiteral("N"));
const QCommandLineOption kPulse(QStringLiteral("pulse"),
                                QStringLiteral("Dials by pulses instead of tones."));
const QCommandLineOption kPrefix(QStringLiteral("prefix"),
                                 QStringLiteral("Dials P before the number; the saved prefix "
                                                "otherwise."),
                                 QStringLiteral("P"));

// Where the window shows "Pick up phone", a terminal waits for Enter.
class HandsetPrompts : public Prompts {
  public:
    explicit HandsetPrompts(Prompts& messages) : messages_(messages) {}
    void information(QWidget* parent, const QString& text) override {
        if (text != QLatin1String(dialer::kPickUpPhone)) {
            messages_.information(parent, text);
            return;
        }
        messages_.information(parent, text + QStringLiteral(", then press Enter to hang up"));
        for (int c = std::getchar(); c != EOF && c != '\n';)
            c = std::getchar();
    }
    void error(QWidget* parent, const QString& text) override { messages_.error(parent, text); }
    bool confirm(QWidget* parent, const QString& caption, const QString& text,
                 Default preferred) override {
        return messages_.confirm(parent, caption, text, preferred);
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

  private:
    Prompts& messages_;
};

int dial(batch::Run& run) {
    const QCommandLineParser& a = run.arguments();
    const Settings settings(run.programFolder() + QStringLiteral("QUILLB.INI"));
    int port = dialer::clampPort(settings.read(setting::DialPort));
    if (a.isSet(kPort)) {
        bool ok = false;
        port = a.value(kPort).toInt(&ok) - 1;
        if (!ok || port < 0 || port >= dialer::kPortCount) {
            run.say(QStringLiteral("--port takes a number from 1 to 4"));
            run.say(batch::usageLine(run.def()));
            return batch::kUsage;
        }
    }
    const QString prefix = a.isSet(kPrefix) ? a.value(kPrefix) : settings.read(setting::DialPrefix);
    const QStringList rest = a.positionalArguments();
    const QString number = rest.isEmpty() ? QString() : rest.front();
    for (const auto& [text, what] : {std::pair{prefix, QStringLiteral("prefix")},
                                     std::pair{number, QStringLiteral("number to dial")}}) {
        const QString why = dialer::refusal(text, what);
        if (!why.isEmpty()) {
            run.say(why);
            return batch::kFailed;
        }
    }

    dialer::TDialer dialer(settings);
    dialer.ComPort = port;
    dialer.Method = a.isSet(kPulse) ? dialer::dmPulse : dialer::dmTone;
    dialer.NumberToDial = prefix + number;
    HandsetPrompts handset(prompts());
    ScopedPrompts scoped(handset);
    if (!dialer.Dial(nullptr)) return batch::kFailed;
    return batch::kDone;
}

}  // namespace

int runDialCommandLine(const QStringList& arguments) {
    batch::CommandDef def;
    def.name = QStringLiteral("dial");
    def.summary = QStringLiteral(
        "Dials NUMBER through the modem, as the Dial Phone Number window does, and hangs the "
        "modem up when Enter is pressed.");
    def.options = {kPort, kPulse, kPrefix};
    def.optionsUsage = QStringLiteral("[--port N] [--pulse] [--prefix P]");
    def.printRun = false;
    def.contactFile = false;
    def.argumentName = QStringLiteral("NUMBER");
    return batch::runCommand(def, arguments, dial);
}

}  // namespace qb
