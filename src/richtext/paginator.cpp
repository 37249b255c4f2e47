// The paginator: each paragraph laid out once in twips on a 1440-dots-per-inch device, its
// lines given to pages whole, and each page drawn line by line from those layouts.
#include "richtext/paginator.h"

#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace qb::richtext {
namespace {

// A device that is never painted on: it only tells the layout to size fonts at one twip per
// dot, so that every width and height comes out in twips.
class TwipsDevice final : public QPaintDevice {
  public:
    QPaintEngine* paintEngine() const override { return nullptr; }

  protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return kTwipsPerInch;
            case PdmWidth:
            case PdmHeight:
                return 31680;
            case PdmWidthMM:
            case PdmHeightMM:
                return 559;
            case PdmDepth:
                return 32;
            case PdmNumColors:
                return 1 << 24;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return int(devicePixelRatioFScale());
            default:
                return 0;
        }
    }
};

const TwipsDevice& twipsDevice() {
    static const TwipsDevice device;
    return device;
}

// Between tab stops, and past the last one, RTF steps by half an inch.
constexpr double kDefaultTabUnits = 720 / kTwipsPerUnit;
// A line never gets narrower than a quarter inch, however the indents add up.
constexpr double kMinLineWidth = 360;

}  // namespace

struct Paginator::Layout {
    struct Placed {
        int layout;
        int line;
        double top;  // the line's top on its page, from the paper's top edge
    };
    struct Page {
        int start = 0;
        std::vector<Placed> lines;
    };
    PageSettings page;
    // One layout per paragraph, or two when its first line needs tab stops of its own.
    std::vector<std::unique_ptr<QTextLayout>> layouts;
    std::vector<Page> pages;

    void layOut(const QTextDocument& doc);
};

// Qt counts tab stops from the start of each line, RTF from the text margin: the stops are
// shifted by the line's indent. Past the last stop, RTF's default stops every half inch from
// the margin are listed too, so they do not start over at the indent either.
static QList<QTextOption::Tab> tabsFromLineStart(const QList<QTextOption::Tab>& stops, double lineX,
                                                 double textWidth) {
    QList<QTextOption::Tab> shifted;
    const double shift = lineX / kTwipsPerUnit;
    double last = 0;
    for (const QTextOption::Tab& stop : stops) {
        last = std::max(last, stop.position);
        if (stop.position - shift > 0) {
            QTextOption::Tab moved = stop;
            moved.position -= shift;
            shifted.append(moved);
        }
    }
    const double step = kDefaultTabUnits;
    for (double at = (std::floor(last / step) + 1) * step; at * kTwipsPerUnit < textWidth;
         at += step)
        if (at - shift > 0) shifted.append(QTextOption::Tab(at - shift, QTextOption::LeftTab));
    return shifted;
}

