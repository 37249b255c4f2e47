// Page body encoding: one opcode byte, then fixed little-endian fields; texts as UTF-8 with a
// 16-bit length. The decoder never trusts a length it has not checked against what is left.
#include "output/page_codec.h"

#include <QStringDecoder>
#include <QtEndian>
#include <cmath>
#include <cstring>

namespace qb {
namespace {

enum Opcode : quint8 {
    OpFont = 1,
    OpPen = 2,
    OpTextMode = 3,
    OpText = 4,
    OpClipText = 5,
    OpLine = 6,
    OpRect = 7,
    OpFill = 8,
    OpPicture = 9,
};

// Reads fields from a body; the first fault stops everything and is kept.
class Cursor {
  public:
    explicit Cursor(const QByteArray& body) : data_(body.constData()), size_(body.size()) {}

    bool atEnd() const { return pos_ >= size_; }
    bool ok() const { return fault_.isEmpty(); }
    const QString& fault() const { return fault_; }
    qsizetype pos() const { return pos_; }

    void setFault(const QString& what) {
        if (fault_.isEmpty()) fault_ = QStringLiteral("%1 at byte %2").arg(what).arg(pos_);
    }

    bool need(qsizetype n, const char* what) {
        if (!ok()) return false;
        if (n < 0 || size_ - pos_ < n) {
            setFault(QStringLiteral("%1 runs past the end of the page").arg(QLatin1String(what)));
            return false;
        }
        return true;
    }

    quint8 u8(const char* what) {
        if (!need(1, what)) return 0;
        return static_cast<quint8>(data_[pos_++]);
    }
    quint16 u16(const char* what) {
        if (!need(2, what)) return 0;
        const auto v = qFromLittleEndian<quint16>(data_ + pos_);
        pos_ += 2;
        return v;
    }
    quint32 u32(const char* what) {
        if (!need(4, what)) return 0;
        const auto v = qFromLittleEndian<quint32>(data_ + pos_);
        pos_ += 4;
        return v;
    }
    float f32(const char* what, float limit) {
        const quint32 bits = u32(what);
        float v;
        std::memcpy(&v, &bits, sizeof v);
        if (ok() && (!std::isfinite(v) || std::fabs(v) > limit)) {
            setFault(QStringLiteral("%1 out of range").arg(QLatin1String(what)));
            return 0;
        }
        return v;
    }
    float coord(const char* what) { return f32(what, MaxCoordinate); }
    QString text(const char* what) {
        const quint16 len = u16(what);
        if (!need(len, what)) return {};
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString s = decoder(QByteArrayView(data_ + pos_, len));
        if (decoder.hasError()) {
            setFault(QStringLiteral("%1 is not valid UTF-8").arg(QLatin1String(what)));
            return {};
        }
        pos_ += len;
        return s;
    }
    QByteArray bytes(quint32 len, const char* what) {
        if (!need(static_cast<qsizetype>(len), what)) return {};
        QByteArray b(data_ + pos_, static_cast<qsizetype>(len));
        pos_ += len;
        return b;
    }

