// The unattended checks, started as a separate program: the count they print, the records
// they write, and their argument checks.
#include <QFile>

#include "app_fixture.h"
#include "batch_process.h"

namespace qb {
namespace {

using test::AppTest;
using test::Outcome;

class BatchChecks : public AppTest {
  protected:
    QString contacts() {
        const QString file = contactFile(QStringLiteral("C.DBF"), {});
        xb::WorkArea a;
        a.use(file.toStdString());
        const char* rows[][4] = {{"Zed", "Al", "NY", "99999"},
                                 {"Brown", "John", "NY", "10001"},
                                 {"BROWN", "JOHN", "NY", "10002"},
                                 {"Adams", "Bo", "ny", "10001"},
                                 {"Ng", "Kim", "NY", ""}};
        for (const auto& r : rows) {
            a.append();
            a.putText("LNAME", r[0]);
            a.putText("FNAME", r[1]);
            a.putText("STATE", r[2]);
            a.putText("ZIP", r[3]);
            a.post();
        }
        a.close();
        return file;
    }
    Outcome run(const char* word, QStringList arguments) {
        return test::runQuillbank(
            QStringList{QLatin1String(word), QStringLiteral("--home"), folder} + arguments);
    }
};

TEST_F(BatchChecks, StatesPrintTheCountAndWriteTheGridsRows) {
    const QString file = contacts();
    const QString csv = path(QStringLiteral("out.csv"));
    Outcome r = run("check-states", {QStringLiteral("--csv"), csv, file});
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_EQ(r.output.trimmed(), "Found 2 records with questionable state or zipcodes");
    EXPECT_EQ(QString::fromUtf8(test::fileBytes(csv)),
              "Record,Zip/Postal Code,State/Province,Last,First,Organization,Street Address,"
              "City,Country\r\n4,10001,ny,Adams,Bo,,,,\r\n1,99999,NY,Zed,Al,,,,\r\n");
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("_chksz.idx"))));
    r = run("check-states", {QStringLiteral("--blanks"), file});
    EXPECT_EQ(r.output.trimmed(), "Found 3 records with questionable state or zipcodes");
}

TEST_F(BatchChecks, DuplicatesByKindAndWrongArguments) {
    const QString file = contacts();
    const QString csv = path(QStringLiteral("dups.csv"));
    Outcome r = run("check-dups", {QStringLiteral("--csv"), csv, file});
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_EQ(r.output.trimmed(), "Found 1 possible duplicates");
    const QStringList lines = QString::fromUtf8(test::fileBytes(csv)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);  // the titles, the pair, and the empty rest after the last line end
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("2,Brown,John")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("3,BROWN,JOHN")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("_chkdup.idx"))));
    EXPECT_EQ(run("check-dups", {QStringLiteral("--by"), QStringLiteral("zip"), file}).exitCode, 2);
    EXPECT_EQ(run("check-dups", {QStringLiteral("--chars"), QStringLiteral("31"), file}).exitCode,
              2);
}

}  // namespace
}  // namespace qb
