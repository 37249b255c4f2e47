// Printer Setup: the printer, its paper, paper source and orientation, for every printer the
// program lists (the built-in PDF printer included, which platform page-setup dialogs refuse).
#pragma once

#include <QDialog>

#include "controls/prompts.h"

class QComboBox;
class QRadioButton;

namespace qb {

class PrinterSetupDialog : public QDialog {
  public:
    // Shows the request's choices; accept() writes the ones made back into it.
    PrinterSetupDialog(PrinterSetupRequest& request, QWidget* parent = nullptr);

    void accept() override;

  private:
    void printerChanged();
    static void fill(QComboBox* box, const QStringList& items, const QString& current);

    PrinterSetupRequest& request_;
    QComboBox* printer_;
    QComboBox* paper_;
    QComboBox* source_;
    QRadioButton* portrait_;
    QRadioButton* landscape_;
};

}  // namespace qb
