// The print-envelope dialog.
#include "envelopes/qb_envelopes.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/placement.h"
#include "controls/prompts.h"
#include "envelopes/envelope_designer.h"
#include "envelopes/envelope_print.h"
#include "labels/table_grid.h"
#include "output/printer_catalog.h"
#include "output/printer_device.h"
#include "output/report_printer.h"
#include "reports/preview_form.h"
#include "store/settings.h"
#include "xbase/error.h"

namespace qb::envelopes {

namespace {

constexpr int kHelpPrintEnvelope = 1035;

QPushButton* pushButton(const char* name, const QString& text, const QString& help,
                        QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setWhatsThis(help);
    return b;
}

// A device name may carry its port (" on LPT1:"); the printer is selected by its bare name.
QString bareName(const QString& name) {
    const qsizetype on = name.indexOf(QStringLiteral(" ON "), 0, Qt::CaseInsensitive);
    return on < 0 ? name : name.left(on);
}

}  // namespace

bool EnvelopeDialogFrontEnd::confirmPrint(TEnvelopeForm&) {
    return printDialog_ ? printDialog_() : true;
}

bool EnvelopeDialogFrontEnd::runPass(TEnvelopeForm& window) {
    centreOver(window, main_);
    window.exec();
    return true;
}

void EnvelopeDialogFrontEnd::showPreview(QIODevice& stream) {
    TPreviewForm::ShowPreview(main_, QStringLiteral("Preview Envelope"), &stream);
}

TQBEnvelopes::TQBEnvelopes(ContactHost& host, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      host_(host),
      printer_(new TReportPrinter(this)) {
    setObjectName(QStringLiteral("TQBEnvelopes"));
    setWindowTitle(QStringLiteral("Print Envelope"));
    tileBackground(this);
    dialogFrontEnd_ = std::make_unique<EnvelopeDialogFrontEnd>(host.hostWindow(), [this] {
        const bool ok = printer_->ShowPrintDialog();
        // The choice is kept whether or not the dialog was confirmed.
        SavePrinterChoice(working_);
        showPrinterLabels();
        return ok;
    });
    frontEnd_ = dialogFrontEnd_.get();
    runDesigner = [this](const EnvelopeSetup& s) -> std::optional<EnvelopeSetup> {
        TEnvelopeDesigner designer(s, host_, this);
        centreOver(designer, host_.hostWindow());
        const bool saved = designer.exec() == QDialog::Accepted;
        QCoreApplication::processEvents();
        if (!saved) return std::nullopt;
        return designer.Result();
    };

    grid_ = new labels::TableGrid(&setups_,
                                  {{QStringLiteral("DESCRIPT"), QStringLiteral("Description"), 50},
                                   {QStringLiteral("ENVNAME"), QStringLiteral("Envelope"), 24}},
                                  this);
    grid_->setObjectName(QStringLiteral("EnvelopeSetupGrid"));
    grid_->setMinimumSize(560, 180);
    grid_->setWhatsThis(QStringLiteral("The envelope setups; the highlighted one is printed."));

    modify_ =
        pushButton("ModifyButton", QStringLiteral("Modify"),
                   QStringLiteral("Changes the highlighted setup in the envelope designer."), this);
    new_ =
        pushButton("NewButton", QStringLiteral("New"),
                   QStringLiteral("Designs a new setup, starting from the highlighted one."), this);
    delete_ = pushButton("DeleteButton", QStringLiteral("Delete"),
                         QStringLiteral("Removes the highlighted setup."), this);
    printNow_ = pushButton("PrintNow", QStringLiteral("Print Now"),
                           QStringLiteral("Prints the envelope of the current contact."), this);
    preview_ = pushButton("PreviewButton", QStringLiteral("Preview"),
                          QStringLiteral("Shows the envelope on screen first."), this);
    auto* setup = pushButton("PrintSetup", QStringLiteral("Printer Setup"),
                             QStringLiteral("Chooses the printer, paper and source this setup "
                                            "prints with; they are remembered with it."),
                             this);
    auto* help = pushButton("HelpButton", QStringLiteral("Help"), QString(), this);
    auto* cancel = pushButton("CancelButton", QStringLiteral("Cancel"),
                              QStringLiteral("Closes this window."), this);
    printerLabel_ = new QLabel(QStringLiteral("Printer:"), this);
    printerLabel_->setObjectName(QStringLiteral("PrinterLabel"));
    binLabel_ = new QLabel(QStringLiteral("Source:"), this);
    binLabel_->setObjectName(QStringLiteral("BinLabel"));
    paperLabel_ = new QLabel(QStringLiteral("Paper:"), this);
    paperLabel_->setObjectName(QStringLiteral("PaperLabel"));

    auto* setupButtons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{modify_, new_, delete_})
        setupButtons->addWidget(w);
    setupButtons->addStretch();
    auto* printerBox = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{printerLabel_, binLabel_, paperLabel_, setup})
        printerBox->addWidget(w);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(printNow_);
    buttons->addWidget(preview_);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addWidget(newPointerHelpButton(this));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(setupButtons);
    layout->addLayout(printerBox);
    layout->addLayout(buttons);

