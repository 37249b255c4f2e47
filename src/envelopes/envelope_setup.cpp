// Reading and writing envelope setups.
#include "envelopes/envelope_setup.h"

#include <cmath>

#include "labels/label_setup.h"

namespace qb::envelopes {

namespace {

QString textOf(const xb::WorkArea& t, const char* field, int width) {
    return QString::fromStdString(t.getText(field)).left(width);
}

void putText(xb::WorkArea& t, const char* field, const QString& value, int width) {
    t.putText(field, value.left(width).toStdString());
}

void putInches(xb::WorkArea& t, const char* field, double value) {
    t.putNumber(field, labels::roundToThousandths(value));
}

struct FontFields {
    const char* name;
    const char* size;
    const char* bold;
    const char* italic;
};
constexpr FontFields kReturnFont{"RETFNAME", "RETFSIZE", "RETFBOLD", "RETFITALIC"};
constexpr FontFields kMessageFont{"MESSFNAME", "MESSFSIZE", "MESSFBOLD", "MESSFITAL"};
constexpr FontFields kDeliveryFont{"DELFNAME", "DELFSIZE", "DELFBOLD", "DELFITAL"};
constexpr const char* kReturnLineFields[kReturnLineCount] = {"RETLINE1", "RETLINE2", "RETLINE3",
                                                             "RETLINE4", "RETLINE5"};

int whole(const xb::WorkArea& t, const char* field) {
    const double v = t.getNumber(field);
    return std::isfinite(v) ? int(std::lround(v)) : 0;
}

BlockFont readFont(const xb::WorkArea& t, const FontFields& f) {
    return {textOf(t, f.name, kFontNameWidth), whole(t, f.size), t.getLogical(f.bold),
            t.getLogical(f.italic)};
}

void writeFont(xb::WorkArea& t, const FontFields& f, const BlockFont& font) {
    putText(t, f.name, font.name, kFontNameWidth);
    t.putNumber(f.size, font.size);
    t.putLogical(f.bold, font.bold);
    t.putLogical(f.italic, font.italic);
}

}  // namespace

EnvelopeSetup ReadEnvelopeSetup(const xb::WorkArea& t) {
    EnvelopeSetup s;
    if (!t.isOpen() || t.eof()) return s;
    s.descript = textOf(t, "DESCRIPT", kDescriptWidth);
    s.envName = textOf(t, "ENVNAME", kEnvNameWidth);
    s.useReturn = t.getLogical("USERETURN");
    s.useMessage = t.getLogical("USEMESSAGE");
    s.retTop = t.getNumber("RETTOP");
    s.retLeft = t.getNumber("RETLEFT");
    s.retFont = readFont(t, kReturnFont);
    for (int i = 0; i < kReturnLineCount; ++i)
        s.retLines[size_t(i)] = textOf(t, kReturnLineFields[i], kReturnLineWidth);
    s.messTop = t.getNumber("MESSTOP");
    s.messLeft = t.getNumber("MESSLEFT");
    s.messFont = readFont(t, kMessageFont);
    s.messText = textOf(t, "MESSTEXT", kMessageWidth);
    s.delTop = t.getNumber("DELTOP");
    s.delLeft = t.getNumber("DELLEFT");
    s.delFont = readFont(t, kDeliveryFont);
    s.barcode = t.getLogical("BARCODE");
    s.contents.name = t.getLogical("NAME");
    s.contents.title = t.getLogical("TITLE");
    s.contents.company = t.getLogical("COMPANY");
    s.contents.street = t.getLogical("STREET");
    s.contents.cityState = t.getLogical("CITYSTATE");
    s.contents.zip = t.getLogical("ZIP");
    s.contents.phone = t.getLogical("PHONE");
    s.contents.country = t.getLogical("COUNTRY");
    s.contents.zipOption = whole(t, "ZIPOPTIONS");
    s.contents.upperCase = t.getLogical("UPPERCASE");
    s.envWidth = t.getNumber("ENVWIDTH");
    s.envHeight = t.getNumber("ENVHEIGHT");
    s.orient = whole(t, "ORIENT");
    s.facing = whole(t, "FACING");
    s.position = whole(t, "POSITION");
    return s;
}

void WriteEnvelopeSetup(xb::WorkArea& t, const EnvelopeSetup& s) {
    putText(t, "DESCRIPT", s.descript, kDescriptWidth);
    putText(t, "ENVNAME", s.envName, kEnvNameWidth);
    t.putLogical("USERETURN", s.useReturn);
    t.putLogical("USEMESSAGE", s.useMessage);
    putInches(t, "RETTOP", s.retTop);
    putInches(t, "RETLEFT", s.retLeft);
    writeFont(t, kReturnFont, s.retFont);
    for (int i = 0; i < kReturnLineCount; ++i)
        putText(t, kReturnLineFields[i], s.retLines[size_t(i)], kReturnLineWidth);
    putInches(t, "MESSTOP", s.messTop);
    putInches(t, "MESSLEFT", s.messLeft);
    writeFont(t, kMessageFont, s.messFont);
    putText(t, "MESSTEXT", s.messText, kMessageWidth);
    putInches(t, "DELTOP", s.delTop);
    putInches(t, "DELLEFT", s.delLeft);
    writeFont(t, kDeliveryFont, s.delFont);
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
    putInches(t, "ENVWIDTH", s.envWidth);
    putInches(t, "ENVHEIGHT", s.envHeight);
    t.putNumber("ORIENT", s.orient);
    t.putNumber("FACING", s.facing);
    t.putNumber("POSITION", s.position);
}

}  // namespace qb::envelopes
