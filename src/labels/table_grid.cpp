// The read-only table grid's keys.
#include "labels/table_grid.h"

#include <QKeyEvent>

namespace qb::labels {

TableGrid::TableGrid(Dataset* table, std::vector<GridColumn> columns, QWidget* parent)
    : BrowseGrid(table, std::move(columns), parent) {}

void TableGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Insert:
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            // The dialog's default and cancel buttons answer these.
            event->ignore();
            return;
        case Qt::Key_Delete:
            // Rows are deleted with the dialog's own button, which asks first.
            event->accept();
            return;
        default:
            QTableView::keyPressEvent(event);
    }
}

}  // namespace qb::labels
