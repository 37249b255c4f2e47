// A pass of the engine: start, body, page changes and finish, and the recording of each
// page's drawing operations until the page is handed on.
#include "output/base_report.h"

#include "output/report_error.h"

#include <QBuffer>

namespace qb {

void TBaseReport::requirePrinting() const {
    if (!printing_) throw ReportError(report_messages::notPrinting);
}

void TBaseReport::Execute() {
    requireIdle();
    if (!prepareStart()) return;

    aborted_ = false;
    currentPage_ = 0;
    if (OnBeforePrint) OnBeforePrint(*this);

    passGeometry_ = deviceGeometry();
    if (!openDocument()) {
        // The document never opened (a file choice was cancelled, the printer refused):
        // nothing was output, so the pass ends as an aborted one.
        aborted_ = true;
        passGeometry_.reset();
        if (OnAfterPrint) OnAfterPrint(*this);
        return;
    }
    printing_ = true;
    try {
        startPassState();
        if (!aborted_) {
            if (OnNewPage) OnNewPage(*this);
            if (OnPrintHeader) OnPrintHeader(*this);
        }
        if (OnPrint || !OnPrintPage) {
            if (OnPrint) OnPrint(*this);
        } else {
            while (!aborted_ && OnPrintPage(*this, currentPage_)) {
                if (aborted_) break;
                NewPage();
            }
        }
    } catch (...) {
        // A pass that failed part-way has output only part of what was asked: its document
        // is dropped, not finished, and the failure passes on to the caller.
        try {
            finishPass(true);
        } catch (...) {
            // Winding down may meet the same fault again; the first one says what happened.
        }
        throw;
    }
    finishPass();
}

void TBaseReport::startPassState() {
    ReapplyMargins();
    penColour_ = Qt::black;
    penStyle_ = psSolid;
    penMode_ = pmCopy;
    penPixels_ = 1;
    originX_ = originY_ = 0;
    tabs_.clear();
    tabIndex_ = -1;
    cellPending_ = false;
    ResetSection();
    Home();
    page_.clear();
    pageFont_.reset();
    pagePen_.reset();
    pageTextMode_.reset();
    currentPage_ = 1;
    UpdateStatus();
}

void TBaseReport::finishPass(bool failed) {
    // Handlers of the finish may fail too; the document is closed and the state cleared
    // whatever happens, and the first failure is passed on.
    std::exception_ptr failure;
    try {
        if (!aborted_ && OnPrintFooter) OnPrintFooter(*this);
        closePage();
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        closeDocument(aborted_ || failed);
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    printing_ = false;
    passGeometry_.reset();
    page_.clear();
    try {
        if (OnAfterPrint) OnAfterPrint(*this);
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    if (failure) std::rethrow_exception(failure);
}

void TBaseReport::NewPage() {
    requirePrinting();
    if (OnPrintFooter) OnPrintFooter(*this);
    closePage();
    ++currentPage_;
    originX_ = originY_ = 0;
    ResetSection();
    Home();
    UpdateStatus();
    if (OnNewPage) OnNewPage(*this);
    if (OnPrintHeader) OnPrintHeader(*this);
}

void TBaseReport::Abort() {
    aborted_ = true;
}

void TBaseReport::closePage() {
    if (!aborted_ && pageInRange(currentPage_)) outputPage(currentPage_, page_.bytes());
    page_.clear();
    pageFont_.reset();
    pagePen_.reset();
    pageTextMode_.reset();
}

void TBaseReport::emitOp(const DrawOp& op) {
    // Pages outside the range and pages of an aborted pass are drawn into nothing.
    if (aborted_ || !pageInRange(currentPage_)) return;
    page_.add(op);
}

void TBaseReport::syncFont() {
    FontOp op{font_.name, static_cast<float>(font_.size), font_.styleBits(),
              font_.colour.rgb() & 0xFFFFFFu};
    if (pageFont_ && *pageFont_ == op) return;
    emitOp(op);
    pageFont_ = std::move(op);
}

void TBaseReport::syncPen() {
    PenOp op{penColour_.rgb() & 0xFFFFFFu, static_cast<quint8>(penStyle_),
             static_cast<quint8>(penMode_), static_cast<float>(penInches(penPixels_))};
    if (pagePen_ && *pagePen_ == op) return;
    emitOp(op);
    pagePen_ = op;
}

void TBaseReport::syncTextMode() {
    TextModeOp op{textBkMode_ == bkOpaque, 0xFFFFFF};
    if (pageTextMode_ ? *pageTextMode_ == op : !op.opaque) return;
    emitOp(op);
    pageTextMode_ = op;
}

}  // namespace qb
