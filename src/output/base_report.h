// The report output engine: a page is described as text, lines and pictures placed in units
// from the top-left corner of the sheet, and the pass sends it to a printer or a report file.
// TReportPrinter and TReportFiler decide where a finished page goes.
#pragma once

#include "output/page_codec.h"
#include "output/printer_device.h"
#include "output/report_types.h"
#include "output/tab_set.h"
#include "output/text_metrics.h"

#include <QHash>
#include <QImage>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <limits>
#include <optional>

class QWidget;

namespace qb {

class TBaseReport;
// The last page of a pass when nobody chose a range: there is none.
inline constexpr int kNoLastPage = std::numeric_limits<int>::max();
using TReportEvent = std::function<void(TBaseReport&)>;
// Receives the page number; returns whether another page follows.
using TPrintPageEvent = std::function<bool(TBaseReport&, int page)>;

class TBaseReport : public QObject {
  public:
    explicit TBaseReport(QObject* owner = nullptr);
    ~TBaseReport() override;

    TReportEvent OnBeforePrint;
    TReportEvent OnPrint;
    TPrintPageEvent OnPrintPage;
    TReportEvent OnAfterPrint;
    TReportEvent OnNewPage;
    TReportEvent OnNewColumn;
    TReportEvent OnPrintHeader;
    TReportEvent OnPrintFooter;
    // Raised when NewLine moves the cursor's line past the bottom of the section.
    TReportEvent OnEndOfSection;

    // --- run ---
    void Execute();
    void NewPage();
    void Abort();
    void UpdateStatus();
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    int CurrentPage() const { return currentPage_; }

    // --- units and scaling ---
    TUnits Units() const { return units_; }
    void SetUnits(TUnits units);
    double UnitsFactor() const { return unitsFactor_; }
    void SetUnitsFactor(double factor);
    double ScaleX() const { return scaleX_; }
    void SetScaleX(double percent) { scaleX_ = percent; }
    double ScaleY() const { return scaleY_; }
    void SetScaleY(double percent) { scaleY_ = percent; }

    // --- page, margins, section, origin ---
    double PageWidth() const;
    double PageHeight() const;
    // Reads the paper size and unprintable edges from the device again.
    void ReadPageGeometry();
    double MarginLeft() const { return toUnits(marginLeft_); }
    double MarginRight() const { return toUnits(marginRight_); }
    double MarginTop() const { return toUnits(marginTop_); }
    double MarginBottom() const { return toUnits(marginBottom_); }
    void SetMarginLeft(double v);
    void SetMarginRight(double v);
    void SetMarginTop(double v);
    void SetMarginBottom(double v);
    // Sets every margin again, which moves the section edges back onto them.
    void ReapplyMargins();
    double SectionLeft() const { return toUnits(sectionLeft_); }
    double SectionRight() const { return toUnits(sectionRight_); }
    double SectionTop() const { return toUnits(sectionTop_); }
    double SectionBottom() const { return toUnits(sectionBottom_); }
    void SetSectionLeft(double v) { sectionLeft_ = toInches(v); }
    void SetSectionRight(double v) { sectionRight_ = toInches(v); }
    void SetSectionTop(double v) { sectionTop_ = toInches(v); }
    void SetSectionBottom(double v) { sectionBottom_ = toInches(v); }
    void ResetSection();
    double OriginX() const { return toUnits(originX_); }
    double OriginY() const { return toUnits(originY_); }
    void SetOriginX(double v) { originX_ = toInches(v); }
    void SetOriginY(double v) { originY_ = toInches(v); }
    // The device's unprintable edges, always in inches.
    double UnprintableLeft() const { return geometry().unprintableLeft; }
    double UnprintableTop() const { return geometry().unprintableTop; }
    double UnprintableRight() const { return geometry().unprintableRight; }
    double UnprintableBottom() const { return geometry().unprintableBottom; }
    double XDPI() const { return geometry().dpiX; }
    double YDPI() const { return geometry().dpiY; }

