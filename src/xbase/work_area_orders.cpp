// Work area: index orders — opening the production index, creating tags and single-order
// index files, keeping every open order current on writes, choosing the controlling order.
#include <strings.h>
#include <algorithm>
#include <cstring>

#include "xbase/error.h"
#include "xbase/index_builder.h"
#include "xbase/work_area_state.h"

namespace xb {

namespace {

KeyKind kindOfType(ValueType t) {
    return (t == ValueType::Numeric || t == ValueType::Date) ? KeyKind::Binary : KeyKind::Character;
}

bool samePath(const std::string& a, const std::string& b) {
    return ::strcasecmp(a.c_str(), b.c_str()) == 0 ||
           (baseNameOf(a) == a && ::strcasecmp(a.c_str(), baseNameOf(b).c_str()) == 0);
}

std::string upperName(std::string s) {
    for (auto& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

}  // namespace

std::string productionIndexPath(const std::string& tablePath) {
    return findSiblingOf(tablePath, ".CDX");
}

// ---- Opening --------------------------------------------------------------------------------

Order WorkArea::State::makeOrder(const index::TagInfo& info, index::Tag* tag, int idxSlot,
                                 const std::string& file) {
    Order o;
    o.name = info.name;
    o.file = file;
    o.keyText = info.keyExpr;
    o.forText = info.forExpr;
    o.tag = tag;
    o.idxSlot = idxSlot;
    CompileContext ctx = compileContext();
    o.key = Expression::compile(info.keyExpr, ctx);
    if (!info.forExpr.empty()) o.cond = Expression::compile(info.forExpr, ctx);
    o.keyLength = info.keyLength;
    o.kind = tag->keyKind();
    o.unique = (info.options & index::kUnique) != 0;
    o.descending = info.descending;
    for (int i = 0; i < t().fields().count(); ++i)
        if (o.key.usesField(i) || (o.cond.valid() && o.cond.usesField(i))) o.deps.push_back(i);
    o.depDeleted = o.key.usesDeleted() || (o.cond.valid() && o.cond.usesDeleted());
    o.depMemo = o.key.usesMemo() || (o.cond.valid() && o.cond.usesMemo());
    o.depRecno = o.key.usesRecno() || (o.cond.valid() && o.cond.usesRecno());
    return o;
}

void WorkArea::State::addOrdersFromCdx() {
    std::string problems;
    unusableTags.clear();
    for (int i = 0; i < cdx->tagCount(); ++i) {
        index::Tag& tg = cdx->tag(i);
        try {
            orders.push_back(makeOrder(tg.info(), &tg, -1, cdx->path()));
        } catch (const Error& e) {
            problems += std::string(problems.empty() ? "" : "; ") + "tag " + tg.info().name + ": " +
                        e.what();
            unusableTags.push_back("tag " + tg.info().name + " (" +
                                   t().codePage().toUtf8(tg.info().keyExpr) + ")");
        }
    }
    if (!problems.empty()) indexProblem = cdx->path() + ": " + problems;
}

void WorkArea::State::rebuildOrderList() {
    std::string curName, curFile;
    if (Order* o = currentOrder()) {
        curName = o->name;
        curFile = o->file;
    }
    orders.clear();
    cursor.reset();
    cursorRec = 0;
    if (cdx) addOrdersFromCdx();
    for (size_t i = 0; i < idxFiles.size(); ++i) {
        Order o =
            makeOrder(idxFiles[i]->tag().info(), &idxFiles[i]->tag(), int(i), idxFiles[i]->path());
        o.partial = idxPartial[i];
        orders.push_back(std::move(o));
    }
    current = 0;
    for (size_t i = 0; i < orders.size(); ++i)
        if (!curFile.empty() && orders[i].name == curName && orders[i].file == curFile)
            current = int(i) + 1;
    sel.invalidateRows();
}

void WorkArea::State::openProductionIndex() {
    std::string cdxPath = productionIndexPath(path);
    bool flagged = (t().header().flags & kFlagProductionIndex) != 0;
    const bool writable = t().writable();
    if (!fileExists(cdxPath)) {
        if (flagged) {
            indexProblem = "The index file " + baseNameOf(cdxPath) + " is missing";
            unreadableIndex = indexProblem;
            if (writable) t().setFlags(uint8_t(t().header().flags & ~kFlagProductionIndex));
        }
        return;
    }
    try {
        File f = File::open(cdxPath, writable ? OpenMode::ReadWrite : OpenMode::ReadOnly,
                            mode == UseMode::Exclusive ? LockMode::Exclusive : LockMode::Shared);
        CompileContext ctx = compileContext();
        cdx = index::CdxFile::open(std::move(f), [&](const index::TagInfo& info) {
            try {
                return kindOfType(Expression::compile(info.keyExpr, ctx).type());
            } catch (const Error&) {
                return KeyKind::Character;
            }
        });
        addOrdersFromCdx();
    } catch (const Error& e) {
        cdx.reset();
        orders.clear();
        indexProblem = e.what();
        unreadableIndex = indexProblem;
        return;
    }
    if (!flagged && writable) t().setFlags(uint8_t(t().header().flags | kFlagProductionIndex));
    if (!t().header().transactionFlag && indexProblem.empty()) {
        try {
            indexProblem = coverageProblem();
        } catch (const Error& e) {
            indexProblem = e.what();
        }
        return;
    }
    if (t().header().transactionFlag) {
        if (writable && mode == UseMode::Exclusive) {
            // An earlier post stopped between its record and its keys: rebuild the keys.
            rebuildAllIndexes();
            t().setTransactionFlag(false);
        } else {
            indexProblem = "The index file " + baseNameOf(cdxPath) +
                           " may be out of date: an earlier change was interrupted";
        }
    }
}

void WorkArea::State::dropOrders() {
    flushIndexes();
    cursor.reset();
    cursorRec = 0;
    orders.clear();
    cdx.reset();
    idxFiles.clear();
    idxPartial.clear();
    current = 0;
    sel.invalidateRows();
}

// ---- Keys -----------------------------------------------------------------------------------

void WorkArea::State::computeKey(const Order& o, const uint8_t* rec, uint32_t r,
                                 uint8_t* out) const {
    o.key.evalKey(refOf(rec, r), evalSettings(), out, o.keyLength);
}

bool WorkArea::State::inOrder(const Order& o, const uint8_t* rec, uint32_t r) const {
    return !o.cond.valid() || o.cond.evalLogical(refOf(rec, r), evalSettings());
}

namespace {

bool dependenciesChanged(const Order& o, const FieldList& fields, const uint8_t* a,
                         const uint8_t* b, bool memoEdited) {
    if (o.depMemo && memoEdited) return true;
    if (o.depDeleted && a[0] != b[0]) return true;
    for (int i : o.deps) {
        const FieldInfo& f = fields.at(i);
        if (std::memcmp(a + f.offset, b + f.offset, size_t(f.width)) != 0) return true;
    }
    return false;
}

bool keyPresent(index::Tag& tag, const uint8_t* key, int K) {
    auto c = tag.cursor();
    return c->seek(key, K) && std::memcmp(c->key(), key, size_t(K)) == 0;
}

}  // namespace

bool WorkArea::State::updateIndexes(const uint8_t* oldRec, const uint8_t* newRec, uint32_t r,
                                    bool memoChanged) {
    bool moved = false;
    uint8_t oldKey[index::kMaxKeyLength], newKey[index::kMaxKeyLength];
    for (size_t i = 0; i < orders.size(); ++i) {
        Order& o = orders[i];
        if (oldRec) {
            if (!dependenciesChanged(o, t().fields(), oldRec, newRec, memoChanged)) continue;
            bool wasIn = inOrder(o, oldRec, r);
            bool isIn = inOrder(o, newRec, r);
            computeKey(o, oldRec, r, oldKey);
            computeKey(o, newRec, r, newKey);
            if (wasIn == isIn && std::memcmp(oldKey, newKey, size_t(o.keyLength)) == 0) continue;
            bool erased = wasIn && o.tag->erase(oldKey, r);
            if (o.partial && !erased) continue;  // not one of the records keyAdd gave it
            if (isIn && !(o.unique && keyPresent(*o.tag, newKey, o.keyLength)))
                o.tag->insert(newKey, r);
        } else {
            if (o.partial || !inOrder(o, newRec, r)) continue;
            computeKey(o, newRec, r, newKey);
            if (!(o.unique && keyPresent(*o.tag, newKey, o.keyLength))) o.tag->insert(newKey, r);
        }
        if (int(i) + 1 == current) moved = true;
    }
    return moved;
}

// Whether the production index holds this table's records. Counting a tag's keys would
// walk every leaf at each open; instead one tag (the first without a condition, whose every
// record must be in it) is asked for a few records by key and record number: the last, which
// an index saved before later appends lacks, the first and the middle one; and its first and
// last entries must name records the table has. The tags of an index file are written
// together, so one answers for all. An index of another table fails this at once.
std::string WorkArea::State::coverageProblem() {
    const Order* o = nullptr;
    for (const Order& each : orders) {
        if (each.idxSlot >= 0) continue;
        if (!o || (o->cond.valid() && !each.cond.valid())) o = &each;
    }
    if (!o) return {};
    const uint32_t n = t().recordCount();
    const std::string mismatch =
        "The index file " + baseNameOf(cdx->path()) + " does not match the table: ";
    auto c = o->tag->cursor();
    for (bool atEnd : {false, true}) {
        if (!(atEnd ? c->last() : c->first())) break;
        if (c->recno() < 1 || c->recno() > n)
            return mismatch + "tag " + o->name + " lists record " + std::to_string(c->recno()) +
                   " of " + std::to_string(n);
    }
    std::vector<uint8_t> rec(size_t(t().recordLength()));
    uint8_t key[index::kMaxKeyLength];
    uint32_t done[3] = {0, 0, 0};
    int asked = 0;
    for (uint32_t r : {n, 1u, n / 2 + 1}) {
        if (r < 1 || r > n || std::find(done, done + asked, r) != done + asked) continue;
        done[asked++] = r;
        t().readRecord(r, rec.data());
        if (!inOrder(*o, rec.data(), r)) continue;
        computeKey(*o, rec.data(), r, key);
        bool present = o->unique ? keyPresent(*o->tag, key, o->keyLength)
                                 : c->seekPair(key, r) && c->recno() == r &&
                                       std::memcmp(c->key(), key, size_t(o->keyLength)) == 0;
        if (!present)
            return mismatch + "record " + std::to_string(r) + " is missing from tag " + o->name;
    }
    return {};
}

void WorkArea::State::flushIndexes() {
    if (cdx) cdx->flush();
    for (auto& f : idxFiles)
        f->flush();
    if (deferredPosts > 0) {
        t().setTransactionFlag(false);
        deferredPosts = 0;
    }
}

// ---- Creating orders -------------------------------------------------------------------------

namespace {

struct CompiledDef {
    Expression key, cond;
    index::TagParams tagParams;
};

}  // namespace

static CompiledDef compileDef(const WorkArea::State& s, const TagDef& def) {
    CompiledDef c;
    c.key = s.compile(def.keyExpr);
    if (!def.forExpr.empty()) {
        c.cond = s.compile(def.forExpr);
        if (c.cond.type() != ValueType::Logical)
            fail(ErrorCode::Type, "The index condition \"" + def.forExpr + "\" is not logical");
    }
    int K = c.key.keyLength();
    if (K < 1 || K > index::kMaxKeyLength)
        fail(ErrorCode::Argument, "The key \"" + def.keyExpr + "\" is " + std::to_string(K) +
                                      " bytes long; keys are 1 to 240 bytes");
    c.tagParams.name = upperName(def.name);
    c.tagParams.keyExpr = s.t().codePage().encode(def.keyExpr);
    c.tagParams.forExpr = s.t().codePage().encode(def.forExpr);
    c.tagParams.keyLength = K;
    c.tagParams.kind = kindOfType(c.key.type());
    c.tagParams.unique = def.unique;
    c.tagParams.descending = def.descending;
    return c;
}

void WorkArea::State::ensureCdxForAdding() {
    if (cdx) return;
    std::string cdxPath = productionIndexPath(path);
    LockMode lm = mode == UseMode::Exclusive ? LockMode::Exclusive : LockMode::Shared;
    if (fileExists(cdxPath)) {
        try {
            CompileContext ctx = compileContext();
            cdx = index::CdxFile::open(
                File::open(cdxPath, OpenMode::ReadWrite, lm), [&](const index::TagInfo& info) {
                    try {
                        return kindOfType(Expression::compile(info.keyExpr, ctx).type());
                    } catch (const Error&) {
                        return KeyKind::Character;
                    }
                });
        } catch (const Error& e) {
            if (e.code() != ErrorCode::Corrupt && e.code() != ErrorCode::Unsupported) throw;
            removeFile(cdxPath);  // a damaged index is replaced by the new one
        }
    }
    if (!cdx) cdx = index::CdxFile::create(File::open(cdxPath, OpenMode::CreateNew, lm));
    t().setFlags(uint8_t(t().header().flags | kFlagProductionIndex));
    indexProblem.clear();
    unreadableIndex.clear();
}

int WorkArea::indexTag(const std::string& file, const TagDef& def) {
    s_->requireWritable();
    s_->postPending();
    if (!file.empty() && !samePath(file, productionIndexPath(s_->path)) &&
        !samePath(file, withExtension(s_->path, ".CDX")))
        fail(ErrorCode::Unsupported, "Only the production index can hold tags (" + file + ")");
    if (def.name.empty() || def.name.size() > 10)
        fail(ErrorCode::Argument, "A tag name has 1 to 10 characters");
    indexTags({def});
    return s_->current;
}

void WorkArea::indexTags(const std::vector<TagDef>& defs) {
    s_->requireWritable();
    s_->postPending();
    if (defs.empty()) return;
    std::vector<CompiledDef> compiled;
    compiled.reserve(defs.size());
    for (auto& d : defs) {
        if (d.name.empty() || d.name.size() > 10)
            fail(ErrorCode::Argument, "A tag name has 1 to 10 characters");
        compiled.push_back(compileDef(*s_, d));
    }
    std::vector<KeyJob> jobs;
    for (auto& c : compiled)
        jobs.push_back(KeyJob{&c.key, c.cond.valid() ? &c.cond : nullptr, c.tagParams.keyLength});

    std::string cdxPath = productionIndexPath(s_->path);
    bool fresh = !s_->cdx && !fileExists(cdxPath);
    if (fresh) {
        // A whole new production index: written aside and put in place when complete.
        std::string tmp = tempSibling(cdxPath);
        {
            auto writer =
                index::CdxWriter::create(File::open(tmp, OpenMode::CreateNew, LockMode::None));
            buildSortedKeys(
                s_->t(), s_->memoOnDisk.get(), s_->evalSettings(), jobs,
                [&](size_t j, index::EntryStream& e) { writer->addTag(compiled[j].tagParams, e); },
                s_->progress);
            writer->finish();
            writer->sync();
        }
        replaceFile(tmp, cdxPath);
        s_->ensureCdxForAdding();
    } else {
        s_->ensureCdxForAdding();
        buildSortedKeys(
            s_->t(), s_->memoOnDisk.get(), s_->evalSettings(), jobs,
            [&](size_t j, index::EntryStream& e) { s_->cdx->addTag(compiled[j].tagParams, e); },
            s_->progress);
        s_->cdx->flush();
    }
    s_->rebuildOrderList();
    s_->current = s_->tagOrder(compiled.back().tagParams.name);
    s_->cursor.reset();
    s_->cursorRec = 0;
    s_->sel.invalidateRows();
}

int WorkArea::index(const std::string& file, const TagDef& def, bool createEmpty) {
    s_->requireOpen();
    s_->postPending();
    CompiledDef c = compileDef(*s_, def);
    c.tagParams.name.clear();
    // An index file of the same name that is open is replaced.
    for (size_t i = 0; i < s_->idxFiles.size(); ++i) {
        if (samePath(s_->idxFiles[i]->path(), file)) {
            s_->idxFiles.erase(s_->idxFiles.begin() + long(i));
            s_->idxPartial.erase(s_->idxPartial.begin() + long(i));
            break;
        }
    }
    LockMode lm = s_->mode == UseMode::Exclusive ? LockMode::Exclusive : LockMode::Shared;
    std::unique_ptr<index::IdxFile> idx;
    if (createEmpty) {
        idx = index::IdxFile::create(File::open(file, OpenMode::CreateNew, lm), c.tagParams);
    } else {
        std::vector<KeyJob> jobs{
            KeyJob{&c.key, c.cond.valid() ? &c.cond : nullptr, c.tagParams.keyLength}};
        buildSortedKeys(
            s_->t(), s_->memoOnDisk.get(), s_->evalSettings(), jobs,
            [&](size_t, index::EntryStream& e) {
                idx = index::IdxFile::build(File::open(file, OpenMode::CreateNew, lm), c.tagParams,
                                            e);
            },
            s_->progress);
    }
    idx->flush();
    s_->idxFiles.push_back(std::move(idx));
    s_->idxPartial.push_back(createEmpty);
    s_->rebuildOrderList();
    s_->current = int(s_->orders.size());
    s_->sel.invalidateRows();
    return s_->current;
}

int WorkArea::openIndex(const std::string& file) {
    s_->requireOpen();
    s_->postPending();
    std::string p = findCaseInsensitive(file);
    OpenMode om = s_->t().writable() ? OpenMode::ReadWrite : OpenMode::ReadOnly;
    LockMode lm = s_->mode == UseMode::Exclusive ? LockMode::Exclusive : LockMode::Shared;
    File f = File::open(p, om, lm);
    // The key kind is not stored: open once to read the expression, then with its kind.
    auto probe =
        index::IdxFile::open(File::open(p, OpenMode::ReadOnly, LockMode::None), KeyKind::Character);
    std::string expr = probe->tag().info().keyExpr;
    probe.reset();
    KeyKind kind = KeyKind::Character;
    try {
        kind = kindOfType(Expression::compile(expr, s_->compileContext()).type());
    } catch (const Error&) {
    }
    s_->idxFiles.push_back(index::IdxFile::open(std::move(f), kind));
    s_->idxPartial.push_back(false);
    try {
        s_->rebuildOrderList();
    } catch (...) {
        s_->idxFiles.pop_back();
        s_->idxPartial.pop_back();
        s_->rebuildOrderList();
        throw;
    }
    return int(s_->orders.size());
}

void WorkArea::keyAdd(const std::string& file) {
    s_->requireOpen();
    s_->postPending();
    if (s_->recno < 1 || s_->recno > s_->t().recordCount())
        fail(ErrorCode::State, s_->path + ": there is no current record to add");
    Order* target = nullptr;
    for (auto& o : s_->orders)
        if (o.idxSlot >= 0 && samePath(o.file, file)) target = &o;
    if (!target) target = s_->currentOrder();
    if (!target) fail(ErrorCode::NotFound, "The index " + file + " is not open");
    if (!s_->inOrder(*target, s_->buf.data(), s_->recno)) return;
    uint8_t key[index::kMaxKeyLength];
    s_->computeKey(*target, s_->buf.data(), s_->recno, key);
    if (target->unique && keyPresent(*target->tag, key, target->keyLength)) return;
    target->tag->insert(key, s_->recno);
    s_->flushIndexes();
    if (s_->orders.size() && target == s_->currentOrder()) {
        s_->sel.invalidateRows();
        s_->cursorRec = 0;
    }
}

void WorkArea::keyAdd(const std::string& file, const std::vector<uint32_t>& recnos) {
    s_->requireOpen();
    s_->postPending();
    Order* target = nullptr;
    for (auto& o : s_->orders)
        if (o.idxSlot >= 0 && samePath(o.file, file)) target = &o;
    if (!target) target = s_->currentOrder();
    if (!target) fail(ErrorCode::NotFound, "The index " + file + " is not open");
    std::vector<uint32_t> wanted(recnos);
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    std::vector<uint8_t> rec(s_->t().recordLength());
    const uint32_t count = s_->t().recordCount();
    const size_t K = size_t(target->keyLength);
    // Keys are computed first and inserted in key order, so the tree is walked forwards
    // instead of jumping about for each key.
    std::vector<uint8_t> keys;
    std::vector<std::pair<size_t, uint32_t>> entries;  // offset into keys, record
    keys.reserve(wanted.size() * K);
    for (uint32_t r : wanted) {
        if (r < 1 || r > count)
            fail(ErrorCode::State, s_->path + ": record " + std::to_string(r) + " does not exist");
        s_->t().readRecord(r, rec.data());
        if (!s_->inOrder(*target, rec.data(), r)) continue;
        const size_t at = keys.size();
        keys.resize(at + K);
        s_->computeKey(*target, rec.data(), r, keys.data() + at);
        entries.emplace_back(at, r);
    }
    std::stable_sort(entries.begin(), entries.end(), [&](const auto& a, const auto& b) {
        return std::memcmp(keys.data() + a.first, keys.data() + b.first, K) < 0;
    });
    for (const auto& [at, r] : entries) {
        const uint8_t* key = keys.data() + at;
        if (target->unique && keyPresent(*target->tag, key, target->keyLength)) continue;
        target->tag->insert(key, r);
    }
    s_->flushIndexes();
    if (s_->orders.size() && target == s_->currentOrder()) {
        s_->sel.invalidateRows();
        s_->cursorRec = 0;
    }
}

void WorkArea::reindex() {
    s_->requireWritable();
    s_->postPending();
    // Tags whose definitions cannot be used, and an index file that cannot be read at all,
    // cannot be rebuilt from the records: everything else is, and then the rest is named.
    std::vector<std::string> lost = s_->unusableTags;
    if (!s_->cdx && !s_->unreadableIndex.empty()) lost.push_back(s_->unreadableIndex);
    s_->rebuildAllIndexes();
    s_->unusableTags.clear();
    if (!lost.empty()) {
        std::string what;
        for (auto& l : lost)
            what += (what.empty() ? "" : "; ") + l;
        fail(ErrorCode::Corrupt, s_->path + ": not every index could be rebuilt: " + what);
    }
}

void WorkArea::closeIndexes() {
    if (!s_->table) return;
    s_->postPending();
    s_->dropOrders();
}

void WorkArea::dropProductionIndex() {
    s_->requireWritable();
    s_->postPending();
    s_->dropOrders();
    s_->t().setFlags(uint8_t(s_->t().header().flags & ~kFlagProductionIndex));
    s_->t().sync();
    const std::string cdx = productionIndexPath(s_->path);
    if (fileExists(cdx)) {
        removeFile(cdx);
        syncDirectoryOf(cdx);
    }
}

// ---- Orders ---------------------------------------------------------------------------------

int WorkArea::State::tagOrder(const std::string& name) const {
    std::string n = upperName(name);
    for (size_t i = 0; i < orders.size(); ++i)
        if (orders[i].idxSlot < 0 && orders[i].name == n) return int(i) + 1;
    return 0;
}

int WorkArea::orderCount() const {
    return int(s_->orders.size());
}

int WorkArea::tagArea(std::string_view tagName) const {
    if (!s_->table) return 0;
    return s_->tagOrder(std::string(tagName));
}

void WorkArea::setOrder(int order) {
    s_->requireOpen();
    s_->postPending();
    if (order < 0 || order > int(s_->orders.size()))
        fail(ErrorCode::Argument, s_->path + ": there is no order " + std::to_string(order));
    if (order == s_->current) return;
    s_->current = order;
    s_->cursor.reset();
    s_->cursorRec = 0;
    s_->sel.invalidateRows();
}

int WorkArea::indexOrd() const {
    return s_->current;
}

std::string WorkArea::indexName(int order) const {
    if (order < 1 || order > int(s_->orders.size())) return "";
    return s_->orders[size_t(order - 1)].file;
}

std::string WorkArea::tagName(int order) const {
    if (order < 1 || order > int(s_->orders.size())) return "";
    return s_->orders[size_t(order - 1)].name;
}

std::string WorkArea::orderKey(int order) const {
    if (order < 1 || order > int(s_->orders.size())) return "";
    return s_->t().codePage().toUtf8(s_->orders[size_t(order - 1)].keyText);
}

std::string WorkArea::orderFor(int order) const {
    if (order < 1 || order > int(s_->orders.size())) return "";
    return s_->t().codePage().toUtf8(s_->orders[size_t(order - 1)].forText);
}

const std::string& WorkArea::indexProblem() const {
    return s_->indexProblem;
}

void WorkArea::setProgress(ProgressFn fn) {
    s_->progress = std::move(fn);
}

}  // namespace xb
