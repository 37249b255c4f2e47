// The Printer Setup dialog.
#include "controls/printer_setup_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qb {

PrinterSetupDialog::PrinterSetupDialog(PrinterSetupRequest& request, QWidget* parent)
    : QDialog(parent), request_(request) {
    setObjectName(QStringLiteral("PrinterSetupDialog"));
    setWindowTitle(QStringLiteral("Printer Setup"));

    printer_ = new QComboBox(this);
    printer_->setObjectName(QStringLiteral("PrinterCombo"));
    paper_ = new QComboBox(this);
    paper_->setObjectName(QStringLiteral("PaperCombo"));
    source_ = new QComboBox(this);
    source_->setObjectName(QStringLiteral("SourceCombo"));
    auto* choices = new QFormLayout;
    choices->addRow(QStringLiteral("&Printer:"), printer_);
    choices->addRow(QStringLiteral("Pape&r:"), paper_);
    choices->addRow(QStringLiteral("&Source:"), source_);

    auto* orientation = new QGroupBox(QStringLiteral("Orientation"), this);
    portrait_ = new QRadioButton(QStringLiteral("P&ortrait"), orientation);
    portrait_->setObjectName(QStringLiteral("PortraitButton"));
    landscape_ = new QRadioButton(QStringLiteral("&Landscape"), orientation);
    landscape_->setObjectName(QStringLiteral("LandscapeButton"));
    auto* orientationRow = new QHBoxLayout(orientation);
    orientationRow->addWidget(portrait_);
    orientationRow->addWidget(landscape_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OkButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PrinterSetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(orientation);
    layout->addWidget(buttons);

    fill(printer_, request_.printers, request_.printer);
    fill(paper_, request_.papersOf ? request_.papersOf(printer_->currentText()) : QStringList(),
         request_.paper);
    fill(source_, request_.sourcesOf ? request_.sourcesOf(printer_->currentText()) : QStringList(),
         request_.source);
    (request_.landscape ? landscape_ : portrait_)->setChecked(true);
    connect(printer_, &QComboBox::currentIndexChanged, this, [this] { printerChanged(); });
}

void PrinterSetupDialog::fill(QComboBox* box, const QStringList& items, const QString& current) {
    box->clear();
    box->addItems(items);
    // A paper the printer does not list (a label sheet's own size) stays as it is: nothing is
    // shown chosen, and nothing changes unless the user picks one.
    box->setCurrentIndex(static_cast<int>(items.indexOf(current)));
    box->setEnabled(!items.isEmpty());
}

void PrinterSetupDialog::printerChanged() {
    // Another printer has papers and sources of its own; the names chosen so far stay chosen
    // where it has them too.
    const QString printer = printer_->currentText();
    const QString paper = paper_->currentText();
    const QString source = source_->currentText();
    fill(paper_, request_.papersOf ? request_.papersOf(printer) : QStringList(), paper);
    fill(source_, request_.sourcesOf ? request_.sourcesOf(printer) : QStringList(), source);
}

void PrinterSetupDialog::accept() {
    request_.printer = printer_->currentText();
    request_.paper = paper_->currentText();
    request_.source = source_->currentText();
    request_.landscape = landscape_->isChecked();
    QDialog::accept();
}

}  // namespace qb
