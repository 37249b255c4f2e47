// Right-click "What's this?" menus, the pointer-help mode and the help key.
#include "controls/context_help.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QToolButton>
#include <QWhatsThis>
#include <QWidget>

namespace qb {
namespace {

class WhatsThisFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ContextMenu) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->whatsThis().isEmpty()) return false;
        const QPoint at = static_cast<QContextMenuEvent*>(event)->globalPos();
        QMenu menu(widget);
        QAction* help = menu.addAction(QStringLiteral("What's this?"));
        if (menu.exec(at) == help) QWhatsThis::showText(at, widget->whatsThis(), widget);
        return true;
    }
};

class HelpKeyFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) return false;
        QWidget* window = widget->window();
        const auto buttons = window->findChildren<QAbstractButton*>(QStringLiteral("HelpButton"));
        for (QAbstractButton* b : buttons) {
            // A dialog is a child of the window that opened it; its button is its own.
            if (b->window() == window && b->isVisible() && b->isEnabled()) {
                b->click();
                return true;
            }
        }
        return false;
    }
};

}  // namespace

void installHelpKey() {
    static HelpKeyFilter* filter = nullptr;
    if (filter || !qApp) return;
    filter = new HelpKeyFilter(qApp);
    qApp->installEventFilter(filter);
}

void installWhatsThisMenus(QWidget* root) {
    auto* filter = new WhatsThisFilter(root);
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* w : children) {
        if (!w->whatsThis().isEmpty()) w->installEventFilter(filter);
    }
}

QToolButton* newPointerHelpButton(QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QStringLiteral("MouseHelpButton"));
    button->setText(QStringLiteral("?"));
    makePointerHelpButton(button);
    return button;
}

void makePointerHelpButton(QAbstractButton* button) {
    button->setToolTip(QStringLiteral("What's this?"));
    QObject::connect(button, &QAbstractButton::clicked, [] { QWhatsThis::enterWhatsThisMode(); });
}

}  // namespace qb
