// Work area: writing to many records or keys at once, where keeping every index current one
// record at a time would cost more than building the indexes again in one sorted pass.
#include <algorithm>

#include "xbase/error.h"
#include "xbase/index_builder.h"
#include "xbase/work_area_state.h"

namespace xb {

int WorkArea::indexRecords(const std::string& file, const TagDef& def,
                           const std::vector<uint32_t>& records) {
    const int order = index(file, def, true);
    std::vector<uint32_t> wanted(records);
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    const uint32_t count = s_->t().recordCount();
    if (!wanted.empty() && (wanted.front() < 1 || wanted.back() > count))
        fail(ErrorCode::State,
             s_->path + ": record " +
                 std::to_string(wanted.front() < 1 ? wanted.front() : wanted.back()) +
                 " does not exist");
    if (wanted.empty()) return order;

    // The empty file stays open while the full one is written beside it, so a failure leaves
    // a usable (empty) order behind.
    const Order& o = s_->orders[size_t(order - 1)];
    const size_t slot = size_t(o.idxSlot);
    const index::TagParams params = o.params();
    const std::string tmp = tempSibling(file);
    std::vector<KeyJob> jobs{KeyJob{&o.key, o.cond.valid() ? &o.cond : nullptr, o.keyLength}};
    try {
        std::unique_ptr<index::IdxFile> built;
        buildSortedKeys(
            s_->t(), s_->memoOnDisk.get(), s_->evalSettings(), jobs,
            [&](size_t, index::EntryStream& e) {
                built = index::IdxFile::build(File::open(tmp, OpenMode::CreateNew, LockMode::None),
                                              params, e);
            },
            s_->progress, &wanted);
        built->flush();
    } catch (...) {
        try {
            removeFile(tmp);
        } catch (const Error&) {
        }
        throw;
    }
    const KeyKind kind = s_->idxFiles[slot]->tag().keyKind();
    s_->cursor.reset();
    s_->cursorRec = 0;
    s_->idxFiles[slot].reset();
    replaceFile(tmp, file);
    const LockMode lm = s_->mode == UseMode::Exclusive ? LockMode::Exclusive : LockMode::Shared;
    s_->idxFiles[slot] = index::IdxFile::open(File::open(file, OpenMode::ReadWrite, lm), kind);
    s_->rebuildOrderList();
    s_->current = order;
    s_->sel.invalidateRows();
    return order;
}

bool WorkArea::beginBulkUpdate() {
    State& s = *s_;
    s.requireWritable();
    if (s.bulkUpdate) return true;
    if (s.mode != UseMode::Exclusive || !s.idxFiles.empty() || !s.cdx) return false;
    s.postPending();
    const Order* current = s.currentOrder();
    s.bulkOrderName = current ? current->name : std::string();
    // The flag goes on the file before the first record changes: a process that dies before
    // the indexes are rebuilt leaves it set, and the next exclusive open rebuilds them.
    s.dropOrders();
    s.t().setTransactionFlag(true);
    s.bulkUpdate = true;
    return true;
}

void WorkArea::endBulkUpdate() {
    State& s = *s_;
    if (!s.bulkUpdate) return;
    s.postPending();
    s.bulkUpdate = false;
    s.indexProblem.clear();
    s.unreadableIndex.clear();
    s.unusableTags.clear();
    // With the flag set, opening the production index in exclusive use rebuilds every tag
    // from the records with the bounded build, and clears the flag once they are written.
    s.openProductionIndex();
    s.current = s.bulkOrderName.empty() ? 0 : s.tagOrder(s.bulkOrderName);
    s.cursorRec = 0;
    s.sel.invalidateRows();
    if (!s.indexProblem.empty()) fail(ErrorCode::Corrupt, s.indexProblem);
}

uint32_t WorkArea::rewriteRecords(const std::vector<uint32_t>& recnos,
                                  const std::function<bool(uint32_t, uint8_t*)>& change,
                                  const std::function<bool(uint32_t)>& goOn) {
    State& s = *s_;
    if (!s.bulkUpdate)
        fail(ErrorCode::State, s.path + ": records are rewritten in place only in a bulk update");
    s.postPending();
    std::vector<uint32_t> wanted(recnos);
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    const uint32_t count = s.t().recordCount();
    if (!wanted.empty() && (wanted.front() < 1 || wanted.back() > count))
        fail(ErrorCode::NotFound,
             s.path + ": record " +
                 std::to_string(wanted.front() < 1 ? wanted.front() : wanted.back()) +
                 " is no longer there");
    // Whatever happens below, what was read ahead, the selection's bits and the current
    // record may no longer match the file.
    struct Resync {
        State& s;
        ~Resync() {
            s.raCount = 0;
            s.sel.invalidateBits();
            s.sel.invalidateRows();
            s.cursorRec = 0;
            if (!s.eof && s.recno >= 1 && s.recno <= s.t().recordCount()) s.loadRecord(s.recno);
        }
    } resync{s};
    const size_t per = size_t(s.t().recordLength());
    const uint32_t blockRecords = uint32_t(std::max<size_t>(1, (size_t(1) << 20) / per));
    std::vector<uint8_t> block;
    uint32_t blockFirst = 0, blockCount = 0;
    uint32_t done = 0;
    for (uint32_t r : wanted) {
        if (r >= blockFirst + blockCount) {
            blockFirst = r;
            blockCount = std::min(blockRecords, count - r + 1);
            block.resize(size_t(blockCount) * per);
            s.t().readRecords(blockFirst, blockCount, block.data());
        }
        uint8_t* rec = block.data() + size_t(r - blockFirst) * per;
        if (change(r, rec)) s.t().writeRecord(r, rec);
        ++done;
        if (goOn && !goOn(done)) break;
    }
    return done;
}

bool WorkArea::bulkUpdating() const {
    return s_->bulkUpdate;
}

}  // namespace xb
