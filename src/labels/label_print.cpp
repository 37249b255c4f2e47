// The labels status window.
#include "labels/label_print.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace qb::labels {

StatusTexts labelStatusTexts() {
    StatusTexts t;
    t.printCanceled = QStringLiteral("\rLabel Print Canceled!");
    t.previewCanceled = QStringLiteral("\rLabel Preview Canceled!");
    t.previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    t.printCompleted = QStringLiteral("\rLabel Print Completed!");
    t.previewReady = QStringLiteral("\rLabel Preview Ready!");
    t.cancelQuestion = QStringLiteral("Cancel Label Printing?");
    return t;
}

TLabelPrint::TLabelPrint(QWidget* parent) : TStatusWindow(parent) {
    setObjectName(QStringLiteral("TLabelPrint"));
    SetTexts(labelStatusTexts());
}

TLabelPrint::~TLabelPrint() = default;

void TLabelPrint::PrepareRun(xb::WorkArea& contacts, const LabelSetup& setup, int copies,
                             const QString& presortFolder, ImbMailer* imbMailer) {
    run_ = std::make_unique<LabelSheetRun>(contacts, setup, copies);
    run_->imbMailer = imbMailer;
    // What the document is called on the spooler and inside a PDF: labels, and of which file.
    Engine().SetTitle(QStringLiteral("Labels \u2014 %1")
                          .arg(QFileInfo(QString::fromStdString(contacts.path())).fileName()));
    if (!presortFolder.isEmpty()) run_->followPresortList(presortFolder);
    run_->stopRequested = [this] { return StopRequested(); };
    run_->letEventsRun = [] { QCoreApplication::processEvents(); };
    WireHandlers([this](TBaseReport& r) { PrintLabels(r); },
                 [this](TBaseReport& r) { BeforePrintLabels(r); });
}

void TLabelPrint::BeforePrintLabels(TBaseReport& r) {
    r.SetStatusFormat(QStringLiteral("Printing Page %p\r%0\r%1"));
    r.StatusText() << QString() << QString();
}

void TLabelPrint::PrintLabels(TBaseReport& r) {
    if (run_) run_->PrintLabels(r);
}

void TLabelPrint::RunUnshown() {
    Engine().Execute();
}

}  // namespace qb::labels
