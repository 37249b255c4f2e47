// Drawing the designer's sample label.
#include "labels/label_sample.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "labels/bar_figure.h"
#include "labels/bar_painter.h"

namespace qb::labels {

namespace {

// A sample larger than this many pixels either way would be a damaged setup, not a label.
constexpr int kMaxSamplePixels = 4000;
constexpr int kCornerRadius = 10;  // a 20 by 20 corner ellipse

int clampPixels(double v) {
    return std::clamp(int(std::lround(v)), 1, kMaxSamplePixels);
}

}  // namespace

std::optional<int> cpiOfFontName(const QString& name) {
    const QString upper = name.toUpper();
    const qsizetype at = upper.indexOf(QStringLiteral("CPI"));
    if (at < 0) return std::nullopt;
    QString digits;
    for (qsizetype i = at - 1; i >= 0; --i) {
        const QChar c = upper[i];
        if (c == u'.') {
            // What stood after the point was the fraction.
            digits.clear();
        } else if (c >= u'0' && c <= u'9') {
            digits.prepend(c);
        } else {
            break;
        }
    }
    if (digits.isEmpty() || digits.size() > 4) return std::nullopt;
    return digits.toInt();
}

QFont sampleFont(const LabelSetup& s, double dpi) {
    QFont font(s.fontName);
    font.setPixelSize(std::max(1, int(s.fontSize * dpi / 72.0)));
    font.setBold(s.fontBold);
    font.setItalic(s.fontItalic);
    const std::optional<int> cpi = cpiOfFontName(s.fontName);
    if (cpi && *cpi > 1) {
        if (s.fontName.toUpper().contains(QStringLiteral("BOLD"))) font.setBold(true);
        const int wanted = int(dpi / (*cpi - 1.5));
        const double natural = QFontMetricsF(font).averageCharWidth();
        if (wanted > 0 && natural > 0)
            font.setStretch(std::clamp(int(std::lround(100.0 * wanted / natural)), 1, 4000));
    }
    return font;
}

int sampleLinePitch(const LabelSetup& s, double dpi) {
    return int(s.fontSize / 60.0 * dpi);
}

QImage DrawLabel(const LabelSetup& s, const QStringList& lines, QPoint offset, double dpi) {
    const int w = clampPixels(dpi * s.lblWidth);
    const int h = clampPixels(dpi * s.lblHeight);
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(192, 192, 192));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), kCornerRadius, kCornerRadius);

    QPainterPath clip;
    clip.addRoundedRect(QRectF(1, 1, w - 2, h - 2), kCornerRadius, kCornerRadius);
    p.setClipPath(clip);
    const QFont font = sampleFont(s, dpi);
    p.setFont(font);
    p.setPen(Qt::black);
    const int pitch = sampleLinePitch(s, dpi);
    const double first = offset.y() + pitch - QFontMetricsF(font).descent();
    for (qsizetype i = 0; i < lines.size(); ++i)
        p.drawText(QPointF(offset.x(), first + double(i) * pitch), lines[i]);

    if (s.barcode) {
        const QPointF at(offset.x(), offset.y() - int(kBarcodeRise * dpi));
        paintBarFigure(
            p, s.barcodeKind == BarcodeKind::Imb ? designerImbPicture() : designerBarcodePicture(),
            at);
    }
    return image;
}

}  // namespace qb::labels
