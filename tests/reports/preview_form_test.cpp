// The print preview window: page label and paging buttons, the zoom rule with its fitted
// zooms, scroll positions kept across changes, arrow keys, help by caption, and the report
// staying with its caller.
#include "reports/preview_form.h"
#include "controls/scripted_prompts.h"
#include "output/report_error.h"
#include "output/report_file.h"
#include "output/report_filer.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

namespace qb {
namespace {

// A report of `pages` pages recorded into `stream`; with `firstStored` above 1 only the pages
// from there on are stored. Page n carries a black square n/4 inch wide at (1, 1).
void makeReport(QBuffer& stream, int pages, int firstStored = 1) {
    QWidget owner;
    TReportFiler filer(&owner);
    filer.SetStreamMode(smUser);
    filer.SetStream(&stream);
    filer.SetFirstPage(firstStored);
    filer.OnPrint = [pages](TBaseReport& r) {
        for (int page = 1; page <= pages; ++page) {
            if (page > 1) r.NewPage();
            r.GotoXY(1, 3);
            r.Print(QStringLiteral("Page %1").arg(page));
            r.SetPen(Qt::black, psSolid, 1, pmCopy);
            for (int i = 0; i < 24 * page; ++i) {
                r.MoveTo(1 + i / 96.0, 1);
                r.LineTo(1 + i / 96.0, 1 + page / 4.0);
            }
        }
    };
    filer.Execute();
}

void waitFor(const std::function<bool()>& done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 5000)
        QCoreApplication::processEvents();
}

class PreviewTest : public ::testing::Test {
  protected:
    void open(int pages, int firstStored = 1,
              const QString& caption = QStringLiteral("Preview Labels")) {
        makeReport(stream_, pages, firstStored);
        form_ = std::make_unique<TPreviewForm>();
        form_->setWindowTitle(caption);
        form_->FilePreview1().SetStream(&stream_);
        form_->show();
        waitFor([this] { return form_->FilePreview1().Active(); });
        ASSERT_TRUE(form_->FilePreview1().Active());
    }
    void click(const char* name) {
        auto* button = form_->findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
    QString label() const { return form_->PageLabel()->text(); }
    double zoom() const { return form_->FilePreview1().ZoomFactor(); }
    QScrollBar* vbar() const { return form_->ScrollBox1()->verticalScrollBar(); }
    QScrollBar* hbar() const { return form_->ScrollBox1()->horizontalScrollBar(); }

    QBuffer stream_;
    std::unique_ptr<TPreviewForm> form_;
};

TEST_F(PreviewTest, AOnePageReportHidesPreviousAndNextButKeepsFirstAndLast) {
    open(1);
    EXPECT_EQ(label(), QStringLiteral("Page 1 of 1"));
    EXPECT_TRUE(form_->findChild<QToolButton*>(QStringLiteral("sbPrevPage"))->isHidden());
    EXPECT_TRUE(form_->findChild<QToolButton*>(QStringLiteral("sbNextPage"))->isHidden());
    EXPECT_FALSE(form_->findChild<QToolButton*>(QStringLiteral("sbFirstPage"))->isHidden());
    EXPECT_FALSE(form_->findChild<QToolButton*>(QStringLiteral("sbLastPage"))->isHidden());
    int redrawn = 0;
    form_->FilePreview1().OnPageChange = [&](TFilePreview&) { ++redrawn; };
    click("sbFirstPage");
    click("sbLastPage");
    EXPECT_EQ(redrawn, 2);
    EXPECT_EQ(form_->FilePreview1().CurrentPage(), 1);
}

TEST_F(PreviewTest, ItSettlesAtPageWidthZoomWithThePageFittingTheWidth) {
    open(3);
    EXPECT_FALSE(form_->findChild<QToolButton*>(QStringLiteral("sbNextPage"))->isHidden());
    const TFilePreview& viewer = form_->FilePreview1();
    EXPECT_NE(zoom(), 100.0);
    EXPECT_DOUBLE_EQ(zoom(), viewer.ZoomPageWidthFactor());
    // A letter page is taller than wide: it scrolls down but not across.
    EXPECT_EQ(hbar()->maximum(), 0);
    EXPECT_GT(vbar()->maximum(), 0);
    QCoreApplication::processEvents();  // the scroll bars settle after the layout
    const int used = viewer.PageImage().width() + 2 * viewer.PageMargin();
    EXPECT_NEAR(used, form_->ScrollBox1()->viewport()->width(), 1);
    // The margin is 2.5 percent of the page width at 100 percent: 816 pixels give 20.
    EXPECT_EQ(viewer.PageMargin(), 20);
}

TEST_F(PreviewTest, ZoomStepsStopAtTheLimitsAndKeepAFittedRemainder) {
    open(2);
    for (int i = 0; i < 25; ++i)
        click("sbZoomIn");
    EXPECT_DOUBLE_EQ(zoom(), 200);
    for (int i = 0; i < 30; ++i)
        click("sbZoomOut");
    EXPECT_DOUBLE_EQ(zoom(), 10);
    form_->FilePreview1().SetZoomFactor(87.3);
    click("sbZoomIn");
    EXPECT_NEAR(zoom(), 97.3, 1e-9);
    click("sbZoomIn");
    EXPECT_NEAR(zoom(), 107.3, 1e-9);
    EXPECT_EQ(form_->FilePreview1().PageImage().width(), qRound(816 * 1.073));
}

TEST_F(PreviewTest, WholePageZoomShowsAllOfThePage) {
    open(2);
    click("sbZoomPage");
    EXPECT_DOUBLE_EQ(zoom(), form_->FilePreview1().ZoomPageFactor());
    EXPECT_EQ(hbar()->maximum(), 0);
    EXPECT_EQ(vbar()->maximum(), 0);
    form_->FilePreview1().SetZoomFactor(-2);  // page width
    EXPECT_DOUBLE_EQ(zoom(), form_->FilePreview1().ZoomPageWidthFactor());
    form_->FilePreview1().SetZoomFactor(-1);  // whole page
    EXPECT_DOUBLE_EQ(zoom(), form_->FilePreview1().ZoomPageFactor());
    click("sbZoomPageWidth");
    EXPECT_DOUBLE_EQ(zoom(), form_->FilePreview1().ZoomPageWidthFactor());
}

TEST_F(PreviewTest, PageLabelCountsFromTheFirstStoredPage) {
    open(5, 3);
    EXPECT_EQ(form_->FilePreview1().FirstPage(), 3);
    EXPECT_EQ(label(), QStringLiteral("Page 1 of 3"));
    click("sbPrevPage");  // nothing before the first page
    EXPECT_EQ(label(), QStringLiteral("Page 1 of 3"));
    click("sbNextPage");
    EXPECT_EQ(label(), QStringLiteral("Page 2 of 3"));
    click("sbLastPage");
    EXPECT_EQ(label(), QStringLiteral("Page 3 of 3"));
    EXPECT_EQ(form_->FilePreview1().CurrentPage(), 5);
    click("sbNextPage");  // nothing after the last page
    EXPECT_EQ(label(), QStringLiteral("Page 3 of 3"));
    click("sbFirstPage");
    EXPECT_EQ(label(), QStringLiteral("Page 1 of 3"));
}

TEST_F(PreviewTest, PagesAreDrawnAtTheirPlaceForTheZoom) {
    open(2);
    TFilePreview& viewer = form_->FilePreview1();
    viewer.SetZoomFactor(100);
    // Page 1's square spans 1 to 1.25 inches: at 96 pixels per inch, 96 to 120.
    const QImage& page1 = viewer.PageImage();
    EXPECT_EQ(page1.size(), QSize(816, 1056));
    EXPECT_LT(qGray(page1.pixel(100, 110)), 64);
    EXPECT_GT(qGray(page1.pixel(100, 125)), 192);
    click("sbNextPage");  // page 2's square is twice as tall
    EXPECT_LT(qGray(viewer.PageImage().pixel(100, 140)), 64);
    viewer.SetZoomFactor(50);
    EXPECT_LT(qGray(viewer.PageImage().pixel(50, 70)), 64);
    EXPECT_GT(qGray(viewer.PageImage().pixel(50, 44)), 192);
}

TEST_F(PreviewTest, PageAndZoomChangesKeepTheScrollPosition) {
    open(3);
    form_->FilePreview1().SetZoomFactor(150);
    vbar()->setValue(300);
    hbar()->setValue(40);
    click("sbNextPage");
    EXPECT_EQ(vbar()->value(), 300);
    EXPECT_EQ(hbar()->value(), 40);
    click("sbZoomIn");
    EXPECT_EQ(vbar()->value(), 300);
    EXPECT_EQ(hbar()->value(), 40);
}

TEST_F(PreviewTest, ArrowKeysScrollByOneStepWithinTheRange) {
    open(2);
    const int step = vbar()->singleStep();
    vbar()->setValue(0);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(form_.get(), &down);
    EXPECT_EQ(vbar()->value(), step);
    QCoreApplication::sendEvent(form_.get(), &up);
    QCoreApplication::sendEvent(form_.get(), &up);
    EXPECT_EQ(vbar()->value(), 0);
    vbar()->setValue(vbar()->maximum());
    QCoreApplication::sendEvent(form_.get(), &down);
    EXPECT_EQ(vbar()->value(), vbar()->maximum());
    // Keys pressed while a button has the focus scroll the page as well.
    vbar()->setValue(0);
    QCoreApplication::sendEvent(form_->findChild<QPushButton*>(QStringLiteral("CloseButton")),
                                &down);
    EXPECT_EQ(vbar()->value(), step);
}

TEST_F(PreviewTest, HelpTopicByExactCaption) {
    ScriptedPrompts script;
    ScopedPrompts scoped(script);
    open(1, 1, QStringLiteral("Preview Zipcode Count"));
    click("HelpButton");
    form_->setWindowTitle(QStringLiteral("Preview labels"));
    click("HelpButton");
    form_->setWindowTitle(QStringLiteral("Preview Envelope"));
    click("HelpButton");
    ASSERT_EQ(script.asked().size(), 2);
    EXPECT_EQ(script.asked()[0].kind, PromptKind::Help);
    EXPECT_EQ(script.asked()[0].text, QStringLiteral("4572"));
    EXPECT_EQ(script.asked()[1].text, QStringLiteral("1031"));
    EXPECT_EQ(TPreviewForm::HelpContextFor(QStringLiteral("Preview Report")), 1034);
    EXPECT_EQ(TPreviewForm::HelpContextFor(QStringLiteral("Preview Labels")), 1032);
    EXPECT_EQ(TPreviewForm::HelpContextFor(QStringLiteral("Preview Labels ")), 0);
}

TEST_F(PreviewTest, ClosingFreesThePageImageButNotTheReport) {
    open(2);
    click("CloseButton");
    EXPECT_FALSE(form_->isVisible());
    EXPECT_FALSE(form_->FilePreview1().Active());
    EXPECT_TRUE(form_->FilePreview1().PageImage().isNull());
    EXPECT_EQ(form_->ScrollBox1()->widget(), nullptr);
    // The caller's stream is untouched and still readable.
    EXPECT_TRUE(stream_.isOpen());
    ReportFileReader again(stream_, QStringLiteral("report stream"));
    EXPECT_EQ(again.header().pageCount, 2);
}

TEST_F(PreviewTest, ControlsCarryTheirNamesAndHelpTexts) {
    open(1);
    const std::vector<std::pair<const char*, const char*>> texts = {
        {"sbZoomIn", "Click here to Zoom in."},
        {"sbZoomOut", "Click here to Zoom out."},
        {"sbZoomPageWidth", "Click here to make the width of the page fit into the preview."},
        {"sbZoomPage", "Click here to see the full page."},
        {"sbFirstPage", "Click here to see the first page"},
        {"sbPrevPage", "Click here to see the previous page."},
        {"sbNextPage", "Click here to see the next page."},
        {"sbLastPage", "Click here to see the last page"},
        {"CloseButton", "Click here to close this window."}};
    for (const auto& [name, help] : texts) {
        auto* w = form_->findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(w->whatsThis(), QLatin1String(help)) << name;
    }
    auto* close = form_->findChild<QPushButton*>(QStringLiteral("CloseButton"));
    EXPECT_TRUE(close->isDefault());
    EXPECT_EQ(close->text(), QStringLiteral("Close"));
    EXPECT_EQ(form_->findChild<QPushButton*>(QStringLiteral("HelpButton"))->text(),
              QStringLiteral("Help"));
    EXPECT_EQ(form_->size(), QSize(608, 424));
    EXPECT_EQ(form_->ScrollBox1()->geometry(), QRect(0, 0, 608, 383));
    EXPECT_TRUE(form_->PageLabel()->font().bold());
}

TEST(Preview, CentredOverTheMainWindowWithTruncatedHalves) {
    EXPECT_EQ(TPreviewForm::CentredOver(QRect(100, 50, 610, 450), QSize(608, 424)),
              QPoint(101, 63));
    // Smaller main windows give negative differences; halves truncate toward zero.
    EXPECT_EQ(TPreviewForm::CentredOver(QRect(100, 50, 401, 301), QSize(608, 424)),
              QPoint(100 - 103, 50 - 61));
}

TEST(Preview, ShowPreviewRunsModallyUnderTheCaption) {
    QBuffer stream;
    makeReport(stream, 2);
    QWidget main;
    main.setGeometry(200, 100, 610, 450);
    QString seenCaption;
    QPoint seenAt;
    QTimer::singleShot(50, [&] {
        auto* form = dynamic_cast<TPreviewForm*>(QApplication::activeModalWidget());
        if (!form) return;
        seenCaption = form->windowTitle();
        seenAt = form->pos();
        form->CloseButtonClick();
    });
    TPreviewForm::ShowPreview(&main, QStringLiteral("Preview Report"), &stream);
    EXPECT_EQ(seenCaption, QStringLiteral("Preview Report"));
    EXPECT_EQ(seenAt, QPoint(201, 113));
}

TEST(Preview, TheViewerRefusesToStartWithoutScrollBoxOrStream) {
    TFilePreview viewer;
    try {
        viewer.Start();
        FAIL();
    } catch (const ReportError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("ScrollBox must be assigned for FilePreview component"));
    }
    QScrollArea box;
    viewer.SetScrollBox(&box);
    try {
        viewer.Start();
        FAIL();
    } catch (const ReportError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("StreamMode is smUser but Stream is nil"));
    }
}

}  // namespace
}  // namespace qb

namespace qb {
namespace {

TEST(Preview, ADamagedReportIsReportedAndTheWindowCloses) {
    ScriptedPrompts script;
    script.acknowledgeError(QStringLiteral("report stream: is too short to be a report file"));
    ScopedPrompts scoped(script);
    QBuffer stream;
    stream.setData(QByteArray("QBREPORT"));
    QTimer::singleShot(2000, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    QElapsedTimer t;
    t.start();
    TPreviewForm::ShowPreview(nullptr, QStringLiteral("Preview Labels"), &stream);
    EXPECT_LT(t.elapsed(), 1500);
    EXPECT_EQ(script.pending(), 0);
}

}  // namespace
}  // namespace qb
