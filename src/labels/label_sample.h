// The designer's sample label: the setup's lines drawn on a picture of one label at screen
// size, with the font, offsets and barcode picture where printing will put them.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QStringList>
#include <optional>

#include "labels/label_setup.h"

namespace qb::labels {

// Characters per inch of a dot-matrix printer font named like "Roman 10CPI": the number just
// before "CPI", read backwards up to a point, so "16.67CPI" reads 16. Nothing for other names.
std::optional<int> cpiOfFontName(const QString& name);

// The screen font of the setup at dpi pixels per inch: character height size × dpi / 72
// pixels; a CPI font gets the character width of its pitch and is bold when its name says so.
QFont sampleFont(const LabelSetup& setup, double dpi);

// Pixels between the sample's lines: 120 % of the point size.
int sampleLinePitch(const LabelSetup& setup, double dpi);

// The sample picture: the label at dpi pixels per inch with the lines starting at the offset
// (in pixels), and the barcode picture above them when the setup prints one.
QImage DrawLabel(const LabelSetup& setup, const QStringList& lines, QPoint offset, double dpi);

}  // namespace qb::labels
