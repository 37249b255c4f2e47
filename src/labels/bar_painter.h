// Replays a bar figure on a QPainter: the designer's sample and tests draw barcodes this way.
#pragma once

#include <QPointF>

#include "labels/bar_figure.h"

class QPainter;

namespace qb::labels {

// Draws the figure with a solid black pen and flat line ends, so each bar covers exactly
// top to bottom. scale turns the figure's units into the painter's (for example dots per
// inch for a figure in inches); origin is in the painter's units.
void paintBarFigure(QPainter& painter, const BarFigure& figure, QPointF origin, double scale = 1);

}  // namespace qb::labels
