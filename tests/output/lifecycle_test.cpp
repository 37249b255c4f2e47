// A pass from start to finish: the order of the events, pages by OnPrint or OnPrintPage, page
// range selection, aborting, failures in handlers, and the checks before a pass starts.
#include "controls/scripted_prompts.h"
#include "output/printer_catalog.h"
#include "output/report_error.h"
#include "output/report_printer.h"
#include "report_harness.h"

#include <gtest/gtest.h>
#include <QStringList>
#include <QTemporaryDir>

namespace qb {
namespace {

using test::record;
using test::textsOf;

void logEvents(TBaseReport& r, QStringList& log) {
    r.OnBeforePrint = [&log](TBaseReport& e) {
        log << QStringLiteral("before printing=%1").arg(e.Printing());
    };
    r.OnNewPage = [&log](TBaseReport& e) {
        log << QStringLiteral("newpage %1").arg(e.CurrentPage());
    };
    r.OnPrintHeader = [&log](TBaseReport& e) {
        log << QStringLiteral("header %1").arg(e.CurrentPage());
    };
    r.OnPrintFooter = [&log](TBaseReport& e) {
        log << QStringLiteral("footer %1").arg(e.CurrentPage());
    };
    r.OnAfterPrint = [&log](TBaseReport& e) {
        log << QStringLiteral("after printing=%1").arg(e.Printing());
    };
}

TEST(Lifecycle, EventsOfAPassWithOnPrint) {
    QStringList log;
    record({}, [&](TReportFiler& f) {
        logEvents(f, log);
        f.OnPrint = [&log](TBaseReport& e) {
            log << QStringLiteral("print");
            e.NewPage();
        };
    });
    EXPECT_EQ(log, QStringList({"before printing=0", "newpage 1", "header 1", "print", "footer 1",
                                "newpage 2", "header 2", "footer 2", "after printing=0"}));
}

TEST(Lifecycle, OnPrintPageRunsWhileItReturnsTrueWithNewPageBetween) {
    QStringList log;
    const auto rec = record({}, [&](TReportFiler& f) {
        f.OnPrint = nullptr;
        f.OnPrintPage = [&log](TBaseReport& e, int page) {
            log << QStringLiteral("page %1").arg(page);
            e.GotoXY(1, 1);
            e.Print(QStringLiteral("p%1").arg(page));
            return page < 3;
        };
    });
    EXPECT_EQ(log, QStringList({"page 1", "page 2", "page 3"}));
    ASSERT_EQ(rec.pages.size(), 3u);
    EXPECT_EQ(textsOf(rec.pages[2]), std::vector<QString>{QStringLiteral("p3")});
}

TEST(Lifecycle, OnPrintWinsOverOnPrintPage) {
    int pageCalls = 0;
    const auto rec = record([](TBaseReport&) {},
                            [&](TReportFiler& f) {
                                f.OnPrintPage = [&](TBaseReport&, int) { return ++pageCalls < 5; };
                            });
    EXPECT_EQ(pageCalls, 0);
    EXPECT_EQ(rec.header.pageCount, 1);
}

TEST(Lifecycle, PageStateIsResetAtEveryNewPage) {
    record([](TBaseReport& r) {
        r.SetMarginLeft(0.5);
        r.SetMarginTop(0.75);
        r.SetOriginX(3);
        r.SetOriginY(4);
        r.SetSectionLeft(2);
        r.GotoXY(5, 5);
        r.NewPage();
        EXPECT_EQ(r.CurrentPage(), 2);
        EXPECT_DOUBLE_EQ(r.OriginX(), 0);
        EXPECT_DOUBLE_EQ(r.OriginY(), 0);
        EXPECT_DOUBLE_EQ(r.SectionLeft(), 0.5);
        EXPECT_DOUBLE_EQ(r.XPos(), 0.5);
        EXPECT_EQ(r.LineNum(), 1);
    });
}

TEST(Lifecycle, OnlyPagesInsideTheRangeAreOutput) {
    const auto rec = record(
        [](TBaseReport& r) {
            for (int page = 1; page <= 6; ++page) {
                if (page > 1) r.NewPage();
                r.GotoXY(1, 1);
                r.Print(QStringLiteral("page %1").arg(page));
            }
        },
        [](TReportFiler& f) {
            f.SetFirstPage(3);
            f.SetLastPage(4);
        });
    EXPECT_EQ(rec.header.pageCount, 2);
    EXPECT_EQ(rec.header.firstPage, 3);
    EXPECT_EQ(rec.header.lastPage, 4);
    ASSERT_EQ(rec.pages.size(), 2u);
    EXPECT_EQ(textsOf(rec.pages[0]), std::vector<QString>{QStringLiteral("page 3")});
    EXPECT_EQ(textsOf(rec.pages[1]), std::vector<QString>{QStringLiteral("page 4")});
}

TEST(Lifecycle, AbortStopsOutputAndSkipsTheLastFooter) {
    QStringList log;
    const auto rec = record({}, [&](TReportFiler& f) {
        f.OnPrintFooter = [&log](TBaseReport& e) {
            log << QStringLiteral("footer %1").arg(e.CurrentPage());
        };
        f.OnPrint = [](TBaseReport& e) {
            e.Print(QStringLiteral("kept"));
            e.NewPage();
            e.Print(QStringLiteral("lost"));
            e.Abort();
            e.Print(QStringLiteral("lost too"));
        };
    });
    EXPECT_EQ(log, QStringList({"footer 1"}));
    ASSERT_EQ(rec.header.pageCount, 1);
    EXPECT_EQ(textsOf(rec.pages[0]), std::vector<QString>{QStringLiteral("kept")});
}

TEST(Lifecycle, AFailingHandlerStillFinishesThePass) {
    QWidget form;
    QBuffer stream;
    TReportFiler filer(&form);
    filer.SetStreamMode(smUser);
    filer.SetStream(&stream);
    bool after = false;
    filer.OnAfterPrint = [&](TBaseReport& e) { after = !e.Printing(); };
    filer.OnPrint = [](TBaseReport& e) {
        e.Print(QStringLiteral("before the failure"));
        throw std::runtime_error("drawing failed");
    };
    EXPECT_THROW(filer.Execute(), std::runtime_error);
    EXPECT_TRUE(after);
    EXPECT_FALSE(filer.Printing());
    // The pages drawn before the failure are in a finished, readable file.
    const auto rec = test::readBack(stream.data());
    EXPECT_EQ(rec.header.pageCount, 1);
    // And the engine can run again.
    filer.OnPrint = [](TBaseReport& e) { e.Print(QStringLiteral("again")); };
    filer.Execute();
    EXPECT_EQ(test::readBack(stream.data()).header.pageCount, 1);
}

class NoPrinters : public ::testing::Test {
  protected:
    void SetUp() override {
        PrinterCatalog::setMode(PrinterCatalog::Mode::None);
        PrinterDevice::releaseShared();
    }
    void TearDown() override {
        PrinterCatalog::setMode(PrinterCatalog::Mode::PdfOnly);
        PrinterDevice::releaseShared();
    }
};

TEST_F(NoPrinters, APrinterPassShowsTheMessageAndRunsNoHandler) {
    ScriptedPrompts script;
    script.acknowledgeError(QStringLiteral("No printers are defined, aborting print job."));
    ScopedPrompts scoped(script);
    TReportPrinter printer;
    bool ran = false;
    printer.OnBeforePrint = [&](TBaseReport&) { ran = true; };
    printer.OnPrint = [&](TBaseReport&) { ran = true; };
    printer.OnAfterPrint = [&](TBaseReport&) { ran = true; };
    printer.Execute();
    EXPECT_FALSE(ran);
    EXPECT_EQ(script.pending(), 0);
    EXPECT_EQ(printer.PrinterIndex(), -1);
    EXPECT_TRUE(printer.PrinterNames().isEmpty());
}

TEST_F(NoPrinters, AReportFilePassOwnedByAFormRunsOnTheScreenDevice) {
    const auto rec = record([](TBaseReport& r) {
        EXPECT_DOUBLE_EQ(r.XDPI(), 96);
        r.SetStatusFormat(QStringLiteral("%D"));
        EXPECT_EQ(r.StatusString(), QStringLiteral("Preview"));
        r.Print(QStringLiteral("still works"));
    });
    EXPECT_EQ(rec.header.pageCount, 1);
    EXPECT_DOUBLE_EQ(rec.header.pageWidth, 8.5);
}

TEST_F(NoPrinters, AReportFilePassWithoutAFormFails) {
    QBuffer stream;
    TReportFiler filer;
    filer.SetStreamMode(smUser);
    filer.SetStream(&stream);
    try {
        filer.Execute();
        FAIL() << "the pass ran without a form";
    } catch (const ReportError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("TReportFiler.Owner must be a TForm if no printers are defined."));
    }
}

TEST(Lifecycle, UserStreamModeNeedsAStream) {
    QWidget form;
    TReportFiler filer(&form);
    filer.SetStreamMode(smUser);
    bool ran = false;
    filer.OnBeforePrint = [&](TBaseReport&) { ran = true; };
    try {
        filer.Execute();
        FAIL();
    } catch (const ReportError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("StreamMode is smUser but Stream is nil"));
    }
    EXPECT_FALSE(ran);
}

TEST(Lifecycle, OtherStreamModesWriteTheirOwnFiles) {
    QWidget form;
    TReportFiler filer(&form);
    filer.OnPrint = [](TBaseReport& e) { e.Print(QStringLiteral("memory")); };
    filer.Execute();
    EXPECT_EQ(textsOf(test::readBack(filer.MemoryData()).pages.at(0)),
              std::vector<QString>{QStringLiteral("memory")});

    QTemporaryDir dir;
    filer.SetStreamMode(smFile);
    filer.SetFileName(dir.filePath(QStringLiteral("run.qbr")));
    filer.Execute();
    QFile file(filer.FileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(test::readBack(file.readAll()).header.pageCount, 1);

    filer.SetStreamMode(smTempFile);
    filer.Execute();
    EXPECT_TRUE(filer.FileName().endsWith(QStringLiteral(".qbr")));
    EXPECT_TRUE(QFile::exists(filer.FileName()));
    QFile::remove(filer.FileName());
}

}  // namespace
}  // namespace qb
