// The print-labels dialog.
#include "labels/qb_labels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/placement.h"
#include "controls/prompts.h"
#include "labels/design_label.h"
#include "labels/label_definition.h"
#include "labels/label_print.h"
#include "labels/table_grid.h"
#include "output/report_printer.h"
#include "presort/sort_bulk_mail.h"
#include "reports/preview_form.h"
#include "xbase/error.h"

namespace qb::labels {

namespace {

constexpr int kHelpPrintLabels = 1036;

QPushButton* pushButton(const char* name, const QString& text, const QString& help,
                        QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setWhatsThis(help);
    return b;
}

}  // namespace

bool DialogFrontEnd::runPresort(Dataset& contacts, const QString& programFolder) {
    presort::TSortBulkMail window(contacts.area(), programFolder, dialog_);
    centreOver(window, main_);
    window.exec();
    return window.Done();
}

bool DialogFrontEnd::runPass(TLabelPrint& window) {
    centreOver(window, main_);
    window.exec();
    return true;
}

void DialogFrontEnd::showPreview(QIODevice& stream) {
    TPreviewForm::ShowPreview(main_, QStringLiteral("Preview Labels"), &stream);
}

TQBLabels::TQBLabels(ContactHost& host, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      host_(host),
      printer_(new TReportPrinter(this)),
      dialogFrontEnd_(std::make_unique<DialogFrontEnd>(host.hostWindow(), this)),
      frontEnd_(dialogFrontEnd_.get()) {
    setObjectName(QStringLiteral("TQBLabels"));
    setWindowTitle(QStringLiteral("Print Labels"));
    tileBackground(this);
    printer_->SetTitle(QStringLiteral("Quillbank Report"));

    grid_ = new TableGrid(&setups_,
                          {{QStringLiteral("DESCRIPT"), QStringLiteral("Description"), 38},
                           {QStringLiteral("USERLABELN"), QStringLiteral("Label Type"), 35}},
                          this);
    grid_->setObjectName(QStringLiteral("LabelSetupGrid"));
    grid_->setMinimumSize(560, 180);
    grid_->setWhatsThis(QStringLiteral("The label setups; the highlighted one is printed."));

    modify_ =
        pushButton("ModifyButton", QStringLiteral("Modify"),
                   QStringLiteral("Changes the highlighted setup in the label designer."), this);
    new_ = pushButton("NewButton", QStringLiteral("New"),
                      QStringLiteral("Designs a new label setup."), this);
    delete_ = pushButton("DeleteButton", QStringLiteral("Delete"),
                         QStringLiteral("Removes the highlighted setup."), this);

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
    presort_ = new QCheckBox(QStringLiteral("Presort for Bulk Mail"), scope);
    presort_->setObjectName(QStringLiteral("PresortCheck"));
    scope->setWhatsThis(QStringLiteral("Which contacts get a label."));
    presort_->setWhatsThis(
        QStringLiteral("Prints the labels in bulk-mail order, with a "
                       "separator label before each group."));
    auto* scopeLayout = new QVBoxLayout(scope);
    for (QWidget* w :
         std::initializer_list<QWidget*>{all_, filter_, onlyThis_, startCurrent_, presort_})
        scopeLayout->addWidget(w);

    auto* output = new QGroupBox(QStringLiteral("Printer"), this);
    printerCombo_ = new QComboBox(output);
    printerCombo_->setObjectName(QStringLiteral("PrinterCombo"));
    printerCombo_->addItems(printer_->PrinterNames());
    printerCombo_->setWhatsThis(QStringLiteral("The printer the labels go to."));
    copies_ = new QSpinBox(output);
    copies_->setObjectName(QStringLiteral("NumberofEachLabel"));
    copies_->setRange(1, 999);
    copies_->setValue(1);
    copies_->setWhatsThis(QStringLiteral("How many labels each contact gets."));
    printerSetup_ =
        pushButton("PrinterSetup", QStringLiteral("Printer Setup"),
                   QStringLiteral("Chooses the printer's paper and other settings."), output);
    auto* outputLayout = new QGridLayout(output);
    outputLayout->addWidget(printerCombo_, 0, 0, 1, 2);
    outputLayout->addWidget(new QLabel(QStringLiteral("# copies of each label"), output), 1, 0);
    outputLayout->addWidget(copies_, 1, 1);
    outputLayout->addWidget(printerSetup_, 2, 0, 1, 2);

    printNow_ = pushButton("PrintNow", QStringLiteral("Print Now"),
                           QStringLiteral("Prints the labels."), this);
    preview_ = pushButton("PreviewButton", QStringLiteral("Preview"),
                          QStringLiteral("Shows the labels on screen first."), this);
    auto* close = pushButton("CloseButton", QStringLiteral("Close"),
                             QStringLiteral("Closes this window."), this);
    auto* help = pushButton("HelpButton", QStringLiteral("Help"), QString(), this);
    auto* pointer = newPointerHelpButton(this);

    auto* setupButtons = new QHBoxLayout;
    setupButtons->addWidget(modify_);
    setupButtons->addWidget(new_);
    setupButtons->addWidget(delete_);
    setupButtons->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(scope);
    middle->addWidget(output);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(printNow_);
    buttons->addWidget(preview_);
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(help);
    buttons->addWidget(pointer);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(setupButtons);
    layout->addLayout(middle);
    layout->addLayout(buttons);

    connect(modify_, &QPushButton::clicked, this, &TQBLabels::ModifyButtonClick);
    connect(new_, &QPushButton::clicked, this, &TQBLabels::NewButtonClick);
    connect(delete_, &QPushButton::clicked, this, &TQBLabels::DeleteButtonClick);
    for (QRadioButton* b : {all_, filter_, onlyThis_})
        connect(b, &QRadioButton::clicked, this, &TQBLabels::ScopeClick);
    connect(startCurrent_, &QCheckBox::clicked, this, &TQBLabels::StartCurrentCheckClick);
    connect(printerCombo_, &QComboBox::activated, this, &TQBLabels::PrinterComboClick);
    connect(printNow_, &QPushButton::clicked, this, &TQBLabels::PrintNowClick);
    connect(preview_, &QPushButton::clicked, this, &TQBLabels::PreviewButtonClick);
    connect(printerSetup_, &QPushButton::clicked, this, &TQBLabels::PrinterSetupClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpPrintLabels); });
    connect(grid_, &BrowseGrid::leaveRequested, this, &TQBLabels::ModifyButtonClick);
    installWhatsThisMenus(this);
}

