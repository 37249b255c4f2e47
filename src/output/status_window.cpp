// The status window: the pass starts once, when the window is first shown or activated, and
// runs inside it; the button is heard through the engine's status updates.
#include "output/status_window.h"

#include "controls/prompts.h"
#include "output/report_error.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qb {
namespace {

void setDesignValues(TBaseReport& engine, QLabel* label, const QString& format) {
    engine.SetStatusLabel(label);
    engine.SetStatusFormat(format);
    engine.SetLineHeightMethod(lhmFont);
    engine.SetUnitsFactor(1.0);
    engine.SetMarginLeft(0.5);
    engine.SetMarginRight(0.5);
    engine.SetMarginTop(0.5);
    engine.SetMarginBottom(0.5);
    engine.SetTitle(QStringLiteral("Test Report"));
    engine.SetOrientation(poPortrait);
    engine.SetScaleX(100);
    engine.SetScaleY(100);
}

}  // namespace

TStatusWindow::TStatusWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TStatusWindow"));
    setWindowTitle(QStringLiteral("Print Status Screen"));
    setModal(true);
    setFixedSize(364, 130);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel_->setGeometry(8, 8, 348, 81);
    statusLabel_ = new QLabel(panel_);
    statusLabel_->setObjectName(QStringLiteral("StatusLabel"));
    statusLabel_->setAlignment(Qt::AlignCenter);
    QFont bold = statusLabel_->font();
    bold.setBold(true);
    statusLabel_->setFont(bold);
    auto* layout = new QVBoxLayout(panel_);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(statusLabel_);

    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("CancelButton"));
    cancelButton_->setGeometry(144, 97, 75, 25);
    connect(cancelButton_, &QPushButton::clicked, this, [this] { CancelButtonClick(); });

    printer_ = new TReportPrinter(this);
    printer_->setObjectName(QStringLiteral("ReportPrinter"));
    filer_ = new TReportFiler(this);
    filer_->setObjectName(QStringLiteral("ReportFiler"));
    setDesignValues(*printer_, statusLabel_, QStringLiteral("Printing Page %p"));
    setDesignValues(*filer_, statusLabel_, QStringLiteral("Printing page %p"));
    filer_->SetAccuracyMethod(amPositioning);
    filer_->SetStreamMode(smUser);
}

TStatusWindow::~TStatusWindow() = default;

void TStatusWindow::PreparePrinterPass() {
    preview_ = false;
    setWindowTitle(QStringLiteral("Print Status"));
    cancelButton_->setText(QStringLiteral("Cancel"));
}

void TStatusWindow::PreparePreviewPass(QIODevice* stream) {
    preview_ = true;
    filer_->SetStream(stream);
    setWindowTitle(QStringLiteral("Preview Status"));
    cancelButton_->setText(QStringLiteral("Stop"));
}

TBaseReport& TStatusWindow::Engine() {
    if (preview_) return *filer_;
    return *printer_;
}

void TStatusWindow::WireHandlers(TReportEvent onPrint, TReportEvent onBeforePrint) {
    TBaseReport& engine = Engine();
    engine.OnPrint = std::move(onPrint);
    engine.OnBeforePrint = std::move(onBeforePrint);
    engine.OnPrintPage = nullptr;
    engine.OnAfterPrint = nullptr;
    engine.OnPrintHeader = nullptr;
    engine.OnPrintFooter = nullptr;
    engine.OnNewPage = nullptr;
    engine.OnNewColumn = nullptr;
}

bool TStatusWindow::Aborted() const {
    return failed_ || (preview_ ? filer_->Aborted() : printer_->Aborted());
}

void TStatusWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TStatusWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TStatusWindow::FormActivate() {
    if (!firstActivation_) return;
    firstActivation_ = false;
    // Runs once the window is on screen, so the label is visible while the pass works.
    QTimer::singleShot(0, this, [this] { runPass(); });
}

void TStatusWindow::runPass() {
    running_ = true;
    TBaseReport& engine = Engine();
    try {
        engine.Execute();
    } catch (const ReportError& e) {
        failed_ = true;
        prompts().error(this, e.message());
    } catch (const std::exception& e) {
        failed_ = true;
        prompts().error(this, QString::fromLocal8Bit(e.what()));
    }
    running_ = false;
    finished_ = true;
    cancelButton_->setText(QStringLiteral("OK"));
    engine.SetStatusFormat(closingText());
    engine.UpdateStatus();
}

QString TStatusWindow::closingText() const {
    if (Aborted()) return preview_ ? texts_.previewCanceled : texts_.printCanceled;
    if (preview_ && stopRequested_) return texts_.previewStopped;
    return preview_ ? texts_.previewReady : texts_.printCompleted;
}

void TStatusWindow::CancelButtonClick() {
    if (finished_) {
        accept();
        return;
    }
    if (!running_) return;
    if (preview_) {
        stopRequested_ = true;
        return;
    }
    if (texts_.cancelQuestion.isEmpty()) {
        printer_->Abort();
        return;
    }
    if (!prompts().confirm(this, QStringLiteral("Confirm"), texts_.cancelQuestion)) return;
    printer_->AbandonDocument();
    printer_->Abort();
}

void TStatusWindow::reject() {
    if (finished_) QDialog::reject();
}

void TStatusWindow::closeEvent(QCloseEvent* event) {
    if (finished_) {
        QDialog::closeEvent(event);
    } else {
        event->ignore();
    }
}

}  // namespace qb
