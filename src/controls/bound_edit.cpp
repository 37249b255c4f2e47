// Bound entry boxes: following the record, and writing typed text back before a post.
#include "controls/bound_edit.h"

#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextCursor>
#include <QTextDocument>

#include "controls/prompts.h"

namespace qb {

QString unholdableMessage(QChar c) {
    return QStringLiteral("The character \"%1\" cannot be stored in this file").arg(c);
}

// ---- EnterEdit --------------------------------------------------------------------------

EnterEdit::EnterEdit(QWidget* parent) : QLineEdit(parent) {}

int EnterEdit::widthFor(const QString& text) const {
    // As QLineEdit measures its own size: the text, its fixed inner margin of two pixels a
    // side, the text margins, then the style's frame around it. One pixel more for the caret.
    const QMargins text_ = textMargins();
    const QMargins content = contentsMargins();
    const int inner = fontMetrics().horizontalAdvance(text) + 2 * 2 + 1 + text_.left() +
                      text_.right() + content.left() + content.right();
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, fontMetrics().height()), this)
        .width();
}

void EnterEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// ---- BoundEdit ----------------------------------------------------------------------------

BoundEdit::BoundEdit(QWidget* parent) : EnterEdit(parent) {
    setReadOnly(true);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        dirty_ = true;
        if (upper_ && text != text.toUpper()) {
            const int at = cursorPosition();
            setText(text.toUpper());
            setCursorPosition(at);
        }
    });
}

void BoundEdit::bind(Dataset* table, const QString& field) {
    if (table_) table_->disconnect(this);
    table_ = table;
    field_ = field;
    connect(table, &Dataset::recordChanged, this, &BoundEdit::refresh);
    connect(table, &Dataset::stateChanged, this, &BoundEdit::followState);
    connect(table, &Dataset::afterOpen, this, [this] {
        const int width = table_->fieldWidth(field_);
        setMaxLength(width > 0 ? width : 32767);
    });
    connect(table, &Dataset::updateRecord, this, &BoundEdit::store);
    refresh();
}

void BoundEdit::followState() {
    setReadOnly(!table_ || !table_->editing());
    if (table_ && !table_->editing()) refresh();
}

void BoundEdit::refresh() {
    dirty_ = false;
    setText(table_ && (table_->onRecord() || table_->editing()) ? table_->displayText(field_)
                                                                : QString());
    setCursorPosition(0);
    setReadOnly(!table_ || !table_->editing());
}

bool BoundEdit::store() {
    if (!dirty_ || !table_ || !table_->editing()) return true;
    if (const auto bad = table_->unholdable(text())) {
        prompts().information(window(), unholdableMessage(*bad));
        return false;
    }
    table_->setText(field_, text());
    dirty_ = false;
    return true;
}

void BoundEdit::focusOutEvent(QFocusEvent* event) {
    store();
    EnterEdit::focusOutEvent(event);
}

void BoundEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    emit doubleClicked();
    EnterEdit::mouseDoubleClickEvent(event);
}

// ---- BoundMemo ----------------------------------------------------------------------------

BoundMemo::BoundMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!isReadOnly()) dirty_ = true;
    });
}

void BoundMemo::bind(Dataset* table, const QString& field) {
    if (table_) table_->disconnect(this);
    table_ = table;
    field_ = field;
    connect(table, &Dataset::recordChanged, this, &BoundMemo::refresh);
    connect(table, &Dataset::stateChanged, this, [this] {
        setReadOnly(!table_->editing());
        if (!table_->editing()) refresh();
    });
    connect(table, &Dataset::updateRecord, this, &BoundMemo::store);
    refresh();
}

void BoundMemo::refresh() {
    // Read-only while loading, so the load itself does not count as typing.
    setReadOnly(true);
    QString text =
        table_ && (table_->onRecord() || table_->editing()) ? table_->memo(field_) : QString();
    // Memos from any source show one line per line break, whichever break they use.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    setPlainText(text);
    dirty_ = false;
    setReadOnly(!table_ || !table_->editing());
}

QString BoundMemo::storedText() const {
    QString text = toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

void BoundMemo::appendToLastLine(const QString& text) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
}

bool BoundMemo::store() {
    if (!dirty_ || !table_ || !table_->editing()) return true;
    const QString text = storedText();
    if (const auto bad = table_->unholdable(text)) {
        prompts().information(window(), unholdableMessage(*bad));
        return false;
    }
    table_->setMemo(field_, text);
    dirty_ = false;
    return true;
}

void BoundMemo::focusOutEvent(QFocusEvent* event) {
    store();
    QPlainTextEdit::focusOutEvent(event);
}

void BoundMemo::mouseDoubleClickEvent(QMouseEvent* event) {
    emit doubleClicked();
    QPlainTextEdit::mouseDoubleClickEvent(event);
}

}  // namespace qb
