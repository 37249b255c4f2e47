// The browse grid's keys and its two-way link between the current row and the record.
#include "controls/browse_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

#include "controls/prompts.h"

namespace qb {

BrowseGrid::BrowseGrid(Dataset* table, std::vector<GridColumn> columns, QWidget* parent)
    : BrowseGrid(new DatasetModel(table, std::move(columns)), parent) {}

BrowseGrid::BrowseGrid(DatasetModel* model, QWidget* parent) : QTableView(parent), model_(model) {
    model_->setParent(this);
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    setAlternatingRowColors(false);
    // Fixed row heights and a fixed indicator column: nothing is measured per row, which a
    // million rows could not afford.
    QHeaderView* rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    rows->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("MM")));
    rows->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    applyColumnWidths();
    connect(model_, &DatasetModel::currentRowChanged, this, &BrowseGrid::showRow);
    connect(model_, &QAbstractItemModel::modelReset, this,
            [this] { showRow(model_->currentRow()); });
    showRow(model_->currentRow());
}

void BrowseGrid::applyColumnWidths() {
    // A display width counts characters as wide as a digit, the widest of most fonts' common
    // characters, so numbers (ZIP codes, telephone numbers) fit the width given for them.
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    // The cell's text margins, as the item delegate draws them, and the grid line.
    const int margins =
        2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    const auto& cols = model_->columns();
    for (int i = 0; i < int(cols.size()); ++i) {
        int chars = cols[size_t(i)].displayWidth;
        if (chars <= 0) chars = 10;
        // The title always shows whole, in the header's own font and margins.
        const int title = horizontalHeader()->sectionSizeHint(i);
        setColumnWidth(i, std::max(chars * digit + margins, title));
    }
}

void BrowseGrid::showRow(int row) {
    if (following_) return;
    following_ = true;
    if (row >= 0 && row < model_->rowCount()) {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        const QModelIndex at = model_->index(row, column);
        selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
        scrollTo(at);
    } else {
        selectionModel()->clearCurrentIndex();
    }
    following_ = false;
}

void BrowseGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (following_ || !current.isValid()) return;
    Dataset* table = model_->table();
    if (!table || current.row() == model_->currentRow()) return;
    following_ = true;
    table->goPosition(uint32_t(current.row()));
    following_ = false;
    // The record may not be where the grid asked (the rows changed meanwhile).
    if (model_->currentRow() != current.row()) showRow(model_->currentRow());
}

void BrowseGrid::showEvent(QShowEvent* event) {
    model_->setActive(true);
    showRow(model_->currentRow());
    QTableView::showEvent(event);
}

void BrowseGrid::hideEvent(QHideEvent* event) {
    QTableView::hideEvent(event);
    model_->setActive(false);
}

void BrowseGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            emit leaveRequested();
            return;
        case Qt::Key_Insert:
            // Rows are added on the Main page only.
            event->accept();
            return;
        case Qt::Key_Delete:
            if (event->modifiers() & Qt::ControlModifier) {
                event->accept();
                Dataset* table = model_->table();
                if (table && table->onRecord() &&
                    prompts().confirm(window(), QStringLiteral("Confirm"),
                                      QStringLiteral("Delete record?"))) {
                    table->markDeleted();
                }
                return;
            }
            break;
        default:
            break;
    }
    QTableView::keyPressEvent(event);
}

void BrowseGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    emit leaveRequested();
}

}  // namespace qb
