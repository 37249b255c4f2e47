// The cursor and text operations: lines measured from the section, texts placed at the
// cursor, at a given x, justified to a width, or inside the current tab stop.
#include "output/base_report.h"

#include <QStringList>
#include <cmath>

namespace qb {
namespace {

// Guards the line arithmetic against binary fractions: 1.0 - 5 * (1/6) is not quite 1/6.
constexpr double Slack = 1e-9;

}  // namespace

void TBaseReport::GotoXY(double x, double y) {
    x_ = toInches(x);
    y_ = toInches(y);
}

void TBaseReport::Home() {
    x_ = sectionLeft_;
    y_ = sectionTop_ + lineHeight() - metrics_.descent();
    lineNum_ = 1;
    tabIndex_ = -1;
    cellPending_ = false;
}

void TBaseReport::NewLine() {
    x_ = sectionLeft_;
    y_ += lineHeight();
    ++lineNum_;
    tabIndex_ = -1;
    cellPending_ = false;
    if (OnEndOfSection && printing_ && LinesLeft() == 0) OnEndOfSection(*this);
}

int TBaseReport::LinesLeft() const {
    const double bottom = y_ + metrics_.descent();
    if (bottom > sectionBottom_ + Slack) return 0;
    const double room = (sectionBottom_ - bottom) / lineHeight();
    return 1 + static_cast<int>(std::floor(room + Slack));
}

void TBaseReport::SetFont(const QString& name, double size) {
    font_.name = name;
    if (size > 0) font_.size = size;
    font_.bold = font_.italic = font_.underline = font_.strikeOut = false;
    fontChanged();
}

void TBaseReport::fontChanged() {
    metrics_.setFont(font_);
}

double TBaseReport::TextWidth(const QString& text) const {
    return toUnits(metrics_.width(text));
}

double TBaseReport::drawText(double xInches, const QString& text) {
    const double width = metrics_.width(text);
    if (text.isEmpty()) return 0;
    syncFont();
    syncTextMode();
    const double scale = scaleX_ / 100.0;
    emitOp(TextOp{static_cast<float>(pageX(xInches)), static_cast<float>(pageY(y_)),
                  static_cast<float>(width * scale), text});
    return width;
}

void TBaseReport::printSegment(const QString& text) {
    if (!cellPending_ || tabIndex_ < 0) {
        x_ += drawText(x_, text);
        return;
    }
    cellPending_ = false;
    const TabStop& stop = tabs_.stops()[static_cast<std::size_t>(tabIndex_)];
    const double inner = stop.left + stop.margin;
    const double innerRight = stop.right() - stop.margin;
    const double width = metrics_.width(text);
    switch (stop.justify) {
        case pjRight:
            x_ = innerRight - width;
            break;
        case pjCenter:
            x_ = (inner + innerRight - width) / 2;
            break;
        case pjBlock:
            PrintBlock(text, toUnits(inner), toUnits(innerRight - inner));
            x_ = innerRight;
            return;
        default:
            x_ = inner;
            break;
    }
    x_ += drawText(x_, text);
}

void TBaseReport::Print(const QString& text) {
    requirePrinting();
    const QStringList parts = text.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) Tab();
        printSegment(parts[i]);
    }
}

void TBaseReport::Println(const QString& text) {
    Print(text);
    NewLine();
}

void TBaseReport::PrintLeft(const QString& text, double x) {
    requirePrinting();
    cellPending_ = false;
    const double left = toInches(x);
    x_ = left + drawText(left, text);
}

void TBaseReport::PrintCenter(const QString& text, double x) {
    requirePrinting();
    cellPending_ = false;
    const double left = toInches(x) - metrics_.width(text) / 2;
    x_ = left + drawText(left, text);
}

void TBaseReport::PrintRight(const QString& text, double x) {
    requirePrinting();
    cellPending_ = false;
    const double left = toInches(x) - metrics_.width(text);
    x_ = left + drawText(left, text);
}

void TBaseReport::PrintBlock(const QString& text, double x, double width) {
    requirePrinting();
    cellPending_ = false;
    const double left = toInches(x);
    const double room = toInches(width);
    // Words when the text has spaces, otherwise its characters; the leftover room is shared
    // out evenly between them.
    QStringList pieces = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (pieces.size() == 1) {
        pieces.clear();
        const QList<uint> codes = text.toUcs4();
        for (uint c : codes) {
            const char32_t ch = c;
            pieces << QString::fromUcs4(&ch, 1);
        }
    }
    if (pieces.isEmpty()) return;
    if (pieces.size() == 1) {
        x_ = left + drawText(left, pieces.front());
        return;
    }
    double used = 0;
    for (const QString& p : pieces)
        used += metrics_.width(p);
    const double gap = (room - used) / static_cast<double>(pieces.size() - 1);
    double at = left;
    for (const QString& p : pieces)
        at += drawText(at, p) + gap;
    x_ = left + room;
}

void TBaseReport::TextRect(double x1, double y1, double x2, double y2, double x,
                           const QString& text) {
    requirePrinting();
    cellPending_ = false;
    const double left = toInches(x);
    const double width = metrics_.width(text);
    x_ = left + width;
    if (text.isEmpty()) return;
    syncFont();
    syncTextMode();
    ClipTextOp op;
    op.x = static_cast<float>(pageX(left));
    op.y = static_cast<float>(pageY(y_));
    op.width = static_cast<float>(width * scaleX_ / 100.0);
    op.left = static_cast<float>(pageX(toInches(std::min(x1, x2))));
    op.right = static_cast<float>(pageX(toInches(std::max(x1, x2))));
    op.top = static_cast<float>(pageY(toInches(std::min(y1, y2))));
    op.bottom = static_cast<float>(pageY(toInches(std::max(y1, y2))));
    op.text = text;
    emitOp(op);
}

}  // namespace qb
