// The unattended letters command, run as a script would run it: templates imported and
// exported, letters printed for the chosen contacts, and failures ending the run as failed.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "../app/batch_process.h"
#include "letters_fixture.h"

namespace {

using namespace letterstest;
using qb::test::runQuillbank;

class BatchLetters : public ::testing::Test {
  protected:
    void SetUp() override {
        contacts = folder.file(QStringLiteral("people.dbf"));
        writeContacts(contacts, numbered(3));
        rtf = folder.file(QStringLiteral("in.rtf"));
        ASSERT_TRUE(qb::test::writeFileBytes(
            rtf, rtfOf("On [Today's Date] to [Last]\\page Page two of [Last] [Frist]")));
    }
    qb::test::Outcome letters(QStringList arguments, rlim_t sizeLimit = 0) {
        return runQuillbank(
            QStringList{QStringLiteral("letters"), QStringLiteral("--home"), folder.path()} +
                arguments,
            sizeLimit);
    }
    static QString text(const QString& pdf) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        EXPECT_TRUE(p.waitForFinished(60000));
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    qb::test::ProgramFolder folder;
    QString contacts, rtf;
};

TEST_F(BatchLetters, ImportedLettersPrintForEachContactAndExportAsStored) {
    ASSERT_EQ(letters({QStringLiteral("--import"), QStringLiteral("Reminder"), rtf}).exitCode, 0);
    ASSERT_TRUE(
        qb::test::writeFileBytes(folder.file(QStringLiteral("QUILLB.INI")),
                                 "[Date]\r\nDateSeparator=.\r\nShortDateFmt=dd.mm.yyyy\r\n"));
    const QString pdf = folder.file(QStringLiteral("out.pdf"));
    const qb::test::Outcome run =
        letters({QStringLiteral("--letter"), QStringLiteral("reminder"), QStringLiteral("--copies"),
                 QStringLiteral("2"), QStringLiteral("--date"), QStringLiteral("2026-02-03"),
                 QStringLiteral("--pdf"), pdf, contacts});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains(QStringLiteral("3 letters on 12 pages")))
        << run.errors.toStdString();
    const QString printed = text(pdf);
    EXPECT_EQ(printed.count(QStringLiteral("On 03.02.2026 to P1001")), 2);
    EXPECT_EQ(printed.count(QStringLiteral("Page two of P1002 [Frist]")), 2);
    EXPECT_EQ(printed.count(u'\f'), 12);

    // Export gives the stored text; importing that again (the name given after "=") changes
    // nothing.
    const QString out = folder.file(QStringLiteral("out.rtf"));
    ASSERT_EQ(letters({QStringLiteral("--export"), QStringLiteral("Reminder"), out}).exitCode, 0);
    const QByteArray exported = qb::test::fileBytes(out);
    EXPECT_TRUE(exported.startsWith("{\\rtf1"));
    ASSERT_EQ(letters({QStringLiteral("--import=Reminder"), out}).exitCode, 0);
    ASSERT_EQ(letters({QStringLiteral("--export"), QStringLiteral("Reminder"), out}).exitCode, 0);
    EXPECT_EQ(qb::test::fileBytes(out), exported);
}

TEST_F(BatchLetters, RunsThatCannotFinishEndAsFailed) {
    ASSERT_EQ(letters({QStringLiteral("--import"), QStringLiteral("Reminder"), rtf}).exitCode, 0);
    const QString pdf = folder.file(QStringLiteral("out.pdf"));
    // The disk fills up while the document is written.
    const qb::test::Outcome full = letters(
        {QStringLiteral("--scope"), QStringLiteral("all"), QStringLiteral("--pdf"), pdf, contacts},
        2000);
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_FALSE(full.errors.contains(QStringLiteral("written to")));
    EXPECT_FALSE(QFile::exists(pdf));

    EXPECT_EQ(letters({QStringLiteral("--letter"), QStringLiteral("Nothing"),
                       QStringLiteral("--pdf"), pdf, contacts})
                  .exitCode,
              1);
    EXPECT_EQ(letters({QStringLiteral("--copies"), QStringLiteral("0"), QStringLiteral("--pdf"),
                       pdf, contacts})
                  .exitCode,
              2);
    EXPECT_EQ(letters({QStringLiteral("--date"), QStringLiteral("2026-02-30"),
                       QStringLiteral("--pdf"), pdf, contacts})
                  .exitCode,
              2);
    ASSERT_TRUE(qb::test::writeFileBytes(rtf, "just some words"));
    EXPECT_EQ(letters({QStringLiteral("--import"), QStringLiteral("Plain"), rtf}).exitCode, 1);
    EXPECT_EQ(letters({QStringLiteral("--export"), QStringLiteral("Plain"), rtf}).exitCode, 1);
    EXPECT_EQ(qb::test::fileBytes(rtf), QByteArray("just some words"));
}

}  // namespace
