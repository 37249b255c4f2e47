// The DBF import: the automatic match with its type cases, what the picker offers, and the
// values taken from a source table.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "import/dbf_import.h"
#include "store/contact_file.h"

namespace qb::import {
namespace {

std::vector<SourceField> sourceOf(const std::vector<std::pair<const char*, char>>& list) {
    std::vector<SourceField> fields;
    for (const auto& [name, type] : list)
        fields.push_back({type, QString::fromLatin1(name), 10, {}});
    return fields;
}

QStringList matchesOf(const std::vector<SourceField>& fields) {
    QStringList m;
    for (const SourceField& f : fields)
        m << f.match;
    return m;
}

TEST(DbfMatch, ProposesByNameWhereTheTypeFits) {
    std::vector<SourceField> fields = sourceOf({{"LAST_NAME", 'C'},
                                                {"FIRST_NAME", 'C'},
                                                {"ADDRESS1", 'C'},
                                                {"ADDRESS2", 'C'},
                                                {"ZIPCODE", 'C'},
                                                {"NOTES", 'C'},
                                                {"SALUTATION", 'C'},
                                                {"LASTVISIT", 'D'},
                                                {"STREETNO", 'N'},
                                                {"PHONENUM", 'N'},
                                                {"PICTURE", 'G'},
                                                {"COMMENTS", 'M'},
                                                {"ACTIVE", 'L'},
                                                {"CODES", 'C'}});
    applyAutomaticMatch(fields);
    // ZIPCODE loses "Zip/Post Code" to CODES, the later field; ADDRESS1 loses "Street".
    EXPECT_EQ(matchesOf(fields),
              (QStringList{"Last", "First", "", "Street", "", "Codes", "Prefix", "Date", "",
                           "Phone", "", "Memo", "", "Zip/Post Code"}));
}

TEST(DbfMatch, ThePickerOffersTheRowsTypes) {
    const std::vector<SourceField> fields = sourceOf(
        {{"NAME", 'C'}, {"BORN", 'D'}, {"AGE", 'N'}, {"OK", 'L'}, {"PIC", 'G'}, {"TEXT", 'M'}});
    EXPECT_EQ(offeredFields(fields, 2), (QStringList{"NAME", "AGE", "OK"}));  // Last
    EXPECT_EQ(offeredFields(fields, 15), (QStringList{"BORN"}));              // Date
    EXPECT_EQ(offeredFields(fields, 16), (QStringList{"TEXT"}));              // Memo
}

TEST(DbfImport, TakesEachTypeAndSkipsMarkedRecords) {
    QTemporaryDir dir;
    const std::string src = (dir.path() + "/SOURCE.DBF").toStdString();
    {
        xb::WorkArea a;
        a.createNew(src);
        a.createField("SURNAME", 'C', 40);
        a.createField("BORN", 'D', 8);
        a.createField("ZIP", 'N', 5);
        a.createField("VIP", 'L', 1);
        a.createField("REMARKS", 'M', 10);
        a.createExec();
        a.use(src);
        const char* names[] = {"An exceedingly long surname beyond thirty", "Gone", "Last"};
        for (int i = 0; i < 3; ++i) {
            a.append();
            a.putText("SURNAME", names[i]);
            a.putDate("BORN", xb::jdnFromYmd(1970 + i, 1, 2));
            a.putNumber("ZIP", 2134 + i);
            a.putLogical("VIP", i == 0);
            a.replace("REMARKS", i == 0 ? "one\r\ntwo" : "");
            a.post();
        }
        a.go(2);
        a.deleteRecord();
        a.close();
    }
    const DbfSource source = readDbfSource(QString::fromStdString(src));
    ASSERT_TRUE(source.problem.isEmpty());
    std::vector<SourceField> fields = source.fields;
    applyAutomaticMatch(fields);
    fields[3].match = "Codes";  // the logical, by hand
    EXPECT_EQ(matchesOf(fields), (QStringList{"Last", "Date", "Zip/Post Code", "Codes", "Memo"}));

    const QString path = dir.path() + "/LIST.DBF";
    Dataset contacts;
    ASSERT_TRUE(CreateContactFile(path, contacts, [](const QString&) {}));
    const ImportResult r = importDbfFile(contacts.area(), QString::fromStdString(src), fields, {});
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(r.imported, 2u);
    xb::WorkArea& a = contacts.area();
    a.go(1);
    EXPECT_EQ(a.getText("LNAME"), "An exceedingly long surname be");
    EXPECT_EQ(a.getDate("DATE"), xb::jdnFromYmd(1970, 1, 2));
    EXPECT_EQ(a.getText("ZIP"), "2134");
    EXPECT_EQ(a.getText("NOTES"), "T");
    EXPECT_EQ(a.getMemo("MEMO"), "one\r\ntwo");
    a.go(2);
    EXPECT_EQ(a.getText("LNAME"), "Last");
    EXPECT_EQ(a.getText("NOTES"), "F");
    EXPECT_EQ(a.getMemo("MEMO"), "");

    QFile(dir.path() + "/EMPTY.DBF").open(QIODevice::WriteOnly);
    EXPECT_EQ(readDbfSource(dir.path() + "/EMPTY.DBF").problem,
              "Unable to open the file " + dir.path() + "/EMPTY.DBF");
}

TEST(DbfImport, TakesTextFromAnotherCodePageAndAsksAboutWhatItCannotStore) {
    QTemporaryDir dir;
    const std::string src = (dir.path() + "/DOS.DBF").toStdString();
    {
        xb::WorkArea a;
        a.createNew(src);
        a.createField("SURNAME", 'C', 20);
        a.createExec();
    }
    {
        QFile f(QString::fromStdString(src));  // language driver: code page 437
        ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(29) && f.putChar('\x01'));
    }
    {
        xb::WorkArea a;
        a.use(src);
        ASSERT_EQ(a.codePage().id(), xb::CodePageId::Cp437);
        for (const char* name : {"\u00C7\u00E9dille", "  M\u00FCller \u256C  "}) {
            a.append();
            a.putText("SURNAME", name);
            a.post();
        }
    }
    std::vector<SourceField> fields = readDbfSource(QString::fromStdString(src)).fields;
    applyAutomaticMatch(fields);
    const QString path = dir.path() + "/LIST.DBF";
    Dataset contacts;
    ASSERT_TRUE(CreateContactFile(path, contacts, [](const QString&) {}));
    QStringList asked;
    ImportObserver observer;
    observer.replaceUnholdable = [&](const QString& q) {
        asked << q;
        return asked.size() > 1;
    };
    const QString from = QString::fromStdString(src);
    EXPECT_TRUE(importDbfFile(contacts.area(), from, fields, observer).declined);
    EXPECT_EQ(contacts.area().recCount(), 0u);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith("Record 2, field SURNAME holds the character \"\u256C\""));

    EXPECT_EQ(importDbfFile(contacts.area(), from, fields, observer).imported, 2u);
    xb::WorkArea& a = contacts.area();
    a.go(1);
    EXPECT_EQ(a.getText("LNAME"), "\u00C7\u00E9dille");
    a.go(2);
    EXPECT_EQ(a.getText("LNAME"), "M\u00FCller ?");
}

}  // namespace
}  // namespace qb::import
