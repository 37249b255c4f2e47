// The editor of the mailer's Intelligent Mail values: barcode identifier, service type, mailer
// identifier and the next serial number, checked before they are saved.
#pragma once

#include <QDialog>

#include "store/settings.h"

class QLineEdit;

namespace qb::labels {

class TImbMailerDialog : public QDialog {
    Q_OBJECT

  public:
    explicit TImbMailerDialog(Settings settings, QWidget* parent = nullptr);

    // Saves the values when they make a tracking code; otherwise says why and stays open.
    void SaveButtonClick();

  private:
    Settings settings_;
    QLineEdit *BarcodeId_, *ServiceType_, *MailerId_, *NextSerial_;
};

}  // namespace qb::labels
