// Label definitions: table rows, the paper list, units and checks.
#include "labels/label_definition.h"

#include <array>
#include <cmath>

#include "labels/label_offsets.h"

namespace qb::labels {

namespace {

const std::array<PaperEntry, 7> kPapers = {{
    {"Letter (8.5 x 11\")", "LTR", 8.5, 11},
    {"Letter Landscape (11 x 8.5\")", "LTRL", 11, 8.5},
    {"A4 (210 x 297mm)", "A4", 8.27, 11.69},
    {"A4 Landscape ( 297 x 210mm)", "A4L", 11.69, 8.27},
    {"A5 (148 x 210mm)", "A5", 5.82, 8.27},
    {"Other Portrait (User Defined)", "USERP", 0, 0},
    {"Other Landscape (User Defined)", "USERL", 0, 0},
}};

}  // namespace

LabelDefinition readLabelDefinition(const xb::WorkArea& t) {
    LabelDefinition d;
    if (!t.isOpen() || t.eof()) return d;
    auto text = [&](const char* f) { return QString::fromStdString(t.getText(f)); };
    d.description = text("USERDESC").left(kUserDescWidth);
    d.height = t.getNumber("LBLHEIGHT");
    d.width = t.getNumber("LBLWIDTH");
    d.across = int(std::lround(t.getNumber("NBRACROSS")));
    d.down = int(std::lround(t.getNumber("NBRDOWN")));
    d.topMargin = t.getNumber("TOPMARG");
    d.leftMargin = t.getNumber("LEFTMARG");
    d.horizPitch = t.getNumber("HORIZPITCH");
    d.vertPitch = t.getNumber("VERTPITCH");
    d.sheetWidth = t.getNumber("SHEETWIDTH");
    d.sheetDepth = t.getNumber("SHEETDEPTH");
    d.printer = text("PRINTER");
    d.paperSize = text("PAPERSIZE");
    d.userDefined = t.getLogical("USERDEF");
    return d;
}

void writeLabelDefinition(xb::WorkArea& t, const LabelDefinition& d, bool withUserDef) {
    t.putText("USERDESC", d.description.left(kUserDescWidth).toStdString());
    t.putNumber("LBLHEIGHT", roundToThousandths(d.height));
    t.putNumber("LBLWIDTH", roundToThousandths(d.width));
    t.putNumber("NBRACROSS", d.across);
    t.putNumber("NBRDOWN", d.down);
    t.putNumber("TOPMARG", roundToThousandths(d.topMargin));
    t.putNumber("LEFTMARG", roundToThousandths(d.leftMargin));
    t.putNumber("HORIZPITCH", roundToThousandths(d.horizPitch));
    t.putNumber("VERTPITCH", roundToThousandths(d.vertPitch));
    t.putNumber("SHEETWIDTH", roundToThousandths(d.sheetWidth));
    t.putNumber("SHEETDEPTH", roundToThousandths(d.sheetDepth));
    t.putText("PRINTER", d.printer.left(2).toStdString());
    t.putText("PAPERSIZE", d.paperSize.left(kPaperSizeWidth).toStdString());
    if (withUserDef) t.putLogical("USERDEF", d.userDefined);
}

void copyDefinitionIntoSetup(const LabelDefinition& d, LabelSetup& s) {
    s.lblHeight = float(d.height);
    s.lblWidth = float(d.width);
    s.nbrAcross = d.across;
    s.nbrDown = d.down;
    s.topMarg = float(d.topMargin);
    s.leftMarg = float(d.leftMargin);
    s.horizPitch = float(d.horizPitch);
    s.vertPitch = float(d.vertPitch);
    s.sheetWidth = float(d.sheetWidth);
    s.sheetDepth = float(d.sheetDepth);
    s.paperSize = d.paperSize.left(kPaperSizeWidth);
    s.userLabelName = d.description.left(kUserLabelNameWidth);
    s.printerType = d.printer.left(kPrinterTypeWidth);
}

std::span<const PaperEntry> paperEntries() {
    return kPapers;
}

int paperEntryForCode(const QString& code) {
    if (code == u"USER") return 5;
    for (size_t i = 0; i < kPapers.size(); ++i)
        if (code == QLatin1String(kPapers[i].code)) return int(i);
    return -1;
}

QString formatLength(double value, LengthUnit unit) {
    return QString::number(value, 'f', unit == LengthUnit::Inches ? 3 : 0);
}

double convertShown(double shown, LengthUnit from, LengthUnit to) {
    if (from == to) return shown;
    return to == LengthUnit::Millimetres ? shown * kMillimetresPerInch
                                         : shown * kInchesPerMillimetre;
}

double shownToInches(double shown, LengthUnit unit) {
    if (unit == LengthUnit::Inches) return shown;
    return roundToThousandths(shown * kInchesPerMillimetre);
}

QString labelStockFault(const LabelDefinition& d) {
    // Written as "not at least" so that a value that is no number at all fails too.
    if (!(d.height >= 0.3))
        return QStringLiteral("Label Height must be at least .3 inches (or 7mm)");
    if (!(d.width >= 0.5)) return QStringLiteral("Label Width must be at least .5 inch (or 13mm)");
    if (d.across < 1 || d.across > kMostAcross)
        return QStringLiteral("Number Across must be from 1 to %1").arg(kMostAcross);
    if (d.down < 1 || d.down > kMostDown)
        return QStringLiteral("Number Down must be from 1 to %1").arg(kMostDown);
    if (d.across > 1 && !(d.horizPitch >= d.width))
        return QStringLiteral("Horizontal Pitch must be at least = Label Width");
    if (d.down > 1 && !(d.vertPitch >= d.height))
        return QStringLiteral("Vertical Pitch must be at least = Label Height");
    if (!(d.leftMargin >= 0)) return QStringLiteral("Left Margin must not be negative");
    if (!(d.topMargin >= 0)) return QStringLiteral("Top Margin must not be negative");
    if (!(d.sheetWidth >= 0.3)) return QStringLiteral("Page Width must be at least .3 inch");
    if (!(d.sheetDepth >= 0.3)) return QStringLiteral("Page Height must be at least .3 inches");
    return {};
}

QString ValidLabel(const LabelDefinition& d) {
    if (QString fault = labelStockFault(d); !fault.isEmpty()) return fault;
    if (d.description.trimmed().isEmpty()) return QStringLiteral("You must provide a description");
    return {};
}

QString labelSetupFault(const LabelSetup& s) {
    LabelDefinition stock;
    stock.height = s.lblHeight;
    stock.width = s.lblWidth;
    stock.across = s.nbrAcross;
    stock.down = s.nbrDown;
    stock.topMargin = s.topMarg;
    stock.leftMargin = s.leftMarg;
    stock.horizPitch = s.horizPitch;
    stock.vertPitch = s.vertPitch;
    stock.sheetWidth = s.sheetWidth;
    stock.sheetDepth = s.sheetDepth;
    if (QString fault = labelStockFault(stock); !fault.isEmpty()) return fault;
    if (s.fontSize < kSmallestFontSize || s.fontSize > kLargestFontSize)
        return QStringLiteral("Font size must be from %1 to %2 points")
            .arg(kSmallestFontSize)
            .arg(kLargestFontSize);
    if (!(s.xOffset >= 0) || !(s.yOffset >= 0))
        return QStringLiteral("The text offsets must not be negative");
    return {};
}

}  // namespace qb::labels
