// The Copy Records Out window and its menu command: the kind of copy, the target chosen with
// Save As, then the copy with its progress and Cancel.
#pragma once

#include <QDialog>

#include "store/contact_host.h"
#include "store/csv_reader.h"
#include "utilities/copy_out.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace qb::utilities {

inline constexpr int kHelpCopyOut = 1012;

class TCopyOut : public QDialog {
    Q_OBJECT

  public:
    explicit TCopyOut(ContactHost& host, QWidget* parent = nullptr);

    void SaveAsButtonClick();
    void DoitClick();
    void CancelbuttonClick();
    CopyKind kind() const;
    TextEncoding encoding() const;

    QWidget *SetupPanel, *ProgressPanel;
    QRadioButton *ToDBF, *ToAscii;
    QComboBox* Encoding;
    QLabel *FileName, *WhatAmIDoing;
    QProgressBar* Gauge1;
    QPushButton *SaveAsButton, *Doit, *Cancelbutton, *HelpButton;
    QToolButton* MouseHelpButton;

  protected:
    void reject() override;

  private:
    void clearTarget();

    ContactHost& host_;
    QString folder_;
    bool copying_ = false;
    bool cancelRequested_ = false;
};

// The menu command: nothing to copy is told; otherwise the window over the contact table,
// which is back on its record afterwards.
void CopyRecordsOut1Click(ContactHost& host);

}  // namespace qb::utilities
