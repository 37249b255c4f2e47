// A label setup: the stock copied from a label definition, the font, the text offsets, the
// contents and the barcode choice, as one record; read from and written to QBMLSU.DBF.
#pragma once

#include <QString>

#include "labels/barcode_kind.h"
#include "labels/label_lines.h"
#include "xbase/work_area.h"

namespace qb::labels {

inline constexpr const char* kLabelSetupFileName = "QBMLSU.DBF";

// Text members never hold more than their field's width.
inline constexpr int kDescriptWidth = 50;
inline constexpr int kUserLabelNameWidth = 60;
inline constexpr int kPrinterTypeWidth = 2;
inline constexpr int kFontNameWidth = 50;
inline constexpr int kPaperSizeWidth = 5;

struct LabelSetup {
    QString descript = QStringLiteral("Default Label Setup");
    QString userLabelName = QStringLiteral("Avery 5160  Address,   1.00 x 2.63");
    QString printerType = QStringLiteral("LJ");
    QString fontName = QStringLiteral("Arial");
    int fontSize = 10;
    bool fontBold = false;
    bool fontItalic = false;
    float xOffset = 0.25f;
    float yOffset = 0.25f;
    bool barcode = false;
    // Which barcode `barcode` prints; kept in the settings file, not in the table.
    BarcodeKind barcodeKind = BarcodeKind::Postnet;
    // name, title, company, street, city+state, zip, phone, country, zip placement, capitals
    AddressContents contents;
    float lblHeight = 1.0f;
    float lblWidth = 2.625f;
    int nbrAcross = 3;
    int nbrDown = 10;
    float topMarg = 0.5f;
    float leftMarg = 0.188f;
    float horizPitch = 2.75f;
    float vertPitch = 1.0f;
    float sheetWidth = 8.5f;
    float sheetDepth = 11.0f;
    QString paperSize = QStringLiteral("LTR");
    bool trimText = true;

    bool operator==(const LabelSetup&) const = default;
};

// Reals go to the tables through fixed-point text with three decimals.
double roundToThousandths(double value);

// The setup of the table's current row, or the default setup when there is none (an empty
// table, or one positioned past its end).
LabelSetup ReadLabelSetup(const xb::WorkArea& table);

// Writes every field of the setup into the current (edited or appended) row; the caller posts.
void WriteLabelSetup(xb::WorkArea& table, const LabelSetup& setup);

// Paper codes of landscape stock: the long side is the sheet's width.
bool isLandscapePaper(const QString& paperCode);

}  // namespace qb::labels
