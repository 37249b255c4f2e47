// Work area: changing the current record, appending, posting, the deletion mark.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "xbase/error.h"
#include "xbase/work_area_state.h"

namespace xb {

namespace {

// Posts whose index pages may wait in the page cache before they are written.
constexpr int kDeferredPostLimit = 256;

void fitText(const FieldInfo& f, std::string_view bytes, uint8_t* out) {
    size_t n = bytes.size() < size_t(f.width) ? bytes.size() : size_t(f.width);
    std::memcpy(out, bytes.data(), n);
    std::memset(out + n, ' ', size_t(f.width) - n);
}

}  // namespace

void WorkArea::State::writeMemos() {
    for (auto& [index, text] : memoEdits) {
        const FieldInfo& f = t().fields().at(index);
        MemoFile* memo = t().memo();
        if (!memo) fail(ErrorCode::State, path + ": the table has no memo file");
        uint32_t old = memoBlockFromField(orig.data() + f.offset, f.width);
        // Keys read from memos need the old text to find the old key: never overwrite it then.
        bool keyedOnMemo = false;
        for (auto& o : orders)
            keyedOnMemo = keyedOnMemo || o.depMemo;
        if (appending || keyedOnMemo) old = 0;
        uint32_t block = memo->write(old, text);
        memoBlockToField(block, buf.data() + f.offset, f.width);
    }
}

void WorkArea::State::postPending() {
    if (!table || (!modified && !appending)) return;
    requireWritable();
    // What was read ahead may be about to change: trusted again only once the record is written.
    const uint32_t aheadCount = raCount;
    raCount = 0;
    writeMemos();
    const bool haveOrders = !orders.empty();
    // The flag marks the window in which the record is on the file but its keys may not be.
    if (haveOrders) t().setTransactionFlag(true);
    const bool wasAppend = appending;
    const bool memoChanged = !memoEdits.empty();
    // The record as it was, for the keys to take out; kept in the state so that a run of
    // posts reuses its buffer.
    std::vector<uint8_t>& before = priorImage;
    if (wasAppend) {
        recno = t().appendRecord(buf.data());
    } else {
        t().writeRecord(recno, buf.data());
        before = orig;
    }
    // Only this work area writes in exclusive use: the copy read ahead takes the new record.
    if (mode == UseMode::Exclusive) {
        raCount = aheadCount;
        if (recno >= raFirst && recno < raFirst + raCount)
            std::memcpy(readAhead.data() + size_t(recno - raFirst) * buf.size(), buf.data(),
                        buf.size());
    }
    // The record is on the file: whatever happens next, it must not be written again.
    appending = false;
    modified = false;
    memoEdits.clear();
    orig = buf;
    eof = false;
    bof = false;
    bool moved;
    try {
        moved = updateIndexes(wasAppend ? nullptr : before.data(), buf.data(), recno, memoChanged);
        // Nobody else can read the index files in exclusive use, so the pages a run of posts
        // changes are written together (each page once) and the flag stays set until they
        // are: a process killed in between leaves the flag, and the next exclusive open
        // rebuilds the keys. Shared use writes each post's pages at once for other openers.
        if (haveOrders && mode == UseMode::Exclusive && deferredPosts + 1 < kDeferredPostLimit) {
            ++deferredPosts;
        } else {
            flushIndexes();
            if (haveOrders) t().setTransactionFlag(false);
        }
    } catch (...) {
        // The flag stays set on the file, so the next exclusive open rebuilds the keys.
        indexProblem = "The index files may be out of date: writing their keys failed";
        sel.invalidateBits();
        cursorRec = 0;
        throw;
    }
    afterWrite(wasAppend ? nullptr : before.data(), recno, moved || wasAppend);
}

void WorkArea::post() {
    s_->postPending();
}

void WorkArea::cancel() {
    if (!s_->table) return;
    if (s_->appending) {
        uint32_t back = s_->beforeAppend;
        s_->appending = false;
        s_->modified = false;
        s_->memoEdits.clear();
        if (back >= 1 && back <= s_->t().recordCount())
            s_->settle(back);
        else
            s_->setEof();
        return;
    }
    s_->buf = s_->orig;
    s_->memoEdits.clear();
    s_->modified = false;
}

void WorkArea::appendRecords(std::string_view records) {
    State& s = *s_;
    s.requireWritable();
    if (s.mode != UseMode::Exclusive || !s.orders.empty())
        fail(ErrorCode::State, s.path +
                                   ": records are added in blocks only in exclusive use "
                                   "with no index open");
    const size_t per = size_t(s.t().recordLength());
    if (records.size() % per != 0)
        fail(ErrorCode::Argument, s.path + ": a block of records must be whole records");
    if (records.empty()) return;
    s.postPending();
    const uint32_t last = s.t().appendRecords(reinterpret_cast<const uint8_t*>(records.data()),
                                              uint32_t(records.size() / per));
    s.raCount = 0;
    s.sel.invalidateBits();
    s.cursorRec = 0;
    s.settle(last);
}

int WorkArea::recordLength() const {
    s_->requireOpen();
    return s_->t().recordLength();
}

std::string WorkArea::blankRecord() const {
    s_->requireOpen();
    std::vector<uint8_t> rec;
    s_->blankRecord(rec);
    return {reinterpret_cast<const char*>(rec.data()), rec.size()};
}

bool WorkArea::modified() const {
    return s_->modified;
}
bool WorkArea::appending() const {
    return s_->appending;
}

void WorkArea::append() {
    s_->requireWritable();
    s_->postPending();
    s_->beforeAppend = s_->eof ? 0 : s_->recno;
    s_->blankRecord(s_->buf);
    s_->orig = s_->buf;
    s_->memoEdits.clear();
    s_->recno = s_->t().recordCount() + 1;
    s_->appending = true;
    s_->modified = false;
    s_->eof = false;
    s_->bof = false;
}

namespace {
void requireRecord(const WorkArea::State& s, const char* what) {
    if (!s.appending && (s.recno < 1 || s.recno > s.t().recordCount()))
        fail(ErrorCode::State, s.path + ": cannot " + what + " at the end of file");
}
}  // namespace

void WorkArea::putRaw(std::string_view name, std::string_view bytes) {
    s_->requireWritable();
    requireRecord(*s_, "change a field");
    const FieldInfo& f = s_->field(name);
    fitText(f, bytes, s_->buf.data() + f.offset);
    s_->modified = true;
}

namespace {
const FieldInfo& fieldNumbered(const WorkArea::State& s, int number) {
    if (number < 1 || number > s.t().fields().count())
        fail(ErrorCode::Argument, s.path + ": there is no field number " + std::to_string(number));
    return s.t().fields().at(number - 1);
}
}  // namespace

void WorkArea::putRaw(int number, std::string_view bytes) {
    s_->requireWritable();
    requireRecord(*s_, "change a field");
    const FieldInfo& f = fieldNumbered(*s_, number);
    fitText(f, bytes, s_->buf.data() + f.offset);
    s_->modified = true;
}

std::string_view WorkArea::rawField(int number) const {
    const FieldInfo& f = fieldNumbered(*s_, number);
    if (s_->buf.size() < size_t(f.offset) + size_t(f.width)) return {};
    return {reinterpret_cast<const char*>(s_->buf.data() + f.offset), size_t(f.width)};
}

void WorkArea::putText(std::string_view name, std::string_view utf8) {
    s_->requireWritable();
    requireRecord(*s_, "change a field");
    const FieldInfo& f = s_->field(name);
    uint8_t* p = s_->buf.data() + f.offset;
    switch (f.type) {
        case 'C':
            fitText(f, s_->t().codePage().encode(utf8), p);
            break;
        case 'N':
        case 'F': {
            std::string s(utf8);
            size_t a = s.find_first_not_of(' ');
            if (a == std::string::npos) {
                std::memset(p, ' ', size_t(f.width));
                break;
            }
            char* end = nullptr;
            double v = std::strtod(s.c_str() + a, &end);
            while (end && *end == ' ')
                ++end;
            if (!end || *end != 0)
                fail(ErrorCode::Argument, "\"" + s + "\" is not a number for the field " + f.name);
            putNumber(name, v);
            return;
        }
        case 'D': {
            std::string s(utf8);
            while (!s.empty() && s.back() == ' ')
                s.pop_back();
            if (s.empty()) {
                putDate(name, kEmptyDate);
                return;
            }
            Jdn d = s.size() == 8 ? jdnFromDbf(s.c_str()) : kEmptyDate;
            if (d == kEmptyDate)
                fail(ErrorCode::Argument,
                     "\"" + s + "\" is not a date (yyyymmdd) for the field " + f.name);
            putDate(name, d);
            return;
        }
        case 'L': {
            char c = utf8.empty() ? ' '
                                  : char(std::toupper(static_cast<unsigned char>(
                                        utf8[0] == '.' && utf8.size() > 1 ? utf8[1] : utf8[0])));
            p[0] = (c == 'T' || c == 'Y') ? 'T' : (c == 'F' || c == 'N') ? 'F' : ' ';
            break;
        }
        case 'M':
            replace(name, utf8);
            return;
        default:
            fail(ErrorCode::Unsupported, s_->path + ": the field " + f.name + " of type " +
                                             std::string(1, f.type) + " cannot be written");
    }
    s_->modified = true;
}

void WorkArea::putText(int number, std::string_view utf8) {
    putText(fieldName(number), utf8);
}

void WorkArea::putNumber(std::string_view name, double value) {
    s_->requireWritable();
    requireRecord(*s_, "change a field");
    const FieldInfo& f = s_->field(name);
    if (f.type != 'N' && f.type != 'F')
        fail(ErrorCode::Argument, s_->path + ": the field " + f.name + " is not numeric");
    if (!std::isfinite(value))
        fail(ErrorCode::Argument, "A number for " + f.name + " must be finite");
    char buf[64];
    int n = std::snprintf(buf, sizeof buf, "%*.*f", f.width, f.decimals, value);
    if (n < 0 || n > f.width)
        fail(ErrorCode::Argument, "The number " + std::string(buf) + " does not fit the field " +
                                      f.name + " (" + std::to_string(f.width) + " wide)");
    std::memcpy(s_->buf.data() + f.offset, buf, size_t(f.width));
    s_->modified = true;
}

void WorkArea::putDate(std::string_view name, Jdn date) {
    s_->requireWritable();
    requireRecord(*s_, "change a field");
    const FieldInfo& f = s_->field(name);
    if (f.type != 'D')
        fail(ErrorCode::Argument, s_->path + ": the field " + f.name + " is not a date");
    jdnToDbf(date, reinterpret_cast<char*>(s_->buf.data() + f.offset));
    s_->modified = true;
}

void WorkArea::putLogical(std::string_view name, bool value) {
    s_->requireWritable();
    requireRecord(*s_, "change a field");
    const FieldInfo& f = s_->field(name);
    if (f.type != 'L')
        fail(ErrorCode::Argument, s_->path + ": the field " + f.name + " is not logical");
    s_->buf[size_t(f.offset)] = value ? 'T' : 'F';
    s_->modified = true;
}

void WorkArea::replace(std::string_view name, std::string_view utf8) {
    s_->requireWritable();
    requireRecord(*s_, "change a memo");
    const FieldInfo& f = s_->field(name);
    if (f.type != 'M')
        fail(ErrorCode::Argument, s_->path + ": the field " + f.name + " is not a memo");
    s_->memoEdits[f.index] = s_->t().codePage().encode(utf8);
    s_->modified = true;
}

void WorkArea::deleteRecord() {
    s_->requireWritable();
    requireRecord(*s_, "delete");
    s_->buf[0] = '*';
    s_->modified = true;
    s_->postPending();
}

void WorkArea::recall() {
    s_->requireWritable();
    requireRecord(*s_, "recall");
    s_->buf[0] = ' ';
    s_->modified = true;
    s_->postPending();
}

bool WorkArea::deleted() const {
    return !s_->buf.empty() && s_->buf[0] == '*';
}

}  // namespace xb
