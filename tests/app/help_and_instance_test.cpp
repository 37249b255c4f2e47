// Help topics for every context number the program opens, the About box, and the guard that
// keeps one copy of the program per program folder.
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "app/help_window.h"
#include "app/single_instance.h"
#include "app/splash_window.h"
#include "app_fixture.h"
#include "controls/placement.h"

namespace qb {
namespace {

using test::AppTest;

TEST(HelpWindow, EveryContextNumberHasATopicThatOpens) {
    const int contexts[] = {1000, 1001, 1003, 1004, 1005, 1007, 1008, 1010, 1011, 1012, 1015, 1016,
                            1017, 1018, 1019, 1020, 1025, 1026, 1027, 1030, 1031, 1032, 1033, 1034,
                            1035, 1036, 1037, 1038, 1039, 1040, 1041, 1042, 4570, 4571, 4572};
    HelpWindow help;
    for (int c : contexts) {
        ASSERT_FALSE(HelpWindow::topicResource(c).isEmpty()) << c;
        help.showTopic(c);
        EXPECT_EQ(help.currentTopic(), c);
        EXPECT_FALSE(help.currentTitle().isEmpty()) << c;
    }
    help.showTopic(1027);
    EXPECT_EQ(help.currentTitle(), QStringLiteral("The Main page"));
    // The contents page links to every other topic.
    help.showTopic(1010);
    const QString contents = help.findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"))->toHtml();
    for (int c : contexts) {
        if (c != 1010) {
            EXPECT_TRUE(contents.contains(QStringLiteral("%1.html").arg(c))) << c;
        }
    }
    EXPECT_TRUE(HelpWindow::topicResource(1234).isEmpty());
    help.showTopic(1234);
    EXPECT_EQ(help.currentTopic(), 1234);
}

TEST(HelpWindow, AskedFromAModalDialogItSitsBesideItTakesClicksAndOutlivesIt) {
    QWidget main;
    main.setGeometry(0, 0, 610, 450);
    main.show();
    QDialog dialog(&main);
    dialog.resize(300, 200);
    centreOver(dialog, main);
    QPointer<HelpWindow> help;
    bool closedByClick = false;
    QRect helpFrame, dialogFrame;
    QTimer::singleShot(0, [&] {
        help = HelpWindow::shared(&dialog);
        help->showTopic(1030);
        helpFrame = help->frameGeometry();
        dialogFrame = dialog.frameGeometry();
        // Clicked as the user would, through the window, where a blocked window drops it.
        auto* close = help->findChild<QPushButton*>(QStringLiteral("CloseButton"));
        const QPoint at = close->mapTo(help, close->rect().center());
        QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, at);
        closedByClick = !help->isVisible();
        help->showTopic(1027);
        dialog.accept();
    });
    dialog.exec();
    EXPECT_TRUE(closedByClick);
    EXPECT_FALSE(helpFrame.intersects(dialogFrame));
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->parentWidget(), &main);
}

TEST_F(AppTest, AboutShowsTheProductAndVersionWithOk) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Adams", "A"}});
    start();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<TSplash*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        auto* ok = about->findChild<QPushButton*>(QStringLiteral("OKButton"));
        ASSERT_NE(ok, nullptr);
        seen = !ok->isHidden();
        ok->click();
    });
    action("mnuAbout")->trigger();
    EXPECT_TRUE(seen);
    TSplash splash(false);
    EXPECT_TRUE(splash.findChild<QPushButton*>(QStringLiteral("OKButton"))->isHidden());
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(Application, TitlesAreTheWindowsOwnWithNothingAppendedByTheWindowSystem) {
    // The window system appends a display name, when one is set, to every window title.
    nameApplication();
    EXPECT_NE(QGuiApplication::applicationDisplayName(), QLatin1String(kProductTitle));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

TEST(SingleInstance, ALaterStartAsksTheFirstToComeForward) {
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    ASSERT_TRUE(first.becomePrimary());
    SingleInstance second(folder.path());
    EXPECT_FALSE(second.becomePrimary());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    // The first copy hears the request in its event loop, which wait() runs.
    QTimer::singleShot(0, [&] { EXPECT_TRUE(second.askPrimaryToRaise()); });
    EXPECT_TRUE(raised.wait(3000));

    // Another program folder is another copy.
    QTemporaryDir elsewhere;
    SingleInstance third(elsewhere.path());
    EXPECT_TRUE(third.becomePrimary());
}

}  // namespace
}  // namespace qb
