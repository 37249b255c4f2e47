// Reading and writing label setups.
#include "labels/label_setup.h"

#include <cmath>

namespace qb::labels {

namespace {

QString textOf(const xb::WorkArea& t, const char* field, int width) {
    return QString::fromStdString(t.getText(field)).left(width);
}

void putText(xb::WorkArea& t, const char* field, const QString& value, int width) {
    t.putText(field, value.left(width).toStdString());
}

void putInches(xb::WorkArea& t, const char* field, float value) {
    t.putNumber(field, roundToThousandths(value));
}

}  // namespace

double roundToThousandths(double value) {
    if (!std::isfinite(value)) return 0;
    return QString::number(value, 'f', 3).toDouble();
}

bool isLandscapePaper(const QString& paperCode) {
    return paperCode == u"LTRL" || paperCode == u"A4L" || paperCode == u"USERL";
}

LabelSetup ReadLabelSetup(const xb::WorkArea& t) {
    LabelSetup s;
    if (!t.isOpen() || t.eof()) return s;
    auto real = [&](const char* f) { return float(t.getNumber(f)); };
    auto count = [&](const char* f) { return int(std::lround(t.getNumber(f))); };
    s.descript = textOf(t, "DESCRIPT", kDescriptWidth);
    s.userLabelName = textOf(t, "USERLABELN", kUserLabelNameWidth);
    s.printerType = textOf(t, "PRINTERTYP", kPrinterTypeWidth);
    s.fontName = textOf(t, "FONTNAME", kFontNameWidth);
    s.fontSize = count("FONTSIZE");
    s.fontBold = t.getLogical("FONTBOLD");
    s.fontItalic = t.getLogical("FONTITALIC");
    s.xOffset = real("XOFFSET");
    s.yOffset = real("YOFFSET");
    s.barcode = t.getLogical("BARCODE");
    s.contents.name = t.getLogical("NAME");
    s.contents.title = t.getLogical("TITLE");
    s.contents.company = t.getLogical("COMPANY");
    s.contents.street = t.getLogical("STREET");
    s.contents.cityState = t.getLogical("CITYSTATE");
    s.contents.zip = t.getLogical("ZIP");
    s.contents.phone = t.getLogical("PHONE");
    s.contents.country = t.getLogical("COUNTRY");
    s.contents.zipOption = count("ZIPOPTIONS");
    s.contents.upperCase = t.getLogical("UPPERCASE");
    s.lblHeight = real("LBLHEIGHT");
    s.lblWidth = real("LBLWIDTH");
    s.nbrAcross = count("NBRACROSS");
    s.nbrDown = count("NBRDOWN");
    s.topMarg = real("TOPMARG");
    s.leftMarg = real("LEFTMARG");
    s.horizPitch = real("HORIZPITCH");
    s.vertPitch = real("VERTPITCH");
    s.sheetWidth = real("SHEETWIDTH");
    s.sheetDepth = real("SHEETDEPTH");
    s.paperSize = textOf(t, "PAPERSIZE", kPaperSizeWidth);
    s.trimText = t.getLogical("TRIMTEXT");
    return s;
}

void WriteLabelSetup(xb::WorkArea& t, const LabelSetup& s) {
    putText(t, "DESCRIPT", s.descript, kDescriptWidth);
    putText(t, "USERLABELN", s.userLabelName, kUserLabelNameWidth);
    putText(t, "PRINTERTYP", s.printerType, kPrinterTypeWidth);
    putText(t, "FONTNAME", s.fontName, kFontNameWidth);
    t.putNumber("FONTSIZE", s.fontSize);
    t.putLogical("FONTBOLD", s.fontBold);
    t.putLogical("FONTITALIC", s.fontItalic);
    putInches(t, "XOFFSET", s.xOffset);
    putInches(t, "YOFFSET", s.yOffset);
    t.putLogical("BARCODE", s.barcode);
    t.putLogical("NAME", s.contents.name);
    t.putLogical("TITLE", s.contents.title);
    t.putLogical("COMPANY", s.contents.company);
    t.putLogical("STREET", s.contents.street);
    t.putLogical("CITYSTATE", s.contents.cityState);
    t.putLogical("ZIP", s.contents.zip);
    t.putLogical("PHONE", s.contents.phone);
    t.putLogical("COUNTRY", s.contents.country);
    t.putNumber("ZIPOPTIONS", s.contents.zipOption);
    t.putLogical("UPPERCASE", s.contents.upperCase);
    putInches(t, "LBLHEIGHT", s.lblHeight);
    putInches(t, "LBLWIDTH", s.lblWidth);
    t.putNumber("NBRACROSS", s.nbrAcross);
    t.putNumber("NBRDOWN", s.nbrDown);
    putInches(t, "TOPMARG", s.topMarg);
    putInches(t, "LEFTMARG", s.leftMarg);
    putInches(t, "HORIZPITCH", s.horizPitch);
    putInches(t, "VERTPITCH", s.vertPitch);
    putInches(t, "SHEETWIDTH", s.sheetWidth);
    putInches(t, "SHEETDEPTH", s.sheetDepth);
    putText(t, "PAPERSIZE", s.paperSize, kPaperSizeWidth);
    t.putLogical("TRIMTEXT", s.trimText);
}

}  // namespace qb::labels
