// The unattended label run, started as a separate program: which setup, records and order it
// prints, the PDF it writes, and how it fails.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include "app/batch_front.h"
#include "app_fixture.h"
#include "batch_process.h"
#include "labels/label_setup.h"

namespace qb {
namespace {

using test::AppTest;

using test::Outcome;

struct Person {
    const char* last;
    const char* zip;
    const char* prefix = "";
};

class BatchLabels : public AppTest {
  protected:
    // Runs the labels command; homeFirst puts --home before the command word.
    Outcome run(QStringList arguments, bool homeFirst = false) {
        const QStringList home{QStringLiteral("--home"), folder};
        const QStringList word{QStringLiteral("labels")};
        const Outcome r = test::runQuillbank((homeFirst ? home + word : word + home) + arguments);
        output = r.output;
        return r;
    }
    QString people(const std::vector<Person>& list, const char* name = "PEOPLE.DBF") {
        const QString file = contactFile(QLatin1String(name), {});
        xb::WorkArea a;
        a.use(file.toStdString());
        for (const Person& p : list) {
            a.append();
            a.putText("LNAME", p.last);
            a.putText("ZIP", p.zip);
            a.putText("PREFIX", p.prefix);
            a.post();
        }
        a.close();
        return file;
    }
    void addSetup(const labels::LabelSetup& s) {
        xb::WorkArea a;
        a.use(path(QStringLiteral("QBMLSU.DBF")).toStdString());
        a.append();
        labels::WriteLabelSetup(a, s);
        a.post();
    }
    // The words of the PDF in reading order.
    QStringList words(const QString& pdf) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        EXPECT_TRUE(p.waitForFinished(30000));
        return QString::fromUtf8(p.readAllStandardOutput())
            .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    }
    QString out() const { return path(QStringLiteral("out.pdf")); }

    QString output;  // standard output of the last run
};

TEST_F(BatchLabels, PrintsTheFirstSetupForEveryRecordLeftInTheSelection) {
    const QString file = people(
        {{"Adams", "62704"}, {"Baker", "62705"}, {"Gone", "62706", "Deleted"}, {"Clark", "62707"}});
    labels::LabelSetup upper;
    upper.descript = QStringLiteral("Capitals");
    upper.contents.upperCase = true;
    labels::LabelSetup plain;
    plain.descript = QStringLiteral("Plain");
    addSetup(upper);
    addSetup(plain);

    Outcome r = run({QStringLiteral("--pdf"), out(), file});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    EXPECT_TRUE(r.errors.contains(QStringLiteral("3 labels on 1 page written to")));
    QStringList w = words(out());
    EXPECT_TRUE(w.contains(QStringLiteral("ADAMS")));
    EXPECT_FALSE(w.contains(QStringLiteral("GONE")));

    r = run({QStringLiteral("--setup"), QStringLiteral("plain"), QStringLiteral("--copies"),
             QStringLiteral("2"), QStringLiteral("--pdf"), out(), file});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    w = words(out());
    EXPECT_EQ(w.count(QStringLiteral("Adams")), 2);
    EXPECT_EQ(w.count(QStringLiteral("Clark")), 2);
}

TEST_F(BatchLabels, AFilterOrTheCurrentRecordNarrowsTheRun) {
    const QString file = people({{"Adams", "62704"},
                                 {"Baker", "62705"},
                                 {"Bates", "62706", "deleted"},
                                 {"Clark", "62707"}});
    Outcome r = run({QStringLiteral("--filter"), QStringLiteral("UPPER(LNAME)=\"BA\""),
                     QStringLiteral("--pdf"), out(), file});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    QStringList w = words(out());
    EXPECT_TRUE(w.contains(QStringLiteral("Baker")));
    EXPECT_FALSE(w.contains(QStringLiteral("Bates")));
    EXPECT_FALSE(w.contains(QStringLiteral("Adams")));

    // An expression joined by .OR. still leaves soft-deleted contacts out.
    r = run({QStringLiteral("--filter"), QStringLiteral("LNAME=\"Bates\" .OR. LNAME=\"Baker\""),
             QStringLiteral("--pdf"), out(), file});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    w = words(out());
    EXPECT_TRUE(w.contains(QStringLiteral("Baker")));
    EXPECT_FALSE(w.contains(QStringLiteral("Bates")));
    EXPECT_TRUE(r.errors.contains(QStringLiteral("1 label on 1 page written to")));

    // The record the program would start on: the first in last-name order.
    r = run({QStringLiteral("--scope"), QStringLiteral("current"), QStringLiteral("--pdf"), out(),
             file});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    w = words(out());
    EXPECT_TRUE(w.contains(QStringLiteral("Adams")));
    EXPECT_FALSE(w.contains(QStringLiteral("Baker")));
}

TEST_F(BatchLabels, APresortedRunPrintsSeparatorsAndUsesTheStartUpFile) {
    std::vector<Person> list;
    for (int i = 0; i < 10; ++i)
        list.push_back({"Five", "12345"});
    list.push_back({"Canada", "K1A 0B1"});
    list.push_back({"Albany", "12901"});
    const QString file = people(list);
    writeSettings("[MRU]\r\nItem1=" + file.toUtf8() + "\r\n");
    const Outcome r = run({QStringLiteral("--presort"), QStringLiteral("--pdf"), out()});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    EXPECT_TRUE(r.errors.contains(QStringLiteral("11 labels and 2 separators")));
    EXPECT_TRUE(r.errors.contains(QStringLiteral("1. 5-Digit presort")));
    const QString text = words(out()).join(u' ');
    EXPECT_TRUE(text.startsWith(QStringLiteral("** 5-digit 12345")));
    EXPECT_TRUE(text.contains(QStringLiteral("** ADC ALBANY NY 120")));
    EXPECT_FALSE(text.contains(QStringLiteral("Canada")));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("PRESORT.PSL"))));
}