    // --- lines of text ---
    TLineHeightMethod LineHeightMethod() const { return lineHeightMethod_; }
    void SetLineHeightMethod(TLineHeightMethod method) { lineHeightMethod_ = method; }
    int LinesPerInch() const { return linesPerInch_; }
    void SetLinesPerInch(int lines);
    double LineHeight() const { return toUnits(lineHeight()); }
    // A line height of the caller's own; switches to lhmUser.
    void SetLineHeight(double v);

    // --- cursor ---
    double XPos() const { return toUnits(x_); }
    double YPos() const { return toUnits(y_); }
    void SetXPos(double v) { x_ = toInches(v); }
    void SetYPos(double v) { y_ = toInches(v); }
    void GotoXY(double x, double y);
    void Home();
    void NewLine();
    int LinesLeft() const;
    int LineNum() const { return lineNum_; }

    // --- text ---
    void Print(const QString& text);
    void Println(const QString& text);
    void PrintLeft(const QString& text, double x);
    void PrintCenter(const QString& text, double x);
    void PrintRight(const QString& text, double x);
    void PrintBlock(const QString& text, double x, double width);
    void TextRect(double x1, double y1, double x2, double y2, double x, const QString& text);
    double TextWidth(const QString& text) const;
    void SetFont(const QString& name, double size);
    QString FontName() const { return font_.name; }
    double FontSize() const { return font_.size; }
    bool Bold() const { return font_.bold; }
    void SetBold(bool on) {
        font_.bold = on;
        fontChanged();
    }
    bool Italic() const { return font_.italic; }
    void SetItalic(bool on) {
        font_.italic = on;
        fontChanged();
    }
    bool Underline() const { return font_.underline; }
    void SetUnderline(bool on) {
        font_.underline = on;
        fontChanged();
    }
    bool StrikeOut() const { return font_.strikeOut; }
    void SetStrikeOut(bool on) {
        font_.strikeOut = on;
        fontChanged();
    }
    QColor FontColor() const { return font_.colour; }
    void SetFontColor(const QColor& colour) { font_.colour = colour; }
    double FontAscent() const { return toUnits(metrics_.ascent()); }
    double FontDescent() const { return toUnits(metrics_.descent()); }
    TBKMode TextBKMode() const { return textBkMode_; }
    void SetTextBKMode(TBKMode mode) { textBkMode_ = mode; }

    // --- pens, lines, pictures ---
    // A negative width is in hundredths of an inch, a positive one in device pixels.
    void SetPen(const QColor& colour, TPenStyle style, int width, TPenMode mode);
    int PenWidthPixels() const { return penPixels_; }
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void Rectangle(double x1, double y1, double x2, double y2);
    void StretchDraw(double x1, double y1, double x2, double y2, const QImage& picture);

    // --- tabs ---
    void SetTab(double x, int justify, double width, int margin, int boxLines, int shade);
    void Tab(int leftWidth = NA, int rightWidth = NA, int topWidth = NA, int bottomWidth = NA,
             int shade = NA);
    void ClearTabs();
    void SaveTabs();
    void RestoreTabs();
    int TabShade() const { return tabShade_; }
    void SetTabShade(int percent);
    int TabCount() const { return static_cast<int>(tabs_.stops().size()); }
    // Where the text of the current stop starts and ends (its edges less its margin).
    double TabStart() const;
    double TabEnd() const;

    // --- printer selection, shared by every engine object ---
    QStringList PrinterNames() const;
    int PrinterIndex() const;
    void SetPrinterIndex(int index);
    bool SelectPrinter(const QString& name);
    QStringList BinNames() const;
    QStringList PaperNames() const;
    int BinIndex() const;
    int PaperIndex() const;
    bool SelectBin(const QString& name);
    bool SelectPaper(const QString& name);
    bool SetPaperSize(int code, double height, double width);
    TOrientation Orientation() const;
    void SetOrientation(TOrientation orientation);
    int Copies() const;
    void SetCopies(int copies);
    bool ShowPrintDialog();
    bool ShowPrinterSetupDialog();

