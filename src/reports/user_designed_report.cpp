// The report dialog.
#include "reports/user_designed_report.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/prompts.h"
#include "output/report_printer.h"
#include "reports/pass_front_end.h"
#include "reports/report_layouts.h"

namespace qb::reports {

namespace {

QPushButton* pushButton(const char* name, const QString& text, const QString& help,
                        QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setWhatsThis(help);
    return b;
}

// Marks "no title saved yet", which no one types as a title.
constexpr const char* kNoTitle = "\x01";

}  // namespace

TUserDesignedReport::TUserDesignedReport(ContactHost& host, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      host_(host),
      printer_(new TReportPrinter(this)),
      dialogFrontEnd_(std::make_unique<DialogPassFrontEnd>(host.hostWindow())),
      frontEnd_(dialogFrontEnd_.get()) {
    setObjectName(QStringLiteral("TUserDesignedReport"));
    setWindowTitle(QStringLiteral("Print Report"));
    tileBackground(this);
    printer_->SetTitle(QStringLiteral("Quillbank Report"));

    title_ = new QLineEdit(this);
    title_->setObjectName(QStringLiteral("TitleField"));
    title_->setWhatsThis(QStringLiteral("The title printed at the top of every page."));
    const TextSetting saved{setting::UserReportTitle.section, setting::UserReportTitle.key,
                            kNoTitle};
    const QString title = host.settings().read(saved);
    title_->setText(title == QLatin1String(kNoTitle)
                        ? QString::fromLatin1(setting::UserReportTitle.fallback) +
                              host.currentFileName()
                        : title);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ReportList"));
    list_->addItems(reportListEntries());
    list_->setCurrentRow(0);
    list_->setWhatsThis(QStringLiteral("Which columns the report lists."));
    memo_ = new QCheckBox(QStringLiteral("Print Memo"), this);
    memo_->setObjectName(QStringLiteral("PrintMemoBox"));
    memo_->setWhatsThis(QStringLiteral("Prints each contact's memo below its row."));
    codes_ = new QCheckBox(QStringLiteral("Print Codes"), this);
    codes_->setObjectName(QStringLiteral("PrintCodesBox"));
    codes_->setWhatsThis(QStringLiteral("Prints each contact's codes below its row."));

    auto* scope = new QGroupBox(QStringLiteral("Print"), this);
    all_ = new QRadioButton(QStringLiteral("All records"), scope);
    all_->setObjectName(QStringLiteral("rbQAll"));
    filter_ = new QRadioButton(QStringLiteral("Records matching filter"), scope);
    filter_->setObjectName(QStringLiteral("rbQFilter"));
    filter_->setChecked(true);
    onlyThis_ = new QRadioButton(QStringLiteral("Only current record"), scope);
    onlyThis_->setObjectName(QStringLiteral("rbOnlyThis"));
    startCurrent_ = new QCheckBox(QStringLiteral("Start from current record"), scope);
    startCurrent_->setObjectName(QStringLiteral("StartCurrentCheck"));
    scope->setWhatsThis(QStringLiteral("Which contacts the report lists."));
    auto* scopeLayout = new QVBoxLayout(scope);
    for (QWidget* w : std::initializer_list<QWidget*>{all_, filter_, onlyThis_, startCurrent_})
        scopeLayout->addWidget(w);

    auto* printNow = pushButton("PrintNow", QStringLiteral("Print Now"),
                                QStringLiteral("Prints the report."), this);
    auto* preview = pushButton("PreviewButton", QStringLiteral("Preview"),
                               QStringLiteral("Shows the report on screen first."), this);
    auto* setup = pushButton("PrinterSetup", QStringLiteral("Printer Setup"),
                             QStringLiteral("Chooses the printer and its paper."), this);
    auto* help = pushButton("HelpButton", QStringLiteral("Help"), QString(), this);
    auto* cancel = pushButton("CancelButton", QStringLiteral("Cancel"),
                              QStringLiteral("Closes this window, keeping the title."), this);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Report Title"), this));
    left->addWidget(title_);
    left->addWidget(new QLabel(QStringLiteral("Select Report:"), this));
    left->addWidget(list_);
    left->addWidget(memo_);
    left->addWidget(codes_);
    auto* middle = new QHBoxLayout;
    middle->addLayout(left, 1);
    middle->addWidget(scope);
    auto* buttons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{printNow, preview, setup})
        buttons->addWidget(w);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addWidget(newPointerHelpButton(this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(middle);
    layout->addLayout(buttons);

    connect(printNow, &QPushButton::clicked, this, &TUserDesignedReport::PrintNowClick);
    connect(preview, &QPushButton::clicked, this, &TUserDesignedReport::PreviewButtonClick);
    connect(setup, &QPushButton::clicked, this, &TUserDesignedReport::PrinterSetupClick);
    connect(cancel, &QPushButton::clicked, this, &TUserDesignedReport::CancelButtonClick);
    connect(help, &QPushButton::clicked, this, [this] { prompts().showHelp(this, kHelpContext); });
    installWhatsThisMenus(this);
}

TUserDesignedReport::~TUserDesignedReport() = default;

void TUserDesignedReport::DisableFilterChoice() {
    filter_->setEnabled(false);
    all_->setChecked(true);
}

ReportRequest TUserDesignedReport::request(bool preview) const {
    ReportRequest r;
    r.layout = list_->currentRow() < 0 ? 1 : list_->currentRow() + 1;
    r.title = title_->text();
    r.codes = codes_->isChecked();
    r.memo = memo_->isChecked();
    r.scope = all_->isChecked()        ? ScopeChoice::AllRecords
              : onlyThis_->isChecked() ? ScopeChoice::OnlyCurrent
                                       : ScopeChoice::MatchingFilter;
    r.startFromCurrent = startCurrent_->isChecked();
    r.preview = preview;
    return r;
}

void TUserDesignedReport::PrintNowClick() {
    if (!printer_->ShowPrintDialog()) return;
    DoPrint(false);
}

void TUserDesignedReport::PreviewButtonClick() {
    DoPrint(true);
}

void TUserDesignedReport::PrinterSetupClick() {
    printer_->ShowPrinterSetupDialog();
}

void TUserDesignedReport::DoPrint(bool preview) {
    lastResult_ = reports::DoPrint(host_.contactTable(), request(preview), *frontEnd_, this);
}

void TUserDesignedReport::CancelButtonClick() {
    host_.settings().write(setting::UserReportTitle, title_->text());
    QDialog::reject();
}

void TUserDesignedReport::reject() {
    CancelButtonClick();
}

}  // namespace qb::reports
