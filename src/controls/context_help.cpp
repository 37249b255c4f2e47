// Right-click "What's this?" menus and the pointer-help mode.
#include "controls/context_help.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
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

}  // namespace

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
