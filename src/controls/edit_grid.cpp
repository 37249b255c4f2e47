// Editing a dataset's records in the cells of a grid.
#include "controls/edit_grid.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include "controls/bound_edit.h"
#include "controls/prompts.h"

namespace qb {
namespace {

// Cell editors take no more characters than the field holds.
class FieldWidthDelegate : public QStyledItemDelegate {
  public:
    FieldWidthDelegate(EditableDatasetModel* model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        auto* line = qobject_cast<QLineEdit*>(editor);
        Dataset* table = model_->table();
        if (line && table && table->isOpen()) {
            const int width = table->fieldWidth(model_->columns()[size_t(index.column())].field);
            if (width > 0) line->setMaxLength(width);
        }
        return editor;
    }

  private:
    EditableDatasetModel* model_;
};

}  // namespace

Qt::ItemFlags EditableDatasetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = DatasetModel::flags(index);
    Dataset* t = table();
    if (index.isValid() && t && t->isOpen() &&
        t->fieldType(columns()[size_t(index.column())].field) == 'C')
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant EditableDatasetModel::data(const QModelIndex& index, int role) const {
    return DatasetModel::data(index, role == Qt::EditRole ? int(Qt::DisplayRole) : role);
}

bool EditableDatasetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    Dataset* t = table();
    if (role != Qt::EditRole || !index.isValid() || !t || !t->isOpen()) return false;
    const QString field = columns()[size_t(index.column())].field;
    const QString text = value.toString();
    if (const auto bad = t->unholdable(text)) {
        prompts().information(nullptr, unholdableMessage(*bad));
        return false;
    }
    if (index.row() != currentRow()) {
        if (!t->goPosition(uint32_t(index.row())) || int(t->position()) != index.row())
            return false;
    }
    // An unchanged cell does not start an edit of its record.
    if (!t->editing() && t->text(field) == text) return true;
    if (!t->editing() && !t->edit()) return false;
    t->setText(field, text);
    emit dataChanged(index, index);
    return true;
}

EditGrid::EditGrid(Dataset* table, std::vector<GridColumn> columns, QWidget* parent)
    : BrowseGrid(new EditableDatasetModel(table, std::move(columns)), parent) {
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setItemDelegate(
        new FieldWidthDelegate(static_cast<EditableDatasetModel*>(datasetModel()), this));
}

bool EditGrid::save() {
    Dataset* t = datasetModel()->table();
    if (!t || !t->editing()) return false;
    return t->post();
}

void EditGrid::undo() {
    Dataset* t = datasetModel()->table();
    if (t && t->editing()) t->cancel();
}

bool EditGrid::addBlankRecord() {
    Dataset* t = datasetModel()->table();
    if (!t || !t->isOpen()) return false;
    if (t->editing() && !t->post()) return false;
    if (!t->insert() || !t->post()) return false;
    return true;
}

void EditGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            event->accept();
            undo();
            return;
        case Qt::Key_Insert:
            event->accept();
            if (allowInsert_) addBlankRecord();
            return;
        default:
            break;
    }
    QTableView::keyPressEvent(event);
}

void EditGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
}

}  // namespace qb
