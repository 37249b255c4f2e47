// Encodes page operations into the byte form of a report file page and decodes it again,
// checking every byte read; the layout is described in REPORTFILE.md.
#pragma once

#include "output/page_ops.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace qb {

// Sizes a page body may not exceed, so a damaged file cannot make the reader allocate freely.
inline constexpr int MaxTextBytes = 0xFFFF;
inline constexpr float MaxCoordinate = 10000.0f;  // inches
inline constexpr float MaxFontSize = 2000.0f;     // points

class PageEncoder {
  public:
    void add(const DrawOp& op);
    const QByteArray& bytes() const { return bytes_; }
    void clear() { bytes_.clear(); }

  private:
    void putU8(quint8 v);
    void putU16(quint16 v);
    void putU32(quint32 v);
    void putF32(float v);
    void putText(const QString& text);

    QByteArray bytes_;
};

// Decodes a page body. On damage returns nothing and sets `fault` to what is wrong.
std::optional<PageOps> decodePage(const QByteArray& body, QString* fault);

}  // namespace qb
