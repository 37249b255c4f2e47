// The contact file routines: what they create, which files they accept, and the notices the
// user reads when a file is not a usable contact file.
#include <gtest/gtest.h>
#include <QFile>

#include "store/contact_file.h"
#include "store/contact_schema.h"
#include "store_test_util.h"
#include "xbase/file.h"

namespace qb {
namespace {

using test::Notices;

class ContactFileTest : public ::testing::Test {
  protected:
    QString path(const char* name) const { return dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir dir;
    Notices notices;
    Dataset table;
};

TEST_F(ContactFileTest, CreatingMakesTheTwentyFieldsAndAllTagsAndLeavesTheFileOpen) {
    const QString file = path("QUILLB1.DBF");
    ASSERT_TRUE(CreateContactFile(file, table, notices.sink()));
    EXPECT_TRUE(notices.texts.isEmpty()) << notices.texts.join('|').toStdString();
    ASSERT_TRUE(table.isOpen());
    const xb::WorkArea& area = table.area();
    ASSERT_EQ(area.fieldCount(), 20);
    const auto& fields = contactFields();
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(area.fieldName(i + 1), fields[size_t(i)].name);
        EXPECT_EQ(area.fieldWidth(fields[size_t(i)].name), fields[size_t(i)].width);
    }
    ASSERT_EQ(area.orderCount(), 21);
    for (int i = 0; i < 21; ++i) {
        EXPECT_EQ(area.tagName(i + 1), contactTags()[size_t(i)].name);
        EXPECT_EQ(area.orderKey(i + 1), contactTags()[size_t(i)].keyExpr);
    }
    EXPECT_EQ(table.recCount(), 0u);
    EXPECT_FALSE(table.onRecord());
    // The file is held exclusively while open.
    Dataset other;
    EXPECT_FALSE(OpenContactFile(file, other, notices.sink()));
    // The notice ends with the cause, on a line of its own.
    EXPECT_EQ(notices.texts,
              QStringList{unableToOpenMessage(
                  file, QStringLiteral("File ") + file +
                            QStringLiteral(" is in use by another program or user"))});
}

TEST_F(ContactFileTest, CreatingWhereNoFileCanBeWrittenSaysSo) {
    const QString file = path("no-such-folder/QUILLB1.DBF");
    EXPECT_FALSE(CreateContactFile(file, table, notices.sink()));
    EXPECT_EQ(notices.texts, QStringList{QStringLiteral("File creation failed")});
    EXPECT_FALSE(table.isOpen());
}

TEST_F(ContactFileTest, AStateFourWideOpensButAnotherLastNameWidthDoesNot) {
    const QString narrowState = path("NARROW.DBF");
    test::createWithWidth(narrowState.toStdString(), "STATE", 4);
    test::addPeople(narrowState.toStdString(), {{"Zeller", "Ann"}, {"Abbott", "Bo"}});
    ASSERT_TRUE(OpenContactFile(narrowState, table, notices.sink()));
    EXPECT_TRUE(notices.texts.isEmpty());
    EXPECT_EQ(table.orderTag(), QStringLiteral("LNAME"));
    EXPECT_EQ(table.text(QStringLiteral("LNAME")), QStringLiteral("Abbott"));

    for (const auto& [field, width, cause] :
         {std::tuple{"LNAME", 25, "the field LNAME is 25 wide, not 30"},
          {"STATE", 10, "the field STATE is 10 wide, not 20"},
          {"ZIP", 12, "the field ZIP is 12 wide, not 10"}}) {
        notices.texts.clear();
        const QString odd = path("ODD.DBF");
        for (const char* ext : {".DBF", ".CDX", ".FPT"})
            QFile::remove(QString::fromStdString(xb::withExtension(odd.toStdString(), ext)));
        test::createWithWidth(odd.toStdString(), field, width);
        EXPECT_FALSE(OpenContactFile(odd, table, notices.sink())) << field;
        EXPECT_FALSE(table.isOpen());
        ASSERT_EQ(notices.texts.size(), 1);
        EXPECT_EQ(notices.texts[0], QStringLiteral("Unable to open ") + odd +
                                        QStringLiteral("\r\n\r\n * May not an Quillbank file.\r\n"
                                                       " * May be in use by another program or user"
                                                       "\r\nNot a contact file: ") +
                                        QLatin1String(cause));
    }
}

TEST_F(ContactFileTest, ADamagedFileIsRefusedWithTheCause) {
    const QString file = path("BAD.DBF");
    QFile bad(file);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(40, '\x03'));
    bad.close();
    EXPECT_FALSE(OpenContactFile(file, table, notices.sink(), xb::UseMode::ReadOnly));
    ASSERT_EQ(notices.texts.size(), 1);
    const QString standard = unableToOpenMessage(file) + QStringLiteral("\r\n");
    EXPECT_TRUE(notices.texts[0].startsWith(standard));
    EXPECT_GT(notices.texts[0].size(), standard.size() + 5) << notices.texts[0].toStdString();

