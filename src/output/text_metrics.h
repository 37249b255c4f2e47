// Fonts of the engine and their measurements in inches. Texts are measured without hinting at
// a high reference size, so a width is the same whatever device the page goes to.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <optional>

namespace qb {

struct FontState {
    QString name = QStringLiteral("Arial");
    double size = 10;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QColor colour = Qt::black;

    quint8 styleBits() const;
    bool operator==(const FontState&) const = default;
};

// A Qt font for the given family, size and style bits, drawn at `pixelsPerInch` on a device
// whose logical resolution is `deviceDpi`. Fonts never use hinting, so glyph advances scale
// exactly with the size.
QFont deviceFont(const QString& family, double points, quint8 style, double pixelsPerInch,
                 int deviceDpi);

class TextMetrics {
  public:
    TextMetrics();
    void setFont(const FontState& font);
    double width(const QString& text) const;  // inches
    double ascent() const { return ascent_; }
    double descent() const { return descent_; }

  private:
    std::optional<QFontMetricsF> metrics_;
    double ascent_ = 0;
    double descent_ = 0;
};

}  // namespace qb