    connect(modify_, &QPushButton::clicked, this, &TQBEnvelopes::ModifyButtonClick);
    connect(new_, &QPushButton::clicked, this, &TQBEnvelopes::NewButtonClick);
    connect(delete_, &QPushButton::clicked, this, &TQBEnvelopes::DeleteButtonClick);
    connect(printNow_, &QPushButton::clicked, this, &TQBEnvelopes::PrintNowClick);
    connect(preview_, &QPushButton::clicked, this, &TQBEnvelopes::PreviewButtonClick);
    connect(setup, &QPushButton::clicked, this, &TQBEnvelopes::PrintSetupClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpPrintEnvelope); });
    connect(grid_, &BrowseGrid::leaveRequested, this, &TQBEnvelopes::ModifyButtonClick);
    connect(&setups_, &Dataset::recordChanged, this, [this] {
        if (!firstActivation_ && !setups_.editing()) EnvelopeSetupDataSourceDataChange();
    });
    installWhatsThisMenus(this);
}

TQBEnvelopes::~TQBEnvelopes() = default;

bool TQBEnvelopes::OpenSetupTable() {
    try {
        setups_.open(host_.programFolder() + QLatin1String(kEnvelopeSetupFileName));
    } catch (const xb::Error&) {
        return false;
    }
    setups_.setOrderTag(QStringLiteral("DESCRIPT"));
    setups_.first();
    return true;
}

void TQBEnvelopes::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TQBEnvelopes::FormActivate() {
    if (!firstActivation_) return;
    firstActivation_ = false;
    readCurrent();
    SetButtons();
    applyPrinterChoice();
}

void TQBEnvelopes::EnvelopeSetupDataSourceDataChange() {
    readCurrent();
    applyPrinterChoice();
}

void TQBEnvelopes::readCurrent() {
    working_ = setups_.isOpen() ? ReadEnvelopeSetup(setups_.area()) : EnvelopeSetup();
}

void TQBEnvelopes::SetButtons() {
    const bool on = setups_.onRecord();
    for (QWidget* w : std::initializer_list<QWidget*>{modify_, printNow_, preview_, delete_, grid_})
        w->setEnabled(on);
}

PrinterChoice TQBEnvelopes::LoadPrinterChoice(const EnvelopeSetup& s) const {
    const Settings ini = host_.settings();
    auto either = [&](const TextSetting& byName, const TextSetting& bySize) {
        QString v = ini.read(byName, s.descript);
        if (v.isEmpty()) v = ini.read(bySize, s.envName);
        return v;
    };
    PrinterDevice& device = PrinterDevice::shared();
    PrinterChoice c;
    c.printer = either(setting::EnvByNamePrinter, setting::EnvBySizePrinter);
    if (c.printer.isEmpty()) c.printer = device.printerName();
    c.bin = either(setting::EnvByNameBin, setting::EnvBySizeBin);
    if (c.bin.isEmpty()) {
        const QStringList bins = device.binNames();
        if (device.binIndex() >= 0 && device.binIndex() < bins.size())
            c.bin = bins[device.binIndex()];
    }
    c.paper = either(setting::EnvByNamePaper, setting::EnvBySizePaper);
    if (c.paper.isEmpty()) {
        const QStringList papers = device.paperNames();
        if (device.paperIndex() >= 0 && device.paperIndex() < papers.size())
            c.paper = papers[device.paperIndex()];
    }
    const int current = device.orientation() == poLandScape ? 1 : 0;
    c.orientation = ini.readInteger(QStringLiteral("EnvelopeByName"),
                                    QStringLiteral("ORIENT") + s.descript, current);
    return c;
}

