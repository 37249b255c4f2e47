// The grid on which the Main and Filter pages place their boxes. Both pages use the same rows,
// columns and label widths, so each Filter box lies exactly over its Main page twin.
#pragma once

#include <QList>
#include <QString>
#include <vector>

class QGridLayout;
class QLabel;
class QWidget;

namespace qb {

class EnterEdit;

struct FieldSlot {
    int row;
    int column;  // 0, 1 or 2: which label-and-box pair of the row
    int span;    // how many pairs the box reaches over
    QLabel* label;
    QWidget* box;
};

// The rows of the grid, shared by both pages.
namespace slot {
inline constexpr int kNameRow = 0, kTitleRow = 1, kOrgRow = 2, kStreetRow = 3, kCityRow = 4,
                     kCountryRow = 5, kEmailRow = 6, kDateRow = 7, kMemoRow = 8;
}

// A layout holding the fieldSlots; the label columns have one fixed width on every page.
QGridLayout* makeFieldGrid(const std::vector<FieldSlot>& fieldSlots, QWidget* parent);
// A row of buttons in fixed-width cells; a null entry leaves its cell empty, so buttons of
// two pages line up cell for cell. Later entries may share a cell by repeating the index.
QGridLayout* makeButtonBar(const QList<QList<QWidget*>>& cells, QWidget* parent);

inline constexpr int kButtonWidth = 84;

// The longest date, in the longest picture the preferences offer.
inline const QString kWidestDate = QStringLiteral("0000/00/00");

// Makes the box at least as wide as a full value of the contact field in the box's font:
// as many average characters as the field holds, or for the ZIP code a whole ZIP+4 in
// digits. A window too small for the boxes grows to fit them.
void holdField(EnterEdit* box, const char* field);

// The panel a page shows over itself while no file is open.
QLabel* noDataPanel(QWidget* parent);

}  // namespace qb
