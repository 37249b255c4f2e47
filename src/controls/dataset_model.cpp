// Reading grid rows block by block, and keeping the row count and current row in step with
// the dataset.
#include "controls/dataset_model.h"

#include <algorithm>

namespace qb {
namespace {

// Enough for several screens of a maximised grid.
constexpr size_t kKeptBlocks = 32;

}  // namespace

DatasetModel::DatasetModel(Dataset* table, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)) {
    for (const auto& c : columns_)
        fields_ << c.field;
    connect(table, &Dataset::rowsChanged, this, [this] {
        if (active_) {
            reload();
        } else {
            stale_ = true;
        }
    });
    connect(table, &Dataset::recordChanged, this, [this] {
        if (active_) {
            followRecord();
        } else {
            stale_ = true;
        }
    });
    connect(table, &Dataset::stateChanged, this, [this] {
        if (active_ && rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
    });
}

void DatasetModel::setActive(bool active) {
    active_ = active;
    if (active_ && stale_) reload();
}

void DatasetModel::reload() {
    stale_ = false;
    beginResetModel();
    blocks_.clear();
    recent_.clear();
    rows_ = table_ && table_->isOpen()
                ? int(std::min<uint32_t>(table_->selectionCount(), uint32_t(INT_MAX)))
                : 0;
    endResetModel();
    followRecord();
}

void DatasetModel::followRecord() {
    if (stale_) {
        reload();
        return;
    }
    const int row = table_ && table_->isOpen() ? int(table_->position()) : 0;
    // While editing, the current row shows the edit buffer.
    if (table_ && table_->editing() && row < rows_) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
    if (row == currentRow_) return;
    const int old = currentRow_;
    currentRow_ = row;
    if (old < rows_) emit headerDataChanged(Qt::Vertical, old, old);
    if (row < rows_) emit headerDataChanged(Qt::Vertical, row, row);
    emit currentRowChanged(row);
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

const QStringList* DatasetModel::rowAt(int row) const {
    const int block = row / kBlockRows;
    auto it = blocks_.find(block);
    if (it == blocks_.end()) {
        // A suspended display must not move the table under a running walk; an edited
        // record is not left for a read either.
        if (!table_ || table_->controlsDisabled() || table_->editing()) return nullptr;
        auto rows = table_->rowValues(uint32_t(block * kBlockRows), kBlockRows, fields_);
        ++blocksRead_;
        if (blocks_.size() >= kKeptBlocks && !recent_.empty()) {
            blocks_.erase(recent_.back());
            recent_.pop_back();
        }
        it = blocks_.emplace(block, std::move(rows)).first;
        recent_.push_front(block);
    } else if (recent_.front() != block) {
        recent_.remove(block);
        recent_.push_front(block);
    }
    const size_t at = size_t(row % kBlockRows);
    return at < it->second.size() ? &it->second[at] : nullptr;
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    if (table_ && table_->editing() && index.row() == currentRow_) {
        return table_->displayText(fields_[index.column()]);
    }
    const QStringList* values = rowAt(index.row());
    if (!values || index.column() >= values->size()) return {};
    return values->at(index.column());
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        return section < int(columns_.size()) ? columns_[size_t(section)].title : QVariant();
    }
    if (section != currentRow_ || !table_) return QString();
    // The row indicator: an arrow on the current row, a pencil while it is being edited,
    // a star on a new record.
    switch (table_->state()) {
        case DatasetState::Edit:
            return QStringLiteral("\u270E");
        case DatasetState::Insert:
            return QStringLiteral("*");
        default:
            return QStringLiteral("\u25B6");
    }
}

}  // namespace qb
