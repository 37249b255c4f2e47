// The program's entry: one copy per program folder, the splash window, the main window.
#include <QApplication>
#include <QCommandLineParser>
#include <memory>

#include "app/batch_checks.h"
#include "app/batch_copy_out.h"
#include "app/batch_dial.h"
#include "app/batch_envelopes.h"
#include "app/batch_front.h"
#include "app/batch_import.h"
#include "app/batch_labels.h"
#include "app/batch_letters.h"
#include "app/batch_report.h"
#include "app/batch_zipcount.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/splash_window.h"
#include "controls/qt_prompts.h"
#include "store/program_folder.h"

namespace {

// The unattended commands: the word that names each and the function that runs it with the
// arguments after that word.
struct Command {
    const char* word;
    int (*run)(const QStringList& arguments);
};
// clang-format off
constexpr Command kCommands[] = {
    {"labels", qb::runLabelsCommandLine},
    {"envelopes", qb::runEnvelopesCommandLine},
    {"report", qb::runReportCommandLine},
    {"zipcount", qb::runZipCountCommandLine},
    {"letters", qb::runLettersCommandLine},
    {"check-states", qb::runCheckStatesCommandLine},
    {"check-dups", qb::runCheckDupsCommandLine},
    {"dial", qb::runDialCommandLine},
    {"copy-out", qb::runCopyOutCommandLine},
    {"import", qb::runImportCommandLine},
};
// clang-format on

QStringList commandWords() {
    QStringList words;
    for (const Command& c : kCommands)
        words << QLatin1String(c.word);
    return words;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const auto command = qb::batch::findCommand(arguments, commandWords())) {
        // An unattended run needs no display and shows no window.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        for (const Command& c : kCommands)
            if (command->command == QLatin1String(c.word)) return c.run(command->arguments);
        return 2;
    }
    QApplication app(argc, argv);
    qb::nameApplication();

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Quillbank mailing-list manager\n\nUnattended runs: quillbank COMMAND "
                       "[options] (COMMAND --help tells more). Commands: ") +
        commandWords().join(QStringLiteral(", ")));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption home(QStringLiteral("home"),
                                  QStringLiteral("Keep settings and tables in <folder>."),
                                  QStringLiteral("folder"));
    options.addOption(home);
    options.process(app);

    const QString programFolder =
        qb::resolveProgramFolder(options.value(home), QCoreApplication::applicationDirPath());
    qb::provideShippedTables(programFolder, QCoreApplication::applicationDirPath());

    qb::SingleInstance guard(programFolder);
    const bool first = guard.becomePrimary();

    auto splash = std::make_unique<qb::TSplash>(false);
    splash->show();
    QCoreApplication::processEvents();

    if (!first) {
        // Another copy runs on this folder: bring it forward and leave it the stage.
        guard.askPrimaryToRaise();
        return 0;
    }

    qb::QtPrompts::setHelpHandler(
        [](QWidget* parent, int context) { qb::HelpWindow::shared(parent)->showTopic(context); });

    qb::TQBMMain window(programFolder);
    QObject::connect(&guard, &qb::SingleInstance::raiseRequested, &window, [&window] {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
        window.show();
        window.raise();
        window.activateWindow();
    });
    window.startUp([&splash] { splash.reset(); });
    return app.exec();
}
