// Letters printed through the "PDF file" printer: where the words land (read back with
// pdftotext), how many pages a run makes, and how a run ends.
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>

#include "letters/letter_print.h"
#include "letters_fixture.h"
#include "output/printer_device.h"
#include "store/dataset.h"

namespace {

using namespace letterstest;
namespace letters = qb::letters;
using letters::LetterRunEnd;

struct Word {
    int page;
    QString text;
    double xMin, yMin, xMax, yMax;  // inches
};

std::vector<Word> pdfWords(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(60000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression itemRe(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    std::vector<Word> words;
    int page = -1;
    for (auto it = itemRe.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0) == QLatin1String("<page ")) {
            ++page;
            continue;
        }
        words.push_back({page, m.captured(5), m.captured(1).toDouble() / 72,
                         m.captured(2).toDouble() / 72, m.captured(3).toDouble() / 72,
                         m.captured(4).toDouble() / 72});
    }
    return words;
}

int pdfPages(const std::vector<Word>& words) {
    int pages = 0;
    for (const Word& w : words)
        pages = std::max(pages, w.page + 1);
    return pages;
}

const Word* find(const std::vector<Word>& words, const QString& text) {
    for (const Word& w : words)
        if (w.text == text) return &w;
    ADD_FAILURE() << "no word " << text.toStdString();
    return nullptr;
}

class LetterPrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qb::PrinterDevice::releaseShared();
        contactsPath = dir.filePath(QStringLiteral("contacts.dbf"));
    }
    void TearDown() override { qb::PrinterDevice::releaseShared(); }

    // Prints the template for the records the contact table is set to, into out.pdf.
    LetterRunEnd print(const QByteArray& rtf, const std::vector<Person>& people, int copies = 1,
                       bool onlyCurrent = false, int startRecord = 1) {
        writeContacts(contactsPath, people);
        contacts.open(contactsPath, xb::UseMode::ReadOnly);
        contacts.go(startRecord);
        Template t(rtf);
        letters::LetterJob job;
        job.letter = &t.doc;
        job.page = t.page;
        job.copies = copies;
        job.onlyCurrent = onlyCurrent;
        job.date = xb::jdnFromYmd(2026, 1, 2);
        pdf = dir.filePath(QStringLiteral("out.pdf"));
        qb::PrinterDevice::shared().setOutputFileName(pdf);
        EXPECT_EQ(letters::fitPaper(qb::PrinterDevice::shared(), t.page), QString());
        letters::TLetterPrint window(contacts, job);
        const LetterRunEnd end = window.RunUnshown();
        pages = window.run().pages();
        contacts.close();
        return end;
    }

    QTemporaryDir dir;
    QString contactsPath, pdf;
    qb::Dataset contacts;
    int pages = 0;
};

TEST_F(LetterPrintTest, WordsLandWhereThePageAndParagraphsPutThem) {
    const QByteArray body =
        "First words\\par"
        "\\pard\\qr Right end\\par"
        "\\pard\\li720\\fi-360 Hanging alpha beta gamma delta epsilon zeta eta theta iota kappa "
        "lambda mu nu xi omicron pi rho sigma tau upsilon phi chi psi omega Nextline\\par"
        "\\pard\\tx2880 Tabbed\\tab Stop\\par"
        "\\pard\\li720\\tx2880 Indented\\tab Stopped\\par"
        "\\pard\\page Second page";
    ASSERT_EQ(print(rtfOf(body,
                          "\\paperw12240\\paperh15840\\margl1440\\margr1800\\margt1080"
                          "\\margb1440"),
                    {Person{}}),
              LetterRunEnd::Completed);
    const std::vector<Word> words = pdfWords(pdf);
    ASSERT_EQ(pdfPages(words), 2);
    EXPECT_EQ(pages, 2);

    const Word* first = find(words, QStringLiteral("First"));
    ASSERT_TRUE(first);
    EXPECT_NEAR(first->xMin, 1.00, 0.02);
    EXPECT_NEAR(first->yMin, 0.75, 0.02);
    if (const Word* w = find(words, QStringLiteral("end"))) {
        EXPECT_NEAR(w->xMax, 7.25, 0.02);
    }
    if (const Word* w = find(words, QStringLiteral("Hanging"))) {
        EXPECT_NEAR(w->xMin, 1.25, 0.02);
    }
    // The hanging paragraph wraps; its second line starts at the left indent.
    const Word* hanging = find(words, QStringLiteral("Hanging"));
    ASSERT_TRUE(hanging);
    int secondLines = 0;
    for (const Word& w : words) {
        if (w.page == 0 && w.yMin > hanging->yMin + 0.1 && w.yMin < hanging->yMin + 0.3) {
            EXPECT_GE(w.xMin, 1.50 - 0.02) << w.text.toStdString();
            if (std::abs(w.xMin - 1.50) <= 0.02) ++secondLines;
        }
    }
    EXPECT_EQ(secondLines, 1);
    if (const Word* w = find(words, QStringLiteral("Stop"))) {
        EXPECT_NEAR(w->xMin, 3.00, 0.02);
    }
    if (const Word* w = find(words, QStringLiteral("Stopped"))) {
        EXPECT_NEAR(w->xMin, 3.00, 0.02);
    }
    if (const Word* w = find(words, QStringLiteral("Second"))) {
        EXPECT_EQ(w->page, 1);
        EXPECT_NEAR(w->yMin, 0.75, 0.02);
    }
}

