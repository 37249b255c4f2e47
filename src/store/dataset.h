// A table as the windows see it: an engine work area with a current record, browse, edit and
// insert states, post and cancel, and signals for the moments windows react to. Bound entry
// boxes and grids follow it; a run that walks the records suspends their display.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "xbase/work_area.h"

namespace qb {

enum class DatasetState { Inactive, Browse, Edit, Insert };

class Dataset : public QObject {
    Q_OBJECT

  public:
    explicit Dataset(QObject* parent = nullptr);
    ~Dataset() override;

    // Whether records marked deleted are hidden in every table opened from now on. The
    // program turns this on at start-up and never off.
    static void setHideMarkedRecords(bool hide);
    static bool hideMarkedRecords();

    // ---- Opening ---------------------------------------------------------------------------
    // Opens the table and re-applies the selection last given (so it survives a reopen);
    // leaves the table on its first record. Throws xb::Error when the file cannot be opened.
    void open(const QString& path, xb::UseMode mode = xb::UseMode::Exclusive);
    void close();
    bool isOpen() const;
    QString path() const;
    DatasetState state() const { return state_; }
    bool editing() const { return state_ == DatasetState::Edit || state_ == DatasetState::Insert; }

    // The engine work area, for the routines that need calls the dataset does not wrap.
    // Moving it directly bypasses the signals; call resync() afterwards.
    xb::WorkArea& area() { return *area_; }
    const xb::WorkArea& area() const { return *area_; }

    // ---- Fields ----------------------------------------------------------------------------
    bool hasField(const QString& name) const;
    int fieldWidth(const QString& name) const;
    char fieldType(const QString& name) const;
    // The current record's values (the edit buffer while editing); text without trailing blanks.
    QString text(const QString& field) const;
    xb::Jdn date(const QString& field) const;
    QString memo(const QString& field) const;
    // Changes the edit buffer; only while editing. Throws xb::Error(CodePage) for a character
    // the table's code page cannot hold (see unholdable()).
    void setText(const QString& field, const QString& value);
    void setDate(const QString& field, xb::Jdn value);
    void setMemo(const QString& field, const QString& value);
    // The first character of value that this table's code page cannot store, if any.
    std::optional<QChar> unholdable(const QString& value) const;

    // ---- States ----------------------------------------------------------------------------
    // Each returns false when the engine refused; the reason goes out through failed().
    bool edit();
    bool insert();
    bool post();
    void cancel();

    // ---- Position --------------------------------------------------------------------------
    // Moving while editing posts the record first, as leaving a record always does. Stepping
    // past the last record stays on it and sets eof(); stepping before the first stays on it
    // and sets bof().
    bool first();
    bool last();
    bool next();
    bool prior();
    bool go(uint32_t recno);
    bool goPosition(uint32_t row);
    bool eof() const;
    bool bof() const;
    uint32_t recNo() const;
    uint32_t recCount() const;
    // Positioned on a record (not at the end of file).
    bool onRecord() const;
    // The selection's rows in the current order and the current record's row.
    uint32_t selectionCount();
    uint32_t position();
    // Deletion mark on the current record (hidden from then on); false when refused.
    bool markDeleted();

    // ---- Order and selection ---------------------------------------------------------------
    // The tag's order, or record-number order when the table lacks it. Keeps the record.
    void setOrderTag(const QString& tag);
    QString orderTag() const;
    // Sets the selection ("" for none) and stays on the record when it is still visible,
    // else goes to the first one. Returns false (selection unchanged) when the engine rejects
    // the expression.
    bool setSelection(const QString& expression);
    QString selection() const { return selection_; }
    // Records in the selection.
    uint32_t selectionRecordCount();

    // ---- Display ---------------------------------------------------------------------------
    // Bound controls stop following the table until the matching enableControls(); then
    // they catch up once. Nests.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disabled_ > 0; }
    // Tells the controls that the table was moved or changed behind the dataset's back.
    void resync();

    // Reads the given fields of up to count rows from firstRow on, without moving the
    // current record (browse state only). Fewer rows come back at the end of the selection.
    std::vector<QStringList> rowValues(uint32_t firstRow, uint32_t count,
                                       const QStringList& fields);
    // The value of one field of the current engine record as shown in grids and boxes.
    QString displayText(const QString& field) const;

  signals:
    // Table events, sent whatever the display state.
    void beforeInsert();
    void afterInsert();
    void afterEdit();
    void beforePost();
    void afterPost();
    void afterCancel();
    void afterOpen();
    void afterClose();
    // Display notifications, held back while controls are disabled.
    void recordChanged();  // another record is current, or its values changed
    void rowsChanged();    // the rows themselves changed: order, selection, posts, deletions
    void stateChanged();
    // Bound controls write their pending text into the record when this comes.
    void updateRecord();
    // The engine refused something; the text names the file and the fault.
    void failed(const QString& message);

  private:
    template <typename F>
    bool attempt(F&& action);
    bool move(const std::function<void()>& step);
    bool leaveEditing();
    void setState(DatasetState state);
    void notifyRecord();
    void notifyRows();

    std::unique_ptr<xb::WorkArea> area_;
    DatasetState state_ = DatasetState::Inactive;
    QString selection_;
    // The path under which the open table is listed among the files no output may replace.
    QString ownedPath_;
    int disabled_ = 0;
    bool pendingRecord_ = false;
    bool pendingRows_ = false;
    bool pendingState_ = false;
    bool hitEnd_ = false;  // next() ran past the last record and came back to it
};

}  // namespace qb
