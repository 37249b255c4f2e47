// Entry boxes bound to a field of a dataset: they show the current record, accept typing only
// while the record is being edited, hand their text to the record before it is posted, and
// move on to the next box when Enter is pressed.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include "store/dataset.h"

namespace qb {

// Enter moves the focus to the next box, as in a paper form.
class EnterEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit EnterEdit(QWidget* parent = nullptr);

    // The width at which the box shows text whole, in its own font with its frame and margins.
    int widthFor(const QString& text) const;
    // Never narrower than the text needs: a box is at least as wide as the longest value of
    // its field (the sample), so the value is never shown cut.
    void holdWhole(const QString& sample) { setMinimumWidth(widthFor(sample)); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class BoundEdit : public EnterEdit {
    Q_OBJECT

  public:
    explicit BoundEdit(QWidget* parent = nullptr);

    void bind(Dataset* table, const QString& field);
    const QString& field() const { return field_; }
    // Typed letters become capitals (the middle initial).
    void setForceUpper(bool on) { upper_ = on; }
    // Shows the record's value again, dropping what was typed.
    void refresh();
    // Puts the typed text into the record; false when the file cannot hold it.
    bool store();

  signals:
    // A double click on the box; record entry starts editing from here.
    void doubleClicked();

  protected:
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void followState();

    QPointer<Dataset> table_;
    QString field_;
    bool upper_ = false;
    bool dirty_ = false;
};

class BoundMemo : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit BoundMemo(QWidget* parent = nullptr);

    void bind(Dataset* table, const QString& field);
    void refresh();
    bool store();
    // The text as the memo field holds it: lines joined by carriage return and line feed.
    QString storedText() const;
    // Adds text at the end of the last line, as if typed there.
    void appendToLastLine(const QString& text);

  signals:
    void doubleClicked();

  protected:
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QPointer<Dataset> table_;
    QString field_;
    bool dirty_ = false;
};

// Tells the user about a character the contact file cannot hold.
QString unholdableMessage(QChar c);

}  // namespace qb
