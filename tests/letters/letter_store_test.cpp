// The letters table: made only where none exists, never over one that will not open, and
// templates moving between the memo and the document model.
#include <QFile>
#include <QTextBlock>

#include "letters/letter_store.h"
#include "letters_fixture.h"
#include "xbase/error.h"

namespace {

using namespace letterstest;
using qb::Dataset;
using qb::richtext::PageSettings;
namespace letters = qb::letters;

TEST(LetterStore, CreatesAMissingTableWithItsFieldsAndTag) {
    qb::test::ProgramFolder folder;
    Dataset table;
    ASSERT_TRUE(letters::openLettersTable(folder.path(), table));
    EXPECT_EQ(table.fieldType(QStringLiteral("DESCRIPT")), 'C');
    EXPECT_EQ(table.fieldWidth(QStringLiteral("DESCRIPT")), 50);
    EXPECT_EQ(table.fieldType(QStringLiteral("RTF")), 'M');
    EXPECT_EQ(table.orderTag(), QStringLiteral("DESCRIPT"));
    EXPECT_FALSE(table.onRecord());
}

TEST(LetterStore, LeavesAFileThatWillNotOpenUntouched) {
    qb::test::ProgramFolder folder;
    const QString path = folder.file(QStringLiteral("QBMLTRS.DBF"));
    {
        // Damaged: not a table at all.
        const QByteArray junk("this is not a table, but someone's letters may be in it");
        ASSERT_TRUE(qb::test::writeFileBytes(path, junk));
        Dataset table;
        EXPECT_FALSE(letters::openLettersTable(folder.path(), table));
        EXPECT_EQ(qb::test::fileBytes(path), junk);
        QFile::remove(path);
    }
    {
        // Held by another opener.
        Dataset mine;
        ASSERT_TRUE(letters::openLettersTable(folder.path(), mine));
        const QTextDocument doc;
        ASSERT_TRUE(
            letters::saveLetter(mine, true, QStringLiteral("Kept"), doc, PageSettings{}, nullptr));
        // Opened again, so that no write of the save is still held back while the bytes are taken.
        mine.close();
        ASSERT_TRUE(letters::openLettersTable(folder.path(), mine));
        const QByteArray before = qb::test::fileBytes(path);
        Dataset other;
        EXPECT_FALSE(letters::openLettersTable(folder.path(), other));
        EXPECT_EQ(qb::test::fileBytes(path), before);
        mine.close();
        ASSERT_TRUE(letters::openLettersTable(folder.path(), other));
        EXPECT_EQ(other.text(QStringLiteral("DESCRIPT")), QStringLiteral("Kept"));
    }
}

TEST(LetterStore, SavedTemplatesLoadBackWithTheirPage) {
    qb::test::ProgramFolder folder;
    Dataset table;
    ASSERT_TRUE(letters::openLettersTable(folder.path(), table));
    Template t(rtfOf("Dear {\\b [First]}, \\{braces\\} and \\\\ stay.\\par Bye",
                     "\\paperw11906\\paperh16838\\margl1000\\margr1200\\margt900\\margb800"));
    ASSERT_TRUE(
        letters::saveLetter(table, true, QStringLiteral("Welcome"), t.doc, t.page, nullptr));

    QTextDocument doc;
    PageSettings page;
    ASSERT_TRUE(letters::findLetter(table, QStringLiteral("  welcome ")));
    EXPECT_EQ(letters::LoadRichText(table, doc, page), QString());
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("Dear [First], {braces} and \\ stay.\nBye"));
    EXPECT_EQ(page, t.page);

    // Changing the row keeps one row.
    ASSERT_TRUE(letters::saveLetter(table, false, QStringLiteral("Welcome"), doc, page, nullptr));
    EXPECT_EQ(table.selectionRecordCount(), 1u);
    EXPECT_FALSE(letters::findLetter(table, QStringLiteral("Goodbye")));
}

TEST(LetterStore, ADamagedMemoLoadsWhatIsReadableWithANotice) {
    qb::test::ProgramFolder folder;
    Dataset table;
    ASSERT_TRUE(letters::openLettersTable(folder.path(), table));
    ASSERT_TRUE(table.insert());
    table.setText(QStringLiteral("DESCRIPT"), QStringLiteral("Broken"));
    table.setMemo(QStringLiteral("RTF"), QStringLiteral("{\\rtf1 Hello {\\b there"));
    ASSERT_TRUE(table.post());
    QTextDocument doc;
    PageSettings page;
    letters::LoadRichText(table, doc, page);
    EXPECT_TRUE(doc.toPlainText().startsWith(QStringLiteral("Hello")));

    // Text another program stored with 8-bit characters is read in the table's code page.
    table.edit();
    table.setMemo(QStringLiteral("RTF"), QStringLiteral("{\\rtf1\\ansi 5 \u20AC caf\u00E9}"));
    ASSERT_TRUE(table.post());
    letters::LoadRichText(table, doc, page);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("5 \u20AC caf\u00E9"));

    table.edit();
    table.setMemo(QStringLiteral("RTF"), QStringLiteral("plain words, no markup"));
    ASSERT_TRUE(table.post());
    EXPECT_FALSE(letters::LoadRichText(table, doc, page).isEmpty());
}

TEST(LetterStore, AFailedSaveIsReportedAndChangesNothing) {
    qb::test::ProgramFolder folder;
    {
        Dataset table;
        ASSERT_TRUE(letters::openLettersTable(folder.path(), table));
    }
    Dataset table;
    ASSERT_TRUE(letters::openLettersTable(folder.path(), table, xb::UseMode::ReadOnly));
    QTextDocument doc(QStringLiteral("text"));
    QString why;
    EXPECT_FALSE(
        letters::saveLetter(table, true, QStringLiteral("New"), doc, PageSettings{}, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_FALSE(table.editing());
    EXPECT_EQ(table.recCount(), 0u);
}

}  // namespace
