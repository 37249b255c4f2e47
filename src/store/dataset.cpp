// The dataset over an engine work area: state changes, movement with its signals, and the
// suspension of bound controls during long runs.
#include "store/dataset.h"

#include "store/date_format.h"
#include "store/output_file.h"
#include "xbase/error.h"

namespace qb {
namespace {

bool g_hideMarked = false;

std::string utf8(const QString& s) {
    return s.toUtf8().toStdString();
}

QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

}  // namespace

Dataset::Dataset(QObject* parent) : QObject(parent), area_(std::make_unique<xb::WorkArea>()) {}

Dataset::~Dataset() {
    try {
        area_->close();
    } catch (...) {
        // Nobody is left to tell; the engine flushed what it could.
    }
}

void Dataset::setHideMarkedRecords(bool hide) {
    g_hideMarked = hide;
}

bool Dataset::hideMarkedRecords() {
    return g_hideMarked;
}

template <typename F>
bool Dataset::attempt(F&& action) {
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        emit failed(QString::fromUtf8(e.what()));
        return false;
    }
}

// ---- Opening ------------------------------------------------------------------------------

void Dataset::open(const QString& path, xb::UseMode mode) {
    close();
    area_->use(utf8(path), mode);
    // While open, neither the table nor its memo and index may become an output's target.
    ownedPath_ = path;
    OwnedFiles::addTable(ownedPath_);
    area_->setDeleted(g_hideMarked);
    if (!selection_.isEmpty()) {
        try {
            area_->query(utf8(selection_));
        } catch (const xb::Error&) {
            // A selection that does not fit this table's fields is dropped, not fatal.
            selection_.clear();
        }
    }
    area_->first();
    setState(DatasetState::Browse);
    emit afterOpen();
    notifyRows();
    notifyRecord();
}

void Dataset::close() {
    if (!area_->isOpen()) return;
    OwnedFiles::removeTable(ownedPath_);
    if (editing()) cancel();
    attempt([&] { area_->close(); });
    // The engine is closed even when the final flush failed.
    if (area_->isOpen()) area_ = std::make_unique<xb::WorkArea>();
    setState(DatasetState::Inactive);
    emit afterClose();
    notifyRows();
    notifyRecord();
}

bool Dataset::isOpen() const {
    return area_->isOpen();
}

QString Dataset::path() const {
    return area_->isOpen() ? fromUtf8(area_->path()) : QString();
}

// ---- Fields -------------------------------------------------------------------------------

bool Dataset::hasField(const QString& name) const {
    return area_->isOpen() && area_->fieldNumber(utf8(name)) != 0;
}

int Dataset::fieldWidth(const QString& name) const {
    return hasField(name) ? area_->fieldWidth(utf8(name)) : 0;
}

char Dataset::fieldType(const QString& name) const {
    return hasField(name) ? area_->fieldType(utf8(name)) : '\0';
}

QString Dataset::text(const QString& field) const {
    if (!hasField(field) || (area_->eof() && !area_->appending())) return {};
    return fromUtf8(area_->getText(utf8(field)));
}

xb::Jdn Dataset::date(const QString& field) const {
    if (!hasField(field) || (area_->eof() && !area_->appending())) return xb::kEmptyDate;
    return area_->getDate(utf8(field));
}

QString Dataset::memo(const QString& field) const {
    if (!hasField(field) || (area_->eof() && !area_->appending())) return {};
    try {
        return fromUtf8(area_->getMemo(utf8(field)));
    } catch (const xb::Error&) {
        // A damaged memo block must not stop the record from showing.
        return {};
    }
}

QString Dataset::displayText(const QString& field) const {
    if (fieldType(field) == 'D') return formatDate(date(field));
    return text(field);
}

void Dataset::setText(const QString& field, const QString& value) {
    if (!editing())
        xb::fail(xb::ErrorCode::State, utf8(path()) + ": the record is not being edited");
    area_->putText(utf8(field), utf8(value));
}

