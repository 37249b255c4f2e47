// Key-state panels. Qt tells no program whether Caps Lock is on, so the bar follows the keys:
// the Caps Lock key toggles the panel, and every letter typed shows the true state (a capital
// without Shift, or a small letter with it, means Caps Lock is on).
#include "controls/key_state_bar.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>

namespace qb {
namespace {

QLabel* panel(const char* name, const QString& widest, const QString& help, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest) + 12);
    label->setWhatsThis(help);
    return label;
}

}  // namespace

KeyStateBar::KeyStateBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(false);
    InsertPanel = panel("InsertPanel", QStringLiteral("OVR"),
                        QStringLiteral("OVR: typing replaces the character at the caret. INS: "
                                       "typing inserts. The Insert key switches."),
                        this);
    CapsPanel = panel("CapsPanel", QStringLiteral("CAPS"),
                      QStringLiteral("Shows CAPS while Caps Lock is on."), this);
    addPermanentWidget(InsertPanel);
    addPermanentWidget(CapsPanel);
    setInsertMode(false);
    setCapsLock(false);
    qApp->installEventFilter(this);
}

KeyStateBar::~KeyStateBar() = default;

void KeyStateBar::setInsertMode(bool on) {
    InsertPanel->setText(on ? QStringLiteral("INS") : QStringLiteral("OVR"));
}

void KeyStateBar::setCapsLock(bool on) {
    capsLock_ = on;
    CapsPanel->setText(on ? QStringLiteral("CAPS") : QString());
}

bool KeyStateBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_CapsLock) {
        // One press reaches the filter again for each parent it is passed on to; only its
        // first widget counts.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || key->isAutoRepeat()) return false;
        if (event == lastCapsKey_ && lastCapsWidget_ && widget->isAncestorOf(lastCapsWidget_))
            return false;
        lastCapsKey_ = event;
        lastCapsWidget_ = widget;
        setCapsLock(!capsLock_);
        return false;
    }
    // A letter that has two cases tells the state whatever the panel believed.
    const QString text = key->text();
    if (text.size() == 1 && text.front().isUpper() != text.front().isLower()) {
        const bool shift = key->modifiers() & Qt::ShiftModifier;
        setCapsLock(text.front().isUpper() != shift);
    }
    return false;
}

}  // namespace qb
