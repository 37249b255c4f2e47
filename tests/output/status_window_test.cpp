// The status window of a pass: its captions and design values, the pass run once at the first
// activation, the stop and cancel buttons heard during the pass, and the closing texts.
#include "output/status_window.h"
#include "controls/scripted_prompts.h"
#include "report_harness.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace qb {
namespace {

StatusTexts labelTexts() {
    StatusTexts t;
    t.printCanceled = QStringLiteral("\rLabel Print Canceled!");
    t.previewCanceled = QStringLiteral("\rLabel Preview Canceled!");
    t.printCompleted = QStringLiteral("\rLabel Print Completed!");
    t.previewReady = QStringLiteral("\rLabel Preview Ready!");
    t.cancelQuestion = QStringLiteral("Cancel Label Printing?");
    return t;
}

// What the callers' preparation routine does.
void beforePrint(TBaseReport& r) {
    r.SetStatusFormat(QStringLiteral("Printing Page %p\r%0\r%1"));
    r.StatusText() << QString() << QString();
}

// Shows the window modally, as a caller does, and presses OK once the pass has finished.
void runModally(TStatusWindow& window) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        if (window.PassFinished()) window.CancelButton()->click();
    });
    poll.start(5);
    window.exec();
}

class StatusWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { PrinterDevice::releaseShared(); }
    void TearDown() override { PrinterDevice::releaseShared(); }
    QTemporaryDir dir_;
};

TEST_F(StatusWindowTest, DesignValues) {
    TStatusWindow w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Print Status Screen"));
    EXPECT_EQ(w.size(), QSize(364, 130));
    EXPECT_TRUE(w.StatusLabel()->font().bold());
    EXPECT_EQ(w.StatusLabel()->alignment(), Qt::AlignCenter);
    EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("CancelButton")), w.CancelButton());
    for (TBaseReport* e : {static_cast<TBaseReport*>(&w.ReportPrinter()),
                           static_cast<TBaseReport*>(&w.ReportFiler())}) {
        EXPECT_EQ(e->StatusLabel(), w.StatusLabel());
        EXPECT_EQ(e->LineHeightMethod(), lhmFont);
        EXPECT_DOUBLE_EQ(e->MarginLeft(), 0.5);
        EXPECT_DOUBLE_EQ(e->MarginBottom(), 0.5);
        EXPECT_EQ(e->Title(), QStringLiteral("Test Report"));
        EXPECT_EQ(e->Units(), unInch);
    }
    EXPECT_EQ(w.ReportPrinter().StatusFormat(), QStringLiteral("Printing Page %p"));
    EXPECT_EQ(w.ReportFiler().StatusFormat(), QStringLiteral("Printing page %p"));
    EXPECT_EQ(w.ReportFiler().AccuracyMethod(), amPositioning);
    EXPECT_EQ(w.ReportFiler().StreamMode(), smUser);
}