void TQBEnvelopes::applyPrinterChoice() {
    const PrinterChoice c = LoadPrinterChoice(working_);
    PrinterDevice& device = PrinterDevice::shared();
    choicePrinter_ = c.printer;
    if (!c.printer.isEmpty()) device.selectPrinter(bareName(c.printer));
    if (!c.bin.isEmpty()) device.selectBin(c.bin);
    if (!c.paper.isEmpty()) device.selectPaper(c.paper);
    device.setOrientation(c.orientation != 0 ? poLandScape : poPortrait);
    showPrinterLabels();
}

void TQBEnvelopes::showPrinterLabels() {
    PrinterDevice& device = PrinterDevice::shared();
    QString printer = device.printerName();
    // A remembered printer that is no longer installed is said so, not shown as if in use.
    if (!choicePrinter_.isEmpty() && bareName(choicePrinter_) != printer)
        printer = choicePrinter_ + QStringLiteral(" (not installed; printing goes to ") +
                  device.printerName() + u')';
    const QStringList bins = device.binNames();
    const QStringList papers = device.paperNames();
    const int bin = device.binIndex();
    const int paper = device.paperIndex();
    printerLabel_->setText(QStringLiteral("Printer: ") + printer);
    binLabel_->setText(QStringLiteral("Source: ") +
                       (bin >= 0 && bin < bins.size() ? bins[bin] : QString()));
    paperLabel_->setText(QStringLiteral("Paper: ") +
                         (paper >= 0 && paper < papers.size() ? papers[paper] : QString()));
}

void TQBEnvelopes::SavePrinterChoice(const EnvelopeSetup& s) const {
    const Settings ini = host_.settings();
    PrinterDevice& device = PrinterDevice::shared();
    const QStringList bins = device.binNames();
    const QStringList papers = device.paperNames();
    const int b = device.binIndex();
    const int p = device.paperIndex();
    const QString bin = b >= 0 && b < bins.size() ? bins[b] : QString();
    const QString paper = p >= 0 && p < papers.size() ? papers[p] : QString();
    const QString printer = device.printerName();
    ini.write(setting::EnvByNamePrinter, printer, s.descript);
    ini.write(setting::EnvByNameBin, bin, s.descript);
    ini.write(setting::EnvByNamePaper, paper, s.descript);
    ini.write(setting::EnvByNameOrient, device.orientation() == poLandScape ? 1 : 0, s.descript);
    ini.write(setting::EnvBySizePrinter, printer, s.envName);
    ini.write(setting::EnvBySizeBin, bin, s.envName);
    ini.write(setting::EnvBySizePaper, paper, s.envName);
}

void TQBEnvelopes::ModifyButtonClick() {
    readCurrent();
    EnvelopeSetup copy = working_;
    if (newSetup_) copy.descript = QString::fromLatin1(kUntitledEnvelopeSetup);
    if (runDesigner) {
        if (const std::optional<EnvelopeSetup> saved = runDesigner(copy)) {
            const bool started = newSetup_ ? setups_.insert() : setups_.edit();
            if (started) {
                WriteEnvelopeSetup(setups_.area(), *saved);
                if (setups_.post())
                    labels::saveBarcodeKind(host_.settings(), labels::kEnvelopeBarcodeSection,
                                            saved->descript, saved->barcodeKind);
            }
        }
    }
    showPrinterLabels();
    newSetup_ = false;
    readCurrent();
    SetButtons();
}

void TQBEnvelopes::NewButtonClick() {
    newSetup_ = true;
    ModifyButtonClick();
}

void TQBEnvelopes::DeleteButtonClick() {
    if (!setups_.onRecord()) return;
    if (!prompts().confirm(this, QStringLiteral("Confirm"), QStringLiteral("Delete this record?")))
        return;
    setups_.markDeleted();
    SetButtons();
}

void TQBEnvelopes::PrintSetupClick() {
    printer_->ShowPrinterSetupDialog();
    choicePrinter_.clear();
    SavePrinterChoice(working_);
    showPrinterLabels();
}

void TQBEnvelopes::PrintNowClick() {
    DoPrint(false);
}

void TQBEnvelopes::PreviewButtonClick() {
    DoPrint(true);
}

void TQBEnvelopes::DoPrint(bool preview) {
    readCurrent();
    EnvelopeJobRequest request;
    request.setup = working_;
    request.settings = host_.settings();
    request.preview = preview;
    lastOutcome_ = envelopes::DoPrint(host_.contactTable(), request, *frontEnd_, this);
}

}  // namespace qb::envelopes
