// The program's entry: one copy per program folder, the splash window, the main window.
#include <QApplication>
#include <QCommandLineParser>
#include <cstring>
#include <memory>

#include "app/batch_labels.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/splash_window.h"
#include "controls/qt_prompts.h"
#include "store/program_folder.h"

int main(int argc, char** argv) {
    // The unattended label run needs no display and shows no window.
    if (argc > 1 && std::strcmp(argv[1], "labels") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return qb::runLabelsCommandLine(QCoreApplication::arguments().mid(2));
    }
    QApplication app(argc, argv);
    qb::nameApplication();

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Quillbank mailing-list manager"));
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
