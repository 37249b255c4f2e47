// Copy out: which targets are refused, and what the text and table copies hold.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "fixtures.h"
#include "store/contact_file.h"
#include "store/contact_schema.h"
#include "store/csv_reader.h"
#include "store/date_format.h"
#include "utilities/copy_out.h"

namespace qb::utilities {
namespace {

// Sixteen values in copy order, one of them holding all that trips a careless writer.
const QStringList kTricky = {"Dr",
                             "Zoë",
                             "Q",
                             "O'Hara, \"Jr\"",
                             "Head, \"Ops\"",
                             "Jones, Brown and Co",
                             "5\" Main St, Apt 2\r\nRear",
                             "Zürich",
                             "ZH",
                             "8001",
                             "Switzerland",
                             "+41 44 000",
                             "z@example.org",
                             "",
                             "03/14/2021",
                             "He said \"hi\""};

class CopyOutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("CONTACTS.DBF");
        auto ignore = [](const QString&) {};
        Dataset maker;
        ASSERT_TRUE(CreateContactFile(path, maker, ignore));
        maker.close();
        ASSERT_TRUE(OpenContactFile(path, contacts, ignore));
    }
    void add(const QStringList& values, const QString& memo = {}) {
        ASSERT_TRUE(contacts.insert());
        for (int i = 0; i < copiedFields().size(); ++i) {
            if (copiedFields()[i] == "DATE") continue;
            contacts.setText(copiedFields()[i], values.value(i));
        }
        if (!values.value(14).isEmpty()) contacts.setDate("DATE", *parseDate(values[14]));
        contacts.setMemo("MEMO", memo);
        ASSERT_TRUE(contacts.post());
    }
    QStringList blankExcept(const QString& last) {
        QStringList v;
        for (int i = 0; i < 16; ++i)
            v << (i == 3 ? last : QString());
        return v;
    }
    QTemporaryDir dir;
    QString path;
    Dataset contacts;
};

TEST_F(CopyOutTest, RefusesTheContactFileUnderAnyName) {
    const QString fpt = dir.filePath("CONTACTS.FPT"), cdx = dir.filePath("CONTACTS.CDX");
    ASSERT_TRUE(QFile::exists(fpt) && QFile::exists(cdx));
    const QString other = dir.filePath("other");
    ASSERT_TRUE(QDir().mkpath(other));
    ASSERT_TRUE(QFile::link(path, other + "/LINKED.TXT"));
    ASSERT_EQ(::link(QFile::encodeName(cdx).constData(),
                     QFile::encodeName(other + "/second.txt").constData()),
              0);
    // A table whose memo would be written into the contact file's memo.
    ASSERT_TRUE(QFile::link(fpt, other + "/COPY.FPT"));
    const QString itself = kCopyToItself;
    EXPECT_EQ(copyTargetProblem(path, dir.filePath("contacts.dbf"), CopyKind::Dbf), itself);
    EXPECT_EQ(copyTargetProblem(path, other + "/LINKED.TXT", CopyKind::Text), itself);
    EXPECT_EQ(copyTargetProblem(path, other + "/second.txt", CopyKind::Text), itself);
    EXPECT_EQ(copyTargetProblem(path, other + "/COPY.DBF", CopyKind::Dbf), itself);
    EXPECT_EQ(copyTargetProblem(path, fpt, CopyKind::Text), itself);
    EXPECT_EQ(copyTargetProblem(path, other + "/COPY.TXT", CopyKind::Dbf),
              QString(kMustHaveDbfExtension));
    EXPECT_EQ(copyTargetProblem(path, other + "/new.dbf", CopyKind::Dbf), QString());
    EXPECT_EQ(copyTargetProblem(path, other + "/COPY.TXT", CopyKind::Text), QString());
    // And the copy itself refuses, leaving the file alone.
    const QByteArray before = test::fileBytes(path);
    contacts.setSelection(kDeletionExclusion);
    EXPECT_EQ(
        copyRecordsOut(contacts, CopyKind::Text, other + "/LINKED.TXT", TextEncoding::Utf8).error,
        itself);
    EXPECT_EQ(test::fileBytes(path), before);
}