TEST_F(BatchLabels, OnlyReadsTheContactFileSoAFileOthersReadOrMayNotChangeServes) {
    const QString file = people({{"Adams", "62704"}, {"Baker", "62705"}});
    const QString index = path(QStringLiteral("PEOPLE.CDX"));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(index, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    auto bytes = [](const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray table = bytes(file), tags = bytes(index);
    const QDateTime changed = QFileInfo(file).lastModified();
    // Another reader holds the file; the run can share it only if it does not ask to write.
    xb::WorkArea reader;
    reader.use(file.toStdString(), xb::UseMode::ReadOnly);

    const Outcome r = run({QStringLiteral("--pdf"), out(), file});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    EXPECT_TRUE(words(out()).contains(QStringLiteral("Baker")));
    EXPECT_EQ(bytes(file), table);
    EXPECT_EQ(bytes(index), tags);
    EXPECT_EQ(QFileInfo(file).lastModified(), changed);
}

TEST_F(BatchLabels, TheProgramFolderMayBeNamedBeforeTheCommandAndHelpTellsTheOptions) {
    const QString file = people({{"Adams", "62704"}});
    Outcome r = run({QStringLiteral("--pdf"), out(), file}, true);
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    EXPECT_TRUE(QFile::exists(out()));

    r = run({QStringLiteral("--help")}, true);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(output.startsWith(QStringLiteral("usage: quillbank labels [--home DIR]")));
    for (const char* option : {"--setup NAME", "--presort", "--copies N", "--scope SCOPE",
                               "--filter EXPR", "--pdf FILE"})
        EXPECT_TRUE(output.contains(QLatin1String(option))) << option;
}

TEST(BatchFront, OptionsBeforeTheCommandWordAreMovedBehindIt) {
    using batch::findCommand;
    const QStringList words{QStringLiteral("labels")};
    const auto split = findCommand({"--home", "/x", "labels", "--pdf", "o.pdf"}, words);
    ASSERT_TRUE(split);
    EXPECT_EQ(split->command, QStringLiteral("labels"));
    EXPECT_EQ(split->arguments, (QStringList{"--home", "/x", "--pdf", "o.pdf"}));
    EXPECT_EQ(findCommand({"--home=/x", "labels"}, words)->arguments, QStringList{"--home=/x"});
    // Without a command word the window starts.
    EXPECT_FALSE(findCommand({"--home", "/x"}, words));
    EXPECT_FALSE(findCommand({"--home", "labels"}, words));
    EXPECT_FALSE(findCommand({"contacts.dbf", "labels"}, words));
}

TEST_F(BatchLabels, AContactFileThatDoesNotOpenIsToldWithItsCause) {
    const QString file = people({{"Adams", "62704"}});
    // The window holds it exclusively.
    xb::WorkArea holder;
    holder.use(file.toStdString(), xb::UseMode::Exclusive);
    const Outcome r = run({QStringLiteral("--pdf"), out(), file});
    EXPECT_EQ(r.exitCode, 1);
    // The usual notice, then the cause on a line of its own.
    EXPECT_TRUE(
        r.errors.contains(QStringLiteral("* May be in use by another program or user\nFile ") +
                          file + QStringLiteral(" is in use by another program or user")))
        << qPrintable(r.errors);
    EXPECT_FALSE(QFile::exists(out()));
}

TEST_F(BatchLabels, FailuresAreToldAndEndWithoutAFile) {
    const QString file = people({{"Adams", "62704"}});
    const QString unindexed = people({{"Baker", "62704"}}, "NOINDEX.DBF");
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("NOINDEX.CDX"))));
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{file}, 2, "--pdf OUT.pdf is required"},
        {{QStringLiteral("--copies"), QStringLiteral("0"), QStringLiteral("--pdf"), out(), file},
         2,
         "--copies takes a number from 1 to 999"},
        {{QStringLiteral("--scope"), QStringLiteral("some"), QStringLiteral("--pdf"), out(), file},
         2,
         "--scope takes all, filter or current"},
        {{QStringLiteral("--setup"), QStringLiteral("Nope"), QStringLiteral("--pdf"), out(), file},
         1,
         "There is no label setup named \"Nope\""},
        {{QStringLiteral("--filter"), QStringLiteral("LNAME=\"Zed\""), QStringLiteral("--pdf"),
          out(), file},
         1,
         "No records to print"},
        {{QStringLiteral("--filter"), QStringLiteral("LNAME=="), QStringLiteral("--pdf"), out(),
          file},
         1,
         ""},
        {{QStringLiteral("--pdf"), out(), path(QStringLiteral("MISSING.DBF"))},
         1,
         "does not exist"},
        {{QStringLiteral("--pdf"), out(), unindexed}, 1, "rebuild the indexes first"},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(c.arguments.join(u' '));
        EXPECT_TRUE(r.errors.contains(QLatin1String(c.message))) << qPrintable(r.errors);
        EXPECT_FALSE(QFile::exists(out()));
    }
}

