// Work area: packing (removing marked records for good) and rebuilding indexes. Both write
// complete new files beside the old ones and swap them in only when finished.
#include <cstring>

#include "xbase/bytes.h"
#include "xbase/error.h"
#include "xbase/index_builder.h"
#include "xbase/pack_journal.h"
#include "xbase/work_area_state.h"

namespace xb {

namespace {

// The production index's tags as build jobs.
struct ProductionJobs {
    std::vector<KeyJob> jobs;
    std::vector<index::TagParams> params;
    bool readMemos = false;

    explicit ProductionJobs(const WorkArea::State& s) {
        for (auto& o : s.orders) {
            if (o.idxSlot >= 0) continue;
            jobs.push_back(KeyJob{&o.key, o.cond.valid() ? &o.cond : nullptr, o.keyLength});
            params.push_back(o.params());
            readMemos = readMemos || o.key.usesMemo() || (o.cond.valid() && o.cond.usesMemo());
        }
    }
};

// Writes the production index's tags anew into path, the keys built by build.
template <typename Build>
void writeProductionIndex(const ProductionJobs& p, const std::string& path, const Build& build) {
    auto writer = index::CdxWriter::create(File::open(path, OpenMode::CreateNew, LockMode::None));
    build([&](size_t j, index::EntryStream& e) { writer->addTag(p.params[j], e); });
    writer->finish();
    writer->sync();
}

// Writes the production index's tags anew into path from the table's records.
void writeProductionIndex(const WorkArea::State& s, const DbfTable& table, const MemoSource* memos,
                          const std::string& path) {
    ProductionJobs p(s);
    writeProductionIndex(p, path, [&](const SortedSink& sink) {
        buildSortedKeys(table, memos, s.evalSettings(), p.jobs, sink, s.progress);
    });
}

// The records a partial index holds, ascending, within 1..n.
std::vector<uint32_t> membersOf(index::Tag& tag, uint32_t n) {
    std::vector<uint32_t> recs;
    auto c = tag.cursor();
    for (bool ok = c->first(); ok; ok = c->next())
        if (c->recno() >= 1 && c->recno() <= n) recs.push_back(c->recno());
    std::sort(recs.begin(), recs.end());
    recs.erase(std::unique(recs.begin(), recs.end()), recs.end());
    return recs;
}

// Writes one single-order index file anew: over all records, or over its own members.
void writeIndexFile(const WorkArea::State& s, const DbfTable& table, const MemoSource* memos,
                    const Order& o, const std::vector<uint32_t>* members, const std::string& path) {
    std::vector<KeyJob> jobs{KeyJob{&o.key, o.cond.valid() ? &o.cond : nullptr, o.keyLength}};
    std::unique_ptr<index::IdxFile> idx;
    buildSortedKeys(
        table, memos, s.evalSettings(), jobs,
        [&](size_t, index::EntryStream& e) {
            idx = index::IdxFile::build(File::open(path, OpenMode::CreateNew, LockMode::None),
                                        o.params(), e);
        },
        s.progress, members);
    idx->flush();
    idx->sync();
}

}  // namespace

void WorkArea::State::rebuildAllIndexes() {
    flushIndexes();
    int keepCurrent = current;
    std::vector<FileSwap> swaps;
    std::string cdxPath = cdx ? cdx->path() : std::string();
    if (cdx) {
        // Through a link, the file it leads to is rebuilt, and the link stays.
        std::string target = realPathOf(cdxPath);
        std::string tmp = tempSibling(target);
        writeProductionIndex(*this, t(), memoOnDisk.get(), tmp);
        swaps.emplace_back(tmp, target);
    }
    std::vector<std::string> idxPaths;
    for (auto& o : orders) {
        if (o.idxSlot < 0) continue;
        std::string target = realPathOf(o.file);
        std::string tmp = tempSibling(target);
        std::vector<uint32_t> members;
        if (idxPartial[size_t(o.idxSlot)]) members = membersOf(*o.tag, t().recordCount());
        writeIndexFile(*this, t(), memoOnDisk.get(), o,
                       idxPartial[size_t(o.idxSlot)] ? &members : nullptr, tmp);
        swaps.emplace_back(tmp, target);
        idxPaths.push_back(o.file);
    }
    std::vector<bool> partial = idxPartial;
    std::vector<KeyKind> kinds;
    for (auto& f : idxFiles)
        kinds.push_back(f->tag().keyKind());
    cursor.reset();
    orders.clear();
    cdx.reset();
    idxFiles.clear();
    for (auto& [from, to] : swaps)
        replaceFile(from, to);
    LockMode lm = mode == UseMode::Exclusive ? LockMode::Exclusive : LockMode::Shared;
    if (!cdxPath.empty()) ensureCdxForAdding();
    for (size_t i = 0; i < idxPaths.size(); ++i)
        idxFiles.push_back(
            index::IdxFile::open(File::open(idxPaths[i], OpenMode::ReadWrite, lm), kinds[i]));
    idxPartial = partial;
    current = 0;
    rebuildOrderList();
    current = keepCurrent <= int(orders.size()) ? keepCurrent : 0;
    cursorRec = 0;
    sel.invalidateRows();
}

void WorkArea::pack() {
    State& s = *s_;
    s.requireWritable();
    if (s.mode != UseMode::Exclusive)
        fail(ErrorCode::State, s.path + ": packing needs exclusive use");
    s.postPending();
    s.flushIndexes();
    DbfTable& old = s.t();
    if (old.memo() && old.header().memoKind() != MemoKind::Fpt)
        fail(ErrorCode::Unsupported, s.path + ": tables with DBT memo files cannot be packed here");
    const uint32_t n = old.recordCount();
    const std::string dbfPath = s.path;
    // Files reached through links are replaced where they really are; the links stay.
    const std::string dbfReal = realPathOf(dbfPath);
    const std::string tmpDbf = tempSibling(dbfReal);
    std::vector<FileSwap> swaps;

    // 1. The table and its memos, live records only. The new record numbers are only kept
    // when a partial index file needs them for its members.
    bool anyPartial = false;
    for (bool p : s.idxPartial)
        anyPartial = anyPartial || p;
    std::vector<uint32_t> newOf(anyPartial ? size_t(n) + 1 : 0, 0);
    uint32_t kept = 0;
    // When no tag reads memos, the production index is keyed from the records as they are
    // copied, without reading the new table again.
    const ProductionJobs production(s);
    const bool keyWhileCopying = s.cdx && !production.readMemos;
    auto copyRecords = [&](const RecordTake* take) {
        DbfHeader h = old.header();
        h.recordCount = 0;
        h.transactionFlag = 0;
        std::vector<uint8_t> head = encodeDbfHeader(h);
        File out = File::open(tmpDbf, OpenMode::CreateNew, LockMode::None);
        out.writeAt(0, head.data(), head.size());
        std::unique_ptr<FptAppender> memoOut;
        std::string tmpFpt;
        if (old.memo()) {
            tmpFpt = tempSibling(realPathOf(old.memo()->path()));
            memoOut = std::make_unique<FptAppender>(tmpFpt, old.memo()->blockSize());
        }
        std::vector<const FieldInfo*> memoFields;
        for (auto& f : old.fields().all())
            if (f.isMemoPointer()) memoFields.push_back(&f);
        const size_t per = size_t(old.recordLength());
        std::vector<uint8_t> chunk;
        chunk.reserve((size_t(1) << 20) + per);
        uint64_t at = head.size();
        Progress pg;
        pg.phase = Progress::Phase::Pack;
        pg.total = n;
        DbfTable::Scanner scan(old, 1, n);
        uint32_t r = 0;
        while (const uint8_t* rec = scan.next(r)) {
            if (s.progress && (r & 4095) == 0) {
                pg.done = r;
                s.progress(pg);
            }
            if (rec[0] == '*') continue;
            size_t slot = chunk.size();
            chunk.insert(chunk.end(), rec, rec + per);
            for (const FieldInfo* f : memoFields) {
                uint32_t block = memoBlockFromField(rec + f->offset, f->width);
                uint32_t nb = 0;
                if (block != 0) {
                    uint32_t type = 1;
                    std::string data = old.memo()->read(block, &type);
                    nb = memoOut->append(data, type);
                }
                memoBlockToField(nb, chunk.data() + slot + size_t(f->offset), f->width);
            }
            ++kept;
            if (anyPartial) newOf[r] = kept;
            if (take) (*take)(chunk.data() + slot, kept);
            if (chunk.size() >= (size_t(1) << 20)) {
                out.writeAt(at, chunk.data(), chunk.size());
                at += chunk.size();
                chunk.clear();
            }
        }
        chunk.push_back(0x1A);
        out.writeAt(at, chunk.data(), chunk.size());
        h.recordCount = kept;
        uint8_t prefix[32];
        encodeDbfPrefix(h, prefix);
        out.writeAt(0, prefix, sizeof prefix);
        out.sync();
        if (memoOut) {
            memoOut->finish();
            swaps.emplace_back(tmpFpt, realPathOf(old.memo()->path()));
        }
        swaps.emplace_back(tmpDbf, dbfReal);
        if (s.progress) {
            pg.done = n;
            s.progress(pg);
        }
    };
    std::string cdxTarget, cdxTmp;
    if (s.cdx) {
        cdxTarget = realPathOf(s.cdx->path());
        cdxTmp = tempSibling(cdxTarget);
    }
    if (keyWhileCopying) {
        writeProductionIndex(production, cdxTmp, [&](const SortedSink& sink) {
            buildSortedKeys([&](const RecordTake& take) { copyRecords(&take); }, size_t(n),
                            size_t(old.recordLength()), directoryOf(cdxTarget), s.evalSettings(),
                            production.jobs, sink, s.progress);
        });
    } else {
        copyRecords(nullptr);
    }

    // 2. Every other open index, from the new table.
    std::vector<std::string> idxPaths;
    std::vector<bool> partial = s.idxPartial;
    {
        auto fresh = DbfTable::open(tmpDbf, OpenMode::ReadOnly, LockMode::None);
        TableMemoSource memos(*fresh, nullptr);
        if (s.cdx && !keyWhileCopying) writeProductionIndex(s, *fresh, &memos, cdxTmp);
        if (s.cdx) swaps.emplace_back(cdxTmp, cdxTarget);
        for (auto& o : s.orders) {
            if (o.idxSlot < 0) continue;
            std::string target = realPathOf(o.file);
            std::string tmp = tempSibling(target);
            if (s.idxPartial[size_t(o.idxSlot)]) {
                // Members keep their keys; only their numbers change, and in the same order.
                std::vector<uint32_t> members;
                for (uint32_t m : membersOf(*o.tag, n))
                    if (newOf[m]) members.push_back(newOf[m]);
                writeIndexFile(s, *fresh, &memos, o, &members, tmp);
            } else {
                writeIndexFile(s, *fresh, &memos, o, nullptr, tmp);
            }
            swaps.emplace_back(tmp, target);
            idxPaths.push_back(o.file);
        }
    }

    // 3. Swap the files in, then reopen as before. The table stays locked throughout: the
    // new files are opened and locked before the renames, while the old ones still are, and
    // handed to the reopen, so no other opener finds the table free between the steps.
    std::string filterText = s.filterText;
    bool hide = s.hideDeleted, exactOn = s.exact, soft = s.softSeek;
    ProgressFn progress = s.progress;
    std::string curName, curFile;
    if (Order* o = s.currentOrder()) {
        curName = o->name;
        curFile = o->file;
    }
    UseMode mode = s.mode;
    Handover held;
    for (auto& swap : swaps)
        held.add(File::open(swap.first, OpenMode::ReadWrite, LockMode::Exclusive));
    s.dropOrders();
    try {
        commitFileSwaps(dbfReal, swaps);
    } catch (...) {
        // The journal left behind lets the next writable open finish the renames.
        s_ = std::make_unique<State>();
        throw;
    }
    s_ = std::make_unique<State>();  // closes the old files, now replaced
    use(dbfPath, mode);
    for (size_t i = 0; i < idxPaths.size(); ++i) {
        openIndex(idxPaths[i]);
        s_->idxPartial[i] = partial[i];
    }
    s_->rebuildOrderList();
    for (size_t i = 0; i < s_->orders.size(); ++i)
        if (s_->orders[i].name == curName && s_->orders[i].file == curFile)
            s_->current = int(i) + 1;
    setProgress(progress);
    setExact(exactOn);
    s_->softSeek = soft;
    setDeleted(hide);
    if (!filterText.empty()) query(filterText);
    first();
}

}  // namespace xb
