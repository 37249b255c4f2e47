// Bulk index building.
#include "xbase/index_builder.h"

#include <cstring>
#include <thread>

#include "xbase/key_sort.h"

namespace xb {

namespace {

// Keys of a group of jobs are held together while one pass reads the table; the budget
// keeps a million-record file with all its tags well inside half a gigabyte.
constexpr size_t kKeyBudget = size_t(160) << 20;

struct Collected {
    std::vector<uint8_t> keys;
    std::vector<uint32_t> recnos;
    size_t count = 0;
};

struct Sorted {
    std::vector<uint8_t> keys;
    std::vector<uint32_t> recnos;
};

// Sorts one job's collected keys and releases them.
Sorted sortCollected(Collected& c, size_t K) {
    std::vector<uint32_t> order = sortKeyIndexes(c.keys.data(), c.count, int(K));
    Sorted out;
    out.keys.resize(c.count * K);
    out.recnos.resize(c.count);
    for (size_t i = 0; i < c.count; ++i) {
        uint32_t from = order[i];
        std::memcpy(out.keys.data() + i * K, c.keys.data() + size_t(from) * K, K);
        out.recnos[i] = c.recnos.empty() ? from + 1 : c.recnos[from];
    }
    std::vector<uint8_t>().swap(c.keys);
    std::vector<uint32_t>().swap(c.recnos);
    return out;
}

}  // namespace

void buildSortedKeys(const DbfTable& table, const MemoSource* memos, const EvalSettings& es,
                     const std::vector<KeyJob>& jobs, const SortedSink& sink,
                     const ProgressFn& progress, const std::vector<uint32_t>* onlyRecords) {
    const uint32_t n = table.recordCount();
    const size_t expected = onlyRecords ? onlyRecords->size() : size_t(n);
    size_t next = 0;
    while (next < jobs.size()) {
        // Group jobs while their keys fit the budget (at least one job per group).
        size_t end = next;
        size_t bytes = 0;
        while (end < jobs.size()) {
            size_t need = expected * size_t(jobs[end].keyLength + (jobs[end].cond ? 4 : 0));
            if (end > next && bytes + need > kKeyBudget) break;
            bytes += need;
            ++end;
        }
        std::vector<Collected> col(end - next);
        for (size_t j = next; j < end; ++j) {
            auto& c = col[j - next];
            size_t reserve = jobs[j].cond ? expected / 4 : expected;
            c.keys.resize(reserve * size_t(jobs[j].keyLength));
            if (jobs[j].cond || onlyRecords) c.recnos.reserve(reserve);
        }
        auto keyOne = [&](const uint8_t* rec, uint32_t r) {
            RecordRef ref;
            ref.data = rec;
            ref.recno = r;
            ref.memos = memos;
            for (size_t j = next; j < end; ++j) {
                const KeyJob& job = jobs[j];
                Collected& c = col[j - next];
                if (job.cond && !job.cond->evalLogical(ref, es)) continue;
                size_t K = size_t(job.keyLength);
                if ((c.count + 1) * K > c.keys.size()) c.keys.resize((c.count + 1) * K * 2);
                job.key->evalKey(ref, es, c.keys.data() + c.count * K, job.keyLength);
                if (job.cond || onlyRecords) c.recnos.push_back(r);
                ++c.count;
            }
        };
        Progress pg;
        pg.phase = Progress::Phase::Index;
        pg.total = expected;
        pg.tagCount = int(jobs.size());
        pg.tag = int(next) + 1;
        size_t seen = 0;
        if (onlyRecords) {
            std::vector<uint8_t> rec(size_t(table.recordLength()));
            for (uint32_t r : *onlyRecords) {
                table.readRecord(r, rec.data());
                keyOne(rec.data(), r);
                if (progress && (++seen & 8191) == 0) {
                    pg.done = seen;
                    progress(pg);
                }
            }
        } else {
            DbfTable::Scanner scan(table, 1, n);
            uint32_t r = 0;
            while (const uint8_t* rec = scan.next(r)) {
                keyOne(rec, r);
                if (progress && (r & 8191) == 0) {
                    pg.done = r;
                    progress(pg);
                }
            }
        }
        // Tags are sorted two at a time (one on a helper thread); the sink still sees them in
        // job order, one by one.
        for (size_t j = next; j < end; j += 2) {
            Sorted first, second;
            bool pair = j + 1 < end;
            std::thread helper;
            std::exception_ptr helperError;
            if (pair) {
                helper = std::thread([&] {
                    try {
                        second = sortCollected(col[j + 1 - next], size_t(jobs[j + 1].keyLength));
                    } catch (...) {
                        helperError = std::current_exception();
                    }
                });
            }
            try {
                first = sortCollected(col[j - next], size_t(jobs[j].keyLength));
            } catch (...) {
                if (helper.joinable()) helper.join();
                throw;
            }
            if (helper.joinable()) helper.join();
            if (helperError) std::rethrow_exception(helperError);
            for (size_t k = 0; k < (pair ? 2u : 1u); ++k) {
                Sorted& sorted = k == 0 ? first : second;
                index::SortedEntries entries;
                entries.keys = sorted.keys.data();
                entries.recnos = sorted.recnos.data();
                entries.count = sorted.recnos.size();
                sink(j + k, entries);
                std::vector<uint8_t>().swap(sorted.keys);
                std::vector<uint32_t>().swap(sorted.recnos);
                if (progress) {
                    pg.tag = int(j + k) + 1;
                    pg.done = pg.total;
                    progress(pg);
                }
            }
        }
        next = end;
    }
}

}  // namespace xb
