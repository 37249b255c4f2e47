// Small line drawings: magnifiers for zoom, a page with arrows for the fits, triangles and
// bars for paging.
#include "reports/preview_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace qb {
namespace {

void magnifier(QPainter& p, bool plus) {
    p.setPen(QPen(Qt::black, 1.5));
    p.drawEllipse(QRectF(2, 2, 9, 9));
    p.setPen(QPen(Qt::black, 2.5));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    p.setPen(QPen(Qt::black, 1.2));
    p.drawLine(QPointF(4.5, 6.5), QPointF(8.5, 6.5));
    if (plus) p.drawLine(QPointF(6.5, 4.5), QPointF(6.5, 8.5));
}

void page(QPainter& p, bool wholePage) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 1.5, 9, 13));
    p.setPen(QPen(Qt::darkBlue, 1.2));
    if (wholePage) {
        p.drawRect(QRectF(5.5, 3.5, 5, 9));
    } else {
        p.drawLine(QPointF(1, 8), QPointF(15, 8));
        p.drawLine(QPointF(1, 8), QPointF(3, 6));
        p.drawLine(QPointF(1, 8), QPointF(3, 10));
        p.drawLine(QPointF(15, 8), QPointF(13, 6));
        p.drawLine(QPointF(15, 8), QPointF(13, 10));
    }
}

void triangle(QPainter& p, bool left, double x) {
    QPolygonF t;
    if (left) {
        t << QPointF(x + 5, 3) << QPointF(x, 8) << QPointF(x + 5, 13);
    } else {
        t << QPointF(x, 3) << QPointF(x + 5, 8) << QPointF(x, 13);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(t);
}

}  // namespace

QIcon previewIcon(PreviewGlyph glyph) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
        case PreviewGlyph::ZoomIn:
            magnifier(p, true);
            break;
        case PreviewGlyph::ZoomOut:
            magnifier(p, false);
            break;
        case PreviewGlyph::PageWidth:
            page(p, false);
            break;
        case PreviewGlyph::WholePage:
            page(p, true);
            break;
        case PreviewGlyph::First:
            p.fillRect(QRectF(3, 3, 1.5, 10), Qt::black);
            triangle(p, true, 5);
            break;
        case PreviewGlyph::Previous:
            triangle(p, true, 5);
            break;
        case PreviewGlyph::Next:
            triangle(p, false, 6);
            break;
        case PreviewGlyph::Last:
            triangle(p, false, 6);
            p.fillRect(QRectF(11.5, 3, 1.5, 10), Qt::black);
            break;
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace qb
