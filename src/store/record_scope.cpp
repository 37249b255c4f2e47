// Applying and restoring an output run's record scope.
#include "store/record_scope.h"

#include "store/contact_schema.h"

namespace qb {

RecordScope::RecordScope(Dataset& table, ScopeUser user) : table_(table), user_(user) {
    record_ = table_.onRecord() ? table_.recNo() : 0;
    selection_ = table_.selection();
    order_ = table_.orderTag();
}

RecordScope::~RecordScope() {
    restore();
}

void RecordScope::apply(ScopeChoice choice, bool startFromCurrent, const Notify& notify) {
    applied_ = true;
    onlyCurrent_ = false;
    switch (choice) {
        case ScopeChoice::AllRecords:
            table_.setSelection(QString::fromLatin1(kDeletionExclusion));
            break;
        case ScopeChoice::MatchingFilter:
            // A dialog may run twice (preview, then print) with different choices.
            if (table_.selection() != selection_) table_.setSelection(selection_);
            break;
        case ScopeChoice::OnlyCurrent:
            if (user_ == ScopeUser::Letters) {
                onlyCurrent_ = true;
                if (table_.selection() != selection_) table_.setSelection(selection_);
            } else {
                table_.setSelection(QStringLiteral("Recno()=") + QString::number(record_));
            }
            break;
    }
    if (startFromCurrent) {
        table_.go(record_);
        if (!table_.onRecord() || table_.recNo() != record_) {
            if (notify) notify(QString::fromLatin1(kOutOfRangeMessage));
            table_.first();
        }
    } else if (onlyCurrent_) {
        table_.go(record_);
    } else {
        table_.first();
    }
}

void RecordScope::restore() {
    if (!applied_) return;
    applied_ = false;
    if (!table_.isOpen()) return;
    if (table_.editing()) table_.cancel();
    if (table_.selection() != selection_) table_.setSelection(selection_);
    if (user_ == ScopeUser::LabelsOrReports && table_.orderTag() != order_)
        table_.setOrderTag(order_);
    if (record_ > 0) table_.go(record_);
}

}  // namespace qb
