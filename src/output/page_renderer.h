// Paints recorded page operations on any Qt device: the printer, a PDF, the preview's image.
// Every output of the engine goes through this one routine.
#pragma once

#include "output/page_ops.h"

class QPainter;

namespace qb {

struct RenderTarget {
    double pixelsPerInchX = 96;
    double pixelsPerInchY = 96;
    // The device's unprintable left and top edges in inches; its pixel 0 lies there.
    double offsetX = 0;
    double offsetY = 0;
    // Stretch each text to the width it measured when recorded.
    bool fitTextWidths = false;
};

void renderPage(QPainter& painter, const PageOps& ops, const RenderTarget& target);

}  // namespace qb
