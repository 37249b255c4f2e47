// A label definition (one kind of label stock in QBMLBLS.DBF): its values, the paper-size
// list, the unit conversions of the definition editor and the checks a definition must pass.
#pragma once

#include <QString>
#include <span>

#include "labels/label_setup.h"
#include "xbase/work_area.h"

namespace qb::labels {

inline constexpr const char* kLabelStockFileName = "QBMLBLS.DBF";
inline constexpr int kUserDescWidth = 60;

struct LabelDefinition {
    QString description;
    double height = 1;
    double width = 2.625;
    int across = 3;
    int down = 10;
    double topMargin = 0.5;
    double leftMargin = 0.188;
    double horizPitch = 2.75;
    double vertPitch = 1;
    double sheetWidth = 8.5;
    double sheetDepth = 11;
    QString printer = QStringLiteral("LJ");  // "LJ" laser or inkjet, "DM" dot matrix
    QString paperSize = QStringLiteral("LTR");
    bool userDefined = false;

    bool operator==(const LabelDefinition&) const = default;
};

// The definition of the table's current row (the default values when there is none).
LabelDefinition readLabelDefinition(const xb::WorkArea& table);
// Writes the definition into the current (edited or appended) row; USERDEF only when asked,
// since editing a predefined label must not make it the user's. Lengths are rounded to
// thousandths of an inch.
void writeLabelDefinition(xb::WorkArea& table, const LabelDefinition& d, bool withUserDef);

// What a setup takes over from a chosen definition: the stock's sizes, paper, description
// and printer type.
void copyDefinitionIntoSetup(const LabelDefinition& d, LabelSetup& setup);

// ---- Paper sizes ---------------------------------------------------------------------------
struct PaperEntry {
    const char* caption;
    const char* code;
    double width;  // inches; 0 for the user-defined entries, which keep what was typed
    double height;
    bool userDefined() const { return width == 0; }
};

// The seven entries of the paper-size list, in list order.
std::span<const PaperEntry> paperEntries();
// The list entry of a stored code ("USER" selects "Other Portrait"); -1 for an unknown code.
int paperEntryForCode(const QString& code);

// ---- Units of the definition editor --------------------------------------------------------
enum class LengthUnit { Inches, Millimetres };

inline constexpr double kMillimetresPerInch = 25.4;
inline constexpr double kInchesPerMillimetre = 0.039370078740157480314;

// A length as the editor shows it: inches with three decimals, millimetres with none.
QString formatLength(double value, LengthUnit unit);
// The value of a field shown in `from`, converted for showing in `to` (the conversion of the
// unit switch: the shown value is taken as it stands, then multiplied).
double convertShown(double shown, LengthUnit from, LengthUnit to);
// A field's value in inches for saving: as shown in inch mode; from millimetres converted and
// rounded to thousandths.
double shownToInches(double shown, LengthUnit unit);

// The most labels across and down a sheet the definition editor offers.
inline constexpr int kMostAcross = 10;
inline constexpr int kMostDown = 30;

// The first check the definition fails, as the message the user reads; empty when it passes.
QString ValidLabel(const LabelDefinition& d);
// The checks of ValidLabel on the stock's sizes and counts alone, without the description.
QString labelStockFault(const LabelDefinition& d);
// Why a setup, as read from the setup table, cannot be printed: its stock fails the editor's
// checks, or its font size or text offsets are beyond what the designer lets one set. Empty
// when it can be printed.
QString labelSetupFault(const LabelSetup& s);

}  // namespace qb::labels