    // A header counting a record the file has no room for.
    const QString empty = path("EMPTY.DBF");
    createContactTable(empty.toStdString());
    QFile patch(empty);
    ASSERT_TRUE(patch.open(QIODevice::ReadWrite));
    patch.seek(4);
    patch.write(QByteArray("\x01\x00\x00\x00", 4));
    patch.close();
    notices.texts.clear();
    EXPECT_FALSE(OpenContactFile(empty, table, notices.sink()));
    ASSERT_EQ(notices.texts.size(), 1);
    EXPECT_TRUE(notices.texts[0].startsWith(unableToOpenMessage(empty) + QStringLiteral("\r\n")));
    EXPECT_TRUE(notices.texts[0].endsWith(
        QStringLiteral("the header claims 1 record but the file holds only 0")))
        << notices.texts[0].toStdString();
}

TEST_F(ContactFileTest, AMissingFileIsNamedBeforeTheOpenFailureIsReported) {
    const QString file = path("GONE.DBF");
    EXPECT_FALSE(OpenContactFile(file, table, notices.sink()));
    EXPECT_EQ(notices.texts,
              (QStringList{QStringLiteral("File ") + file + QStringLiteral(" not found"),
                           unableToOpenMessage(file)}));
}

TEST_F(ContactFileTest, AnIndexLackingARequiredTagOpensInRecordOrderWithTheRebuildNotice) {
    const std::string file = path("PART.DBF").toStdString();
    createContactTable(file);
    {
        xb::WorkArea area;
        area.use(file);
        std::vector<xb::TagDef> tags(contactTags().begin(), contactTags().begin() + 17);
        area.indexTags(tags);  // everything up to MIDDLE, but no DELETED tag
        area.close();
    }
    test::addPeople(file, {{"Young", "Cy"}, {"Adams", "Di"}, {"Miller", "Ed"}});
    ASSERT_TRUE(OpenContactFile(path("PART.DBF"), table, notices.sink()));
    EXPECT_EQ(notices.texts,
              QStringList{QStringLiteral("The index file for ") + path("PART.DBF") +
                          QStringLiteral("\r\nis missing or invalid. Please select [Rebuild "
                                         "Indexes]\r\nfrom the [File] menu")});
    EXPECT_TRUE(table.orderTag().isEmpty());
    QStringList seen;
    for (table.first(); !table.eof(); table.next())
        seen << table.text(QStringLiteral("LNAME"));
    EXPECT_EQ(seen, (QStringList{"Young", "Adams", "Miller"}));

    // Tags past DELETED are not required.
    notices.texts.clear();
    table.close();
    {
        xb::WorkArea area;
        area.use(file);
        buildContactTags(area);
        area.close();
    }
    QFile::remove(path("PART.CDX"));
    {
        xb::WorkArea area;
        area.use(file);
        std::vector<xb::TagDef> tags(contactTags().begin(), contactTags().begin() + 18);
        area.indexTags(tags);
        area.close();
    }
    EXPECT_TRUE(OpenContactFile(path("PART.DBF"), table, notices.sink()));
    EXPECT_TRUE(notices.texts.isEmpty());
    EXPECT_EQ(table.orderTag(), QStringLiteral("LNAME"));
}

TEST_F(ContactFileTest, RebuildingOverADamagedIndexLeavesExactlyTheTwentyOneTags) {
    const QString file = path("DAMAGED.DBF");
    ASSERT_TRUE(CreateContactFile(file, table, notices.sink()));
    table.close();
    test::addPeople(file.toStdString(), {{"Brown", "Al"}, {"Avery", "Jo"}});
    {
        QFile cdx(path("DAMAGED.CDX"));
        ASSERT_TRUE(cdx.open(QIODevice::ReadWrite));
        cdx.seek(0);
        cdx.write(QByteArray(512, '\xEE'));
    }
    ASSERT_TRUE(OpenContactFile(file, table, notices.sink()));
    EXPECT_EQ(notices.texts, QStringList{missingIndexMessage(file)});
    ASSERT_TRUE(BuildContactIndexes(table, notices.sink()));
    EXPECT_EQ(table.area().orderCount(), 21);
    EXPECT_EQ(table.area().checkIndexes(), "");
    table.close();
    notices.texts.clear();
    ASSERT_TRUE(OpenContactFile(file, table, notices.sink()));
    EXPECT_TRUE(notices.texts.isEmpty());
    EXPECT_EQ(table.text(QStringLiteral("LNAME")), QStringLiteral("Avery"));
}

TEST_F(ContactFileTest, SoftDeletionIgnoresLetterCase) {
    const QString file = path("SOFT.DBF");
    ASSERT_TRUE(CreateContactFile(file, table, notices.sink()));
    table.close();
    test::addPeople(file.toStdString(), {{"Kept", "A"},
                                         {"Gone", "B", "DELETED"},
                                         {"Lower", "C", "deleted"},
                                         {"Almost", "D", "DELETE"}});
    ASSERT_TRUE(OpenContactFile(file, table, notices.sink()));
    ASSERT_TRUE(table.setSelection(QString::fromLatin1(kDeletionExclusion)));
    QStringList seen;
    for (table.first(); !table.eof(); table.next())
        seen << table.text(QStringLiteral("LNAME"));
    EXPECT_EQ(seen, (QStringList{"Almost", "Kept"}));
}

}  // namespace
}  // namespace qb
