// What the main window offers in each state: no file, browsing, an empty selection and
// editing; the page buttons; closing; help by page.
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include "app/browse_page.h"
#include "app/filter_page.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app/search_box.h"
#include "app_fixture.h"
#include "controls/beep.h"

namespace qb {
namespace {

using test::AppTest;

// The state of every element the enabling table names, read from the window's widgets.
struct Shown {
    bool add, edit, del, search, prev, next, dial, searchMemo, save, cancel, noData;
    bool rebuild, importAscii, importDbf, clone, order, utilities, labels, envelopes, letters,
        reports, file;
};

class ButtonsTest : public AppTest {
  protected:
    Shown shown() {
        auto on = [this](const char* name) {
            QPushButton* b = button(name);
            return b && !b->isHidden() && b->isEnabled();
        };
        auto visible = [this](const char* name) {
            QPushButton* b = button(name);
            return b && !b->isHidden();
        };
        const MainMenus& m = window->menus();
        return Shown{on("AddButton"),
                     on("EditButton"),
                     on("DeleteButton"),
                     visible("SearchButton"),
                     visible("RecordPrev"),
                     visible("RecordNext"),
                     visible("DialButton"),
                     visible("SearchMemoButton"),
                     visible("SaveButton"),
                     visible("CancelButton"),
                     !window->mainPage()->NoData->isHidden(),
                     m.rebuildIndexes->isEnabled(),
                     m.importAscii->isEnabled(),
                     m.importDbf->isEnabled(),
                     m.clone->isEnabled(),
                     m.order->menuAction()->isEnabled(),
                     m.utilities->menuAction()->isEnabled(),
                     m.labels->isEnabled(),
                     m.envelopes->isEnabled(),
                     m.letters->isEnabled(),
                     m.reports->isEnabled(),
                     m.file->menuAction()->isEnabled()};
    }
    QStringList captions() {
        QStringList out;
        for (const char* name : {"SaveButton", "CancelButton", "AddButton", "EditButton",
                                 "DeleteButton", "SearchButton"})
            out << button(name)->text();
        return out;
    }
};

TEST_F(ButtonsTest, WithoutAFileOnlyTheFileAndHelpMenusServe) {
    const QString bad = contactFile(QStringLiteral("BAD.DBF"), {{"x", "y"}}, "LNAME", 12);
    writeSettings(("[MRU]\nItem1=" + bad + "\n").toUtf8());
    script.acknowledge();
    start();
    const Shown s = shown();
    EXPECT_TRUE(s.noData);
    EXPECT_FALSE(s.add || s.edit || s.del || s.search || s.prev || s.next || s.dial ||
                 s.searchMemo || s.save || s.cancel);
    EXPECT_FALSE(s.rebuild || s.importAscii || s.importDbf || s.clone || s.order || s.utilities ||
                 s.labels || s.envelopes || s.letters || s.reports);
    EXPECT_TRUE(s.file);
    EXPECT_TRUE(window->menus().help->menuAction()->isEnabled());
    EXPECT_TRUE(window->menus().open->isEnabled());
    EXPECT_TRUE(find<QLabel>("FilterStatus")->isHidden());
}

TEST_F(ButtonsTest, BrowsingARecordOffersEveryRecordCommand) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Adams", "A"}, {"Baker", "B"}});
    start();
    const Shown s = shown();
    EXPECT_TRUE(s.add && s.edit && s.del && s.search && s.prev && s.next && s.dial && s.searchMemo);
    EXPECT_FALSE(s.save || s.cancel || s.noData);
    EXPECT_TRUE(s.rebuild && s.importAscii && s.importDbf && s.clone && s.order && s.utilities &&
                s.labels && s.envelopes && s.letters && s.reports && s.file);
    EXPECT_EQ(captions(), (QStringList{"Save", "Cancel", "&Add", "&Edit", "&Delete", "Searc&h"}));
}

TEST_F(ButtonsTest, AnEmptySelectionLeavesAddAndTheFileCommandsOnly) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Gone", "A", "Deleted"}});
    TQBMMain& w = start();
    ASSERT_FALSE(w.contactTable().onRecord());
    const Shown s = shown();
    EXPECT_TRUE(s.add);
    EXPECT_FALSE(s.edit || s.del || s.search || s.prev || s.next || s.dial || s.searchMemo);
    EXPECT_FALSE(s.clone || s.order || s.utilities || s.labels || s.envelopes || s.letters ||
                 s.reports);
    EXPECT_TRUE(s.rebuild && s.importAscii && s.importDbf && s.file);
    EXPECT_FALSE(s.noData);
}

