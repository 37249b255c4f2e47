// Opening and creating contact files from the menu, the recently-used list, and files that are
// not proper contact files.
#include <QStackedWidget>

#include "app/browse_page.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app/mru_list.h"
#include "app_fixture.h"
#include "store/contact_file.h"

namespace qb {
namespace {

using test::AppTest;

TEST_F(AppTest, TheRecentlyUsedListKeepsFourFilesMostRecentFirst) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Default", "File"}});
    TQBMMain& w = start();
    QStringList files;
    for (const char* name : {"A.DBF", "B.DBF", "C.DBF", "D.DBF"})
        files << contactFile(QLatin1String(name), {{name, "x"}});
    for (const QString& f : files)
        ASSERT_TRUE(w.OpenQBWDBF(f));
    const QStringList fourth = {files[3], files[2], files[1], files[0]};
    EXPECT_EQ(w.GetMRUList(), fourth);  // the default file dropped out

    // Opening the head again changes nothing.
    ASSERT_TRUE(w.OpenQBWDBF(files[3]));
    EXPECT_EQ(w.GetMRUList(), fourth);
    // An older entry moves to the head without duplicates.
    ASSERT_TRUE(w.OpenQBWDBF(files[1]));
    EXPECT_EQ(w.GetMRUList(), (QStringList{files[1], files[3], files[2], files[0]}));
    // A fifth distinct file drops the oldest.
    const QString fifth = contactFile(QStringLiteral("E.DBF"), {{"E", "x"}});
    ASSERT_TRUE(w.OpenQBWDBF(fifth));
    EXPECT_EQ(w.GetMRUList(), (QStringList{fifth, files[1], files[3], files[2]}));
    EXPECT_EQ(mruMenu(), w.GetMRUList());

    // Choosing a menu entry opens that file.
    action("MRUItem3")->trigger();
    EXPECT_EQ(w.currentFileName(), files[3]);
    EXPECT_EQ(w.mainPage()->Last->text(), QStringLiteral("D.DBF"));
    EXPECT_EQ(w.GetMRUList().front(), files[3]);
}

TEST_F(AppTest, PathsThatDifferOnlyInLetterCaseAreSeparateEntries) {
    EXPECT_EQ(promoteMruEntry({QStringLiteral("/x/a.dbf"), QStringLiteral("/x/B.dbf")},
                              QStringLiteral("/x/A.dbf")),
              (QStringList{"/x/A.dbf", "/x/a.dbf", "/x/B.dbf"}));
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Default", "File"}});
    TQBMMain& w = start();
    const QString lower = contactFile(QStringLiteral("case.dbf"), {{"Lower", "x"}});
    const QString upper = contactFile(QStringLiteral("CASE.DBF"), {{"Upper", "x"}});
    ASSERT_TRUE(w.OpenQBWDBF(lower));
    ASSERT_TRUE(w.OpenQBWDBF(upper));
    EXPECT_EQ(w.GetMRUList(), (QStringList{upper, lower, path(QStringLiteral("QUILLB1.DBF"))}));
    // Entries with an ampersand show it rather than an access key.
    const QString amp = contactFile(QStringLiteral("R&D.DBF"), {{"Lab", "x"}});
    ASSERT_TRUE(w.OpenQBWDBF(amp));
    EXPECT_EQ(mruMenu().front(), QString(amp).replace(u'&', QStringLiteral("&&")));
}

TEST_F(AppTest, OpenRefusesNamesWithoutTheDbfExtension) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Default", "File"}});
    TQBMMain& w = start();
    const QString notes = path(QStringLiteral("notes.txt"));
    script.answerOpenFile(notes).acknowledge(QStringLiteral("Must be a DBF file"));
    action("mnuOpen")->trigger();
    EXPECT_EQ(script.asked().front().caption, QStringLiteral("Open"));
    EXPECT_EQ(w.currentFileName(), path(QStringLiteral("QUILLB1.DBF")));

    // A lower-case extension is fine.
    const QString other = contactFile(QStringLiteral("other.dbf"), {{"Other", "x"}});
    script.answerOpenFile(other);
    action("mnuOpen")->trigger();
    EXPECT_EQ(w.currentFileName(), other);
    // Cancelling the dialog changes nothing.
    script.answerOpenFile(std::nullopt);
    action("mnuOpen")->trigger();
    EXPECT_EQ(w.currentFileName(), other);
}

