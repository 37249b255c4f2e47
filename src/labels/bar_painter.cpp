// Drawing bar figures with QPainter.
#include "labels/bar_painter.h"

#include <QPainter>
#include <QPen>

namespace qb::labels {

void paintBarFigure(QPainter& painter, const BarFigure& figure, QPointF origin, double scale) {
    painter.save();
    QPen pen(Qt::black);
    pen.setWidthF(figure.penWidth * scale);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const Bar& bar : figure.bars) {
        QPointF from = origin + QPointF(bar.x, bar.top) * scale;
        QPointF to = origin + QPointF(bar.x, bar.bottom) * scale;
        painter.drawLine(from, to);
    }
    painter.restore();
}

}  // namespace qb::labels
