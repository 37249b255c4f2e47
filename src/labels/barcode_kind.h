// Which barcode a setup prints (none, POSTNET, Intelligent Mail), kept in the settings file
// keyed by the setup's description so the setup tables keep their layout; and the one call
// labels and envelopes use to draw the chosen barcode.
#pragma once

#include <QString>
#include <optional>

#include "labels/bar_figure.h"
#include "store/settings.h"

namespace qb {
class TBaseReport;
}

namespace qb::labels {

struct ImbMailer;

enum class BarcodeKind { None, Postnet, Imb };

// "none", "postnet", "imb" and back; nullopt for any other word.
QString barcodeKindWord(BarcodeKind kind);
std::optional<BarcodeKind> barcodeKindFromWord(const QString& word);

// A setup whose table says "barcode" prints the kind saved for its description, POSTNET when
// none was saved (as every setup did before the choice existed). `section` tells label setups
// ("LabelBarcode") from envelope setups ("EnvelopeBarcode").
inline constexpr const char* kLabelBarcodeSection = "LabelBarcode";
inline constexpr const char* kEnvelopeBarcodeSection = "EnvelopeBarcode";
BarcodeKind savedBarcodeKind(const Settings& settings, const char* section, const QString& descript,
                             bool tableSaysBarcode);
bool saveBarcodeKind(const Settings& settings, const char* section, const QString& descript,
                     BarcodeKind kind);

// Labels at least this wide have room for the longest POSTNET barcode.
inline constexpr double kPostnetMinLabelWidth = 3.0;

// Printed Intelligent Mail bars, in inches: 65 bars at 22 to the inch, 0.02 inch wide, full
// bars 0.145 inch and trackers 0.05 inch high.
inline constexpr double kImbPitch = 1.0 / 22;
inline constexpr double kImbFullHeight = 0.145;
inline constexpr double kImbTrackerHeight = 0.05;
inline constexpr int kImbPenHundredths = 2;

// From the first bar's left edge to the last bar's right edge.
inline constexpr double kImbLength = 64 * kImbPitch + kImbPenHundredths / 100.0;

// Lays out bars given as F, A, D, T letters from the figure's top-left corner.
BarFigure layOutImbBars(const QString& bars, double pitch, double fullHeight, double trackerHeight,
                        double penWidth, double x = 0, double y = 0);
// The designer's picture of an Intelligent Mail barcode, in screen pixels: 260 by 14.
BarFigure designerImbPicture();

// Draws the barcode of a contact at the engine's cursor, whose y is where a POSTNET barcode's
// top goes; both kinds end on the same bottom line. An Intelligent Mail barcode takes the
// mailer's next tracking code. Nothing is drawn when the ZIP does not qualify. Returns false
// only when the Intelligent Mail codes were refused (nothing drawn).
bool drawBarcode(TBaseReport& report, BarcodeKind kind, const QString& zip, const QString& street,
                 ImbMailer* mailer);

}  // namespace qb::labels
