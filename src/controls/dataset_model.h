// A grid model over a dataset that reads only the rows on screen: its row count is the
// selection's size and rows are fetched by position in blocks, so a file of a million
// records shows at once.
#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>
#include <list>
#include <unordered_map>
#include <vector>

#include "store/dataset.h"

namespace qb {

struct GridColumn {
    QString field;
    QString title;
    int displayWidth = 0;  // characters; 0 = the field's own width
};

class DatasetModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    DatasetModel(Dataset* table, std::vector<GridColumn> columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const std::vector<GridColumn>& columns() const { return columns_; }
    Dataset* table() const { return table_; }
    // The row of the current record (rowCount() at the end of file).
    int currentRow() const { return currentRow_; }
    // How many blocks of rows have been read from the file, for tests of the laziness.
    int blocksRead() const { return blocksRead_; }
    // While inactive (its grid hidden) the model only notes that the table changed; counting
    // the rows of a large selection is left until the grid is shown again.
    void setActive(bool active);
    bool active() const { return active_; }

    static constexpr int kBlockRows = 64;

  signals:
    void currentRowChanged(int row);

  private:
    void reload();
    void followRecord();
    const QStringList* rowAt(int row) const;

    QPointer<Dataset> table_;
    std::vector<GridColumn> columns_;
    QStringList fields_;
    int rows_ = 0;
    bool active_ = false;
    bool stale_ = true;
    int currentRow_ = 0;
    // Blocks of rows read so far, by block number, with the least recently used dropped.
    mutable std::unordered_map<int, std::vector<QStringList>> blocks_;
    mutable std::list<int> recent_;
    mutable int blocksRead_ = 0;
};

}  // namespace qb
