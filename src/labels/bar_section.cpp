// Replaying the POSTNET bar figure with the engine's pen and lines.
#include "labels/bar_section.h"

#include "labels/bar_figure.h"
#include "labels/postnet.h"
#include "output/base_report.h"

namespace qb::labels {

bool barcodeWanted(bool setupAsks, const QString& zip) {
    return setupAsks && zipQualifiesForBarcode(zip);
}

void BarSection(TBaseReport& r, const QString& text) {
    // A negative width is in hundredths of an inch: the bars print one hundredth wide.
    r.SetPen(Qt::black, psSolid, -kPenHundredths, pmCopy);
    const double x = r.XPos();
    const double y = r.YPos();
    const BarFigure figure = layOutBars(postnetBars(barcodeDigits(text)), kPrintedBars, x, y);
    for (const Bar& bar : figure.bars) {
        r.MoveTo(bar.x, bar.top);
        r.LineTo(bar.x, bar.bottom);
    }
    r.GotoXY(x + figure.width, y);
}

void drawPostnet(TBaseReport& r, const QString& zip, const QString& street) {
    if (!zipQualifiesForBarcode(zip)) return;
    BarSection(r, barcodeText(zip, street));
}

}  // namespace qb::labels
