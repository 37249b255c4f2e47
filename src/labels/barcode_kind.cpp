// The barcode choice of a setup and the drawing of either kind.
#include "labels/barcode_kind.h"

#include "labels/bar_section.h"
#include "labels/imb.h"
#include "labels/imb_mailer.h"
#include "labels/postnet.h"
#include "output/base_report.h"

namespace qb::labels {

QString barcodeKindWord(BarcodeKind kind) {
    switch (kind) {
        case BarcodeKind::None:
            return QStringLiteral("none");
        case BarcodeKind::Postnet:
            return QStringLiteral("postnet");
        case BarcodeKind::Imb:
            return QStringLiteral("imb");
    }
    return {};
}

std::optional<BarcodeKind> barcodeKindFromWord(const QString& word) {
    for (BarcodeKind k : {BarcodeKind::None, BarcodeKind::Postnet, BarcodeKind::Imb})
        if (word.trimmed().compare(barcodeKindWord(k), Qt::CaseInsensitive) == 0) return k;
    return std::nullopt;
}

BarcodeKind savedBarcodeKind(const Settings& settings, const char* section, const QString& descript,
                             bool tableSaysBarcode) {
    if (!tableSaysBarcode) return BarcodeKind::None;
    const QString word =
        settings.readText(QLatin1String(section), descript.trimmed(), QStringLiteral("postnet"));
    const std::optional<BarcodeKind> kind = barcodeKindFromWord(word);
    return kind && *kind != BarcodeKind::None ? *kind : BarcodeKind::Postnet;
}

bool saveBarcodeKind(const Settings& settings, const char* section, const QString& descript,
                     BarcodeKind kind) {
    return settings.writeText(QLatin1String(section), descript.trimmed(), barcodeKindWord(kind));
}

BarFigure layOutImbBars(const QString& bars, double pitch, double fullHeight, double trackerHeight,
                        double penWidth, double x, double y) {
    BarFigure f;
    f.penWidth = penWidth;
    const double middle = y + fullHeight / 2;
    const double bottom = y + fullHeight;
    for (qsizetype i = 0; i < bars.size(); ++i) {
        const QChar c = bars[i];
        const bool up = c == u'F' || c == u'A';
        const bool down = c == u'F' || c == u'D';
        f.bars.push_back({x + double(i) * pitch, up ? y : middle - trackerHeight / 2,
                          down ? bottom : middle + trackerHeight / 2});
    }
    f.width = double(bars.size()) * pitch;
    f.height = fullHeight;
    return f;
}

BarFigure designerImbPicture() {
    const QString bars =
        imbBars(QStringLiteral("01234567094987654321"), QStringLiteral("01234567891"));
    return layOutImbBars(bars, 4, 14, 4, 2, 2, 0);
}

bool drawBarcode(TBaseReport& r, BarcodeKind kind, const QString& zip, const QString& street,
                 ImbMailer* mailer) {
    if (kind == BarcodeKind::None || !zipQualifiesForBarcode(zip)) return true;
    if (kind == BarcodeKind::Postnet) {
        drawPostnet(r, zip, street);
        return true;
    }
    if (!mailer) return false;
    const QString routing = imbRoutingCode(zip, street);
    const ImbTracking tracking = mailer->take();
    if (!imbRefusal(tracking, routing).isEmpty()) return false;
    const QString bars = imbBars(tracking.code(), routing);
    r.SetPen(Qt::black, psSolid, -kImbPenHundredths, pmCopy);
    const double x = r.XPos();
    const double top = r.YPos();
    // Taller than POSTNET by this much, and on the same bottom line.
    const double y = top - (kImbFullHeight - kPrintedBars.tallHeight);
    const BarFigure figure = layOutImbBars(bars, kImbPitch, kImbFullHeight, kImbTrackerHeight,
                                           kImbPenHundredths / 100.0, x, y);
    for (const Bar& bar : figure.bars) {
        r.MoveTo(bar.x, bar.top);
        r.LineTo(bar.x, bar.bottom);
    }
    r.GotoXY(x + figure.width, top);
    return true;
}

}  // namespace qb::labels
