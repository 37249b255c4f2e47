// The keys of record entry, seen before the focused box gets them: typing over the character
// at the caret unless Insert is on, PgDn and PgUp between records, Escape and PgDn asking
// before an edit is dropped or kept, the date box's undo, and typing in the memo starting an
// edit.
#pragma once

#include <QObject>

#include "xbase/date.h"

class QKeyEvent;
class QWidget;

namespace qb {

class RecordEntry;
class TQBMMain;

class EntryKeys : public QObject {
    Q_OBJECT

  public:
    EntryKeys(TQBMMain& window, RecordEntry& entry);

    // Insert toggles between typing over (the default) and inserting.
    bool insertMode() const { return insertMode_; }
    void setInsertMode(bool on);
    // The record's date when the focus entered the date box during this edit.
    xb::Jdn dateAtEntry() const { return DateAtEntry_; }

  signals:
    void insertModeChanged(bool on);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Each returns true when it used the key up.
    bool FormKeyDown(QWidget* target, QKeyEvent* key);
    bool DateKeyDown(QKeyEvent* key);
    bool MemoKeyDown(QKeyEvent* key);
    void DateEnter();
    void DateChange();
    void typeOver(QWidget* target);
    void watch(QWidget* widget);

    TQBMMain& w_;
    RecordEntry& entry_;
    bool insertMode_ = false;
    xb::Jdn DateAtEntry_ = xb::kEmptyDate;
};

}  // namespace qb
