// The Browse page: the contact records in a grid, with their own record buttons.
#pragma once

#include <QWidget>

#include "controls/browse_grid.h"
#include "controls/repeat_button.h"

namespace qb {

// The contact fields the grid shows, in its column order, with titles and display widths.
std::vector<GridColumn> contactGridColumns();

class BrowsePage : public QWidget {
    Q_OBJECT

  public:
    BrowsePage(Dataset* table, QWidget* parent = nullptr);

    BrowseGrid* DBGrid1;
    RepeatButton *RecordPrev2, *RecordNext2;
};

}  // namespace qb
