// The ZIP code count window.
#include "presort/count_zip_codes.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/beep.h"
#include "controls/context_help.h"
#include "controls/prompts.h"
#include "output/printer_catalog.h"
#include "output/report_printer.h"
#include "presort/zip_report.h"
#include "reports/pass_front_end.h"
#include "xbase/error.h"

namespace qb::presort {

namespace {

const QEvent::Type CloseEventType = QEvent::Type(QEvent::User + TCountZipCodes::kCloseMessage);

QPushButton* button(const char* name, const QString& text, const QString& help, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setWhatsThis(help);
    return b;
}

}  // namespace

TCountZipCodes::TCountZipCodes(xb::WorkArea& contacts, QWidget* mainWindow, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      contacts_(contacts),
      printer_(new TReportPrinter(this)),
      dialogFrontEnd_(std::make_unique<DialogPassFrontEnd>(mainWindow)),
      frontEnd_(dialogFrontEnd_.get()) {
    setObjectName(QStringLiteral("TCountZipCodes"));
    setWindowTitle(QStringLiteral("Count Zip Codes"));
    setModal(true);
    tileBackground(this);
    printer_->SetTitle(QStringLiteral("Quillbank Report"));

    whatDoing_ = new QLabel(QString::fromLatin1(kCountingHeading), this);
    whatDoing_->setObjectName(QStringLiteral("WhatDoing"));
    auto* statusCaption = new QLabel(QStringLiteral("Status:"), this);
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("StatusLabel"));
    statusLabel_->setMinimumWidth(220);
    cancelButton_ =
        button("CancelButton", QStringLiteral("Cancel"), QStringLiteral("Stops the count."), this);

    livePanel_ = new QWidget(this);
    livePanel_->setObjectName(QStringLiteral("LivePanel"));
    auto* print = button("PrintButton", QStringLiteral("Print"),
                         QStringLiteral("Prints the count report."), livePanel_);
    auto* preview = button("Previewbutton", QStringLiteral("Preview"),
                           QStringLiteral("Shows the count report on screen."), livePanel_);
    auto* setup = button("PrintSetupButton", QStringLiteral("Print Setup"),
                         QStringLiteral("Chooses the printer and its paper."), livePanel_);
    auto* close = button("CloseButton", QStringLiteral("Close"),
                         QStringLiteral("Closes this window."), livePanel_);
    auto* help = button("HelpButton", QStringLiteral("Help"), QString(), livePanel_);
    auto* live = new QHBoxLayout(livePanel_);
    for (QWidget* w : std::initializer_list<QWidget*>{print, preview, setup, close, help})
        live->addWidget(w);
    live->addWidget(newPointerHelpButton(livePanel_));

    auto* status = new QHBoxLayout;
    status->addWidget(statusCaption);
    status->addWidget(statusLabel_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(whatDoing_);
    layout->addLayout(status);
    layout->addWidget(cancelButton_, 0, Qt::AlignHCenter);
    layout->addWidget(livePanel_);

    connect(cancelButton_, &QPushButton::clicked, this, &TCountZipCodes::CancelButtonClick);
    connect(print, &QPushButton::clicked, this, &TCountZipCodes::PrintButtonClick);
    connect(preview, &QPushButton::clicked, this, &TCountZipCodes::PreviewbuttonClick);
    connect(setup, &QPushButton::clicked, this, &TCountZipCodes::PrintSetupButtonClick);
    connect(close, &QPushButton::clicked, this, &TCountZipCodes::CloseButtonClick);
    connect(help, &QPushButton::clicked, this, [this] { prompts().showHelp(this, kHelpContext); });
    installWhatsThisMenus(this);
}

TCountZipCodes::~TCountZipCodes() = default;

void TCountZipCodes::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TCountZipCodes::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TCountZipCodes::FormActivate() {
    if (!firstActivation_) return;
    firstActivation_ = false;
    // Once the window is on screen, so the progress can be seen.
    QTimer::singleShot(0, this, [this] {
        if (!counted_ && !counting_) DoTheSort();
    });
}

void TCountZipCodes::DoTheSort() {
    livePanel_->hide();
    cancelButton_->show();
    statusLabel_->show();
    statusLabel_->clear();
    counting_ = true;
    counted_ = false;
    cancelled_ = false;
    lines_.clear();
    tally_.reset();
    bool failed = false;
    try {
        tally_ = countZipCodes(contacts_, *this);
    } catch (const xb::Error& e) {
        failed = true;
        prompts().error(this, QString::fromUtf8(e.what()));
    }
    counting_ = false;
    if (failed || !tally_) {
        // A count that did not finish offers no report.
        tally_.reset();
        QCoreApplication::postEvent(this, new QEvent(CloseEventType));
        return;
    }
    lines_ = tally_->reportLines();
    counted_ = true;
    beep();
    whatDoing_->setText(QString::fromLatin1(kCountedHeading));
    livePanel_->show();
    cancelButton_->hide();
    statusLabel_->hide();
}

void TCountZipCodes::showProgress(const QString& text) {
    statusLabel_->setText(text);
}

void TCountZipCodes::letPendingEventsRun() {
    QCoreApplication::processEvents();
}

void TCountZipCodes::CancelButtonClick() {
    if (!counting_ || cancelled_) return;
    if (prompts().confirm(this, QStringLiteral("Confirm"),
                          QString::fromLatin1(kCancelCountQuestion)))
        cancelled_ = true;
}

void TCountZipCodes::PrintButtonClick() {
    if (!counted_) DoTheSort();
    if (counted_) DoThePrintJob(false);
}

void TCountZipCodes::PreviewbuttonClick() {
    if (!counted_) DoTheSort();
    if (counted_) DoThePrintJob(true);
}

void TCountZipCodes::PrintSetupButtonClick() {
    if (!PrinterCatalog::hasPrinters()) {
        prompts().information(this, QStringLiteral("There are no printers installed"));
        return;
    }
    printer_->ShowPrinterSetupDialog();
}

void TCountZipCodes::CloseButtonClick() {
    accept();
}

void TCountZipCodes::DoThePrintJob(bool preview) {
    RunZipReport(lines_, preview, *frontEnd_, this);
}

bool TCountZipCodes::event(QEvent* event) {
    if (event->type() == CloseEventType) {
        done(QDialog::Rejected);
        return true;
    }
    return QDialog::event(event);
}

void TCountZipCodes::reject() {
    // Escape while counting asks like Cancel; afterwards it closes.
    if (counting_) {
        CancelButtonClick();
        return;
    }
    QDialog::reject();
}

}  // namespace qb::presort
