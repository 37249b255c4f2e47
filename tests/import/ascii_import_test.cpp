// The ASCII import: sampling, what each match stores, the code-page question, cancelling, and
// a copy out that comes back unchanged.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "fixtures.h"
#include "import/ascii_import.h"
#include "store/contact_file.h"
#include "store/contact_schema.h"
#include "store/date_format.h"
#include "utilities/copy_out.h"
#include "xbase/file.h"

namespace qb::import {
namespace {

class AsciiImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("LIST.DBF");
        Dataset maker;
        ASSERT_TRUE(CreateContactFile(path, maker, [](const QString&) {}));
        maker.close();
        ASSERT_TRUE(OpenTableFile(path, contacts, [](const QString&) {}));
    }
    QString textFile(const QByteArray& bytes) {
        const QString p = dir.filePath(QStringLiteral("in%1.txt").arg(++files));
        EXPECT_TRUE(test::writeFileBytes(p, bytes));
        return p;
    }
    ImportResult run(const QByteArray& bytes, const QStringList& matches,
                     ImportObserver observer = {}) {
        return importAsciiFile(contacts.area(), textFile(bytes), TextEncoding::Auto, matches,
                               observer);
    }
    QString field(uint32_t recno, const char* name) {
        contacts.area().go(recno);
        return QString::fromStdString(contacts.area().getText(name));
    }
    QTemporaryDir dir;
    QString path;
    Dataset contacts;
    int files = 0;
};

TEST_F(AsciiImportTest, SamplesTheFirstLines) {
    const AsciiSample one =
        sampleAsciiFile(textFile("\xEF\xBB\xBF\"Jones, Brown\",x,"), TextEncoding::Auto);
    EXPECT_TRUE(one.problem.isEmpty());  // one line is enough
    EXPECT_EQ(one.fieldCount, 3);
    EXPECT_EQ(one.maxLength, (std::vector<int>{12, 1, 0}));
    EXPECT_EQ(one.lines.front().front(), "Jones, Brown");  // no mark in the first value
    QByteArray many;
    for (int i = 0; i < 30; ++i)
        many += "a,b\r\n";
    EXPECT_EQ(sampleAsciiFile(textFile(many), TextEncoding::Auto).lines.size(), 10u);
    EXPECT_TRUE(
        sampleAsciiFile(textFile(""), TextEncoding::Auto).problem.startsWith(kUnableToImport));
    EXPECT_TRUE(sampleAsciiFile(textFile(QByteArray("a\0b", 3)), TextEncoding::Auto)
                    .problem.startsWith(kUnableToImport));
}

TEST_F(AsciiImportTest, EachMatchStoresItsValue) {
    setCurrentDateFormat(DateFormat{});
    const QStringList matches = {"Last", "Memo", "", "State/Province", "Memo", "Date"};
    const ImportResult r =
        run("  Smith  ,first note,skipped,A state name far longer than twenty,second "
            "note,2021-03-14\r\n"
            "\r\n"
            "Short,,x,,,03/15/2021,extra,values\r\n"
            "Bad,,,,,31/31/2021\r\n",
            matches);
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_TRUE(r.indexDropped);
    EXPECT_EQ(r.imported, 4u);
    EXPECT_EQ(r.badDates, 1u);
    EXPECT_TRUE(importOutcomeMessage(r).startsWith("Import complete. Imported 4 records.\r\n1 "));
    xb::WorkArea& a = contacts.area();
    EXPECT_EQ(field(1, "LNAME"), "Smith");
    EXPECT_EQ(field(1, "STATE"), "A state name far lon");
    EXPECT_EQ(a.getMemo("MEMO"), "first note\r\nsecond note");
    EXPECT_EQ(a.getDate("DATE"), xb::jdnFromYmd(2021, 3, 14));
    EXPECT_EQ(field(2, "LNAME"), "");  // an empty line is an empty contact
    EXPECT_EQ(field(3, "LNAME"), "Short");
    EXPECT_EQ(a.getDate("DATE"), xb::jdnFromYmd(2021, 3, 15));
    EXPECT_EQ(field(4, "LNAME"), "Bad");
    EXPECT_EQ(a.getDate("DATE"), xb::kEmptyDate);
    // The index was set aside in a way other programs accept: the table no longer names it.
    a.close();
    EXPECT_FALSE(QFile::exists(dir.filePath("LIST.CDX")));
    EXPECT_EQ(test::fileBytes(path).at(28) & 0x01, 0);
}

