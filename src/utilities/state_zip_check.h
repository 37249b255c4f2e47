// The "Check State and Zip  Codes" dialog: checks each contact's state and ZIP against the
// state table, lists the questionable ones in an editable grid in last/first-name order, and
// lets the user edit the state table itself.
#pragma once

#include <QDialog>
#include <memory>

#include "store/dataset.h"

class QCheckBox;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace qb {
class EditGrid;
}

namespace qb::utilities {

class RecordNavigator;

inline constexpr int kHelpStateZipCheck = 1008;
inline constexpr const char* kUnableToOpenStates = "Unable to open QBMSZCK.DBF";

// "Found N records with questionable state or zipcodes"
QString stateZipFoundText(int count);

class TStateZipCheck : public QDialog {
    Q_OBJECT

  public:
    // contacts is the file opened for this dialog alone, with soft-deleted contacts left out
    // of its selection; programFolder ends with '/'.
    TStateZipCheck(Dataset& contacts, const QString& programFolder, QWidget* parent = nullptr);
    ~TStateZipCheck() override;

    void CheckitButtonClick();
    void EditStateProvButtonClick();
    void ClosebuttonClick();
    void CancelButtonClick();

    int foundCount() const { return found_; }
    bool busy() const { return busy_; }
    Dataset& stateTable() { return *states_; }

    QFrame* SetupPanel;
    QFrame* ResultPanel;
    QFrame* StateProvPanel;
    QCheckBox* CheckBlanks;
    QPushButton* CheckitButton;
    QPushButton* EditStateProvButton;
    QPushButton* Closebutton;
    QPushButton* CancelButton;
    QPushButton* EditQButton;
    QPushButton* SaveQButton;
    QPushButton* CancelQButton;
    QPushButton* DeleteSZButton;
    QPushButton* SaveSZButton;
    QPushButton* CancelSZButton;
    QPushButton* HelpButton;
    QToolButton* MouseHelpButton;
    QProgressBar* Gauge1;
    QLabel* LabelCount;
    EditGrid* ResultGrid;
    EditGrid* StateProvGrid;
    RecordNavigator* NavigatorCreate;
    RecordNavigator* NavigatorStateZip;

  protected:
    void reject() override;

  private:
    void StartEditStatePRov();
    void EndEditStatePRov();
    void showRunning(bool running);
    QString statePath() const;

    Dataset& contacts_;
    QString folder_;
    std::unique_ptr<Dataset> states_;
    bool busy_ = false;
    bool cancelRequested_ = false;
    bool editingStates_ = false;
    bool checked_ = false;
    int found_ = 0;
};

}  // namespace qb::utilities
