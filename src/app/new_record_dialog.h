// The New Record dialog that Add shows when the duplicate check or the city and state look-up
// is switched on: the names, the ZIP code, or both.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace qb {

class EnterEdit;

class TGetFirstLastZip : public QDialog {
    Q_OBJECT

  public:
    // names: the last and first name boxes are shown; zip: the ZIP box is shown.
    TGetFirstLastZip(bool names, bool zip, QWidget* parent = nullptr);

    QString lastName() const;
    QString firstName() const;
    QString zipCode() const;

    EnterEdit *LastNAme, *FirstNAme, *ZipCode;
    QLabel *LastLabel, *FirstLabel, *ZipLabel;
    QPushButton *OKButton, *CancelButton;

  protected:
    // PgDn presses OK from any box.
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace qb