TEST_F(LetterPrintTest, EachRecordGetsItsLetterPagesTimesTheCopies) {
    const QByteArray body = "[Last] one\\page [Last] two [First] [Frist]";
    ASSERT_EQ(print(rtfOf(body), numbered(3), 2), LetterRunEnd::Completed);
    const std::vector<Word> words = pdfWords(pdf);
    EXPECT_EQ(pdfPages(words), 3 * 2 * 2);
    EXPECT_EQ(pages, 12);
    // Page by page: record, copy, letter page.
    std::map<int, QStringList> byPage;
    for (const Word& w : words)
        byPage[w.page] << w.text;
    for (int record = 0; record < 3; ++record) {
        const QString last = QStringLiteral("P%1").arg(1000 + record);
        for (int copy = 0; copy < 2; ++copy) {
            const int page = record * 4 + copy * 2;
            EXPECT_EQ(byPage[page], QStringList({last, QStringLiteral("one")}));
            EXPECT_EQ(byPage[page + 1],
                      QStringList({last, QStringLiteral("two"), QStringLiteral("Pat"),
                                   QStringLiteral("[Frist]")}));
        }
    }
}

TEST_F(LetterPrintTest, OnlyTheCurrentRecordAndBlankLettersStillTakeTheirSheets) {
    ASSERT_EQ(print(rtfOf("[Last]"), numbered(4), 3, true, 2), LetterRunEnd::Completed);
    const std::vector<Word> words = pdfWords(pdf);
    EXPECT_EQ(pdfPages(words), 3);
    for (const Word& w : words)
        EXPECT_EQ(w.text, QStringLiteral("P1001"));

    ASSERT_EQ(print(rtfOf(""), numbered(2), 2), LetterRunEnd::Completed);
    EXPECT_EQ(pages, 4);
}

TEST_F(LetterPrintTest, APageWithNoRoomForTextIsRefused) {
    EXPECT_EQ(print(rtfOf("x", "\\paperw2000\\paperh2000\\margl900\\margr900"), numbered(1)),
              LetterRunEnd::Failed);
    EXPECT_EQ(pages, 0);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(LetterPrintTest, ADocumentThatCannotBeSavedIsAFailure) {
    writeContacts(contactsPath, numbered(2));
    contacts.open(contactsPath, xb::UseMode::ReadOnly);
    Template t(rtfOf("[Last]"));
    letters::LetterJob job;
    job.letter = &t.doc;
    job.page = t.page;
    QTemporaryDir target;
    qb::PrinterDevice::shared().setOutputFileName(target.filePath(QStringLiteral("gone.pdf")));
    letters::LetterRun run(contacts, job);
    // The folder the document goes to disappears while it is written.
    run.onProgress = [&target](int) { target.remove(); };
    EXPECT_EQ(run.run(qb::PrinterDevice::shared(), QStringLiteral("Letters")),
              LetterRunEnd::Failed);
    EXPECT_FALSE(run.failure().isEmpty());
    EXPECT_EQ(run.pages(), 2);
}

TEST_F(LetterPrintTest, TheStatusWindowCountsPagesAndHearsItsCancel) {
    writeContacts(contactsPath, numbered(3));
    contacts.open(contactsPath, xb::UseMode::ReadOnly);
    Template t(rtfOf("[Last]\\page two"));
    letters::LetterJob job;
    job.letter = &t.doc;
    job.page = t.page;
    pdf = dir.filePath(QStringLiteral("out.pdf"));
    qb::PrinterDevice::shared().setOutputFileName(pdf);
    auto runShown = [&](bool cancel) {
        contacts.first();
        auto window = std::make_unique<letters::TLetterPrint>(contacts, job);
        auto* status = window->findChild<QLabel*>(QStringLiteral("StatusLabel"));
        auto* button = window->findChild<QPushButton*>(QStringLiteral("CancelButton"));
        QStringList shown;
        window->show();
        // Cancel is pressed once the run has printed a letter: a posted call that comes back
        // until the status shows pages, which the run's own event processing delivers.
        std::function<void()> press = [&] {
            if (status->text().startsWith(QStringLiteral("Printing"))) {
                shown << status->text();
                window->CancelButtonClick();
            } else
                QMetaObject::invokeMethod(window.get(), press, Qt::QueuedConnection);
        };
        if (cancel) QMetaObject::invokeMethod(window.get(), press, Qt::QueuedConnection);
        while (button->text() != QStringLiteral("OK"))
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        shown << status->text();
        return std::make_pair(shown, window->run().pages());
    };
    const auto [done, pages] = runShown(false);
    EXPECT_EQ(done.last(), QString::fromLatin1(letters::kLetterPrintCompleted));
    EXPECT_EQ(pages, 6);
    EXPECT_TRUE(QFile::exists(pdf));

    QFile::remove(pdf);
    qb::test::PromptScript prompts;
    prompts.script.answerYes(QString::fromLatin1(letters::kCancelPrintJob));
    const auto [cancelled, printed] = runShown(true);
    // The status counts pages: one letter of two pages when Cancel was pressed.
    EXPECT_EQ(cancelled, QStringList({QStringLiteral("Printing page 2"),
                                      QString::fromLatin1(letters::kLetterPrintCanceled)}));
    EXPECT_EQ(printed, 2);
    EXPECT_FALSE(QFile::exists(pdf));
    prompts.verify();
}

}  // namespace
