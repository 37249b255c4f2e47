// The Main page: the current contact in entry boxes and the memo box, the record buttons,
// and the panel shown instead when no file is open.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "controls/bound_edit.h"
#include "controls/date_box.h"
#include "controls/repeat_button.h"
#include "store/dataset.h"

namespace qb {

class MainPage : public QWidget {
    Q_OBJECT

  public:
    MainPage(Dataset* table, QWidget* parent = nullptr);

    // The entry boxes in tab order, the date box and memo aside.
    QList<BoundEdit*> entryBoxes() const;
    // Whether the widget is one of the page's entry, date or memo boxes.
    bool isEntryBox(const QWidget* w) const;
    // Shows the no-file panel over the whole page, or hides it.
    void showNoData(bool show);

    BoundEdit *Last, *First, *Middle, *Prefix, *Title, *Org, *Street, *City, *State, *Zip, *Country,
        *Phone, *Fax, *Email, *Codes;
    DateBox* Date;
    QLabel* DateFormatLabel;  // the date format hint beside the date box
    BoundMemo* Memo;
    QPushButton *DialButton, *SearchMemoButton, *SearchMemoNextButton;
    QPushButton *AddButton, *EditButton, *DeleteButton, *SearchButton, *SaveButton, *CancelButton;
    RepeatButton *RecordPrev, *RecordNext;
    QLabel* NoData;
    QWidget* content;  // everything but the no-file panel

  private:
    BoundEdit* box(const char* name, const char* field, const QString& help);
    QLabel* label(const QString& text, QWidget* buddy);
    QPushButton* button(const char* name, const QString& caption, const QString& help);

    Dataset* table_;
};

}  // namespace qb
