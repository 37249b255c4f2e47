// "Print Letters": the list of letters with New, Modify and Delete, the record scope and the
// copies of each letter, the printer, and Print Now and Preview.
#pragma once

#include <QDialog>

#include "store/contact_host.h"
#include "store/dataset.h"
#include "store/record_scope.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace qb {
class TReportPrinter;
}

namespace qb::letters {

inline constexpr const char* kUntitledLetter = "{untitled}";

class TqBLetters : public QDialog {
  public:
    explicit TqBLetters(ContactHost& host, QWidget* parent = nullptr);
    ~TqBLetters() override;

    // Opens (or makes) the letters table; false when neither worked.
    bool OpenLettersTable();
    void DisableFilterChoice();

    void NewLetterClick();
    void ModifyLetterClick();
    void DeleteLetterClick();
    void PrintNowClick();
    void PreviewClick();
    void PrinterSetupClick();
    void SetButtons();

    Dataset& lettersTable() { return letters_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void design(bool append);
    void fillGrid();
    void rowChosen();
    ScopeChoice scopeChoice() const;

    ContactHost& host_;
    Dataset letters_;
    TReportPrinter* printer_;
    bool firstActivation_ = true;
    QTableWidget* grid_;
    QPushButton *new_, *modify_, *delete_, *printNow_, *preview_;
    QRadioButton *all_, *filter_, *onlyThis_;
    QCheckBox* startCurrent_;
    QSpinBox* copies_;
    QLabel* printerLabel_;
};

}  // namespace qb::letters