TQBLabels::~TQBLabels() = default;

bool TQBLabels::OpenSetupTable() {
    try {
        setups_.open(host_.programFolder() + QLatin1String(kLabelSetupFileName));
    } catch (const xb::Error&) {
        return false;
    }
    setups_.first();
    return true;
}

void TQBLabels::DisableFilterChoice() {
    filter_->setEnabled(false);
    all_->setChecked(true);
}

void TQBLabels::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TQBLabels::FormActivate() {
    if (!firstActivation_) return;
    firstActivation_ = false;
    showSelectedPrinter();
    SetLabelButtons();
}

void TQBLabels::showSelectedPrinter() {
    const int index = printer_->PrinterIndex();
    if (index >= 0) printerCombo_->setCurrentIndex(index);
}

void TQBLabels::SetLabelButtons() {
    const bool on = setups_.onRecord();
    for (QWidget* w : std::initializer_list<QWidget*>{modify_, printNow_, preview_, delete_, grid_})
        w->setEnabled(on);
}

void TQBLabels::ModifyButtonClick() {
    LabelSetup setup = currentSetup();
    if (newSetup_) setup.descript = QString::fromLatin1(kUntitledSetup);
    TDesignLabel designer(setup, host_, this);
    centreOver(designer, host_.hostWindow());
    if (designer.exec() == QDialog::Accepted) {
        const bool started = newSetup_ ? setups_.insert() : setups_.edit();
        if (started) {
            WriteLabelSetup(setups_.area(), designer.Result());
            if (setups_.post())
                saveBarcodeKind(host_.settings(), kLabelBarcodeSection, designer.Result().descript,
                                designer.Result().barcodeKind);
        }
    }
    showSelectedPrinter();
    newSetup_ = false;
    SetLabelButtons();
}

void TQBLabels::NewButtonClick() {
    newSetup_ = true;
    ModifyButtonClick();
}

void TQBLabels::DeleteButtonClick() {
    if (!setups_.onRecord()) return;
    if (!prompts().confirm(this, QStringLiteral("Confirm"), QStringLiteral("Delete this record?")))
        return;
    setups_.markDeleted();
    SetLabelButtons();
}

void TQBLabels::ScopeClick() {
    presortDone_ = false;
    if (onlyThis_->isChecked()) {
        presort_->setChecked(false);
        presort_->setEnabled(false);
    } else {
        presort_->setEnabled(true);
    }
}

void TQBLabels::StartCurrentCheckClick() {
    presortDone_ = false;
}

void TQBLabels::PrinterComboClick(int index) {
    printer_->SetPrinterIndex(index);
}

void TQBLabels::PrinterSetupClick() {
    printer_->ShowPrinterSetupDialog();
    showSelectedPrinter();
}

ScopeChoice TQBLabels::scopeChoice() const {
    if (all_->isChecked()) return ScopeChoice::AllRecords;
    if (onlyThis_->isChecked()) return ScopeChoice::OnlyCurrent;
    return ScopeChoice::MatchingFilter;
}

void TQBLabels::PrintNowClick() {
    // A setup that cannot be printed is refused before the print dialog asks anything.
    const LabelSetup setup = currentSetup();
    if (const QString fault = labelSetupFault(setup); !fault.isEmpty()) {
        prompts().information(this, setupRefusedMessage(setup.descript, fault));
        lastOutcome_ = LabelJobOutcome::SetupRefused;
        return;
    }
    if (!printer_->ShowPrintDialog()) return;
    DoPrint(false);
}

void TQBLabels::PreviewButtonClick() {
    DoPrint(true);
}

void TQBLabels::DoPrint(bool preview) {
    LabelJobRequest request;
    request.setup = currentSetup();
    request.scope = scopeChoice();
    request.startFromCurrent = startCurrent_->isChecked();
    request.presort = presort_->isChecked() && presort_->isEnabled();
    request.copies = copies_->value();
    request.preview = preview;
    lastOutcome_ = labels::DoPrint(host_.contactTable(), host_.programFolder(), request,
                                   presortDone_, *frontEnd_, this);
}

}  // namespace qb::labels