TEST_F(BatchLabels, TheBarcodeOptionsChooseTheKindAndTheMailersValuesForTheRun) {
    const QString file = people({{"Adams", "62704"}});
    Outcome r = run({QStringLiteral("--barcode"), QStringLiteral("code39"), QStringLiteral("--pdf"),
                     out(), file});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.errors.contains(QStringLiteral("--barcode takes none, postnet or imb")));

    // The first setup's labels are too narrow for POSTNET bars too.
    r = run({QStringLiteral("--barcode"), QStringLiteral("postnet"), QStringLiteral("--pdf"), out(),
             file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errors.contains(QStringLiteral("needs labels at least 3 inches wide")));
    EXPECT_FALSE(QFile::exists(out()));

    // No mailer identifier saved, none given: nothing prints.
    r = run(
        {QStringLiteral("--barcode"), QStringLiteral("imb"), QStringLiteral("--pdf"), out(), file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errors.contains(QStringLiteral("No mailer identifier is set")));
    EXPECT_FALSE(QFile::exists(out()));

    const QStringList imb{QStringLiteral("--barcode"),       QStringLiteral("imb"),
                          QStringLiteral("--imb-mailer-id"), QStringLiteral("123456"),
                          QStringLiteral("--imb-serial"),    QStringLiteral("5")};
    // The first setup's labels are narrower than the barcode.
    r = run(imb + QStringList{QStringLiteral("--pdf"), out(), file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errors.contains(QStringLiteral("does not fit")));
    labels::LabelSetup wide;
    wide.descript = QStringLiteral("Wide");
    wide.lblWidth = 4;
    wide.horizPitch = 4.125f;
    wide.nbrAcross = 2;
    addSetup(wide);
    r = run(imb + QStringList{QStringLiteral("--setup"), QStringLiteral("Wide"),
                              QStringLiteral("--pdf"), out(), file});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.errors);
    EXPECT_TRUE(QFile::exists(out()));
}

}  // namespace
}  // namespace qb
