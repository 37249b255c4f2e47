// "Print Labels": the list of label setups with Modify, New and Delete, the record scope,
// copies, presort and printer, and Print Now and Preview.
#pragma once

#include <QDialog>

#include "labels/label_job.h"
#include "store/contact_host.h"
#include "store/dataset.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qb {
class TReportPrinter;
}

namespace qb::labels {

class TableGrid;

inline constexpr const char* kUnableToOpenSetups = "Unable to Open QBMLSU.DBF (label setup file)";
inline constexpr const char* kUntitledSetup = "{Untitled Label Setup Record}";

class TQBLabels : public QDialog {
  public:
    explicit TQBLabels(ContactHost& host, QWidget* parent = nullptr);
    ~TQBLabels() override;

    // Opens QBMLSU.DBF from the program folder at its first row; false when it cannot be
    // opened (the caller tells the user and does not show the dialog).
    bool OpenSetupTable();
    // Without a filter in force "Records matching filter" is not offered.
    void DisableFilterChoice();

    void FormActivate();
    void ModifyButtonClick();
    void NewButtonClick();
    void DeleteButtonClick();
    void ScopeClick();
    void StartCurrentCheckClick();
    void PrinterComboClick(int index);
    void PrintNowClick();
    void PreviewButtonClick();
    void PrinterSetupClick();
    void SetLabelButtons();

    Dataset& setupTable() { return setups_; }
    bool presortDone() const { return presortDone_; }
    // The setup of the grid's current row (the default setup when there is none).
    LabelSetup currentSetup() const { return ReadLabelSetup(setups_.area()); }

    // What a print or preview started from the dialog does between its steps; tests may
    // put their own in place.
    void setFrontEnd(LabelJobFrontEnd* frontEnd) { frontEnd_ = frontEnd; }
    LabelJobOutcome lastOutcome() const { return lastOutcome_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void DoPrint(bool preview);
    void showSelectedPrinter();
    ScopeChoice scopeChoice() const;

    ContactHost& host_;
    Dataset setups_;
    TReportPrinter* printer_;
    std::unique_ptr<LabelJobFrontEnd> dialogFrontEnd_;
    LabelJobFrontEnd* frontEnd_;
    bool presortDone_ = false;
    bool newSetup_ = false;
    bool firstActivation_ = true;
    LabelJobOutcome lastOutcome_ = LabelJobOutcome::Completed;

    TableGrid* grid_;
    QPushButton *modify_, *new_, *delete_, *printNow_, *preview_, *printerSetup_;
    QRadioButton *all_, *filter_, *onlyThis_;
    QCheckBox *startCurrent_, *presort_;
    QComboBox* printerCombo_;
    QSpinBox* copies_;
};

// The front end of runs from the dialog: the presort window, the labels status window shown
// modally, and the preview window over the main window.
class DialogFrontEnd : public LabelJobFrontEnd {
  public:
    DialogFrontEnd(QWidget* mainWindow, QWidget* dialog) : main_(mainWindow), dialog_(dialog) {}
    bool runPresort(Dataset& contacts, const QString& programFolder) override;
    bool runPass(TLabelPrint& window) override;
    void showPreview(QIODevice& stream) override;

  private:
    QWidget* main_;
    QWidget* dialog_;
};

}  // namespace qb::labels