TEST_F(StatusWindowTest, APreviewPassRunsOnceAndEndsReady) {
    QBuffer stream;
    TStatusWindow w;
    w.SetTexts(labelTexts());
    w.PreparePreviewPass(&stream);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Preview Status"));
    EXPECT_EQ(w.CancelButton()->text(), QStringLiteral("Stop"));
    int passes = 0;
    QString during;
    w.WireHandlers(
        [&](TBaseReport& r) {
            during = w.StatusLabel()->text();
            r.Print(QStringLiteral("label"));
        },
        [&](TBaseReport& r) {
            ++passes;
            beforePrint(r);
        });
    runModally(w);
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(during, QStringLiteral("Printing Page 1\n\n"));
    EXPECT_EQ(w.CancelButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(w.StatusLabel()->text(), QStringLiteral("\nLabel Preview Ready!"));
    EXPECT_FALSE(w.Aborted());
    EXPECT_EQ(test::readBack(stream.data()).header.pageCount, 1);
    // Later activations do not run the pass again.
    QEvent activation(QEvent::ActivationChange);
    w.show();
    QCoreApplication::sendEvent(&w, &activation);
    QCoreApplication::processEvents();
    EXPECT_EQ(passes, 1);
}

TEST_F(StatusWindowTest, StoppingAPreviewKeepsThePagesDrawn) {
    QBuffer stream;
    TStatusWindow w;
    w.SetTexts(labelTexts());
    w.PreparePreviewPass(&stream);
    w.WireHandlers(
        [&](TBaseReport& r) {
            for (int record = 1; record <= 500 && !w.StopRequested(); ++record) {
                if (record > 1) r.NewPage();  // its status update lets the click through
                r.Print(QStringLiteral("record %1").arg(record));
                if (record == 3) {
                    QMetaObject::invokeMethod(w.CancelButton(), "click", Qt::QueuedConnection);
                }
            }
        },
        beforePrint);
    runModally(w);
    EXPECT_TRUE(w.StopRequested());
    EXPECT_FALSE(w.Aborted());
    EXPECT_EQ(w.StatusLabel()->text(), QStringLiteral("\nPreview Stopped at page 4!"));
    const auto rec = test::readBack(stream.data());
    EXPECT_EQ(rec.header.pageCount, 4);
    EXPECT_EQ(test::textsOf(rec.pages.back()), std::vector<QString>{QStringLiteral("record 4")});
}

TEST_F(StatusWindowTest, CancellingAPrinterPassAsksThenAbandonsTheDocument) {
    const QString pdf = dir_.filePath(QStringLiteral("labels.pdf"));
    ScriptedPrompts script;
    script.answerSaveFile(pdf);
    script.answerYes(QStringLiteral("Cancel Label Printing?"));
    ScopedPrompts scoped(script);
    TStatusWindow w;
    w.SetTexts(labelTexts());
    w.PreparePrinterPass();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Print Status"));
    EXPECT_EQ(w.CancelButton()->text(), QStringLiteral("Cancel"));
    int pages = 0;
    w.WireHandlers(
        [&](TBaseReport& r) {
            while (!r.Aborted() && pages < 500) {
                if (++pages > 1) r.NewPage();
                r.Print(QStringLiteral("page"));
                if (pages == 2) {
                    QMetaObject::invokeMethod(w.CancelButton(), "click", Qt::QueuedConnection);
                }
            }
        },
        beforePrint);
    runModally(w);
    EXPECT_TRUE(w.Aborted());
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(w.StatusLabel()->text(), QStringLiteral("\nLabel Print Canceled!"));
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(script.asked().at(1).caption, QStringLiteral("Confirm"));
}

TEST_F(StatusWindowTest, AnsweringNoLetsThePrinterPassFinish) {
    const QString pdf = dir_.filePath(QStringLiteral("kept.pdf"));
    ScriptedPrompts script;
    script.answerSaveFile(pdf);
    script.answerNo(QStringLiteral("Cancel Label Printing?"));
    ScopedPrompts scoped(script);
    TStatusWindow w;
    w.SetTexts(labelTexts());
    w.PreparePrinterPass();
    w.WireHandlers(
        [&](TBaseReport& r) {
            r.Print(QStringLiteral("one"));
            QMetaObject::invokeMethod(w.CancelButton(), "click", Qt::QueuedConnection);
            r.NewPage();
            r.Print(QStringLiteral("two"));
        },
        beforePrint);
    runModally(w);
    EXPECT_FALSE(w.Aborted());
    EXPECT_EQ(w.StatusLabel()->text(), QStringLiteral("\nLabel Print Completed!"));
    EXPECT_TRUE(QFile::exists(pdf));
}

TEST_F(StatusWindowTest, WithoutACancelQuestionTheButtonAbortsAtOnce) {
    const QString pdf = dir_.filePath(QStringLiteral("envelope.pdf"));
    ScriptedPrompts script;
    script.answerSaveFile(pdf);
    ScopedPrompts scoped(script);
    StatusTexts texts;
    texts.printCanceled = QStringLiteral("\rEnvelope Print Canceled!");
    texts.printCompleted = QStringLiteral("\rEnvelope Print Completed!");
    TStatusWindow w;
    w.SetTexts(texts);
    w.PreparePrinterPass();
    w.WireHandlers(
        [&](TBaseReport& r) {
            w.CancelButton()->click();
            r.Print(QStringLiteral("envelope"));
        },
        beforePrint);
    runModally(w);
    EXPECT_TRUE(w.Aborted());
    EXPECT_EQ(w.StatusLabel()->text(), QStringLiteral("\nEnvelope Print Canceled!"));
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(StatusWindowTest, AFailedPassIsReportedAndCountsAsCanceled) {
    ScriptedPrompts script;
    script.acknowledgeError(QStringLiteral("StreamMode is smUser but Stream is nil"));
    ScopedPrompts scoped(script);
    TStatusWindow w;
    w.SetTexts(labelTexts());
    w.PreparePreviewPass(nullptr);
    w.WireHandlers([](TBaseReport&) {}, beforePrint);
    runModally(w);
    EXPECT_TRUE(w.Aborted());
    EXPECT_EQ(w.StatusLabel()->text(), QStringLiteral("\nLabel Preview Canceled!"));
}

TEST_F(StatusWindowTest, EscapeDoesNotCloseTheWindowDuringAPass) {
    QBuffer stream;
    TStatusWindow w;
    w.SetTexts(labelTexts());
    w.PreparePreviewPass(&stream);
    bool visibleAfterEscape = false;
    w.WireHandlers(
        [&](TBaseReport&) {
            w.reject();
            visibleAfterEscape = w.isVisible();
        },
        beforePrint);
    runModally(w);
    EXPECT_TRUE(visibleAfterEscape);
}

}  // namespace
}  // namespace qb
