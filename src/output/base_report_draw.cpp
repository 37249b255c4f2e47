// Pens, lines, rectangles, pictures and tab stops with their shading and box lines.
#include "output/base_report.h"

#include "output/report_error.h"

#include <QBuffer>
#include <algorithm>
#include <cmath>

namespace qb {

double TBaseReport::penInches(int pixels) const {
    return pixels / geometry().dpiX;
}

int TBaseReport::pixelsForWidth(int width) const {
    if (width >= 0) return std::max(1, width);
    // Hundredths of an inch on this device, never thinner than a pixel.
    const double pixels = -width / 100.0 * geometry().dpiX;
    return std::max(1, static_cast<int>(std::lround(pixels)));
}

void TBaseReport::SetPen(const QColor& colour, TPenStyle style, int width, TPenMode mode) {
    penColour_ = colour;
    penStyle_ = style;
    penMode_ = mode;
    penPixels_ = pixelsForWidth(width);
}

void TBaseReport::MoveTo(double x, double y) {
    requirePrinting();
    penX_ = toInches(x);
    penY_ = toInches(y);
}

void TBaseReport::LineTo(double x, double y) {
    requirePrinting();
    const double toX = toInches(x), toY = toInches(y);
    syncPen();
    emitOp(LineOp{static_cast<float>(pageX(penX_)), static_cast<float>(pageY(penY_)),
                  static_cast<float>(pageX(toX)), static_cast<float>(pageY(toY))});
    penX_ = toX;
    penY_ = toY;
}

void TBaseReport::Rectangle(double x1, double y1, double x2, double y2) {
    requirePrinting();
    syncPen();
    emitOp(RectOp{static_cast<float>(pageX(toInches(x1))), static_cast<float>(pageY(toInches(y1))),
                  static_cast<float>(pageX(toInches(x2))),
                  static_cast<float>(pageY(toInches(y2)))});
}

void TBaseReport::StretchDraw(double x1, double y1, double x2, double y2, const QImage& picture) {
    requirePrinting();
    if (picture.isNull()) return;
    // A run draws the same picture on many pages; encode it once.
    auto cached = pictureCache_.constFind(picture.cacheKey());
    if (cached == pictureCache_.constEnd()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        cached = pictureCache_.insert(picture.cacheKey(), png);
    }
    emitOp(PictureOp{
        static_cast<float>(pageX(toInches(x1))), static_cast<float>(pageY(toInches(y1))),
        static_cast<float>(pageX(toInches(x2))), static_cast<float>(pageY(toInches(y2))), *cached});
}

void TBaseReport::SetTab(double x, int justify, double width, int margin, int boxLines, int shade) {
    TabStop stop;
    stop.justify = (justify >= pjCenter && justify <= pjBlock) ? justify : pjLeft;
    stop.width = std::max(0.0, toInches(width));
    stop.margin = std::max(0, margin) / 100.0;
    stop.boxLines = boxLines & BOXLINEALL;
    stop.shade = std::clamp(shade, 0, 100);
    std::optional<double> left;
    if (x != NA) left = toInches(x);
    tabs_.add(left, sectionLeft_, stop);
}

void TBaseReport::ClearTabs() {
    tabs_.clear();
    tabIndex_ = -1;
    cellPending_ = false;
}

void TBaseReport::SaveTabs() {
    tabs_.save();
}

void TBaseReport::RestoreTabs() {
    tabs_.restore();
    tabIndex_ = -1;
    cellPending_ = false;
}

double TBaseReport::TabStart() const {
    if (tabIndex_ < 0) return XPos();
    const TabStop& s = tabs_.stops()[static_cast<std::size_t>(tabIndex_)];
    return toUnits(s.left + s.margin);
}

double TBaseReport::TabEnd() const {
    if (tabIndex_ < 0) return XPos();
    const TabStop& s = tabs_.stops()[static_cast<std::size_t>(tabIndex_)];
    return toUnits(s.right() - s.margin);
}

void TBaseReport::Tab(int leftWidth, int rightWidth, int topWidth, int bottomWidth, int shade) {
    requirePrinting();
    const std::size_t next = static_cast<std::size_t>(tabIndex_ + 1);
    if (next >= tabs_.stops().size()) return;
    tabIndex_ = static_cast<int>(next);
    const TabStop& stop = tabs_.stops()[next];

    // The cell spans the current line: from one line height above the bottom of the line to
    // the font's descent below the baseline.
    const double top = y_ - lineHeight() + metrics_.descent();
    const double bottom = y_ + metrics_.descent();
    int fill = shade == NA ? stop.shade : std::clamp(shade, 0, 100);
    if (fill == 0) fill = tabShade_;
    if (fill > 0) {
        const int grey = shadeGrey(fill);
        emitOp(FillOp{static_cast<float>(pageX(stop.left)), static_cast<float>(pageY(top)),
                      static_cast<float>(pageX(stop.right())), static_cast<float>(pageY(bottom)),
                      static_cast<quint32>((grey << 16) | (grey << 8) | grey)});
    }

    const auto lineWidth = [&](int given, int bit) {
        if (given == NA) return (stop.boxLines & bit) ? penPixels_ : 0;
        return given == 0 ? 0 : pixelsForWidth(given);
    };
    const int saved = penPixels_;
    const auto edge = [&](int pixels, double x1, double y1, double x2, double y2) {
        if (pixels <= 0) return;
        penPixels_ = pixels;
        syncPen();
        emitOp(LineOp{static_cast<float>(pageX(x1)), static_cast<float>(pageY(y1)),
                      static_cast<float>(pageX(x2)), static_cast<float>(pageY(y2))});
    };
    edge(lineWidth(leftWidth, BOXLINELEFT), stop.left, top, stop.left, bottom);
    edge(lineWidth(rightWidth, BOXLINERIGHT), stop.right(), top, stop.right(), bottom);
    edge(lineWidth(topWidth, BOXLINETOP), stop.left, top, stop.right(), top);
    edge(lineWidth(bottomWidth, BOXLINEBOTTOM), stop.left, bottom, stop.right(), bottom);
    penPixels_ = saved;

    x_ = stop.left + stop.margin;
    cellPending_ = true;
}

}  // namespace qb
