// A read-only grid over one of the program's own tables (label stock, label setups): typing
// edits nothing, Insert adds no row, and Enter and Escape belong to the dialog around it.
#pragma once

#include "controls/browse_grid.h"

namespace qb::labels {

class TableGrid : public BrowseGrid {
    Q_OBJECT

  public:
    TableGrid(Dataset* table, std::vector<GridColumn> columns, QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace qb::labels