TEST_F(CopyOutTest, TextLinesHoldEveryValueAndReadBackTheSame) {
    add(kTricky);
    add(blankExcept("Plain"));
    QStringList gone = blankExcept("Gone");
    gone[0] = "deleted";
    add(gone);
    ASSERT_TRUE(contacts.setSelection(kDeletionExclusion));
    const QString target = dir.filePath("OUT.TXT");
    const CopyResult r = copyRecordsOut(contacts, CopyKind::Text, target, TextEncoding::Utf8);
    ASSERT_TRUE(r.error.isEmpty()) << r.detail.toStdString();
    EXPECT_EQ(r.copied, 2u);
    const QByteArray bytes = test::fileBytes(target);
    // A record without quotes or commas in its values is written as it always was.
    EXPECT_TRUE(
        bytes.contains("\r\n\"\",\"\",\"\",\"Plain\",\"\",\"\",\"\",\"\",\"\",\"\",\"\","
                       "\"\",\"\",\"\",\"\",\"\"\r\n"));
    EXPECT_EQ(readCsv(bytes), (std::vector<QStringList>{kTricky, blankExcept("Plain")}));

    // Windows-1252 on request: the same values, other bytes.
    const QString ansi = dir.filePath("ANSI.TXT");
    ASSERT_TRUE(
        copyRecordsOut(contacts, CopyKind::Text, ansi, TextEncoding::Windows1252).error.isEmpty());
    const QByteArray ansiBytes = test::fileBytes(ansi);
    EXPECT_TRUE(ansiBytes.contains("\"Z\xFCrich\""));
    EXPECT_EQ(readCsv(ansiBytes).front(), kTricky);
}

TEST_F(CopyOutTest, TableCopyCarriesTheMemoAndLeavesTheReservedFieldsEmpty) {
    add(kTricky, "line one\r\nline two");
    add(blankExcept("Second"), "");
    add(blankExcept("Third"), "a note");
    ASSERT_TRUE(contacts.setSelection(kDeletionExclusion));
    const QString target = dir.filePath("copy.dbf");
    ASSERT_TRUE(QFile(dir.filePath("copy.CDX")).open(QIODevice::WriteOnly));  // stale index
    const CopyResult r = copyRecordsOut(contacts, CopyKind::Dbf, target, TextEncoding::Utf8);
    ASSERT_TRUE(r.error.isEmpty()) << r.detail.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("copy.CDX")));
    Dataset copy;
    copy.open(target, xb::UseMode::ReadOnly);
    ASSERT_EQ(copy.recCount(), 3u);
    copy.setOrderTag({});
    copy.go(1);  // copied in last-name order: O'Hara before Second
    for (int i = 0; i < 16; ++i)
        if (copiedFields()[i] != "DATE") {
            EXPECT_EQ(copy.text(copiedFields()[i]), kTricky[i]);
        }
    EXPECT_EQ(copy.date("DATE"), *parseDate("03/14/2021"));
    EXPECT_EQ(copy.memo("MEMO"), "line one\r\nline two");
    for (const char* reserved : {"CARRIER", "BEGIN", "SEQNO"})
        EXPECT_EQ(copy.area().getRaw(reserved).find_first_not_of(' '), std::string::npos);
    // Records with and without a memo keep their order and their own memos.
    copy.go(2);
    EXPECT_EQ(copy.text(QStringLiteral("LNAME")), QStringLiteral("Second"));
    EXPECT_EQ(copy.memo(QStringLiteral("MEMO")), QString());
    copy.go(3);
    EXPECT_EQ(copy.text(QStringLiteral("LNAME")), QStringLiteral("Third"));
    EXPECT_EQ(copy.memo(QStringLiteral("MEMO")), QStringLiteral("a note"));
}

TEST_F(CopyOutTest, CancelKeepsTheRecordsAlreadyWritten) {
    for (const char* last : {"A", "B", "C"})
        add(blankExcept(last));
    ASSERT_TRUE(contacts.setSelection(kDeletionExclusion));
    int asked = 0;
    CopyReport report;
    report.cancelRequested = [&] { return ++asked == 2; };
    const QString target = dir.filePath("PART.TXT");
    const CopyResult r =
        copyRecordsOut(contacts, CopyKind::Text, target, TextEncoding::Utf8, report);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(readCsv(test::fileBytes(target)).size(), 2u);
    asked = 0;
    const QString table = dir.filePath("PART.DBF");
    EXPECT_EQ(copyRecordsOut(contacts, CopyKind::Dbf, table, TextEncoding::Utf8, report).copied,
              2u);
    Dataset copy;
    copy.open(table, xb::UseMode::ReadOnly);
    EXPECT_EQ(copy.recCount(), 2u);
}

}  // namespace
}  // namespace qb::utilities
