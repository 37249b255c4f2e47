// The letter print run and its status window.
#include "letters/letter_print.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

#include "controls/prompts.h"
#include "letters/letter_merge.h"
#include "richtext/paginator.h"
#include "store/dataset.h"

namespace qb::letters {

namespace {

// Paper sizes come back from the printer in millimetres to two decimals; a difference under
// this many twips is rounding, not a smaller sheet.
constexpr double kPaperSlack = 15;

QString inches(int twips) {
    return QString::number(twips / 1440.0, 'f', 2);
}

}  // namespace

QString fitPaper(PrinterDevice& device, const richtext::PageSettings& page) {
    // A standard sheet is asked for by its code, so printers that know it by name take it.
    int code = 0;
    if (std::abs(page.paperWidth - 12240) <= 2 && std::abs(page.paperHeight - 15840) <= 2)
        code = 1;
    else if (std::abs(page.paperWidth - 11906) <= 2 && std::abs(page.paperHeight - 16838) <= 2)
        code = 9;
    if (!device.setPaperSize(code, page.paperHeight / 1440.0, page.paperWidth / 1440.0) &&
        code != 0)
        device.setPaperSize(0, page.paperHeight / 1440.0, page.paperWidth / 1440.0);
    const PageGeometry g = device.geometry();
    const double width = g.width * 1440, height = g.height * 1440;
    if (width + kPaperSlack >= page.paperWidth && height + kPaperSlack >= page.paperHeight)
        return {};
    return QStringLiteral(
               "The letter is laid out on paper of %1 by %2 inches, but the printer's "
               "paper is %3 by %4 inches: the part of each page beyond it will not "
               "print.\r\nPrint anyway?")
        .arg(inches(page.paperWidth), inches(page.paperHeight), inches(int(std::lround(width))),
             inches(int(std::lround(height))));
}

LetterRun::LetterRun(Dataset& contacts, const LetterJob& job) : contacts_(contacts), job_(job) {}

LetterRunEnd LetterRun::run(PrinterDevice& device, const QString& title) {
    if (!job_.letter || job_.page.degenerate()) {
        failure_ = QString::fromLatin1(kPageTooSmall);
        return LetterRunEnd::Failed;
    }
    // Each letter's copies are printed here; a copy count on the device would repeat them all.
    device.setCopies(1);
    switch (device.beginDocument(title, QApplication::activeWindow())) {
        case PrinterDevice::Open::Ok:
            break;
        case PrinterDevice::Open::Cancelled:
            return LetterRunEnd::Cancelled;
        case PrinterDevice::Open::Failed:
            failure_ = device.failure().isEmpty()
                           ? QStringLiteral("The printer did not accept the document.")
                           : device.failure();
            return LetterRunEnd::Failed;
    }
    const xb::Jdn today = job_.date.value_or(xb::today());
    while (contacts_.onRecord() && !contacts_.eof()) {
        const std::unique_ptr<QTextDocument> merged(job_.letter->clone());
        ReplaceTokens(*merged, contactValues(contacts_), today);
        for (int copy = 0; copy < job_.copies; ++copy) {
            if (!printLetter(device, *merged)) {
                device.abandonDocument();
                return LetterRunEnd::Failed;
            }
        }
        ++letters_;
        if (job_.onlyCurrent) break;
        contacts_.next();
        if (onProgress) onProgress(pages_);
        if (stopRequested && stopRequested()) {
            device.abandonDocument();
            return LetterRunEnd::Cancelled;
        }
    }
    if (!device.endDocument()) {
        failure_ = device.failure().isEmpty()
                       ? QStringLiteral("The printer did not finish the document.")
                       : device.failure();
        return LetterRunEnd::Failed;
    }
    return LetterRunEnd::Completed;
}

bool LetterRun::printLetter(PrinterDevice& device, const QTextDocument& merged) {
    const richtext::Paginator pages(merged, job_.page);
    const PageGeometry g = device.geometry();
    // A letter with no text still takes its sheet.
    const int count = std::max(1, pages.pageCount());
    for (int i = 0; i < count; ++i) {
        QPainter* painter = device.startPage();
        if (!painter) {
            failure_ = device.failure().isEmpty() ? QStringLiteral("The printer refused a page.")
                                                  : device.failure();
            return false;
        }
        if (i < pages.pageCount()) {
            painter->save();
            // The device's origin is the corner of its printable area, not of the paper.
            painter->translate(-g.unprintableLeft * g.dpiX, -g.unprintableTop * g.dpiY);
            painter->scale(g.dpiX / 1440.0, g.dpiY / 1440.0);
            pages.drawPage(*painter, i);
            painter->restore();
        }
        ++pages_;
    }
    return true;
}

TLetterPrint::TLetterPrint(Dataset& contacts, const LetterJob& job, QWidget* parent)
    : QDialog(parent), run_(contacts, job) {
    setObjectName(QStringLiteral("TLetterPrint"));
    setWindowTitle(QStringLiteral("Print Status Screen"));
    setFixedSize(364, 130);
    auto* layout = new QVBoxLayout(this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusLabel"));
    status_->setAlignment(Qt::AlignCenter);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    layout->addWidget(status_, 1);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    connect(cancel_, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
}

void TLetterPrint::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_) return;
    activated_ = true;
    // After the window is on screen, so its Cancel can be pressed.
    QTimer::singleShot(0, this, [this] { FormActivate(); });
}

LetterRunEnd TLetterPrint::RunUnshown() {
    activated_ = true;
    return execute();
}

LetterRunEnd TLetterPrint::execute() {
    running_ = true;
    outcome_ = run_.run(PrinterDevice::shared(), QStringLiteral("Letters"));
    running_ = false;
    return outcome_;
}

void TLetterPrint::FormActivate() {
    QApplication::processEvents();
    run_.onProgress = [this](int pages) {
        status_->setText(QStringLiteral("Printing page ") + QString::number(pages));
    };
    run_.stopRequested = [this] { return pollCancel(); };
    execute();
    if (outcome_ == LetterRunEnd::Failed) prompts().error(this, run_.failure());
    cancel_->setText(QStringLiteral("OK"));
    status_->setText(QString::fromLatin1(outcome_ == LetterRunEnd::Completed ? kLetterPrintCompleted
                                         : outcome_ == LetterRunEnd::Cancelled
                                             ? kLetterPrintCanceled
                                             : "Letter Print Failed!"));
}

bool TLetterPrint::pollCancel() {
    QApplication::processEvents();
    if (!cancelRequest_) return false;
    if (prompts().confirm(this, QStringLiteral("Confirm"), QString::fromLatin1(kCancelPrintJob)))
        return true;
    cancelRequest_ = false;
    return false;
}

void TLetterPrint::CancelButtonClick() {
    if (running_)
        cancelRequest_ = true;
    else
        accept();
}

LetterPrintResult DoPrintLetters(Dataset& contacts, const LetterPrintRequest& request,
                                 QWidget* parent, bool show) {
    LetterPrintResult result;
    RecordScope scope(contacts, ScopeUser::Letters);
    scope.apply(request.scope, request.startFromCurrent,
                [parent](const QString& text) { prompts().information(parent, text); });
    LetterJob job = request.job;
    job.onlyCurrent = scope.onlyCurrentRecord();
    const QString question = fitPaper(PrinterDevice::shared(), job.page);
    if (!question.isEmpty() &&
        !prompts().confirm(parent, QStringLiteral("Confirm"), question, Prompts::Default::No)) {
        result.end = LetterRunEnd::Cancelled;
        return result;
    }
    TLetterPrint window(contacts, job, parent);
    if (show) {
        if (parent) window.move(parent->geometry().center() - window.rect().center());
        window.exec();
    } else {
        window.RunUnshown();
    }
    result.end = window.outcome();
    result.pages = window.run().pages();
    result.letters = window.run().letters();
    result.failure = window.run().failure();
    return result;
}

}  // namespace qb::letters
