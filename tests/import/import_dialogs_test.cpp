// The import windows: the match buttons, the DBF field picker and automatic match, and an
// ASCII import run through its window to the rebuilt indexes.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "fixtures.h"
#include "import/ascii_import_dialog.h"
#include "import/dbf_import_dialog.h"
#include "store/contact_file.h"

namespace qb::import {
namespace {

TEST(ImportWindows, MatchButtonsTakeAndGiveBackFields) {
    AsciiSample sample;
    sample.fieldCount = 3;
    sample.maxLength = {5, 5, 5};
    sample.lines = {{"a", "b", "c"}};
    TAsciiMatch match(sample, {"Last", "", ""});
    EXPECT_FALSE(match.button("Last")->isEnabled());
    match.FieldButtonClick("First");  // row 1 had Last
    EXPECT_TRUE(match.button("Last")->isEnabled());
    EXPECT_FALSE(match.button("First")->isEnabled());
    match.FieldButtonClick("Memo");  // moved on to row 2
    match.FieldButtonClick("Memo");
    EXPECT_TRUE(match.button("Memo")->isEnabled());
    EXPECT_EQ(match.matches(), (QStringList{"First", "Memo", "Memo"}));
    match.ASCIIGrid->selectRow(0);
    match.FieldButtonClick("(none)");
    EXPECT_TRUE(match.button("First")->isEnabled());
    EXPECT_EQ(match.matches(), (QStringList{"", "Memo", "Memo"}));
    EXPECT_TRUE(match.button("Date"));
}

TEST(ImportWindows, DbfMatchProposesOnceAndThePickerMovesFields) {
    QTemporaryDir dir;
    const QString src = dir.filePath("SRC.DBF");
    {
        xb::WorkArea a;
        a.createNew(src.toStdString());
        a.createField("LAST_NAME", 'C', 20);
        a.createField("CITY", 'C', 20);
        a.createField("SEEN", 'D', 8);
        a.createExec();
        a.use(src.toStdString());
        a.append();
        a.putText("LAST_NAME", "Smith");
        a.post();
        a.close();
    }
    Dataset contacts;
    test::PromptScript script;
    script.script.answerOpenFile(src);
    TDBFImport window(contacts, dir.path());
    window.SelectButtonClick();
    ASSERT_TRUE(window.MatchButton->isEnabled());
    int opened = 0;
    window.runMatch = [&](TDBFMatch& m) {
        ++opened;
        if (opened == 1) {
            EXPECT_EQ(m.rowField(2), "LAST_NAME");  // Last
            EXPECT_EQ(m.rowField(15), "SEEN");      // Date
            m.pickField = [](const QStringList& names, const QString& current) {
                EXPECT_EQ(names, (QStringList{"LAST_NAME", "CITY"}));
                EXPECT_EQ(current, "");
                return std::optional<QString>("CITY");
            };
            m.selectRow(0);  // Prefix takes CITY from City
            m.SelectField();
            EXPECT_EQ(m.rowField(0), "CITY");
            EXPECT_EQ(m.rowField(7), "");
        } else {
            // Saved matches come back; the automatic match does not run again.
            EXPECT_EQ(m.rowField(0), "CITY");
            EXPECT_EQ(m.rowField(7), "");
        }
        return true;
    };
    window.MatchButtonClick();
    window.MatchButtonClick();
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(window.ImportButton->isEnabled());
    EXPECT_EQ(window.sourceFields()[1].match, "Prefix");
    script.verify();
}

TEST(ImportWindows, AnAsciiImportEndsWithTheIndexesRebuilt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("LIST.DBF");
    Dataset contacts;
    ASSERT_TRUE(CreateContactFile(path, contacts, [](const QString&) {}));
    const QString text = dir.filePath("in.txt");
    ASSERT_TRUE(test::writeFileBytes(text, "Smith,Ann\r\nJones,Bo\r\n"));
    test::PromptScript script;
    script.script.answerOpenFile(text).acknowledge("Import complete. Imported 2 records.");
    TAsciiImport window(contacts, dir.path());
    window.SelectButtonClick();
    ASSERT_TRUE(window.MatchButton->isEnabled());
    EXPECT_EQ(window.sample().fieldCount, 2);
    window.setMatches({"Last", "First"});
    ASSERT_TRUE(window.ImportButton->isEnabled());
    window.ImportButtonClick();
    script.verify();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(contacts.area().recCount(), 2u);
    EXPECT_GT(contacts.area().tagArea("LNAME"), 0);
    EXPECT_EQ(contacts.area().checkIndexes(), "");
}

}  // namespace
}  // namespace qb::import