TEST_F(AsciiImportTest, AsksOnceAboutCharactersTheFileCannotStore) {
    const QByteArray bytes = QStringLiteral("Alpha,ok\r\nBeta,\u03A9mega \u2192\r\n").toUtf8();
    const QByteArray before = test::fileBytes(path);
    QStringList questions;
    ImportObserver say;
    say.replaceUnholdable = [&](const QString& q) {
        questions << q;
        return false;
    };
    ImportResult r = run(bytes, {"Last", "First"}, say);
    EXPECT_TRUE(r.declined);
    EXPECT_FALSE(r.indexDropped);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith("Line 2, field 2 holds the character \"\u03A9\""));
    contacts.close();
    EXPECT_EQ(test::fileBytes(path), before);  // nothing written

    ASSERT_TRUE(OpenTableFile(path, contacts, [](const QString&) {}));
    say.replaceUnholdable = [&](const QString& q) {
        questions << q;
        return true;
    };
    r = run(bytes, {"Last", "First"}, say);
    EXPECT_EQ(questions.size(), 2);
    EXPECT_EQ(r.imported, 2u);
    EXPECT_EQ(field(2, "FNAME"), "?mega ?");
}

TEST_F(AsciiImportTest, CancelKeepsWhatWasPostedAndTheIndexesAreRebuilt) {
    int asked = 0;
    ImportObserver stop;
    stop.cancelRequested = [&] { return ++asked == 2; };
    const ImportResult r = run("a\r\nb\r\nc\r\n", {"Last"}, stop);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.imported, 2u);
    EXPECT_EQ(importOutcomeMessage(r), "Import cancelled after importing 2 records.");
    EXPECT_EQ(contacts.area().recCount(), 2u);
    ASSERT_TRUE(BuildContactIndexes(contacts, [](const QString&) {}));
    EXPECT_EQ(contacts.area().checkIndexes(), "");
}

TEST_F(AsciiImportTest, AWriteFailureKeepsWholeRecordsOnly) {
    QByteArray bytes;
    for (int i = 1; i <= 20; ++i)
        bytes += "Name" + QByteArray::number(i) + "\r\n";
    ImportResult r;
    {
        xb::fault::ScopedPlan plan(xb::fault::Plan().shortWrite("LIST.DBF", 9, 7));
        r = run(bytes, {"Last"});
        EXPECT_TRUE(xb::fault::ScopedPlan::triggered());
    }
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(r.indexDropped);
    ASSERT_GT(r.imported, 0u);
    ASSERT_LT(r.imported, 20u);
    ASSERT_TRUE(BuildContactIndexes(contacts, [](const QString&) {}));
    contacts.close();
    ASSERT_TRUE(OpenContactFile(path, contacts,
                                [](const QString& m) { ADD_FAILURE() << m.toStdString(); }));
    xb::WorkArea& a = contacts.area();
    EXPECT_EQ(a.recCount(), r.imported);
    EXPECT_EQ(a.checkIndexes(), "");
    a.setOrder(0);
    for (uint32_t i = 1; i <= a.recCount(); ++i)
        EXPECT_EQ(field(i, "LNAME"), "Name" + QString::number(i));
}

TEST_F(AsciiImportTest, WhatCopyOutWritesComesBackUnchanged) {
    setCurrentDateFormat(DateFormat{});
    const QStringList tricky = {"Dr",
                                "Zoë",
                                "Q",
                                "O'Hara, \"Jr\"",
                                "Head, \"Ops\"",
                                "Jones, Brown and Co",
                                "5\" Main St, Apt 2",
                                "Zürich",
                                "ZH",
                                "8001",
                                "Switzerland",
                                "+41 44 000",
                                "z@example.org",
                                "",
                                "03/14/2021",
                                "He said \"hi\""};
    const QStringList& fields = utilities::copiedFields();
    ASSERT_TRUE(contacts.insert());
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i] != "DATE") contacts.setText(fields[i], tricky[i]);
    contacts.setDate("DATE", *parseDate(tricky[14]));
    ASSERT_TRUE(contacts.post());
    contacts.setSelection(kDeletionExclusion);
    for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Windows1252}) {
        const QString out = dir.filePath("OUT.TXT");
        QFile::remove(out);
        const utilities::CopyResult copied =
            utilities::copyRecordsOut(contacts, utilities::CopyKind::Text, out, encoding);
        ASSERT_TRUE(copied.error.isEmpty());
        const uint32_t before = contacts.area().recCount();
        const ImportResult r =
            importAsciiFile(contacts.area(), out, TextEncoding::Auto, copyOutMatches(), {});
        ASSERT_EQ(r.imported, copied.copied);
        ASSERT_EQ(contacts.area().recCount(), before + r.imported);
        QStringList back;
        for (const QString& f : fields)
            back << (f == "DATE" ? formatDate(contacts.area().getDate("DATE"))
                                 : field(before + r.imported, f.toLatin1().constData()));
        EXPECT_EQ(back, tricky);
        ASSERT_TRUE(BuildContactIndexes(contacts, [](const QString&) {}));
        contacts.setSelection(kDeletionExclusion);
    }
}

}  // namespace
}  // namespace qb::import
