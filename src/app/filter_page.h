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
    // With no file open there is nothing to filter: the page says so, as the Main page does,
    // and no count of an earlier file stays on it.
    void showNoData(bool show);

    EnterEdit *qLName, *qFName, *qTitle, *qOrg, *qStreet, *qZip, *qCity, *qState, *qCountry,
        *qPhone, *qFax, *qEmail, *qDate, *qCodes;
    QPushButton *qSetFilterButton, *qClearButton;
    QLabel* qMatchCount;
    QLabel* NoData;
    QWidget* content;  // everything but the no-file panel

  private:
    EnterEdit* box(const char* name, const char* field, const QString& help);
};

}  // namespace qb