void Paginator::Layout::layOut(const QTextDocument& doc) {
    const double textHeight = page.textHeight();
    const double textWidth = page.textWidth();
    double y = 0;  // down the current page's text area
    auto newPage = [&](int start) {
        pages.push_back(Page{start, {}});
        y = 0;
    };
    newPage(0);
    const QFont base = doc.defaultFont();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        const QString text = block.text();
        const QFont blockFont = block.charFormat().font().resolve(base);
        QList<QTextLayout::FormatRange> ranges;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                ranges.append({fragment.position() - block.position(), fragment.length(),
                               fragment.charFormat()});
        }
        // A hanging first line also stops at the left indent, as word processors do.
        QList<QTextOption::Tab> stops = format.tabPositions();
        if (format.textIndent() < 0 && format.leftMargin() > 0) {
            const QTextOption::Tab indentStop(format.leftMargin(), QTextOption::LeftTab);
            const auto at = std::lower_bound(
                stops.begin(), stops.end(), indentStop,
                [](const auto& a, const auto& b) { return a.position < b.position; });
            if (at == stops.end() || at->position != indentStop.position)
                stops.insert(at, indentStop);
        }
        const double left = format.leftMargin() * kTwipsPerUnit;
        const double right = format.rightMargin() * kTwipsPerUnit;
        const double first = format.textIndent() * kTwipsPerUnit;

        // Lays out the text from `from` on: the first line at firstX, the others at restX, tab
        // stops counted from restX. When the first line starts elsewhere and holds a tab, it
        // gets a layout of its own (maxLines 1) with stops counted from its own start.
        auto segment = [&](int from, double firstX, double restX, int maxLines) {
            auto layout = std::make_unique<QTextLayout>(text.mid(from), blockFont, &twipsDevice());
            QList<QTextLayout::FormatRange> shifted;
            for (QTextLayout::FormatRange r : ranges) {
                const int end = r.start + r.length;
                r.start = std::max(r.start, from) - from;
                r.length = end - from - r.start;
                if (r.length > 0) shifted.append(r);
            }
            layout->setFormats(shifted);
            QTextOption option;
            option.setAlignment(format.alignment());
            option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            option.setTabStopDistance(kDefaultTabUnits);
            option.setTabs(tabsFromLineStart(stops, restX, textWidth));
            layout->setTextOption(option);
            layout->setCacheEnabled(true);
            layout->beginLayout();
            double lineY = 0;
            for (int n = 0; n < maxLines; ++n) {
                QTextLine line = layout->createLine();
                if (!line.isValid()) break;
                const double x = n == 0 ? firstX : restX;
                line.setLeadingIncluded(true);
                line.setLineWidth(std::max(kMinLineWidth, textWidth - x - right));
                line.setPosition(QPointF(x, lineY));
                lineY += line.height();
            }
            layout->endLayout();
            return layout;
        };
        std::vector<std::unique_ptr<QTextLayout>> parts;
        if (first != 0 && text.contains(QLatin1Char('\t'))) {
            parts.push_back(segment(0, left + first, left + first, 1));
            const QTextLine line = parts.back()->lineAt(0);
            const int rest = line.textStart() + line.textLength();
            if (rest < text.size()) parts.push_back(segment(rest, left, left, INT_MAX));
        } else {
            parts.push_back(segment(0, left + first, left, INT_MAX));
        }

        const bool breakBefore = format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
        if (breakBefore && !pages.back().lines.empty()) newPage(block.position());
        if (y > 0) y += format.topMargin() * kTwipsPerUnit;
        int offset = 0;
        for (auto& part : parts) {
            for (int n = 0; n < part->lineCount(); ++n) {
                const QTextLine line = part->lineAt(n);
                // A line that does not fit goes whole to the next page; a page always takes at
                // least one line, so a line taller than the page cannot stall the paging.
                if (y + line.height() > textHeight && !pages.back().lines.empty())
                    newPage(block.position() + offset + line.textStart());
                pages.back().lines.push_back({int(layouts.size()), n, page.marginTop + y});
                y += line.height();
            }
            if (part->lineCount() > 0) {
                const QTextLine last = part->lineAt(part->lineCount() - 1);
                offset += last.textStart() + last.textLength();
            }
            layouts.push_back(std::move(part));
        }
        y += format.bottomMargin() * kTwipsPerUnit;
    }
}

Paginator::Paginator(const QTextDocument& doc, const PageSettings& page)
    : d_(std::make_unique<Layout>()) {
    d_->page = page;
    if (!page.degenerate()) d_->layOut(doc);
}

Paginator::~Paginator() = default;

int Paginator::pageCount() const {
    return int(d_->pages.size());
}

QList<int> Paginator::pageStarts() const {
    QList<int> starts;
    starts.reserve(qsizetype(d_->pages.size()));
    for (const Layout::Page& p : d_->pages)
        starts.append(p.start);
    return starts;
}

void Paginator::drawPage(QPainter& painter, int index) const {
    if (index < 0 || index >= pageCount()) return;
    for (const Layout::Placed& placed : d_->pages[size_t(index)].lines) {
        const QTextLine line = d_->layouts[size_t(placed.layout)]->lineAt(placed.line);
        line.draw(&painter, QPointF(d_->page.marginLeft, placed.top - line.y()));
    }
}

}  // namespace qb::richtext
