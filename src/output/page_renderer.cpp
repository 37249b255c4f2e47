// Replays drawing operations: positions become device pixels as
// round((inches - unprintable offset) * pixels per inch), pens at least one pixel wide.
#include "output/page_renderer.h"

#include "output/report_types.h"
#include "output/text_metrics.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace qb {
namespace {

class Replayer {
  public:
    Replayer(QPainter& painter, const RenderTarget& target) : p_(painter), t_(target) {
        rasterDevice_ = p_.paintEngine() && p_.paintEngine()->type() == QPaintEngine::Raster;
        setFont(FontOp{QStringLiteral("Arial"), 10, 0, 0});
        setPen(PenOp{});
    }

    void operator()(const FontOp& o) { setFont(o); }
    void operator()(const PenOp& o) { setPen(o); }
    void operator()(const TextModeOp& o) { textMode_ = o; }
    void operator()(const TextOp& o) { text(o.x, o.y, o.width, o.text); }
    void operator()(const ClipTextOp& o) {
        p_.save();
        p_.setClipRect(rect(o.left, o.top, o.right, o.bottom));
        text(o.x, o.y, o.width, o.text);
        p_.restore();
    }
    void operator()(const LineOp& o) {
        if (penHidden_) return;
        p_.setRenderHint(QPainter::Antialiasing, false);
        p_.drawLine(QPoint(px(o.x1), py(o.y1)), QPoint(px(o.x2), py(o.y2)));
    }
    void operator()(const RectOp& o) {
        if (penHidden_) return;
        p_.setRenderHint(QPainter::Antialiasing, false);
        p_.setBrush(Qt::NoBrush);
        const QRect r = rect(o.x1, o.y1, o.x2, o.y2);
        p_.drawRect(r.adjusted(0, 0, -1, -1));
    }
    void operator()(const FillOp& o) { p_.fillRect(rect(o.x1, o.y1, o.x2, o.y2), rgb(o.colour)); }
    void operator()(const PictureOp& o) {
        QImage image;
        if (!image.loadFromData(o.png, "PNG")) return;
        p_.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p_.drawImage(rect(o.x1, o.y1, o.x2, o.y2), image);
    }

  private:
    static QColor rgb(quint32 c) { return QColor::fromRgb(QRgb(0xFF000000u | c)); }

    int px(double x) const {
        return static_cast<int>(std::lround((x - t_.offsetX) * t_.pixelsPerInchX));
    }
    int py(double y) const {
        return static_cast<int>(std::lround((y - t_.offsetY) * t_.pixelsPerInchY));
    }

    QRect rect(double x1, double y1, double x2, double y2) const {
        return QRect(QPoint(px(std::min(x1, x2)), py(std::min(y1, y2))),
                     QPoint(px(std::max(x1, x2)), py(std::max(y1, y2))))
            .adjusted(0, 0, -1, -1);
    }

    void setFont(const FontOp& o) {
        font_ = deviceFont(o.family, o.size, o.style, t_.pixelsPerInchY,
                           p_.device() ? p_.device()->logicalDpiY() : 96);
        fontColour_ = rgb(o.colour);
        metrics_.reset();
    }

    void setPen(const PenOp& o) {
        const int width = std::max(1, static_cast<int>(std::lround(o.width * t_.pixelsPerInchX)));
        Qt::PenStyle style = Qt::SolidLine;
        switch (o.style) {
            case psDash:
                style = Qt::DashLine;
                break;
            case psDot:
                style = Qt::DotLine;
                break;
            case psDashDot:
                style = Qt::DashDotLine;
                break;
            case psDashDotDot:
                style = Qt::DashDotDotLine;
                break;
            default:
                break;
        }
        penHidden_ = o.style == psClear;
        QPen pen(rgb(o.colour), width, style, Qt::FlatCap, Qt::MiterJoin);
        p_.setPen(pen);
        // Combining modes only exist on raster devices; elsewhere the pen just draws.
        if (rasterDevice_) {
            p_.setCompositionMode(o.mode == pmXor   ? QPainter::RasterOp_SourceXorDestination
                                  : o.mode == pmNot ? QPainter::RasterOp_NotDestination
                                                    : QPainter::CompositionMode_SourceOver);
        }
    }

    void text(double x, double y, double width, const QString& s) {
        if (s.isEmpty()) return;
        const QPoint at(px(x), py(y));
        if (!metrics_) metrics_.emplace(font_, p_.device());
        if (textMode_.opaque) {
            const int w = static_cast<int>(std::lround(width * t_.pixelsPerInchX));
            p_.fillRect(QRect(at.x(), at.y() - static_cast<int>(std::ceil(metrics_->ascent())), w,
                              static_cast<int>(std::ceil(metrics_->height()))),
                        rgb(textMode_.colour));
        }
        const QPen pen = p_.pen();
        const auto mode = p_.compositionMode();
        p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p_.setRenderHint(QPainter::Antialiasing, true);
        p_.setRenderHint(QPainter::TextAntialiasing, true);
        p_.setFont(font_);
        p_.setPen(fontColour_);
        const double wanted = width * t_.pixelsPerInchX;
        const double actual = t_.fitTextWidths ? metrics_->horizontalAdvance(s) : 0;
        if (t_.fitTextWidths && actual > 0 && wanted > 0 && std::fabs(actual - wanted) > 0.5) {
            p_.save();
            p_.translate(at);
            p_.scale(wanted / actual, 1.0);
            p_.drawText(QPointF(0, 0), s);
            p_.restore();
        } else {
            p_.drawText(at, s);
        }
        p_.setPen(pen);
        p_.setCompositionMode(mode);
    }

    QPainter& p_;
    const RenderTarget& t_;
    bool rasterDevice_ = false;
    QFont font_;
    QColor fontColour_;
    std::optional<QFontMetricsF> metrics_;
    bool penHidden_ = false;
    TextModeOp textMode_;
};

}  // namespace

void renderPage(QPainter& painter, const PageOps& ops, const RenderTarget& target) {
    painter.save();
    Replayer replay(painter, target);
    for (const DrawOp& op : ops)
        std::visit(replay, op);
    painter.restore();
}

}  // namespace qb
