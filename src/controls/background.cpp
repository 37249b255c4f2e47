// A quiet paper-like tile drawn in code, so the program carries no picture files.
#include "controls/background.h"

#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QRandomGenerator>
#include <QWidget>

namespace qb {

const QPixmap& backgroundTile() {
    static const QPixmap tile = [] {
        QPixmap p(64, 64);
        p.fill(QColor(0xEE, 0xEA, 0xDF));
        QPainter painter(&p);
        // A fixed seed: the same grain on every run and in every screenshot.
        QRandomGenerator grain(1997);
        for (int i = 0; i < 900; ++i) {
            const int shade = int(grain.bounded(18));
            painter.setPen(QColor(0xE2 - shade, 0xDD - shade, 0xCF - shade, 110));
            painter.drawPoint(int(grain.bounded(64)), int(grain.bounded(64)));
        }
        return p;
    }();
    return tile;
}

void tileBackground(QWidget* widget) {
    QPalette pal = widget->palette();
    pal.setBrush(QPalette::Window, QBrush(backgroundTile()));
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

}  // namespace qb
