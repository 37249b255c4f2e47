// The date entry box: bound to a date field, typed through the edit mask of the preferences
// and shown in the program's short date format.
#pragma once

#include <QPointer>

#include "controls/bound_edit.h"
#include "store/dataset.h"

namespace qb {

class DateBox : public EnterEdit {
    Q_OBJECT

  public:
    explicit DateBox(QWidget* parent = nullptr);

    void bind(Dataset* table, const QString& field);
    // Takes up the date format in force (mask and picture) and shows the date again.
    void applyDateFormat();
    void refresh();
    // The box's text with unfilled places as blanks, to compare with blankDateText().
    QString maskedText() const;
    // Puts the typed date into the record. A text that is no date leaves the record as it
    // was and is reported through invalidDate.
    bool store();

  signals:
    void invalidDate(const QString& text);
    void doubleClicked();

  protected:
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QPointer<Dataset> table_;
    QString field_;
    bool dirty_ = false;
};

}  // namespace qb
