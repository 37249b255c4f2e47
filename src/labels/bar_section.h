// The POSTNET barcode drawn through the report output engine, for labels and envelopes.
#pragma once

#include <QString>

namespace qb {
class TBaseReport;
}

namespace qb::labels {

// Whether a record with this ZIP gets a barcode when its setup asks for one.
bool barcodeWanted(bool setupAsks, const QString& zip);

// Draws the barcode of `text` (the ZIP, with delivery-point digits already appended where
// they belong) at the engine's cursor, which is its top-left corner; the cursor ends one bar
// pitch right of the closing frame bar, on the same y.
void BarSection(TBaseReport& report, const QString& text);

// The barcode of a contact: the barcode text built from its ZIP and street, drawn at the
// cursor. Nothing is drawn for a ZIP that does not qualify.
void drawPostnet(TBaseReport& report, const QString& zip, const QString& street);

}  // namespace qb::labels
