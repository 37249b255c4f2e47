// The DBF File Import window, its matching window and the field picker: choosing the table,
// the automatic match shown for change by hand, then the import with its gauge and Cancel,
// and the index rebuild that always follows.
#pragma once

#include <QDialog>
#include <vector>

#include "import/dbf_import.h"
#include "store/contact_rebuild.h"
#include "store/dataset.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace qb::import {

inline constexpr int kHelpDbfImport = 1015;
inline constexpr int kHelpDbfMatch = 1016;
inline constexpr const char* kUnknownImportError = "Unknown error while importing.";

class TGetImportField : public QDialog {
    Q_OBJECT

  public:
    // names: the fields offered; current: the one the row holds now ("" for none).
    TGetImportField(const QStringList& names, const QString& current, QWidget* parent = nullptr);
    // The chosen field; empty for "(None)".
    QString chosen() const;

    QListWidget* ListOfFields;
    QPushButton *OKButton, *CancelButton;
};

class TDBFMatch : public QDialog {
    Q_OBJECT

  public:
    // Shows fields' matches; with automatic, the automatic match is made first.
    TDBFMatch(std::vector<SourceField> fields, const QString& sourcePath, bool automatic,
              QWidget* parent = nullptr);

    void SelectField();
    void ClearCurrentButtonClick();
    void ClearAllButtonClick();
    // The fields with the matches the grid shows.
    std::vector<SourceField> fields() const;
    // The source field a row (0 to 16) holds.
    QString rowField(int row) const;
    void selectRow(int row);
    // For tests: how the field picker is answered instead of being shown.
    std::function<std::optional<QString>(const QStringList& names, const QString& current)>
        pickField;

    QTableWidget *ImportGrid, *SourceGrid;
    QPushButton *SelectFieldButton, *ClearCurrentButton, *ClearAllButton, *OKButton, *CancelButton,
        *HelpButton;

  private:
    std::vector<SourceField> fields_;
};

class TDBFImport : public QDialog {
    Q_OBJECT

  public:
    TDBFImport(Dataset& destination, const QString& folder, QWidget* parent = nullptr);

    void SelectButtonClick();
    void MatchButtonClick();
    void ImportButtonClick();
    void CancelButtonClick();
    const std::vector<SourceField>& sourceFields() const { return fields_; }
    // For tests: how the matching window is handled instead of being shown modally.
    std::function<bool(TDBFMatch& match)> runMatch;

    QWidget* ButtonPanel;
    QPushButton *SelectButton, *MatchButton, *ImportButton, *CancelButton, *HelpButton;
    QToolButton* MouseHelpButton;
    QLabel *DBFFileName, *StatusLabel;
    QProgressBar* Gauge1;

  protected:
    void reject() override;

  private:
    void clearSource();

    Dataset& destination_;
    QString folder_;
    QString fileName_;
    std::vector<SourceField> fields_;
    ReindexGauge rebuildGauge_;
    bool importing_ = false;
    bool cancelRequested_ = false;
    bool rebuilding_ = false;
    bool matched_ = false;
};

}  // namespace qb::import
