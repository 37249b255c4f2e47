// The Filter page: query boxes lying over their Main page twins, the buttons that set and
// clear the filter, and the count of matches.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "controls/bound_edit.h"

namespace qb {

class FilterPage : public QWidget {
    Q_OBJECT

  public:
    explicit FilterPage(QWidget* parent = nullptr);

    // The fourteen boxes in the order the filter is built from them.
    QList<EnterEdit*> queryBoxes() const;

    EnterEdit *qLName, *qFName, *qTitle, *qOrg, *qStreet, *qZip, *qCity, *qState, *qCountry,
        *qPhone, *qFax, *qEmail, *qDate, *qCodes;
    QPushButton *qSetFilterButton, *qClearButton;
    QLabel* qMatchCount;

  private:
    EnterEdit* box(const char* name, const QString& help);
};

}  // namespace qb
