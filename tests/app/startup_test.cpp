// Start-up: which file the window opens, what it creates when there is none, and the state it
// is left in.
#include <QStackedWidget>

#include "app/main_page.h"
#include "app/main_window.h"
#include "app_fixture.h"
#include "store/settings.h"

namespace qb {
namespace {

using test::AppTest;

TEST_F(AppTest, AFirstStartCreatesTheDefaultFileWithEveryTagAndSaysItIsEmpty) {
    script.acknowledge(test::kEmptyFileMessage);
    TQBMMain& w = start();
    const QString file = path(QStringLiteral("QUILLB1.DBF"));
    ASSERT_TRUE(QFile::exists(file));
    ASSERT_TRUE(w.contactTable().isOpen());
    EXPECT_EQ(w.currentFileName(), file);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillbank for Windows - ") + file);
    const xb::WorkArea& area = w.contactTable().area();
    ASSERT_EQ(area.orderCount(), 21);
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(area.tagName(i + 1), contactTags()[size_t(i)].name);
    EXPECT_EQ(w.contactTable().orderTag(), QStringLiteral("LNAME"));
    EXPECT_EQ(w.currentOrder(), QStringLiteral("LNAME"));
    EXPECT_EQ(w.contactTable().selection(), QString::fromLatin1(kDeletionExclusion));
    EXPECT_TRUE(w.currentFilter().isEmpty());
    EXPECT_TRUE(w.tableEventsOn());
    EXPECT_EQ(w.currentPage(), 0);
    // Wider only as far as the boxes need to show whole values in the font in use.
    EXPECT_EQ(w.size(), QSize(610, 450).expandedTo(w.minimumSizeHint()));
    EXPECT_TRUE(w.mainPage()->NoData->isHidden());
    // The file joined the recently-used list and the menu.
    EXPECT_EQ(w.GetMRUList(), QStringList{file});
    EXPECT_EQ(action("MRUItem1")->data().toString(), file);
    EXPECT_EQ(mruMenu(), QStringList{file});  // the design-time PlaceHolder is gone
}

TEST_F(AppTest, StartUpOpensTheHeadOfTheRecentlyUsedListInLastNameOrder) {
    const QString file = contactFile(
        QStringLiteral("PEOPLE.DBF"),
        {{"Zimmer", "Al"}, {"Baker", "Bo"}, {"Gone", "Cy", "DELETED"}, {"Adams", "Di"}});
    const QString other = contactFile(QStringLiteral("OTHER.DBF"), {{"Other", "X"}});
    writeSettings(("[MRU]\nItem1=" + file + "\nItem2=" + other + "\n").toUtf8());
    TQBMMain& w = start();
    EXPECT_EQ(w.currentFileName(), file);
    EXPECT_EQ(w.mainPage()->Last->text(), QStringLiteral("Adams"));
    EXPECT_EQ(w.mainPage()->First->text(), QStringLiteral("Di"));
    EXPECT_TRUE(action("mnuOrderLastName")->isChecked());
    EXPECT_EQ(w.contactTable().selectionRecordCount(), 3u);  // the soft-deleted one is left out
    EXPECT_EQ(w.GetMRUList(), (QStringList{file, other}));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("QUILLB1.DBF"))));
}

TEST_F(AppTest, AnExistingDefaultFileIsOpenedNotRecreated) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Kept", "Record"}});
    TQBMMain& w = start();
    EXPECT_EQ(w.contactTable().recCount(), 1u);
    EXPECT_EQ(w.mainPage()->Last->text(), QStringLiteral("Kept"));
}

TEST_F(AppTest, AHeadEntryThatNoLongerOpensLeavesTheWindowWithoutAFile) {
    const QString gone = path(QStringLiteral("GONE.DBF"));
    writeSettings(("[MRU]\nItem1=" + gone + "\n").toUtf8());
    script.acknowledge(QStringLiteral("File ") + gone + QStringLiteral(" not found"))
        .acknowledge(QStringLiteral("Unable to open ") + gone +
                     QStringLiteral("\r\n\r\n * May not an Quillbank file.\r\n * May be in use "
                                    "by another program or user"));
    TQBMMain& w = start();
    EXPECT_FALSE(w.contactTable().isOpen());
    EXPECT_TRUE(w.currentFileName().isEmpty());
    EXPECT_TRUE(w.currentOrder().isEmpty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillbank for Windows - ") + gone);
    EXPECT_FALSE(w.mainPage()->NoData->isHidden());
    // The list keeps the entry: only a successful open changes it.
    EXPECT_EQ(w.GetMRUList(), QStringList{gone});
}

TEST_F(AppTest, PreferencesFromTheSettingsFileApplyToTheDateBoxTheGridAndReading) {
    writeSettings("[Date]\nDateSeparator=.\nShortDateFmt=dd.mm.yy\nDateEditMask=!99.99.99;1;_\n");
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Dated", "One", "", "19971231"}});
    TQBMMain& w = start();
    EXPECT_EQ(w.mainPage()->Date->text(), QStringLiteral("31.12.97"));
    EXPECT_EQ(w.mainPage()->DateFormatLabel->text(), QStringLiteral("(dd.mm.yy)"));
    EXPECT_EQ(w.blankDateText(), QStringLiteral("  .  .  "));
    EXPECT_EQ(formatDate(xb::jdnFromYmd(2001, 2, 3)), QStringLiteral("03.02.01"));
    EXPECT_EQ(parseDate(QStringLiteral("31.12.97")), xb::jdnFromYmd(1997, 12, 31));
}

TEST_F(AppTest, WithoutASettingsFileTheDefaultsApply) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Dated", "One", "", "19971231"}});
    TQBMMain& w = start();
    EXPECT_EQ(w.preferences().shortDateFmt, QStringLiteral("mm/dd/yyyy"));
    EXPECT_EQ(w.preferences().dateEditMask, QStringLiteral("!99/99/9999;1;_"));
    EXPECT_EQ(w.mainPage()->Date->text(), QStringLiteral("12/31/1997"));
    EXPECT_EQ(w.blankDateText(), QStringLiteral("  /  /    "));
    EXPECT_FALSE(w.preferences().plugDate);
}

}  // namespace
}  // namespace qb
