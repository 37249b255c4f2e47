// The Search dialog: asks for the beginning of a key in the current order, with the date
// format shown when the order is by date.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qb {

class TSearchBox : public QDialog {
    Q_OBJECT

  public:
    // orderCaption: the order's name as the Order menu shows it, without its access key.
    TSearchBox(const QString& orderCaption, const QString& dateFormat, QWidget* parent = nullptr);

    QString text() const;

    QLabel *SearchForLabel, *DateFormatLabel;
    QLineEdit* SearchForEdit;
    QPushButton *OKButton, *CancelButton;
};

}  // namespace qb
