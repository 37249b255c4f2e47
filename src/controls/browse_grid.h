// The browse grid: a table view over a dataset model whose current row is the dataset's
// current record. Enter, Escape and a double click ask to leave the grid; Insert adds no
// row; Ctrl+Delete marks the record deleted after asking.
#pragma once

#include <QTableView>

#include "controls/dataset_model.h"

namespace qb {

class BrowseGrid : public QTableView {
    Q_OBJECT

  public:
    BrowseGrid(Dataset* table, std::vector<GridColumn> columns, QWidget* parent = nullptr);

    DatasetModel* datasetModel() const { return model_; }
    // Sets each column's width from its display width in characters.
    void applyColumnWidths();

  signals:
    // Enter, Escape or a double click: the user is done with the grid.
    void leaveRequested();

  protected:
    // For grids that bring their own kind of model over the dataset (the grid owns it).
    BrowseGrid(DatasetModel* model, QWidget* parent);
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void showRow(int row);

    DatasetModel* model_;
    bool following_ = false;
};

}  // namespace qb