TEST_F(ButtonsTest, EditingLeavesSaveCancelAndTheBoxesAndMovesTheFocusToThem) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Adams", "A"}});
    TQBMMain& w = start();
    w.activateWindow();
    button("HelpButton")->setFocus();
    ASSERT_TRUE(w.contactTable().edit());  // SetButtons follows the table's state
    const Shown s = shown();
    EXPECT_TRUE(s.save && s.cancel);
    EXPECT_FALSE(s.add || s.edit || s.del || s.search || s.prev || s.next || s.dial ||
                 s.searchMemo);
    EXPECT_FALSE(s.clone || s.order || s.utilities || s.labels || s.envelopes || s.letters ||
                 s.reports || s.file);
    EXPECT_TRUE(s.rebuild);  // the file is open, though the File menu itself is closed
    EXPECT_TRUE(w.editing());
    EXPECT_EQ(captions(), (QStringList{"&Save", "&Cancel", "Add", "Edit", "Delete", "Search"}));
    EXPECT_EQ(QApplication::focusWidget(), w.mainPage()->Last);
    EXPECT_FALSE(w.mainPage()->Last->isReadOnly());

    // The page buttons only beep while editing.
    const int beeps = beepCount();
    button("BrowseButton")->click();
    button("FilterButton")->click();
    EXPECT_EQ(beepCount(), beeps + 2);
    EXPECT_EQ(w.currentPage(), 0);

    w.contactTable().cancel();
    EXPECT_FALSE(w.editing());
    EXPECT_TRUE(shown().edit);
    button("BrowseButton")->click();
    EXPECT_EQ(w.currentPage(), 1);
    EXPECT_EQ(beepCount(), beeps + 2);
}

TEST_F(ButtonsTest, ThePageButtonsColourTheCurrentPageTeal) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Adams", "A"}});
    TQBMMain& w = start();
    auto colour = [this](const char* name) {
        return button(name)->styleSheet().contains(QStringLiteral("#008080"))
                   ? QStringLiteral("teal")
                   : QStringLiteral("purple");
    };
    EXPECT_EQ(colour("MainButton"), QStringLiteral("teal"));
    EXPECT_EQ(colour("BrowseButton"), QStringLiteral("purple"));
    button("FilterButton")->click();
    EXPECT_EQ(w.currentPage(), 2);
    EXPECT_EQ(colour("FilterButton"), QStringLiteral("teal"));
    EXPECT_EQ(colour("MainButton"), QStringLiteral("purple"));
}

TEST_F(ButtonsTest, HelpOpensTheTopicOfThePageShown) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Adams", "A"}});
    TQBMMain& w = start();
    button("HelpButton")->click();
    w.BrowseButtonClick();
    button("HelpButton")->click();
    w.FilterButtonClick();
    button("HelpButton")->click();
    action("mnuContents")->trigger();
    EXPECT_EQ(script.askedTexts(), (QStringList{"1027", "1005", "1020", "1010"}));
}

TEST_F(ButtonsTest, F1OpensTheTopicOfThePageShownAndAltHSearchesOnTheMainPage) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Adams", "A"}});
    TQBMMain& w = start();
    w.activateWindow();
    MainPage& m = *w.mainPage();
    QTest::keyClick(m.Last, Qt::Key_F1);
    w.BrowseButtonClick();
    QTest::keyClick(w.browsePage()->DBGrid1, Qt::Key_F1);
    w.FilterButtonClick();
    QTest::keyClick(w.filterPage()->qLName, Qt::Key_F1);
    EXPECT_EQ(script.askedTexts(), (QStringList{"1027", "1005", "1020"}));

    // Searc&h shares its letter with the &Help menu: on its page the button has it, each time.
    w.MainButtonClick();
    int searches = 0;
    for (int press = 0; press < 2; ++press) {
        QTimer::singleShot(0, [&searches] {
            if (auto* box = qobject_cast<TSearchBox*>(QApplication::activeModalWidget())) {
                ++searches;
                box->close();
            }
        });
        QTest::keyClick(m.Last, Qt::Key_H, Qt::AltModifier);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(searches, 2);
    EXPECT_FALSE(w.menus().help->isVisible());
}

TEST_F(ButtonsTest, ClosingAsksWhetherToKeepARecordBeingEditedThenWhetherToExit) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Adams", "A"}});
    TQBMMain& w = start();
    script.answerNo(QStringLiteral("Exit now?"));
    button("ExitButton")->click();
    EXPECT_TRUE(w.isVisible());

    MainPage& m = *w.mainPage();
    const auto editLastName = [&](const char* text) {
        m.EditButton->click();
        m.Last->selectAll();
        QTest::keyClicks(m.Last, QLatin1String(text));
    };
    // Cancel stays with the edit.
    editLastName("Baker");
    script.answerCancel(QStringLiteral("Save changes?"));
    action("mnuExit")->trigger();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.contactTable().editing());
    // Yes keeps it even when the user then stays; the window closes on the next Yes.
    script.answerYes(QStringLiteral("Save changes?")).answerNo(QStringLiteral("Exit now?"));
    w.close();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.contactTable().editing());
    script.answerYes(QStringLiteral("Exit now?"));
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.contactTable().editing());
    EXPECT_EQ(w.contactTable().text(QStringLiteral("LNAME")), QStringLiteral("Baker"));
    // No drops it.
    w.show();
    editLastName("Clark");
    script.answerNo(QStringLiteral("Save changes?")).answerYes(QStringLiteral("Exit now?"));
    button("ExitButton")->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.contactTable().editing());
    EXPECT_EQ(w.contactTable().text(QStringLiteral("LNAME")), QStringLiteral("Baker"));
}

}  // namespace
}  // namespace qb