void Dataset::setDate(const QString& field, xb::Jdn value) {
    if (!editing())
        xb::fail(xb::ErrorCode::State, utf8(path()) + ": the record is not being edited");
    area_->putDate(utf8(field), value);
}

void Dataset::setMemo(const QString& field, const QString& value) {
    if (!editing())
        xb::fail(xb::ErrorCode::State, utf8(path()) + ": the record is not being edited");
    area_->replace(utf8(field), utf8(value));
}

std::optional<QChar> Dataset::unholdable(const QString& value) const {
    if (!area_->isOpen()) return std::nullopt;
    std::string out;
    char32_t bad = 0;
    if (area_->codePage().fromUtf8(utf8(value), out, &bad)) return std::nullopt;
    const QString s = QString::fromUcs4(&bad, 1);
    return s.isEmpty() ? QChar(QChar::ReplacementCharacter) : s.front();
}

// ---- States -------------------------------------------------------------------------------

void Dataset::setState(DatasetState state) {
    if (state_ == state) return;
    state_ = state;
    if (controlsDisabled()) {
        pendingState_ = true;
    } else {
        emit stateChanged();
    }
}

bool Dataset::edit() {
    if (!isOpen() || editing()) return editing();
    if (!onRecord()) return false;
    setState(DatasetState::Edit);
    emit afterEdit();
    return true;
}

bool Dataset::insert() {
    if (!isOpen()) return false;
    if (editing() && !leaveEditing()) return false;
    emit beforeInsert();
    if (!attempt([&] { area_->append(); })) return false;
    setState(DatasetState::Insert);
    emit afterInsert();
    notifyRecord();
    return true;
}

bool Dataset::post() {
    if (!editing()) return true;
    emit updateRecord();
    emit beforePost();
    if (!attempt([&] { area_->post(); })) return false;
    setState(DatasetState::Browse);
    emit afterPost();
    notifyRows();
    notifyRecord();
    return true;
}

void Dataset::cancel() {
    if (!editing()) return;
    attempt([&] { area_->cancel(); });
    setState(DatasetState::Browse);
    emit afterCancel();
    notifyRecord();
}

bool Dataset::leaveEditing() {
    if (!editing()) return true;
    emit updateRecord();
    // An untouched new record is dropped rather than stored blank.
    if (state_ == DatasetState::Insert && !area_->modified()) {
        cancel();
        return true;
    }
    return post();
}

// ---- Position -----------------------------------------------------------------------------

bool Dataset::move(const std::function<void()>& step) {
    if (!isOpen()) return false;
    if (!leaveEditing()) return false;
    hitEnd_ = false;
    const bool ok = attempt(step);
    notifyRecord();
    return ok;
}

bool Dataset::first() {
    return move([&] { area_->first(); });
}

bool Dataset::last() {
    return move([&] { area_->last(); });
}

bool Dataset::next() {
    bool ranOff = false;
    const bool ok = move([&] {
        if (area_->eof()) {
            ranOff = true;
            return;
        }
        area_->skip(1);
        // Windows keep showing the last record rather than an empty one past it.
        if (area_->eof()) {
            ranOff = true;
            area_->last();
        }
    });
    hitEnd_ = ranOff;
    return ok;
}

bool Dataset::prior() {
    return move([&] { area_->skip(-1); });
}

bool Dataset::go(uint32_t recno) {
    return move([&] { area_->go(recno); });
}

bool Dataset::goPosition(uint32_t row) {
    return move([&] { area_->goPosition(row); });
}

bool Dataset::eof() const {
    return !isOpen() || hitEnd_ || area_->eof();
}

bool Dataset::bof() const {
    return !isOpen() || area_->bof();
}

uint32_t Dataset::recNo() const {
    return isOpen() ? area_->recNo() : 0;
}