TEST_F(AppTest, NewRefusesAnExistingFileAndAWrongExtensionAndOpensWhatItCreates) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Default", "File"}});
    TQBMMain& w = start();
    const QString existing = contactFile(QStringLiteral("TAKEN.DBF"), {{"Taken", "x"}});
    const QByteArray before = test::fileBytes(existing);
    script.answerSaveFile(existing)
        .acknowledge(QStringLiteral("That file already exists.Please select another name"))
        .answerSaveFile(path(QStringLiteral("list.csv")))
        .acknowledge(QStringLiteral("Must have a .DBF extension"));
    action("mnuNew")->trigger();
    action("mnuNew")->trigger();
    EXPECT_EQ(w.currentFileName(), path(QStringLiteral("QUILLB1.DBF")));
    EXPECT_EQ(test::fileBytes(existing), before);  // the refused name was left as it was

    const QString fresh = path(QStringLiteral("FRESH.DBF"));
    script.answerSaveFile(fresh).acknowledge(test::kEmptyFileMessage);
    action("mnuNew")->trigger();
    EXPECT_EQ(w.currentFileName(), fresh);
    EXPECT_EQ(w.contactTable().area().orderCount(), 21);
    EXPECT_FALSE(w.contactTable().onRecord());
    EXPECT_EQ(w.GetMRUList().front(), fresh);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillbank for Windows - ") + fresh);
    // The creating table let go of the file.
    Dataset probe;
    EXPECT_FALSE(OpenContactFile(fresh, probe, [](const QString&) {}));
}

TEST_F(AppTest, AFourWideStateOpensButAnotherLastNameWidthFallsBackToNoFile) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Default", "File"}});
    TQBMMain& w = start();
    const QString narrow =
        contactFile(QStringLiteral("NARROW.DBF"), {{"Narrow", "State"}}, "STATE", 4);
    ASSERT_TRUE(w.OpenQBWDBF(narrow));
    EXPECT_EQ(w.mainPage()->Last->text(), QStringLiteral("Narrow"));

    const QString wide = contactFile(QStringLiteral("WIDE.DBF"), {{"Wide", "Name"}}, "LNAME", 40);
    script.acknowledge(unableToOpenMessage(
        wide, QStringLiteral("Not a contact file: the field LNAME is 40 wide, not 30")));
    EXPECT_FALSE(w.OpenQBWDBF(wide));
    EXPECT_FALSE(w.contactTable().isOpen());
    EXPECT_TRUE(w.currentFileName().isEmpty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quillbank for Windows - ") + wide);
    EXPECT_FALSE(w.mainPage()->NoData->isHidden());
    EXPECT_TRUE(w.mainPage()->Last->text().isEmpty());
    EXPECT_EQ(w.GetMRUList().front(), narrow);
}

TEST_F(AppTest, AnIndexMissingATagOpensWithTheNoticeAndBrowsesInRecordOrder) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Default", "File"}});
    TQBMMain& w = start();
    const QString file =
        contactFile(QStringLiteral("NOIDX.DBF"), {{"Young", "A"}, {"Adams", "B"}, {"Miller", "C"}});
    // Rebuild the index without the DELETED tag.
    {
        QFile::remove(path(QStringLiteral("NOIDX.CDX")));
        xb::WorkArea area;
        area.use(file.toStdString());
        area.indexTags(std::vector<xb::TagDef>(contactTags().begin(), contactTags().begin() + 17));
        area.close();
    }
    script.acknowledge(missingIndexMessage(file));
    ASSERT_TRUE(w.OpenQBWDBF(file));
    EXPECT_EQ(w.currentFileName(), file);
    EXPECT_EQ(w.mainPage()->Last->text(), QStringLiteral("Young"));
    w.BrowseButtonClick();
    const auto* model = w.browsePage()->DBGrid1->model();
    ASSERT_EQ(model->rowCount(), 3);
    QStringList shown;
    for (int r = 0; r < 3; ++r)
        shown << model->index(r, 0).data().toString();
    EXPECT_EQ(shown, (QStringList{"Young", "Adams", "Miller"}));
    // The menu still says Last Name; the file simply has no usable tag for it.
    EXPECT_EQ(w.currentOrder(), QStringLiteral("LNAME"));
}

}  // namespace
}  // namespace qb
