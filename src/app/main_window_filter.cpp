// The Filter page at work: building the filter from its boxes, putting it in force with the
// deletion exclusion, and the Set Now and Clear buttons.
#include <QCoreApplication>
#include <QLabel>

#include "app/filter_builder.h"
#include "app/filter_page.h"
#include "app/main_window.h"
#include "controls/prompts.h"
#include "store/contact_schema.h"
#include "store/counted.h"

namespace qb {
namespace {

// The selection may be at most this long, and the exclusion joined to a filter takes 30.
constexpr qsizetype kMaxSelection = 255;
const QString kJoinedExclusion = QStringLiteral(".and. ") + QString::fromLatin1(kDeletionExclusion);

}  // namespace

void TQBMMain::BuildFilterExpression() {
    QStringList texts;
    for (const EnterEdit* box : filterPage_->queryBoxes())
        texts << box->text();
    CurrentFilter_ = qb::BuildFilterExpression(
        texts, currentDateFormat(),
        [this](const QString& text) { prompts().information(this, text); });
}

int TQBMMain::ApplyFilter() {
    BuildFilterExpression();
    const QString exclusion = QString::fromLatin1(kDeletionExclusion);
    if (CurrentFilter_.isEmpty()) {
        TableQBW_.setSelection(exclusion);
        return 0;
    }
    if (CurrentFilter_.size() + kJoinedExclusion.size() > kMaxSelection) {
        prompts().information(this,
                              QStringLiteral("Sorry - filter is too complex.Please simplify it."));
        // The full view is in force, so no filter is either.
        CurrentFilter_.clear();
        TableQBW_.setSelection(exclusion);
        return 0;
    }
    if (!TableQBW_.setSelection(CurrentFilter_ + kJoinedExclusion)) {
        // The engine has said why through the table's failure report.
        CurrentFilter_.clear();
        TableQBW_.setSelection(exclusion);
        return 0;
    }
    return int(TableQBW_.selectionRecordCount());
}

void TQBMMain::qSetFilterButtonClick() {
    if (currentPage() != 2 || !TableQBW_.isOpen()) return;
    CurrentFilter_.clear();
    filterPage_->qMatchCount->setText(QStringLiteral("Searching..."));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const int n = ApplyFilter();
    if (!CurrentFilter_.isEmpty()) {
        filterPage_->qMatchCount->setText(counted(n, "match", "matches"));
    } else {
        filterPage_->qMatchCount->setText(
            counted(qint64(TableQBW_.selectionRecordCount()), "match", "matches") +
            QStringLiteral(" (all records)"));
    }
    // A filter matching nothing leaves its empty view, but no filter counts as set.
    if (n == 0) CurrentFilter_.clear();
    TableQBW_.first();
    SetButtons();
}

void TQBMMain::qClearButtonClick() {
    if (currentPage() != 2) return;
    for (EnterEdit* box : filterPage_->queryBoxes())
        box->clear();
    qSetFilterButtonClick();
}

}  // namespace qb
