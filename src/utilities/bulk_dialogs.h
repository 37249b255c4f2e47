// The three bulk-edit dialogs: "Convert To Uppercase", "Search and Replace" and "Delete
// Records". Each works on the open contact table in place, walks its scope once with a
// gauge, tells the count and closes itself.
#pragma once

#include <QDialog>
#include <vector>

#include "store/dataset.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace qb::utilities {

inline constexpr const char* kNoFieldsChecked = "No fields checked for conversion";
inline constexpr const char* kSpaceUsage =
    "For optimum space usage, please select\r\n[Rebuild Indexes] from the Utilities menu";

// The parts every bulk-edit dialog has.
class BulkDialog : public QDialog {
    Q_OBJECT

  public:
    QPushButton* HelpButton;
    QToolButton* MouseHelpButton;
    QProgressBar* Gauge;

  protected:
    BulkDialog(Dataset& contacts, const QString& filter, int helpContext, QWidget* parent);
    void reject() override;
    // The shown step of a run: gauge, pending window messages, the cancel flag.
    bool step(uint32_t done, uint32_t total);
    // An engine failure ends the run: told, the table's display brought up to date.
    void failedRun(const QString& message);

    Dataset& contacts_;
    QString filter_;
    bool busy_ = false;
    bool cancelRequested_ = false;
};

class TConvertToUpper : public BulkDialog {
    Q_OBJECT

  public:
    TConvertToUpper(Dataset& contacts, const QString& filter, QWidget* parent = nullptr);
    void ConvertButtonClick();
    void CancelButtonClick();

    QFrame* OptionsPanel;
    std::vector<QCheckBox*> fieldBoxes;  // cLast .. cPrefix
    QCheckBox* cAll;
    QRadioButton* rCurrentRecord;
    QRadioButton* rAllRecords;
    QRadioButton* rFilterRecords;
    QPushButton* ConvertButton;
    QPushButton* CancelButton;
};

class TSearchAndReplace : public BulkDialog {
    Q_OBJECT

  public:
    TSearchAndReplace(Dataset& contacts, const QString& filter, QWidget* parent = nullptr);
    void DoitClick();
    void TargetFieldClick();
    // The question asked before replacing.
    QString describe() const;

    QComboBox* TargetField;
    QRadioButton* FindExact;
    QRadioButton* FindPartial;
    QLineEdit* FindValue;
    QCheckBox* CaseSensitive;
    QRadioButton* ReplaceWhole;
    QRadioButton* ReplacePartial;
    QLineEdit* ReplaceValue;
    QRadioButton* ReplaceAll;
    QRadioButton* ReplaceFilter;
    QPushButton* Doit;
    QPushButton* CancelButton;
    QFrame* ValuePanel;
};

class TDeleteRecords : public BulkDialog {
    Q_OBJECT

  public:
    TDeleteRecords(Dataset& contacts, const QString& filter, QWidget* parent = nullptr);
    void DoitClick();

    QRadioButton* DeleteAll;
    QRadioButton* DeleteFilter;
    QRadioButton* DeleteNotFilter;
    QPushButton* Doit;
    QPushButton* CancelButton;
    QFrame* SetupPanel;
};

// The fields of the search-and-replace targets, in the order of the drop-down.
const QStringList& replaceTargetFields();

}  // namespace qb::utilities