    // --- page range, title, status ---
    int FirstPage() const { return firstPage_; }
    void SetFirstPage(int page) { firstPage_ = page; }
    int LastPage() const { return lastPage_; }
    void SetLastPage(int page) { lastPage_ = page; }
    QString Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title.left(31); }
    QLabel* StatusLabel() const { return statusLabel_; }
    void SetStatusLabel(QLabel* label) { statusLabel_ = label; }
    QString StatusFormat() const { return statusFormat_; }
    void SetStatusFormat(const QString& format) { statusFormat_ = format; }
    QStringList& StatusText() { return statusText_; }
    // The expanded status text, as UpdateStatus would show it.
    QString StatusString() const;

  protected:
    // First step of a pass; false ends the pass quietly, a ReportError ends it loudly.
    virtual bool prepareStart() = 0;
    virtual PageGeometry deviceGeometry() const;
    // False when the document could not be opened; the pass then counts as aborted.
    virtual bool openDocument() = 0;
    virtual void outputPage(int pageNumber, const QByteArray& body) = 0;
    virtual void closeDocument(bool abandon) = 0;
    virtual bool isReportFilePass() const = 0;

    QWidget* dialogParent() const;
    const PageGeometry& geometry() const;

  private:
    double toUnits(double inches) const { return inches * unitsFactor_; }
    double toInches(double units) const { return units / unitsFactor_; }
    double pageX(double inches) const { return (inches + originX_) * scaleX_ / 100.0; }
    double pageY(double inches) const { return (inches + originY_) * scaleY_ / 100.0; }
    double lineHeight() const;
    double penInches(int pixels) const;
    int pixelsForWidth(int width) const;

    void requirePrinting() const;
    void requireIdle() const;
    void fontChanged();
    void startPassState();
    // Ends the pass; `failed` drops its document as an aborted pass would.
    void finishPass(bool failed = false);
    void closePage();
    bool pageInRange(int page) const { return page >= firstPage_ && page <= lastPage_; }

    void emitOp(const DrawOp& op);
    void syncFont();
    void syncPen();
    void syncTextMode();
    // Prints at page position x on the current baseline; returns the text's width in inches.
    double drawText(double xInches, const QString& text);
    void printSegment(const QString& text);

    TUnits units_ = unInch;
    double unitsFactor_ = 1.0;
    double scaleX_ = 100, scaleY_ = 100;
    double marginLeft_ = 0, marginRight_ = 0, marginTop_ = 0, marginBottom_ = 0;
    double sectionLeft_ = 0, sectionRight_ = 0, sectionTop_ = 0, sectionBottom_ = 0;
    double originX_ = 0, originY_ = 0;
    TLineHeightMethod lineHeightMethod_ = lhmLinesPerInch;
    int linesPerInch_ = 6;
    double userLineHeight_ = 1.0 / 6;
    double x_ = 0, y_ = 0;
    int lineNum_ = 1;
    double penX_ = 0, penY_ = 0;

    FontState font_;
    TextMetrics metrics_;
    TBKMode textBkMode_ = bkTransparent;
    QColor penColour_ = Qt::black;
    TPenStyle penStyle_ = psSolid;
    TPenMode penMode_ = pmCopy;
    int penPixels_ = 1;

    TabSet tabs_;
    int tabIndex_ = -1;
    bool cellPending_ = false;
    int tabShade_ = 0;

    int firstPage_ = 1, lastPage_ = kNoLastPage;
    QString title_ = QStringLiteral("Quillbank Report");
    QPointer<QLabel> statusLabel_;
    QString statusFormat_ = QStringLiteral("Printing page %p");
    QStringList statusText_;

    bool printing_ = false;
    bool aborted_ = false;
    int currentPage_ = 0;
    mutable std::optional<PageGeometry> passGeometry_;
    mutable PageGeometry liveGeometry_;

    PageEncoder page_;
    std::optional<FontOp> pageFont_;
    std::optional<PenOp> pagePen_;
    std::optional<TextModeOp> pageTextMode_;
    QHash<qint64, QByteArray> pictureCache_;
};

}  // namespace qb
