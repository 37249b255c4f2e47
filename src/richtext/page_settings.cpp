// Page settings checks and the document defaults of a new letter.
#include "richtext/page_settings.h"

#include <QFont>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextFrameFormat>
#include <cmath>

namespace qb::richtext {

int unitsToTwips(double units) {
    return static_cast<int>(std::lround(units * kTwipsPerUnit));
}

bool PageSettings::degenerate() const {
    constexpr int kHalfInch = kTwipsPerInch / 2;
    if (paperWidth <= 0 || paperHeight <= 0) return true;
    if (marginLeft < 0 || marginTop < 0 || marginRight < 0 || marginBottom < 0) return true;
    return textWidth() < kHalfInch || textHeight() < kHalfInch;
}

void prepareLetterDocument(QTextDocument& doc) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(12);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
}

}  // namespace qb::richtext
