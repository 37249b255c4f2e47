// What the main window offers in each state: no file, browsing, an empty selection and
// editing; the page buttons; closing; help by page.
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>

#include "app/main_page.h"
#include "app/main_window.h"
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

TEST_F(ButtonsTest, ClosingAsksFirstAndDropsAnUnsavedEdit) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Adams", "A"}});
    TQBMMain& w = start();
    script.answerNo(QStringLiteral("Exit now?"));
    button("ExitButton")->click();
    EXPECT_TRUE(w.isVisible());
    ASSERT_TRUE(w.contactTable().edit());
    w.contactTable().setText(QStringLiteral("LNAME"), QStringLiteral("Changed"));
    script.answerYes(QStringLiteral("Exit now?"));
    action("mnuExit")->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.contactTable().editing());
    EXPECT_EQ(w.contactTable().text(QStringLiteral("LNAME")), QStringLiteral("Adams"));
}

}  // namespace
}  // namespace qb
