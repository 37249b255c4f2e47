// The masked date box.
#include "controls/date_box.h"

#include "store/date_format.h"

namespace qb {

DateBox::DateBox(QWidget* parent) : EnterEdit(parent) {
    setReadOnly(true);
    connect(this, &QLineEdit::textEdited, this, [this] { dirty_ = true; });
    applyDateFormat();
}

void DateBox::bind(Dataset* table, const QString& field) {
    if (table_) table_->disconnect(this);
    table_ = table;
    field_ = field;
    connect(table, &Dataset::recordChanged, this, &DateBox::refresh);
    connect(table, &Dataset::stateChanged, this, [this] {
        setReadOnly(!table_->editing());
        if (!table_->editing()) refresh();
    });
    connect(table, &Dataset::updateRecord, this, &DateBox::store);
    refresh();
}

void DateBox::applyDateFormat() {
    setInputMask(qtInputMask(currentDateFormat().editMask));
    refresh();
}

void DateBox::refresh() {
    dirty_ = false;
    const bool show = table_ && (table_->onRecord() || table_->editing());
    setText(show ? formatDate(table_->date(field_)) : QString());
    setCursorPosition(0);
    setReadOnly(!table_ || !table_->editing());
}

QString DateBox::maskedText() const {
    QString t = displayText();
    const QChar blank = maskBlankChar(currentDateFormat().editMask);
    if (!inputMask().isEmpty()) t.replace(blank, u' ');
    return t;
}

bool DateBox::store() {
    if (!dirty_ || !table_ || !table_->editing()) return true;
    const auto date = parseDate(maskedText());
    if (!date) {
        emit invalidDate(maskedText());
        return false;
    }
    table_->setDate(field_, *date);
    dirty_ = false;
    return true;
}

void DateBox::focusOutEvent(QFocusEvent* event) {
    store();
    EnterEdit::focusOutEvent(event);
}

void DateBox::mouseDoubleClickEvent(QMouseEvent* event) {
    emit doubleClicked();
    EnterEdit::mouseDoubleClickEvent(event);
}

}  // namespace qb