uint32_t Dataset::recCount() const {
    return isOpen() ? area_->recCount() : 0;
}

bool Dataset::onRecord() const {
    return isOpen() && area_->recNo() != area_->recCount() + 1 && !area_->eof();
}

uint32_t Dataset::selectionCount() {
    if (!isOpen()) return 0;
    uint32_t n = 0;
    attempt([&] { n = area_->selectionCount(); });
    return n;
}

uint32_t Dataset::position() {
    if (!isOpen()) return 0;
    uint32_t n = 0;
    attempt([&] { n = area_->position(); });
    return n;
}

bool Dataset::markDeleted() {
    if (!onRecord()) return false;
    if (editing()) cancel();
    const bool ok = attempt([&] { area_->deleteRecord(); });
    // A hidden record cannot stay current: show the one that took its place.
    if (ok && area_->deletedHidden()) {
        attempt([&] {
            const uint32_t r = area_->recNo();
            area_->go(r);
        });
    }
    notifyRows();
    notifyRecord();
    return ok;
}

// ---- Order and selection ------------------------------------------------------------------

void Dataset::setOrderTag(const QString& tag) {
    if (!isOpen()) return;
    if (!leaveEditing()) return;
    attempt([&] { area_->setOrder(area_->tagArea(utf8(tag))); });
    notifyRows();
    notifyRecord();
}

QString Dataset::orderTag() const {
    if (!isOpen() || area_->indexOrd() == 0) return {};
    return fromUtf8(area_->tagName(area_->indexOrd()));
}

bool Dataset::setSelection(const QString& expression) {
    if (!isOpen()) {
        selection_ = expression;
        return true;
    }
    if (!leaveEditing()) return false;
    const bool ok = attempt([&] {
        area_->query(utf8(expression));
        selection_ = expression;
        // query() leaves the record where it was, visible or not.
        if (!area_->eof()) {
            area_->go(area_->recNo());
        } else {
            area_->first();
        }
    });
    notifyRows();
    notifyRecord();
    return ok;
}

uint32_t Dataset::selectionRecordCount() {
    if (!isOpen()) return 0;
    uint32_t n = 0;
    attempt([&] { n = area_->queryRecCount(); });
    return n;
}

// ---- Display ------------------------------------------------------------------------------

void Dataset::disableControls() {
    ++disabled_;
}

void Dataset::enableControls() {
    if (disabled_ == 0) return;
    if (--disabled_ > 0) return;
    if (pendingState_) emit stateChanged();
    if (pendingRows_) emit rowsChanged();
    if (pendingRecord_) emit recordChanged();
    pendingState_ = pendingRows_ = pendingRecord_ = false;
}

void Dataset::resync() {
    notifyRows();
    notifyRecord();
}

void Dataset::notifyRecord() {
    if (controlsDisabled()) {
        pendingRecord_ = true;
    } else {
        emit recordChanged();
    }
}

void Dataset::notifyRows() {
    hitEnd_ = false;
    if (controlsDisabled()) {
        pendingRows_ = true;
    } else {
        emit rowsChanged();
    }
}

std::vector<QStringList> Dataset::rowValues(uint32_t firstRow, uint32_t count,
                                            const QStringList& fields) {
    std::vector<QStringList> out;
    if (!isOpen() || editing() || count == 0) return out;
    try {
        const bool wasEof = area_->eof();
        const uint32_t saved = area_->recNo();
        area_->goPosition(firstRow);
        while (!area_->eof() && out.size() < count) {
            QStringList values;
            values.reserve(fields.size());
            for (const QString& f : fields)
                values << displayText(f);
            out.push_back(std::move(values));
            area_->skip(1);
        }
        if (wasEof) {
            area_->goPosition(area_->selectionCount());
        } else {
            area_->go(saved);
        }
    } catch (const std::exception& e) {
        emit failed(QString::fromUtf8(e.what()));
        out.clear();
    }
    return out;
}

}  // namespace qb
