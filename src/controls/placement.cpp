// Placing dialogs and companion windows.
#include "controls/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace qb {

void centreOver(QWidget& window, const QWidget& over) {
    // Before it is shown a window has its default size, not the one its layout will give.
    window.adjustSize();
    window.move(over.geometry().center() - window.rect().center());
}

void centreOver(QWidget& window, const QWidget* over) {
    if (over) centreOver(window, *over);
}

void placeBeside(QWidget& window, const QWidget& beside) {
    const QScreen* screen = beside.screen() ? beside.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QRect other = beside.frameGeometry();
    // The frame around the window's own area, as far as it is known before the first show.
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    const int roomRight = area.right() - other.right();
    const int roomLeft = other.left() - area.left();
    const bool right = roomRight >= roomLeft;
    const int room = (right ? roomRight : roomLeft) - frame.width();
    // Narrower rather than over the dialog, as long as a topic still reads well.
    constexpr int kNarrowest = 280;
    if (window.width() > room && room >= kNarrowest) window.resize(room, window.height());
    const int width = window.width() + frame.width();
    const int height = window.height() + frame.height();
    int x = right ? other.right() + 1 : other.left() - width;
    x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - width));
    const int y =
        std::clamp(other.top(), area.top(), std::max(area.top(), area.bottom() + 1 - height));
    window.move(x, y);
}

}  // namespace qb
