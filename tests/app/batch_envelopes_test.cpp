// The unattended envelope run, started as a separate program: one envelope for the current
// contact or one per chosen contact, the setup and paper it prints with, and how it fails.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include "app_fixture.h"
#include "batch_process.h"
#include "envelopes/envelope_setup.h"

namespace qb {
namespace {

class BatchEnvelopes : public test::AppTest {
  protected:
    test::Outcome run(const QStringList& arguments) {
        return test::runQuillbank(
            QStringList{QStringLiteral("envelopes"), QStringLiteral("--home"), folder} + arguments +
            QStringList{QStringLiteral("--pdf"), out(), file});
    }
    void SetUp() override {
        AppTest::SetUp();
        file = contactFile(QStringLiteral("PEOPLE.DBF"),
                           {{"Carter", "Cy"}, {"Adams", "Al"}, {"Baker", "Bo"}});
    }
    QString out() const { return path(QStringLiteral("out.pdf")); }
    // pdfinfo's "Pages" and "Page size" lines.
    QString info() {
        QProcess p;
        p.start(QStringLiteral("pdfinfo"), {out()});
        EXPECT_TRUE(p.waitForFinished(30000));
        const QString all = QString::fromUtf8(p.readAllStandardOutput());
        static const QRegularExpression re(
            QStringLiteral("Pages:\\s+(\\d+)[\\s\\S]*Page size:"
                           "\\s+([\\d.]+ x [\\d.]+)"));
        const auto m = re.match(all);
        return m.captured(1) + u' ' + m.captured(2);
    }
    QString text() {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {out(), QStringLiteral("-")});
        EXPECT_TRUE(p.waitForFinished(30000));
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    QString file;
};

TEST_F(BatchEnvelopes, PrintsOneEnvelopeOfTheDefaultSetupForTheCurrentContact) {
    const test::Outcome r = run({});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    EXPECT_TRUE(r.errors.contains(QStringLiteral("1 envelope written to")));
    // One page the size of a #10 envelope (9.5 by 4.125 inches in points).
    EXPECT_EQ(info(), QStringLiteral("1 684 x 297"));
    const QString words = text();
    EXPECT_TRUE(words.contains(QStringLiteral("John Q Public")));
    EXPECT_EQ(words.count(QStringLiteral("Adams")) + words.count(QStringLiteral("Baker")) +
                  words.count(QStringLiteral("Carter")),
              1);
    // Help tells the same default.
    const test::Outcome help = run({QStringLiteral("--help")});
    EXPECT_TRUE(help.output.contains(QStringLiteral("current (the default")))
        << qPrintable(help.output);
}

TEST_F(BatchEnvelopes, AScopePrintsOneEnvelopePerRecordWithTheNamedSetup) {
    xb::WorkArea a;
    a.use(path(QStringLiteral("QBMESU.DBF")).toStdString());
    envelopes::EnvelopeSetup s;
    s.descript = QStringLiteral("Plain");
    s.useReturn = false;
    a.append();
    envelopes::WriteEnvelopeSetup(a, envelopes::EnvelopeSetup());
    a.post();
    a.append();
    envelopes::WriteEnvelopeSetup(a, s);
    a.post();
    a.close();
    const test::Outcome r =
        run({QStringLiteral("--setup"), QStringLiteral("plain"), QStringLiteral("--scope"),
             QStringLiteral("all"), QStringLiteral("--paper"), QStringLiteral("Letter")});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    EXPECT_TRUE(r.errors.contains(QStringLiteral("3 envelopes written to")));
    EXPECT_EQ(info(), QStringLiteral("3 792 x 612"));
    const QString words = text();
    EXPECT_FALSE(words.contains(QStringLiteral("John")));
    for (const char* name : {"Adams", "Baker", "Carter"})
        EXPECT_TRUE(words.contains(QLatin1String(name))) << name;
}

TEST_F(BatchEnvelopes, FailsWithoutWritingOnAnUnknownSetupOrPaperOrPaperTooSmall) {
    struct Case {
        QStringList arguments;
        const char* told;
    };
    const Case cases[] = {
        {{QStringLiteral("--setup"), QStringLiteral("Nope")}, "no envelope setup named"},
        {{QStringLiteral("--paper"), QStringLiteral("Napkin")}, "no paper named \"Napkin\""},
        {{QStringLiteral("--paper"), QStringLiteral("A6")}, "would not lie on the paper"},
    };
    for (const Case& c : cases) {
        const test::Outcome r = run(c.arguments);
        EXPECT_EQ(r.exitCode, 1) << c.told;
        EXPECT_TRUE(r.errors.contains(QLatin1String(c.told))) << qPrintable(r.errors);
        EXPECT_FALSE(QFile::exists(out())) << c.told;
    }
}

TEST_F(BatchEnvelopes, TheBarcodeOptionsReachTheRun) {
    const QStringList imb{QStringLiteral("--barcode"), QStringLiteral("imb"),
                          QStringLiteral("--imb-mailer-id"), QStringLiteral("123456")};
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* told;
    };
    const Case cases[] = {
        {{QStringLiteral("--barcode"), QStringLiteral("code39")}, 2, "--barcode takes none"},
        {{QStringLiteral("--imb-serial"), QStringLiteral("-4")}, 2, "--imb-serial takes"},
        {{QStringLiteral("--barcode"), QStringLiteral("imb")}, 1, "No mailer identifier is set"},
        {imb + QStringList{QStringLiteral("--imb-service-type"), QStringLiteral("04")}, 1,
         "service type must be three digits"},
        {imb + QStringList{QStringLiteral("--imb-barcode-id"), QStringLiteral("09")}, 1,
         "barcode identifier must be two digits"},
        {imb + QStringList{QStringLiteral("--imb-serial"), QStringLiteral("7")}, 0,
         "1 envelope written to"},
    };
    for (const Case& c : cases) {
        const test::Outcome r = run(c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.told;
        EXPECT_TRUE(r.errors.contains(QLatin1String(c.told))) << qPrintable(r.errors);
        EXPECT_EQ(QFile::exists(out()), c.exitCode == 0) << c.told;
    }
}

}  // namespace
}  // namespace qb
