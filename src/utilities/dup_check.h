// The "Check and Repair Duplicates" dialog: walks the contacts in name or street order, lists
// each pair of neighbours that look alike in an editable grid, and deletes or repairs them.
#pragma once

#include <QDialog>

#include "store/dataset.h"
#include "utilities/check_walk.h"

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace qb {
class EditGrid;
}

namespace qb::utilities {

class RecordNavigator;

inline constexpr int kHelpDupCheck = 1007;

// "Found N possible duplicates"
QString dupFoundText(int count);

class TDupCheck : public QDialog {
    Q_OBJECT

  public:
    // contacts is the file opened for this dialog alone, with soft-deleted contacts left out
    // of its selection; programFolder ends with '/'.
    TDupCheck(Dataset& contacts, const QString& programFolder, QWidget* parent = nullptr);

    void CheckitButtonClick();
    void DeleteButtonClick();
    void CancelButtonClick();
    void CloseButtonClick();
    void KindofCheckClick();

    DupKind kind() const;
    void setKind(DupKind kind);
    int foundCount() const { return found_; }

    QFrame* SetupPanel;
    QFrame* GridPanel;
    QGroupBox* KindofCheck;
    QButtonGroup* kinds;
    QSpinBox* AddressChars;
    QLabel* AddressCharsLabel;
    QPushButton* CheckitButton;
    QPushButton* DeleteButton;
    QPushButton* SaveButton;
    QPushButton* UndoButton;
    QPushButton* CloseButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;
    QToolButton* MouseHelpButton;
    QProgressBar* Gauge1;
    QLabel* LabelCount;
    EditGrid* ChkDupsGrid;
    RecordNavigator* NavigatorChkDup;

  protected:
    void reject() override;

  private:
    void showRunning(bool running);

    Dataset& contacts_;
    QString folder_;
    bool busy_ = false;
    bool cancelRequested_ = false;
    bool checked_ = false;
    int found_ = 0;
};

}  // namespace qb::utilities