  private:
    const char* data_;
    qsizetype size_;
    qsizetype pos_ = 0;
    QString fault_;
};

// Cuts UTF-8 at a character boundary so an overlong text still decodes.
QByteArray utf8Limited(const QString& text) {
    QByteArray b = text.toUtf8();
    if (b.size() <= MaxTextBytes) return b;
    qsizetype end = MaxTextBytes;
    while (end > 0 && (static_cast<quint8>(b[end]) & 0xC0) == 0x80)
        --end;
    b.truncate(end);
    return b;
}

}  // namespace

void PageEncoder::putU8(quint8 v) {
    bytes_.append(static_cast<char>(v));
}

void PageEncoder::putU16(quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    bytes_.append(b, 2);
}

void PageEncoder::putU32(quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    bytes_.append(b, 4);
}

void PageEncoder::putF32(float v) {
    if (!std::isfinite(v)) v = 0;
    v = std::fmax(-MaxCoordinate, std::fmin(MaxCoordinate, v));
    quint32 bits;
    std::memcpy(&bits, &v, sizeof bits);
    putU32(bits);
}

void PageEncoder::putText(const QString& text) {
    const QByteArray b = utf8Limited(text);
    putU16(static_cast<quint16>(b.size()));
    bytes_.append(b);
}

void PageEncoder::add(const DrawOp& op) {
    std::visit(
        [this](const auto& o) {
            using T = std::decay_t<decltype(o)>;
            if constexpr (std::is_same_v<T, FontOp>) {
                putU8(OpFont);
                putU8(o.style & 0x0F);
                putU32(o.colour & 0xFFFFFF);
                putF32(std::fmin(o.size, MaxFontSize));
                putText(o.family.left(255));
            } else if constexpr (std::is_same_v<T, PenOp>) {
                putU8(OpPen);
                putU8(o.style);
                putU8(o.mode);
                putU32(o.colour & 0xFFFFFF);
                putF32(o.width);
            } else if constexpr (std::is_same_v<T, TextModeOp>) {
                putU8(OpTextMode);
                putU8(o.opaque ? 1 : 0);
                putU32(o.colour & 0xFFFFFF);
            } else if constexpr (std::is_same_v<T, TextOp>) {
                putU8(OpText);
                putF32(o.x);
                putF32(o.y);
                putF32(o.width);
                putText(o.text);
            } else if constexpr (std::is_same_v<T, ClipTextOp>) {
                putU8(OpClipText);
                putF32(o.x);
                putF32(o.y);
                putF32(o.width);
                putF32(o.left);
                putF32(o.top);
                putF32(o.right);
                putF32(o.bottom);
                putText(o.text);
            } else if constexpr (std::is_same_v<T, LineOp> || std::is_same_v<T, RectOp>) {
                putU8(std::is_same_v<T, LineOp> ? OpLine : OpRect);
                putF32(o.x1);
                putF32(o.y1);
                putF32(o.x2);
                putF32(o.y2);
            } else if constexpr (std::is_same_v<T, FillOp>) {
                putU8(OpFill);
                putF32(o.x1);
                putF32(o.y1);
                putF32(o.x2);
                putF32(o.y2);
                putU32(o.colour & 0xFFFFFF);
            } else if constexpr (std::is_same_v<T, PictureOp>) {
                putU8(OpPicture);
                putF32(o.x1);
                putF32(o.y1);
                putF32(o.x2);
                putF32(o.y2);
                putU32(static_cast<quint32>(o.png.size()));
                bytes_.append(o.png);
            }
        },
        op);
}

std::optional<PageOps> decodePage(const QByteArray& body, QString* fault) {
    Cursor in(body);
    PageOps ops;
    while (!in.atEnd() && in.ok()) {
        const quint8 code = in.u8("opcode");
        switch (code) {
            case OpFont: {
                FontOp o;
                o.style = in.u8("font style");
                o.colour = in.u32("font colour");
                o.size = in.f32("font size", MaxFontSize);
                o.family = in.text("font name");
                if (in.ok() && (o.style > 0x0F || o.colour > 0xFFFFFF || o.size <= 0 ||
                                o.family.size() > 255)) {
                    in.setFault(QStringLiteral("invalid font"));
                }
                ops.emplace_back(std::move(o));
                break;
            }
            case OpPen: {
                PenOp o;
                o.style = in.u8("pen style");
                o.mode = in.u8("pen mode");
                o.colour = in.u32("pen colour");
                o.width = in.coord("pen width");
                if (in.ok() && (o.style > 5 || o.mode > 2 || o.colour > 0xFFFFFF || o.width < 0)) {
                    in.setFault(QStringLiteral("invalid pen"));
                }
                ops.emplace_back(o);
                break;
            }
            case OpTextMode: {
                TextModeOp o;
                const quint8 opaque = in.u8("text mode");
                o.colour = in.u32("text background");
                if (in.ok() && (opaque > 1 || o.colour > 0xFFFFFF)) {
                    in.setFault(QStringLiteral("invalid text mode"));
                }
                o.opaque = opaque == 1;
                ops.emplace_back(o);
                break;
            }
            case OpText: {
                TextOp o;
                o.x = in.coord("text x");
                o.y = in.coord("text y");
                o.width = in.coord("text width");
                o.text = in.text("text");
                ops.emplace_back(std::move(o));
                break;
            }
            case OpClipText: {
                ClipTextOp o;
                o.x = in.coord("text x");
                o.y = in.coord("text y");
                o.width = in.coord("text width");
                o.left = in.coord("clip left");
                o.top = in.coord("clip top");
                o.right = in.coord("clip right");
                o.bottom = in.coord("clip bottom");
                o.text = in.text("text");
                ops.emplace_back(std::move(o));
                break;
            }
            case OpLine:
            case OpRect: {
                const float x1 = in.coord("x1"), y1 = in.coord("y1");
                const float x2 = in.coord("x2"), y2 = in.coord("y2");
                if (code == OpLine) {
                    ops.emplace_back(LineOp{x1, y1, x2, y2});
                } else {
                    ops.emplace_back(RectOp{x1, y1, x2, y2});
                }
                break;
            }
            case OpFill: {
                FillOp o;
                o.x1 = in.coord("x1");
                o.y1 = in.coord("y1");
                o.x2 = in.coord("x2");
                o.y2 = in.coord("y2");
                o.colour = in.u32("fill colour");
                if (in.ok() && o.colour > 0xFFFFFF) in.setFault(QStringLiteral("invalid fill"));
                ops.emplace_back(o);
                break;
            }
            case OpPicture: {
                PictureOp o;
                o.x1 = in.coord("x1");
                o.y1 = in.coord("y1");
                o.x2 = in.coord("x2");
                o.y2 = in.coord("y2");
                const quint32 len = in.u32("picture length");
                o.png = in.bytes(len, "picture");
                ops.emplace_back(std::move(o));
                break;
            }
            default:
                in.setFault(QStringLiteral("unknown drawing operation %1").arg(code));
                break;
        }
    }
    if (!in.ok()) {
        if (fault) *fault = in.fault();
        return std::nullopt;
    }
    return ops;
}

}  // namespace qb
