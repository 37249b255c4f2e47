// The memo search: the window shown while it runs, with its Cancel button, and the walk
// through the selection in the current order looking for a text inside the memos.
#pragma once

#include <QDialog>

#include "store/dataset.h"

class QLabel;
class QPushButton;

namespace qb {

// How much of a memo is looked at.
inline constexpr qsizetype kMemoSearchReach = 32767;

// Whether the memo holds the text, case aside, within its first kMemoSearchReach characters.
// An empty memo holds nothing.
bool memoContains(const QString& memo, const QString& text);

class TQBWSearching : public QDialog {
    Q_OBJECT

  public:
    // fromStart: begin at the first record, else at the one after the current record.
    TQBWSearching(Dataset& table, const QString& text, bool fromStart, QWidget* parent = nullptr);

    // After exec(): whether the walk stopped on a record whose memo holds the text (it is
    // then current; otherwise the record current before is).
    bool found() const { return found_; }
    // Stops the walk at the record being looked at.
    void CancelButtonClick();

    QLabel* SearchingFor;
    QPushButton* CancelButton;

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private:
    void run();
    bool matches();

    Dataset& table_;
    QString text_;
    bool fromStart_;
    bool started_ = false;
    bool running_ = false;
    bool cancelled_ = false;
    bool found_ = false;
};

}  // namespace qb
