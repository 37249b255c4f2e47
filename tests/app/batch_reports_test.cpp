// The unattended contact report and ZIP code count, started as a separate program.
#include <QProcess>
#include <QRegularExpression>

#include "app_fixture.h"
#include "batch_process.h"

namespace qb {
namespace {

using test::AppTest;
using test::Outcome;

class BatchReports : public AppTest {
  protected:
    Outcome run(const char* command, QStringList arguments) {
        return test::runQuillbank(
            QStringList{QLatin1String(command), QStringLiteral("--home"), folder} + arguments);
    }
    QString people() {
        const QString file = contactFile(QStringLiteral("PEOPLE.DBF"), {});
        xb::WorkArea a;
        a.use(file.toStdString());
        const char* rows[][3] = {{"Baker", "62704", ""},
                                 {"'t Hart", "62704-1234", ""},
                                 {"", "M5V 2T6", ""},
                                 {"Gone", "62704", "Deleted"},
                                 {"(Estate of) Smith", "", ""}};
        for (const auto& r : rows) {
            a.append();
            a.putText("LNAME", r[0]);
            a.putText("ZIP", r[1]);
            a.putText("PREFIX", r[2]);
            a.post();
        }
        a.close();
        return file;
    }
    QString pdfText(const QString& pdf) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        EXPECT_TRUE(p.waitForFinished(30000));
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    QString out(const char* name) const { return path(QLatin1String(name)); }
};

TEST_F(BatchReports, ReportListsEveryNamedContactAndRefusesAnUnknownLayout) {
    const QString file = people();
    Outcome r = run("report", {QStringLiteral("--title"), QStringLiteral("Club"),
                               QStringLiteral("--pdf"), out("r.pdf"), file});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    EXPECT_TRUE(r.errors.contains(QStringLiteral("3 contacts on 1 page written to")));
    const QString text = pdfText(out("r.pdf"));
    for (const char* name : {"Club", "Baker", "'t Hart", "(Estate of) Smith"})
        EXPECT_TRUE(text.contains(QLatin1String(name))) << name;
    EXPECT_FALSE(text.contains(QStringLiteral("Gone")));

    r = run("report", {QStringLiteral("--layout"), QStringLiteral("5"), QStringLiteral("--pdf"),
                       out("x.pdf"), file});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(QFile::exists(out("x.pdf")));
}

TEST_F(BatchReports, AMemoThatCannotBeReadFailsTheRunAndWritesNoPdf) {
    const QString file = contactFile(QStringLiteral("MEMOS.DBF"), {});
    xb::WorkArea a;
    a.use(file.toStdString());
    for (int i = 0; i < 20; ++i) {
        a.append();
        a.putText("LNAME", "Memo" + std::to_string(i));
        a.replace("MEMO", std::string(700, 'm'));
        a.post();
    }
    a.close();
    QFile memo(path(QStringLiteral("MEMOS.FPT")));
    ASSERT_TRUE(memo.resize(memo.size() / 2));
    const Outcome r =
        run("report", {QStringLiteral("--memo"), QStringLiteral("--pdf"), out("m.pdf"), file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.errors.contains(QStringLiteral("written to")));
    EXPECT_FALSE(QFile::exists(out("m.pdf")));
}

TEST_F(BatchReports, ZipCountWritesItsKeysAsCommaDelimitedTextAndAsAReport) {
    const QString file = people();
    Outcome r = run("zipcount", {QStringLiteral("--csv"), out("z.csv"), QStringLiteral("--pdf"),
                                 out("z.pdf"), file});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    EXPECT_EQ(test::fileBytes(out("z.csv")),
              QByteArray("ZIP,COUNT\r\n62704,2\r\nM5V 2,1\r\nBLANK,1\r\n"));
    EXPECT_TRUE(pdfText(out("z.pdf")).contains(QStringLiteral("Zip Code Count Report")));

    r = run("zipcount", {QStringLiteral("--filter"), QStringLiteral("LNAME=\"B\""),
                         QStringLiteral("--csv"), out("b.csv"), file});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    EXPECT_EQ(test::fileBytes(out("b.csv")), QByteArray("ZIP,COUNT\r\n62704,1\r\n"));

    r = run("zipcount", {file});
    EXPECT_EQ(r.exitCode, 2);
    r = run("zipcount", {QStringLiteral("--scope"), QStringLiteral("all"), QStringLiteral("--csv"),
                         out("s.csv"), file});
    EXPECT_EQ(r.exitCode, 2);
}

}  // namespace
}  // namespace qb
