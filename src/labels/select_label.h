// "Select Label Definition": the label stock of one printer type, with New, Edit and Delete.
// OK leaves the chosen definition as the stock table's current row.
#pragma once

#include <QDialog>

#include "labels/label_definition.h"
#include "store/dataset.h"

class QPushButton;
class QRadioButton;

namespace qb::labels {

class TableGrid;

inline constexpr const char* kUnableToOpenStock =
    "We were unable to open the label definition file: QBMLBLS.DBF";

class TSelectLabel : public QDialog {
  public:
    // stock: QBMLBLS.DBF, opened by the caller. description and printerType are the current
    // setup's, so the list opens on its stock.
    TSelectLabel(Dataset& stock, QString description, QString printerType,
                 QWidget* parent = nullptr);
    ~TSelectLabel() override;

    // The first-activation set-up: printer type, filter and the walk to the setup's stock.
    void FormActivate();
    void PrinterTypeClick(const QString& type);
    void NewLabelClick();
    void EditLabelClick();
    void DeleteLabelClick();
    void OKButtonClick();

    // The definition of the current row.
    LabelDefinition Chosen() const { return readLabelDefinition(stock_.area()); }
    TableGrid* Grid() const { return grid_; }

    // The engine filter that shows one printer type's stock.
    static QString printerFilter(const QString& type);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Runs the editor; the definition to write when it closed with Save.
    std::optional<LabelDefinition> runEditor(const QString& caption, const LabelDefinition& d);
    void setButtons();

    Dataset& stock_;
    QString description_;
    QString printerType_;
    bool firstActivation_ = true;
    TableGrid* grid_;
    QRadioButton* laser_;
    QRadioButton* dotMatrix_;
    QPushButton* ok_;
    QPushButton* edit_;
    QPushButton* delete_;
};

}  // namespace qb::labels
