// Drawing the ZIP code count report.
#include "presort/zip_report.h"

#include <QBuffer>
#include <QCoreApplication>

#include "presort/zip_tally.h"
#include "reports/pass_front_end.h"

namespace qb::presort {

namespace {

constexpr double kColumnWidth = 1.875;
constexpr double kTabWidth = 0.625;
constexpr int kTabMargin = 5;  // hundredths of an inch
constexpr int kOddLineShade = 5;

}  // namespace

StatusTexts zipStatusTexts() {
    StatusTexts t;
    t.printCanceled = QStringLiteral("\rPrint Canceled!");
    t.previewCanceled = QStringLiteral("\rPreview Canceled!");
    t.previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    t.printCompleted = QStringLiteral("\rPrint Completed!");
    t.previewReady = QStringLiteral("\rPreview Ready!");
    t.cancelQuestion = QStringLiteral("Cancel Printing?");
    return t;
}

void ZipReportPages::HeaderFooter(TBaseReport& r) {
    r.SetOriginX(0);
    r.SetBold(true);
    r.GotoXY(r.MarginLeft(), r.SectionTop() - 0.25);
    r.NewLine();
    r.Print(QStringLiteral("Zip Code Count Report"));
    r.SetBold(false);
    r.GotoXY(r.MarginLeft(), r.SectionBottom());
    r.NewLine();
    r.Print(QStringLiteral("Page ") + QString::number(r.CurrentPage()));
    const double left = r.SectionLeft(), top = r.SectionTop(), bottom = r.SectionBottom();
    r.Rectangle(left, top, r.SectionRight(), bottom);
    for (int column = 1; column < kZipColumns; ++column) {
        r.MoveTo(left + column * kColumnWidth, top);
        r.LineTo(left + column * kColumnWidth, bottom);
    }
}

void ZipReportPages::PrintZipReport(TBaseReport& r) {
    r.ClearTabs();
    r.SetTab(0, pjLeft, kTabWidth, kTabMargin, BOXLINENONE, 0);
    r.SetTab(NA, pjRight, kTabWidth, kTabMargin, BOXLINENONE, 0);
    r.SetTab(NA, pjLeft, kTabWidth, kTabMargin, BOXLINENONE, 0);
    r.SetFont(QStringLiteral("Arial"), 10);
    r.SetMarginLeft(0.5);
    r.SetMarginRight(0.5);
    r.SetMarginTop(1);
    r.SetMarginBottom(1);
    r.SetSectionTop(r.MarginTop());
    r.SetSectionBottom(r.PageHeight() - r.MarginBottom());
    r.SetSectionLeft(r.MarginLeft());
    r.SetSectionRight(r.PageWidth() - r.MarginLeft());
    HeaderFooter(r);

    int column = 0;
    r.SetOriginX(column * kColumnWidth + 0.5);
    r.Home();
    int lineInColumn = 0;
    for (const QString& line : lines_) {
        if (r.LinesLeft() == 0) {
            if (++column >= kZipColumns) {
                r.NewPage();
                HeaderFooter(r);
                column = 0;
            }
            r.SetOriginX(column * kColumnWidth + 0.5);
            r.Home();
            lineInColumn = 0;
        }
        const int shade = (++lineInColumn % 2 == 1) ? kOddLineShade : 0;
        r.Tab(NA, NA, NA, NA, shade);
        r.Print(line.left(5));
        // The whole tally, however long: a count of a million does not fit the key's field.
        r.Tab(NA, NA, NA, NA, shade);
        r.Print(line.mid(5).trimmed());
        r.Tab(NA, NA, NA, NA, shade);
        r.NewLine();
        if (letEventsRun) letEventsRun();
        if (r.Aborted() || (stopRequested && stopRequested())) break;
    }
}

TZipReport::TZipReport(const QStringList& lines, QWidget* parent)
    : TStatusWindow(parent), pages_(lines) {
    setObjectName(QStringLiteral("TZipReport"));
    SetTexts(zipStatusTexts());
    pages_.stopRequested = [this] { return StopRequested(); };
    pages_.letEventsRun = [] { QCoreApplication::processEvents(); };
}

void TZipReport::WireReport() {
    WireHandlers([this](TBaseReport& r) { PrintZipReport(r); },
                 [](TBaseReport& r) {
                     r.SetStatusFormat(QStringLiteral("Printing Page %p\r%0\r%1"));
                     r.StatusText() << QString() << QString();
                 });
}

bool RunZipReport(const QStringList& lines, bool preview, PassFrontEnd& frontEnd, QWidget* parent) {
    TZipReport window(lines, parent);
    QBuffer stream;
    if (preview) {
        stream.open(QIODevice::ReadWrite);
        window.PreparePreviewPass(&stream);
    } else {
        window.PreparePrinterPass();
    }
    window.WireReport();
    window.Engine().SetTitle(QStringLiteral("Zip Code Count Report"));
    if (!frontEnd.runPass(window) || window.Aborted()) return false;
    if (preview) frontEnd.showPreview(stream, QStringLiteral("Preview Zipcode Count"));
    return true;
}

}  // namespace qb::presort
