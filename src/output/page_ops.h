// The drawing operations of one page, in inches from the top-left corner of the sheet. A page
// is recorded as these operations, stored in the report file, and replayed on any device.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <variant>
#include <vector>

namespace qb {

// Colours are 0xRRGGBB.
struct FontOp {
    QString family;
    float size = 10;   // points
    quint8 style = 0;  // FontBold | FontItalic | ...
    quint32 colour = 0;
    bool operator==(const FontOp&) const = default;
};

struct PenOp {
    quint32 colour = 0;
    quint8 style = 0;  // TPenStyle
    quint8 mode = 0;   // TPenMode
    float width = 0;   // inches; devices draw at least one pixel
    bool operator==(const PenOp&) const = default;
};

struct TextModeOp {
    bool opaque = false;
    quint32 colour = 0xFFFFFF;  // background behind opaque text
    bool operator==(const TextModeOp&) const = default;
};

// Text whose left end of the baseline is at (x, y); width is what it measured when recorded.
struct TextOp {
    float x = 0, y = 0, width = 0;
    QString text;
};

// Text as TextOp, painted only inside the clip rectangle.
struct ClipTextOp {
    float x = 0, y = 0, width = 0;
    float left = 0, top = 0, right = 0, bottom = 0;
    QString text;
};

struct LineOp {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Outline only, with the current pen.
struct RectOp {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct FillOp {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    quint32 colour = 0;
};

// A picture stretched into the rectangle, stored as PNG bytes.
struct PictureOp {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    QByteArray png;
};

using DrawOp =
    std::variant<FontOp, PenOp, TextModeOp, TextOp, ClipTextOp, LineOp, RectOp, FillOp, PictureOp>;
using PageOps = std::vector<DrawOp>;

}  // namespace qb
