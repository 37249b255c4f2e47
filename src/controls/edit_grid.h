// A grid whose cells edit the dataset's records in place: typing in a cell puts its record
// into edit, Save posts it, Undo (or Escape) cancels it, and leaving the record posts it as
// leaving a record always does. A character the file cannot hold is refused with the same
// notice the entry boxes give.
#pragma once

#include "controls/browse_grid.h"

namespace qb {

class EditableDatasetModel : public DatasetModel {
    Q_OBJECT

  public:
    using DatasetModel::DatasetModel;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Puts the cell's record into edit (moving to it first) and changes the field in the
    // edit buffer; false, with the notice shown, when the value cannot be stored.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
};

class EditGrid : public BrowseGrid {
    Q_OBJECT

  public:
    EditGrid(Dataset* table, std::vector<GridColumn> columns, QWidget* parent = nullptr);

    // Posts the record being edited; false when there was nothing to post or it was refused.
    bool save();
    // Forgets the unposted changes of the record being edited.
    void undo();
    // Whether the Insert key adds a blank record (posted at once, so that it takes its place
    // in the order) and makes it current for filling in. Off by default.
    void setAllowInsert(bool allow) { allowInsert_ = allow; }
    bool addBlankRecord();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // A double click edits the cell; it does not ask to leave the grid.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    bool allowInsert_ = false;
};

}  // namespace qb
