// Page buttons pressed by their access keys ahead of the menu bar.
#include "app/window_keys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QStackedWidget>

namespace qb {

PageAccessKeys::PageAccessKeys(QWidget* window, QStackedWidget* notebook)
    : QObject(window), window_(window), notebook_(notebook) {
    // Shortcuts are matched before any widget sees the key, so only the application's own
    // filter comes early enough to claim it.
    qApp->installEventFilter(this);
}

QAbstractButton* PageAccessKeys::buttonFor(QObject* receiver, const QKeyEvent* key) const {
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) return nullptr;
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || widget->window() != window_) return nullptr;
    QWidget* page = notebook_->currentWidget();
    if (!page) return nullptr;
    const QKeySequence pressed(key->key() | Qt::AltModifier);
    const auto buttons = page->findChildren<QAbstractButton*>();
    for (QAbstractButton* b : buttons) {
        if (b->isVisible() && b->isEnabled() && b->window() == window_ &&
            QKeySequence::mnemonic(b->text()) == pressed) {
            return b;
        }
    }
    return nullptr;
}

bool PageAccessKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    QAbstractButton* button = buttonFor(watched, key);
    if (!button) return false;
    event->accept();
    // Claiming the shortcut makes the key arrive as a key press, which presses the button.
    if (type == QEvent::KeyPress) button->click();
    return true;
}

}  // namespace qb
