// Work area: moving through the selection in the controlling order, seeking, the selection
// itself and positional (row) access.
#include <algorithm>
#include <cstring>

#include "xbase/error.h"
#include "xbase/work_area_state.h"

namespace xb {

// ---- Selection bits ---------------------------------------------------------------------

void WorkArea::State::ensureBits() {
    if (sel.bitsValid()) return;
    uint32_t n = t().recordCount();
    sel.resetBits(n, hideDeleted);
    EvalSettings es = evalSettings();
    DbfTable::Scanner scan(t(), 1, n);
    uint32_t r = 0;
    while (const uint8_t* rec = scan.next(r)) {
        bool match = filter.valid() ? filter.evalLogical(refOf(rec, r), es) : true;
        sel.set(r, match, rec[0] == '*');
    }
}

bool WorkArea::State::visible(uint32_t r) {
    if (!selectionActive()) return true;
    ensureBits();
    return sel.visible(r);
}

void WorkArea::State::afterWrite(const uint8_t* oldRec, uint32_t r, bool orderMoved) {
    bool visibilityChanged = false;
    if (sel.bitsValid()) {
        bool before = sel.visible(r);
        bool match =
            filter.valid() ? filter.evalLogical(refOf(buf.data(), r), evalSettings()) : true;
        sel.set(r, match, buf[0] == '*');
        visibilityChanged = before != sel.visible(r) || oldRec == nullptr;
    } else if (oldRec == nullptr || (oldRec[0] == '*') != (buf[0] == '*')) {
        visibilityChanged = true;
    }
    if (orderMoved || visibilityChanged || current > 0) {
        // Rows may have moved; the cursor's remembered pair may be gone.
        if (orderMoved || visibilityChanged) sel.invalidateRows();
        if (cursor) cursorRec = 0;
    }
}

// ---- Cursor on the controlling order -------------------------------------------------------

void WorkArea::State::positionCursorAt(uint32_t r) {
    Order* o = currentOrder();
    if (!cursor) cursor = o->tag->cursor();
    std::vector<uint8_t> key(size_t(o->keyLength));
    std::vector<uint8_t> rec(size_t(t().recordLength()));
    const uint8_t* image;
    if (r == recno && !buf.empty() && !appending) {
        image = buf.data();
    } else {
        t().readRecord(r, rec.data());
        image = rec.data();
    }
    computeKey(*o, image, r, key.data());
    cursor->seekPair(key.data(), r);
    cursorRec = r;
    cursorExact = cursor->valid() && cursor->recno() == r &&
                  std::memcmp(cursor->key(), key.data(), key.size()) == 0;
}

// Steps the cursor in the order's direction (descending orders walk the tree backwards).
static bool cursorStep(index::TagCursor& c, bool forward, bool descending) {
    return forward != descending ? c.next() : c.prev();
}

uint32_t WorkArea::State::stepFrom(uint32_t r, bool forward) {
    uint32_t n = t().recordCount();
    Order* o = currentOrder();
    if (!o) {
        if (selectionActive()) {
            ensureBits();
            return forward ? sel.nextVisible(r) : sel.prevVisible(r);
        }
        if (forward) return r + 1 <= n ? r + 1 : 0;
        if (r > n + 1) r = n + 1;
        return r >= 2 ? r - 1 : 0;
    }
    if (!cursor) cursor = o->tag->cursor();
    bool ok;
    if (r == 0 || r > n) {
        if (forward && r > n) return 0;
        bool toStart = (r == 0) != o->descending;
        ok = toStart ? cursor->first() : cursor->last();
        cursorExact = false;
    } else {
        if (cursorRec != r) positionCursorAt(r);
        // The cursor sits on r's entry, or where r's entry would be (the next entry).
        bool physicalForward = forward != o->descending;
        if (physicalForward)
            ok = cursorExact ? cursor->next() : cursor->valid();
        else
            ok = cursor->valid() ? cursor->prev() : cursor->last();
    }
    while (ok) {
        uint32_t x = cursor->recno();
        if (x >= 1 && x <= n && visible(x)) {
            cursorRec = x;
            cursorExact = true;
            return x;
        }
        ok = cursorStep(*cursor, forward, o->descending);
    }
    cursorRec = 0;
    return 0;
}

void WorkArea::State::settle(uint32_t r) {
    if (r == 0) {
        setEof();
        return;
    }
    loadRecord(r);
    eof = false;
    bof = false;
}

void WorkArea::State::setEof() {
    loadRecord(0);
    eof = true;
    bof = false;
    cursorRec = 0;
}

// ---- Movement -------------------------------------------------------------------------------

void WorkArea::go(uint32_t r) {
    s_->requireOpen();
    s_->postPending();
    s_->found = false;
    uint32_t n = s_->t().recordCount();
    if (r < 1 || r > n) {
        s_->setEof();
        return;
    }
    bool member = true;
    if (s_->currentOrder()) {
        s_->positionCursorAt(r);
        member = s_->cursorExact;  // a partial or conditional order may not hold r
    }
    if (member && s_->visible(r)) {
        s_->settle(r);
        return;
    }
    uint32_t next = s_->stepFrom(r, true);
    s_->settle(next);
}

uint32_t WorkArea::recNo() const {
    if (!s_->table) return 0;
    return s_->recno;
}

uint32_t WorkArea::recCount() const {
    return s_->t().recordCount();
}
bool WorkArea::eof() const {
    return s_->eof;
}
bool WorkArea::bof() const {
    return s_->bof;
}
bool WorkArea::found() const {
    return s_->found;
}

void WorkArea::first() {
    s_->requireOpen();
    s_->postPending();
    s_->found = false;
    uint32_t r = s_->stepFrom(0, true);
    if (r == 0) {
        s_->setEof();
        s_->bof = true;
        return;
    }
    s_->settle(r);
}

void WorkArea::last() {
    s_->requireOpen();
    s_->postPending();
    s_->found = false;
    uint32_t r = s_->stepFrom(s_->t().recordCount() + 1, false);
    if (r == 0) {
        s_->setEof();
        s_->bof = true;
        return;
    }
    s_->settle(r);
}

void WorkArea::skip(long count) {
    s_->requireOpen();
    s_->postPending();
    s_->found = false;
    if (count == 0) {
        if (!s_->eof) s_->settle(s_->recno);
        return;
    }
    for (long i = 0; i < count; ++i) {
        if (s_->eof) return;
        uint32_t r = s_->stepFrom(s_->recno, true);
        if (r == 0) {
            s_->setEof();
            return;
        }
        s_->settle(r);
    }
    for (long i = 0; i > count; --i) {
        uint32_t from = s_->eof ? s_->t().recordCount() + 1 : s_->recno;
        uint32_t r = s_->stepFrom(from, false);
        if (r == 0) {
            // Before the first record: stay on the first one (or at the end when there is none).
            uint32_t firstRec = s_->stepFrom(0, true);
            s_->settle(firstRec);
            s_->bof = true;
            return;
        }
        s_->settle(r);
    }
}

// ---- Seeking --------------------------------------------------------------------------------

namespace {

bool seekBytes(WorkArea::State& s, const uint8_t* bytes, int len) {
    s.found = false;
    Order* o = s.currentOrder();
    if (!o) fail(ErrorCode::State, s.path + ": seeking needs an index order");
    if (!s.cursor) s.cursor = o->tag->cursor();
    uint32_t n = s.t().recordCount();
    bool ok = s.cursor->seek(bytes, len);
    while (ok && (s.cursor->recno() < 1 || s.cursor->recno() > n || !s.visible(s.cursor->recno())))
        ok = s.cursor->next();
    if (ok && std::memcmp(s.cursor->key(), bytes, size_t(len)) == 0) {
        uint32_t r = s.cursor->recno();
        s.settle(r);
        s.cursorRec = r;
        s.cursorExact = true;
        s.found = true;
        return true;
    }
    if (ok && s.softSeek) {
        uint32_t r = s.cursor->recno();
        s.settle(r);
        s.cursorRec = r;
        s.cursorExact = true;
        return false;
    }
    s.setEof();
    return false;
}

}  // namespace

bool WorkArea::seek(std::string_view utf8) {
    s_->requireOpen();
    s_->postPending();
    Order* o = s_->currentOrder();
    if (!o) fail(ErrorCode::State, s_->path + ": seeking needs an index order");
    if (o->kind == KeyKind::Binary) {
        std::string text(utf8);
        if (o->key.type() == ValueType::Date) {
            Jdn d = text.size() == 8 ? jdnFromDbf(text.c_str()) : kEmptyDate;
            return seekDate(d);
        }
        char* end = nullptr;
        double v = std::strtod(text.c_str(), &end);
        return seekNumber(v);
    }
    std::string bytes = s_->t().codePage().encode(utf8);
    int K = o->keyLength;
    bool matchable = true;
    if (int(bytes.size()) > K) {
        // A search longer than the key can only match when the excess is blanks.
        matchable = bytes.find_first_not_of(' ', size_t(K)) == std::string::npos;
        bytes.resize(size_t(K));
    }
    if (s_->exact && int(bytes.size()) < K) bytes.resize(size_t(K), ' ');
    bool hit = seekBytes(*s_, reinterpret_cast<const uint8_t*>(bytes.data()), int(bytes.size()));
    if (hit && !matchable) {
        s_->found = false;
        if (!s_->softSeek) s_->setEof();
        return false;
    }
    return hit;
}

bool WorkArea::seekNumber(double value) {
    s_->requireOpen();
    s_->postPending();
    uint8_t key[8];
    encodeNumericKey(value, key);
    return seekBytes(*s_, key, 8);
}

bool WorkArea::seekDate(Jdn value) {
    s_->requireOpen();
    s_->postPending();
    uint8_t key[8];
    encodeDateKey(value, key);
    return seekBytes(*s_, key, 8);
}

void WorkArea::setExact(bool on) {
    if (s_->exact != on && s_->filter.valid()) s_->sel.invalidateBits();
    s_->exact = on;
}
bool WorkArea::exact() const {
    return s_->exact;
}
void WorkArea::setSoftSeek(bool on) {
    s_->softSeek = on;
}

// ---- Selection ------------------------------------------------------------------------------

void WorkArea::query(const std::string& expr) {
    s_->requireOpen();
    s_->postPending();
    if (expr.find_first_not_of(" \t") == std::string::npos) {
        s_->filter = Expression();
        s_->filterText.clear();
    } else {
        Expression e = s_->compile(expr);
        if (e.type() != ValueType::Logical)
            fail(ErrorCode::Type, "The selection \"" + expr + "\" is not a logical expression");
        s_->filter = std::move(e);
        s_->filterText = expr;
    }
    s_->sel.invalidateBits();
    s_->cursorRec = 0;
}

const std::string& WorkArea::dbFilter() const {
    return s_->filterText;
}

void WorkArea::setDeleted(bool hide) {
    if (s_->hideDeleted == hide) return;
    s_->hideDeleted = hide;
    s_->sel.setHideDeleted(hide);
}
bool WorkArea::deletedHidden() const {
    return s_->hideDeleted;
}

uint32_t WorkArea::queryRecCount() {
    s_->requireOpen();
    s_->postPending();
    Order* o = s_->currentOrder();
    bool fullOrder = !o || (!o->partial && !o->cond.valid());
    if (fullOrder) {
        if (!s_->selectionActive()) return s_->t().recordCount();
        s_->ensureBits();
        return s_->sel.visibleCount();
    }
    s_->ensureRows();
    return uint32_t(s_->sel.rows().size());
}

bool WorkArea::evalLogical(const std::string& expr) {
    Value v = evaluate(expr);
    if (v.type != ValueType::Logical)
        fail(ErrorCode::Type, "\"" + expr + "\" is not a logical expression");
    return v.log;
}

Value WorkArea::evaluate(const std::string& expr) {
    s_->requireOpen();
    if (expr != s_->lastExprText || !s_->lastExpr.valid()) {
        s_->lastExpr = s_->compile(expr);
        s_->lastExprText = expr;
    }
    return s_->lastExpr.evaluate(s_->refOf(s_->buf.data(), s_->recno, true), s_->evalSettings());
}

// ---- Rows -------------------------------------------------------------------------------------

void WorkArea::State::ensureRows() {
    if (sel.rowsValid()) return;
    uint32_t n = t().recordCount();
    std::vector<uint32_t> rows;
    Order* o = currentOrder();
    if (!o) {
        if (selectionActive()) {
            ensureBits();
            rows.reserve(sel.visibleCount());
            for (uint32_t r = sel.nextVisible(0); r != 0; r = sel.nextVisible(r))
                rows.push_back(r);
        } else {
            rows.resize(n);
            for (uint32_t r = 1; r <= n; ++r)
                rows[r - 1] = r;
        }
    } else {
        if (selectionActive()) ensureBits();
        auto c = o->tag->cursor();
        for (bool ok = c->first(); ok; ok = c->next()) {
            uint32_t r = c->recno();
            if (r >= 1 && r <= n && (!selectionActive() || sel.visible(r))) rows.push_back(r);
        }
        if (o->descending) std::reverse(rows.begin(), rows.end());
    }
    sel.setRows(std::move(rows), n);
}

uint32_t WorkArea::selectionCount() {
    s_->requireOpen();
    s_->postPending();
    if (!s_->currentOrder() && !s_->selectionActive()) return s_->t().recordCount();
    s_->ensureRows();
    return uint32_t(s_->sel.rows().size());
}

uint32_t WorkArea::position() {
    s_->requireOpen();
    s_->postPending();
    if (s_->eof) return selectionCount();
    if (!s_->currentOrder() && !s_->selectionActive()) return s_->recno - 1;
    s_->ensureRows();
    uint32_t row = s_->sel.rowOf(s_->recno);
    if (row != Selection::kNoRow) return row;
    // Outside the selection: the row of the record that a skip forward would reach.
    uint32_t next = s_->stepFrom(s_->recno, true);
    if (next == 0) return uint32_t(s_->sel.rows().size());
    row = s_->sel.rowOf(next);
    return row == Selection::kNoRow ? uint32_t(s_->sel.rows().size()) : row;
}

void WorkArea::goPosition(uint32_t row) {
    s_->requireOpen();
    s_->postPending();
    s_->found = false;
    if (!s_->currentOrder() && !s_->selectionActive()) {
        if (row < s_->t().recordCount())
            s_->settle(row + 1);
        else
            s_->setEof();
        return;
    }
    s_->ensureRows();
    if (row >= s_->sel.rows().size()) {
        s_->setEof();
        return;
    }
    s_->settle(s_->sel.rows()[row]);
    s_->cursorRec = 0;
}

}  // namespace xb
