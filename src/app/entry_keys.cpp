// Key handling for record entry: each watched control passes its keys here first.
#include "app/entry_keys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "app/filter_page.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app/record_entry.h"
#include "controls/prompts.h"

namespace qb {
namespace {

// Keys that type a character; control, navigation and function keys and shortcuts do not.
bool typesCharacter(const QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = key->text();
    return !text.isEmpty() && text.front().unicode() >= 0x20 && text.front().unicode() != 0x7F;
}

}  // namespace

EntryKeys::EntryKeys(TQBMMain& window, RecordEntry& entry)
    : QObject(&window), w_(window), entry_(entry) {
    MainPage& m = *w_.mainPage();
    // Every control of the Main page that can take the focus, so that PgDn and Escape work
    // wherever the focus is, and the Filter page's boxes for typing over.
    for (QWidget* child : m.findChildren<QWidget*>()) {
        if (child->focusPolicy() != Qt::NoFocus) watch(child);
    }
    for (QWidget* box : w_.filterPage()->queryBoxes())
        watch(box);
    connect(m.Date, &QLineEdit::textEdited, this, &EntryKeys::DateChange);
    // An edit may start with the focus already in the date box (a double click on it), when
    // no focus change tells the date it started with.
    Dataset& t = w_.contactTable();
    connect(&t, &Dataset::afterEdit, this, &EntryKeys::DateEnter);
    connect(&t, &Dataset::afterInsert, this, &EntryKeys::DateEnter);
}

void EntryKeys::watch(QWidget* widget) {
    widget->installEventFilter(this);
}

bool EntryKeys::eventFilter(QObject* watched, QEvent* event) {
    MainPage& m = *w_.mainPage();
    if (event->type() == QEvent::FocusIn && watched == m.Date) {
        DateEnter();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target) return false;
    if (FormKeyDown(target, key)) return true;
    if (target == m.Date) return DateKeyDown(key);
    if (target == m.Memo) return MemoKeyDown(key);
    return false;
}

bool EntryKeys::FormKeyDown(QWidget* target, QKeyEvent* key) {
    if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
        setInsertMode(!insertMode_);
        return false;
    }
    if (!insertMode_ && typesCharacter(key)) typeOver(target);

    if (w_.currentPage() != 0) return false;
    Dataset& t = w_.contactTable();
    switch (key->key()) {
        case Qt::Key_PageDown:
            if (!t.editing()) {
                w_.RecordNextClick();
            } else if (prompts().confirm(&w_, QStringLiteral("Confirm"),
                                         QStringLiteral("Save changes?"))) {
                entry_.SaveButtonClick();
            }
            return true;
        case Qt::Key_PageUp:
            if (!t.editing()) w_.RecordPrevClick();
            return true;
        case Qt::Key_Escape:
            if (!t.editing()) return false;
            if (prompts().confirm(&w_, QStringLiteral("Confirm"),
                                  QStringLiteral("Cancel changes?"))) {
                entry_.CancelButtonClick();
                return true;
            }
            // Kept: the focused box may still undo its own change (the date box does).
            return false;
        default:
            return false;
    }
}

void EntryKeys::setInsertMode(bool on) {
    if (insertMode_ == on) return;
    insertMode_ = on;
    emit insertModeChanged(on);
}

void EntryKeys::typeOver(QWidget* target) {
    // The date box's mask already types over its places.
    if (target == w_.mainPage()->Date) return;
    if (auto* line = qobject_cast<QLineEdit*>(target)) {
        if (line->isReadOnly() || line->hasSelectedText()) return;
        if (line->cursorPosition() < line->text().size())
            line->setSelection(line->cursorPosition(), 1);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(target)) {
        QTextCursor cursor = memo->textCursor();
        // A line break is never typed over: that would join two lines.
        if (cursor.hasSelection() || cursor.atBlockEnd()) return;
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);
    }
}

void EntryKeys::DateEnter() {
    const Dataset& t = w_.contactTable();
    if (t.editing()) DateAtEntry_ = t.date(QStringLiteral("DATE"));
}

bool EntryKeys::DateKeyDown(QKeyEvent* key) {
    Dataset& t = w_.contactTable();
    const bool undo = (key->key() == Qt::Key_Z && key->modifiers() == Qt::ControlModifier) ||
                      key->key() == Qt::Key_Escape;
    if (!undo || !t.editing()) return false;
    t.setDate(QStringLiteral("DATE"), DateAtEntry_);
    w_.mainPage()->Date->refresh();
    return true;
}

void EntryKeys::DateChange() {
    Dataset& t = w_.contactTable();
    const MainPage& m = *w_.mainPage();
    // A box emptied back to its mask holds no date.
    if (t.editing() && m.Date->maskedText() == w_.blankDateText())
        t.setDate(QStringLiteral("DATE"), xb::kEmptyDate);
}

bool EntryKeys::MemoKeyDown(QKeyEvent* key) {
    // Typing into the memo of a record being browsed starts editing it; the key then goes
    // into the memo, which editing has made writable.
    const MainPage& m = *w_.mainPage();
    if (!w_.contactTable().editing() && typesCharacter(key) && !m.EditButton->isHidden() &&
        m.EditButton->isEnabled()) {
        entry_.EditButtonClick();
    }
    return false;
}

}  // namespace qb
