// The page a letter is laid out on, in twips (1/1440 inch), and the length units of the
// document model.
#pragma once

class QTextDocument;

namespace qb::richtext {

// Lengths inside the document's formats (indents, spacing, tab stops) are kept in Qt's document
// unit, 1/96 inch, so that the editor shows them at their size on screen; RTF and the paginator
// work in twips.
inline constexpr double kTwipsPerUnit = 15.0;
inline constexpr int kTwipsPerInch = 1440;

inline double twipsToUnits(int twips) {
    return twips / kTwipsPerUnit;
}
int unitsToTwips(double units);

struct PageSettings {  // twips; a new letter: Letter paper, 1-inch margins
    int paperWidth = 12240, paperHeight = 15840;
    int marginLeft = 1440, marginTop = 1440, marginRight = 1440, marginBottom = 1440;

    int textWidth() const { return paperWidth - marginLeft - marginRight; }
    int textHeight() const { return paperHeight - marginTop - marginBottom; }
    // Text area under half an inch either way, or any zero/negative size: nothing can be laid
    // out on such a page, so it is refused rather than paged.
    bool degenerate() const;

    bool operator==(const PageSettings&) const = default;
};

// A new letter's document: Times New Roman 12 and no frame margin of Qt's own, since the
// page margins come from PageSettings.
void prepareLetterDocument(QTextDocument& doc);

}  // namespace qb::richtext
