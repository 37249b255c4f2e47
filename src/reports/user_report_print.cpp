// Drawing contact reports.
#include "reports/user_report_print.h"

#include <QColor>
#include <QCoreApplication>
#include <QDate>

#include "store/date_format.h"

namespace qb::reports {

namespace {

constexpr int kCellMargin = 2;  // hundredths of an inch
constexpr int kCodesShade = 5;
constexpr int kMemoShade = 10;

xb::Jdn today() {
    const QDate d = QDate::currentDate();
    return xb::jdnFromYmd(d.year(), d.month(), d.day());
}

QString field(const xb::WorkArea& a, const char* name) {
    return QString::fromStdString(a.getText(name));
}

}  // namespace

StatusTexts reportStatusTexts() {
    StatusTexts t;
    t.printCanceled = QStringLiteral("\rReport Print Canceled!");
    t.previewCanceled = QStringLiteral("\rReport Preview Canceled!");
    t.previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    t.printCompleted = QStringLiteral("\rReport Print Completed!");
    t.previewReady = QStringLiteral("\rReport Preview Ready!");
    t.cancelQuestion = QStringLiteral("Cancel Report Printing?");
    return t;
}

ReportFields readReportFields(const xb::WorkArea& a, bool withMemo) {
    ReportFields f;
    f.lname = field(a, "LNAME");
    f.fname = field(a, "FNAME");
    f.middle = field(a, "MIDDLE");
    f.prefix = field(a, "PREFIX");
    f.title = field(a, "TITLE");
    f.org = field(a, "ORG");
    f.street = field(a, "STREET");
    f.city = field(a, "CITY");
    f.state = field(a, "STATE");
    f.zip = field(a, "ZIP");
    f.country = field(a, "COUNTRY");
    f.phone = field(a, "PHONE");
    f.fax = field(a, "FAX");
    f.email = field(a, "EMAIL");
    f.notes = field(a, "NOTES");
    f.date = formatDate(a.getDate("DATE"));
    if (withMemo) f.memo = QString::fromStdString(a.getMemo("MEMO"));
    return f;
}

ContactReportPages::ContactReportPages(xb::WorkArea& contacts, int layout, QString title,
                                       bool codes, bool memo)
    : contacts_(contacts),
      layout_(reportLayout(layout).number),
      title_(std::move(title)),
      codes_(codes),
      memo_(memo) {}

void ContactReportPages::BeforePrintReport(TBaseReport& r) {
    r.ReadPageGeometry();
    r.ReapplyMargins();
    r.ResetSection();
    r.SetStatusFormat(QStringLiteral("Printing Page %p\r%0\r%1"));
    r.StatusText() << QString() << QString();
}

void ContactReportPages::PrintReport(TBaseReport& r) {
    printPages(r, layout_);
}

void ContactReportPages::DoTextRect(TBaseReport& r, const QString& text, double width) {
    const double x = r.TabStart();
    const double bottom = r.YPos() + r.FontDescent();
    const double top = bottom - r.LineHeight();
    r.TextRect(x, top, x + width - 0.2, bottom, x, text);
}

void ContactReportPages::setLayoutTabs(TBaseReport& r) {
    const ReportLayout& layout = reportLayout(layout_);
    r.ClearTabs();
    r.SetTab(r.MarginLeft(), pjLeft, layout.tabWidths[0], kCellMargin, BOXLINENONE, 0);
    for (size_t i = 1; i < layout.tabWidths.size(); ++i)
        r.SetTab(NA, pjLeft, layout.tabWidths[i], kCellMargin, BOXLINENONE, 0);
}

void ContactReportPages::setBandTab(TBaseReport& r, int shade) {
    r.SaveTabs();
    r.ClearTabs();
    r.SetTab(r.MarginLeft(), pjLeft, r.SectionRight() - r.SectionLeft(), kCellMargin, BOXLINENONE,
             shade);
}

void ContactReportPages::header(TBaseReport& r, int layout) {
    r.ResetSection();
    r.SetFont(QStringLiteral("Times New Roman"), 14);
    r.SetBold(true);
    r.Home();
    r.Print(title_);
    r.PrintRight(QStringLiteral("Page ") + QString::number(r.CurrentPage()), r.SectionRight());
    r.NewLine();
    r.PrintRight(formatDate(today()), r.SectionRight());

    r.SetFont(QStringLiteral("Arial"), 9);
    r.SetBold(true);
    r.GotoXY(1, r.MarginTop() + (layout == 4 ? 0.5 : 0.8));
    r.NewLine();
    if (layout == 4) {
        r.Tab();
        r.Print(QStringLiteral("Name"));
        r.Tab();
        r.Tab();
        r.Print(QStringLiteral("Title and Organization"));
        r.NewLine();
        r.Tab();
        r.Tab();
        r.Print(QStringLiteral("Street"));
        r.Tab();
        r.Print(QStringLiteral("City/State/Zip"));
        r.Tab();
        r.Print(QStringLiteral("Country"));
        r.NewLine();
        r.Tab();
        r.Tab();
        r.Print(QStringLiteral("Phone,Fax"));
        r.Tab();
        r.Print(QStringLiteral("Email"));
        r.Tab();
        r.Print(QStringLiteral("Date"));
    } else {
        for (const QString& heading : reportLayout(layout).headings) {
            r.Tab();
            r.Print(heading);
        }
    }

    r.SetBold(false);
    r.SetItalic(false);
    r.SetSectionTop(r.MarginTop() + 1);
    r.SetSectionBottom(r.PageHeight() - r.MarginBottom() - 0.5);
    r.SetSectionLeft(r.MarginLeft());
    r.SetSectionRight(r.PageWidth() - r.MarginLeft() + r.MarginRight());
    for (double y : {r.SectionTop(), r.SectionBottom()}) {
        r.MoveTo(r.SectionLeft(), y);
        r.LineTo(r.SectionRight(), y);
    }
    r.Home();
}

void ContactReportPages::nextPage(TBaseReport& r) {
    r.NewPage();
    header(r, layout_);
    // The header leaves Arial 9; layout 4's rows are smaller.
    r.SetFont(QStringLiteral("Arial"), reportLayout(layout_).fontSize);
}

void ContactReportPages::printRows(TBaseReport& r, const ReportFields& f) {
    const ReportLayout& layout = reportLayout(layout_);
    const auto& w = layout.tabWidths;
    if (layout_ == 4) {
        r.Tab();
        if (!f.lname.trimmed().isEmpty()) DoTextRect(r, layout4Name(f), w[0] + w[1]);
        r.Tab();
        r.Tab();
        DoTextRect(r, titleAndOrg(f), w[2] + w[3]);
        r.NewLine();

        r.Tab();
        r.Tab();
        DoTextRect(r, f.street, w[1]);
        r.Tab();
        if (const QString city = cityLineB(f); !city.isEmpty()) DoTextRect(r, city, w[2]);
        r.Tab();
        DoTextRect(r, f.country, w[3]);
        r.NewLine();

        r.Tab();
        r.Tab();
        DoTextRect(r, phoneAndFax(f), w[1]);
        r.Tab();
        if (!f.email.trimmed().isEmpty()) DoTextRect(r, f.email, w[2]);
        r.Tab();
        DoTextRect(r, f.date, w[3]);
        r.NewLine();
        return;
    }
    QStringList cells;
    switch (layout_) {
        case 1:
            cells = {reportName(f), f.street, cityLineA(f), f.phone};
            break;
        case 2:
            cells = {reportName(f), f.org, f.phone, f.fax};
            break;
        default:
            cells = {f.org, reportName(f), f.phone, f.fax};
            break;
    }
    for (int i = 0; i < 4; ++i) {
        r.Tab();
        if (!cells[i].isEmpty()) DoTextRect(r, cells[i], w[size_t(i)]);
    }
    r.NewLine();
}

void ContactReportPages::HandleCodesAndMemo(TBaseReport& r, const ReportFields& f) {
    if (codes_ && !f.notes.trimmed().isEmpty()) {
        if (r.LinesLeft() == 0) nextPage(r);
        setBandTab(r, kCodesShade);
        r.Tab();
        r.Print(QStringLiteral("Codes: "));
        r.Println(f.notes);
        r.RestoreTabs();
    }
    if (!memo_) return;
    setBandTab(r, kMemoShade);
    // Broken at the band's own text width in the report's font, so no line runs past it.
    const double width = r.SectionRight() - r.SectionLeft() - 2 * kCellMargin / 100.0;
    const QStringList lines =
        wrapMemo(f.memo, width, [&r](const QString& s) { return r.TextWidth(s); });
    for (qsizetype i = 0; i < lines.size(); ++i) {
        r.Tab();
        r.Println(lines[i]);
        if (r.LinesLeft() == 0 && i + 1 < lines.size()) {
            r.RestoreTabs();
            nextPage(r);
            setBandTab(r, kMemoShade);
        }
    }
    r.RestoreTabs();
}

void ContactReportPages::printPages(TBaseReport& r, int layout) {
    layout_ = reportLayout(layout).number;
    const ReportLayout& l = reportLayout(layout_);
    records_ = 0;
    r.SetMarginLeft(1);
    r.SetFont(QStringLiteral("Arial"), l.fontSize);
    r.SetBold(false);
    r.SetItalic(false);
    r.SetSectionTop(r.MarginTop() + 1);
    r.SetSectionBottom(r.PageHeight() - r.MarginBottom() - 1);
    r.SetSectionLeft(r.MarginLeft());
    r.SetSectionRight(r.PageWidth() - r.MarginLeft());
    setLayoutTabs(r);
    header(r, layout_);
    r.SetFont(QStringLiteral("Arial"), l.fontSize);
    r.Home();

    const int needed = layout_ == 4 ? 3 : 1;
    while (!contacts_.eof() && !(stopRequested && stopRequested())) {
        if (r.LinesLeft() < needed) nextPage(r);
        r.SetBold(false);
        const ReportFields f = readReportFields(contacts_, memo_);
        printRows(r, f);
        HandleCodesAndMemo(r, f);
        if (layout_ == 4 && r.LinesLeft() > 3) {
            r.SetPen(QColor(192, 192, 192), psSolid, 1, pmCopy);
            r.SetSectionLeft(r.MarginLeft());
            r.SetSectionRight(r.PageWidth() - r.MarginLeft() + r.MarginRight());
            r.MoveTo(r.SectionLeft(), r.YPos());
            r.LineTo(r.SectionRight(), r.YPos());
            r.SetPen(Qt::black, psSolid, 1, pmCopy);
            r.NewLine();
        }
        ++records_;
        contacts_.skip();
        if (letEventsRun) letEventsRun();
    }
}

TUserReportPrint::TUserReportPrint(QWidget* parent) : TStatusWindow(parent) {
    setObjectName(QStringLiteral("TUserReportPrint"));
    SetTexts(reportStatusTexts());
}

TUserReportPrint::~TUserReportPrint() = default;

void TUserReportPrint::PrepareRun(xb::WorkArea& contacts, int layout, const QString& title,
                                  bool codes, bool memo) {
    pages_ = std::make_unique<ContactReportPages>(contacts, layout, title, codes, memo);
    pages_->stopRequested = [this] { return StopRequested(); };
    pages_->letEventsRun = [] { QCoreApplication::processEvents(); };
    WireHandlers([this](TBaseReport& r) { pages_->PrintReport(r); },
                 [this](TBaseReport& r) { pages_->BeforePrintReport(r); });
}

}  // namespace qb::reports
