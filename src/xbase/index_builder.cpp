// Bulk index building.
//
// One pass over the table evaluates every job's key for each record into buffers sized from
// the budget. When the table fits, each job is sorted and handed over straight from memory;
// otherwise every full buffer is sorted and written as a run, prefix-compressed, to the job's
// working file, and the runs are merged as the tree is written. Sorting is stable on record
// order within a run and the merge prefers the earlier run on equal keys, so the entries come
// out in the same (key, record) order either way and the index files are the same.
#include "xbase/index_builder.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "xbase/bytes.h"
#include "xbase/error.h"
#include "xbase/file.h"
#include "xbase/index/node.h"
#include "xbase/key_sort.h"

namespace xb {

namespace {

std::atomic<size_t> gBudget{size_t(96) << 20};
std::atomic<size_t> gLastPeak{0};

constexpr size_t kSortBytesPerKey = KeySorter::kBytesPerKey;
constexpr size_t kMinReadBuffer = size_t(4) << 10;
constexpr size_t kMaxReadBuffer = size_t(1) << 20;
// How many entries ahead a walk through keys in sorted order asks for their memory.
constexpr size_t kFetchAhead = 12;

using index::MemoryMeter;

// Memory counted for as long as it lives.
class Held {
  public:
    Held(MemoryMeter& m, size_t bytes) : m_(m), bytes_(bytes) { m_.add(bytes_); }
    ~Held() { m_.sub(bytes_); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

  private:
    MemoryMeter& m_;
    size_t bytes_;
};

struct Collected {
    std::vector<uint8_t> keys;
    std::vector<uint32_t> recnos;  // empty: the records firstRec, firstRec + 1, ...
    size_t count = 0;
    uint32_t recnoAt(size_t i, uint32_t firstRec) const {
        return recnos.empty() ? firstRec + uint32_t(i) : recnos[i];
    }
};

struct RunInfo {
    uint64_t offset = 0;
    uint64_t bytes = 0;
};

// A job's sorted runs, one after the other in its working file.
struct RunFile {
    File file;
    uint64_t end = 0;
    std::vector<RunInfo> runs;
};

// Each entry of a run: bytes shared with the previous key, bytes stored, the stored bytes,
// the record number; trailing blanks are not stored.
constexpr size_t maxEntryBytes(int K) {
    return size_t(K) + 6;
}

class RunWriter {
  public:
    RunWriter(RunFile& rf, int K, size_t bufBytes, MemoryMeter& meter)
        : rf_(rf),
          K_(K),
          prev_(size_t(K), 0),
          cap_(std::max(bufBytes, maxEntryBytes(K))),
          held_(meter, cap_) {
        buf_.resize(cap_);
        start_ = rf_.end;
    }

    void put(const uint8_t* key, uint32_t recno) {
        if (used_ + maxEntryBytes(K_) > cap_) flush();
        const int dup = first_ ? 0 : index::commonPrefix(prev_.data(), key, K_);
        const int end = std::max(dup, K_ - index::trailCount(key, K_, ' '));
        uint8_t* p = buf_.data() + used_;
        p[0] = uint8_t(dup);
        p[1] = uint8_t(end - dup);
        std::memcpy(p + 2, key + dup, size_t(end - dup));
        putLE32(p + 2 + (end - dup), recno);
        used_ += size_t(end - dup) + 6;
        std::memcpy(prev_.data() + dup, key + dup, size_t(K_ - dup));
        first_ = false;
    }

    void finish() {
        flush();
        rf_.runs.push_back({start_, rf_.end - start_});
    }

  private:
    void flush() {
        if (used_ == 0) return;
        if (!rf_.file.isOpen()) fail(ErrorCode::State, "working file missing");
        rf_.file.writeAt(rf_.end, buf_.data(), used_);
        rf_.end += used_;
        used_ = 0;
    }

    RunFile& rf_;
    const int K_;
    std::vector<uint8_t> prev_;
    std::vector<uint8_t> buf_;
    size_t used_ = 0;
    const size_t cap_;
    Held held_;
    uint64_t start_ = 0;
    bool first_ = true;
};

// The read buffers of a merge, kept from one merge to the next so that merging job after job
// does not fault in fresh pages each time.
class MergeArena {
  public:
    explicit MergeArena(MemoryMeter& m) : m_(m) {}
    ~MergeArena() { m_.sub(bytes_.size()); }
    MergeArena(const MergeArena&) = delete;
    MergeArena& operator=(const MergeArena&) = delete;
    uint8_t* get(size_t n) {
        if (n > bytes_.size()) {
            m_.add(n - bytes_.size());
            bytes_.resize(n);
        }
        return bytes_.data();
    }

  private:
    MemoryMeter& m_;
    std::vector<uint8_t> bytes_;
};

// A key's bytes from offset on, eight at a time (zeros past its end), as a number in key order.
uint64_t chunkAt(const uint8_t* key, int K, int offset) {
    uint8_t b[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    if (K > offset) std::memcpy(b, key + offset, size_t(std::min(K - offset, 8)));
    uint64_t v;
    std::memcpy(&v, b, 8);
    return __builtin_bswap64(v);
}

class RunReader {
  public:
    RunReader(const File& file, const RunInfo& run, int K, uint8_t* buf, size_t bufBytes)
        : file_(file),
          next_(run.offset),
          left_(run.bytes),
          K_(K),
          key_(size_t(K), ' '),
          buf_(buf),
          size_(bufBytes) {
        setHead();
    }

    // Moves to the next entry; false at the end of the run.
    bool advance() {
        if (end_ - pos_ < maxEntryBytes(K_) && left_ > 0) refill();
        if (pos_ == end_) return false;
        const uint8_t* p = buf_ + pos_;
        const int dup = p[0], stored = p[1];
        if (dup + stored > K_ || pos_ + size_t(stored) + 6 > end_)
            fail(ErrorCode::Corrupt, file_.path() + ": a sorted run is damaged");
        std::memcpy(key_.data() + dup, p + 2, size_t(stored));
        std::memset(key_.data() + dup + stored, ' ', size_t(K_ - dup - stored));
        recno_ = getLE32(p + 2 + stored);
        pos_ += size_t(stored) + 6;
        if (dup < 16) setHead();
        return true;
    }
    const uint8_t* key() const { return key_.data(); }
    // The key's first sixteen bytes (zeros past a shorter key) as two numbers in key order.
    uint64_t head(int i) const { return head_[i]; }
    uint32_t recno() const { return recno_; }

  private:
    void setHead() {
        head_[0] = chunkAt(key_.data(), K_, 0);
        head_[1] = chunkAt(key_.data(), K_, 8);
    }

    void refill() {
        std::memmove(buf_, buf_ + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
        size_t n = size_t(std::min<uint64_t>(left_, size_ - end_));
        file_.readExact(next_, buf_ + end_, n, "sorted run");
        next_ += n;
        left_ -= n;
        end_ += n;
    }

    const File& file_;
    uint64_t next_, left_;
    const int K_;
    std::vector<uint8_t> key_;
    uint8_t* buf_;
    size_t size_;
    size_t pos_ = 0, end_ = 0;
    uint32_t recno_ = 0;
    uint64_t head_[2] = {0, 0};
};

// Merges runs into (key, record) order with a tournament over the runs' current entries, so
// each entry taken costs one comparison per level. Record numbers are unique within a job, so
// no two entries tie.
class Merger {
  public:
    Merger(const File& file, const std::vector<RunInfo>& runs, int K, size_t bufBytes,
           MergeArena& arena, MemoryMeter& meter)
        : K_(K), held_(meter, runs.size() * size_t(K)) {
        const size_t each = std::max(bufBytes, maxEntryBytes(K) * 2);
        uint8_t* buf = arena.get(runs.size() * each);
        readers_.reserve(runs.size());
        for (size_t i = 0; i < runs.size(); ++i)
            readers_.emplace_back(file, runs[i], K, buf + i * each, each);
        while (leaves_ < readers_.size())
            leaves_ *= 2;
        tree_.assign(2 * leaves_, kNone);
        for (size_t i = 0; i < readers_.size(); ++i)
            if (readers_[i].advance()) tree_[leaves_ + i] = uint32_t(i);
        for (size_t t = leaves_ - 1; t >= 1; --t)
            tree_[t] = winner(tree_[2 * t], tree_[2 * t + 1]);
    }

    // The smallest entry, or nullptr when all runs are used up; valid until the next pop().
    const RunReader* top() const { return tree_[1] == kNone ? nullptr : &readers_[tree_[1]]; }
    void pop() {
        const uint32_t i = tree_[1];
        size_t t = leaves_ + i;
        tree_[t] = readers_[i].advance() ? i : kNone;
        for (t /= 2; t >= 1; t /= 2)
            tree_[t] = winner(tree_[2 * t], tree_[2 * t + 1]);
    }

  private:
    static constexpr uint32_t kNone = 0xFFFFFFFFu;

    uint32_t winner(uint32_t a, uint32_t b) const {
        if (a == kNone) return b;
        if (b == kNone) return a;
        const RunReader& x = readers_[a];
        const RunReader& y = readers_[b];
        if (x.head(0) != y.head(0)) return x.head(0) < y.head(0) ? a : b;
        if (x.head(1) != y.head(1)) return x.head(1) < y.head(1) ? a : b;
        int c = K_ > 16 ? std::memcmp(x.key() + 16, y.key() + 16, size_t(K_ - 16)) : 0;
        if (c != 0) return c < 0 ? a : b;
        return x.recno() < y.recno() ? a : b;
    }

    const int K_;
    Held held_;
    std::vector<RunReader> readers_;
    size_t leaves_ = 1;
    std::vector<uint32_t> tree_;  // tree_[1] the root; leaves from tree_[leaves_]
};

// A job's runs merged, taken in blocks.
class MergeStream {
  public:
    MergeStream(const File& file, const std::vector<RunInfo>& runs, int K, size_t bufBytes,
                MergeArena& arena, MemoryMeter& meter)
        : K_(K), merger_(file, runs, K, bufBytes, arena, meter) {}

    // Writes up to max entries in order; fewer only at the end.
    size_t fill(uint8_t* keys, uint32_t* recnos, size_t max) {
        size_t n = 0;
        for (const RunReader* r = merger_.top(); r && n < max; r = merger_.top()) {
            std::memcpy(keys + n * size_t(K_), r->key(), size_t(K_));
            recnos[n++] = r->recno();
            merger_.pop();
        }
        return n;
    }

  private:
    const int K_;
    Merger merger_;
};

// Merges on a helper thread, a block ahead of the reader, so the merge and the writing of the
// tree share the two cores.
class ReadAheadStream final : public index::EntryStream {
  public:
    ReadAheadStream(MergeStream& from, int K, size_t entries, MemoryMeter& meter)
        : from_(from),
          cap_(std::max<size_t>(entries, 1)),
          held_(meter, 2 * cap_ * (size_t(K) + 4)) {
        for (Slot& s : slots_) {
            s.keys.resize(cap_ * size_t(K));
            s.recnos.resize(cap_);
        }
        worker_ = std::thread([this] { produce(); });
    }
    ~ReadAheadStream() override {
        {
            std::lock_guard<std::mutex> lock(mu_);
            stop_ = true;
        }
        cv_.notify_all();
        worker_.join();
    }

    bool next(index::SortedEntries& batch) override {
        std::unique_lock<std::mutex> lock(mu_);
        if (reading_) {
            // The block handed out last time is free again.
            slots_[readAt_].full = false;
            readAt_ ^= 1;
            reading_ = false;
            cv_.notify_all();
        }
        cv_.wait(lock, [&] { return slots_[readAt_].full || error_ || done_; });
        if (slots_[readAt_].full) {
            const Slot& s = slots_[readAt_];
            batch = {s.keys.data(), s.recnos.data(), s.count};
            reading_ = true;
            return true;
        }
        if (error_) std::rethrow_exception(error_);
        return false;
    }

  private:
    struct Slot {
        std::vector<uint8_t> keys;
        std::vector<uint32_t> recnos;
        size_t count = 0;
        bool full = false;
    };

    void produce() {
        try {
            size_t at = 0;
            bool more = true;
            while (more) {
                {
                    std::unique_lock<std::mutex> lock(mu_);
                    cv_.wait(lock, [&] { return stop_ || !slots_[at].full; });
                    if (stop_) return;
                }
                Slot& s = slots_[at];
                s.count = from_.fill(s.keys.data(), s.recnos.data(), cap_);
                more = s.count == cap_;
                std::lock_guard<std::mutex> lock(mu_);
                if (s.count > 0) s.full = true;
                if (!more) done_ = true;
                at ^= 1;
                cv_.notify_all();
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(mu_);
            error_ = std::current_exception();
            cv_.notify_all();
        }
    }

    MergeStream& from_;
    const size_t cap_;
    Held held_;
    Slot slots_[2];
    std::mutex mu_;
    std::condition_variable cv_;
    size_t readAt_ = 0;
    bool reading_ = false;
    bool done_ = false;
    bool stop_ = false;
    std::exception_ptr error_;
    std::thread worker_;
};

// One job's keys in sorted order, straight from the collected buffer.
class MemoryStream final : public index::EntryStream {
  public:
    MemoryStream(const Collected& c, const std::vector<uint32_t>& order, int K, uint32_t firstRec,
                 size_t batch, MemoryMeter& meter)
        : c_(c),
          order_(order),
          K_(K),
          firstRec_(firstRec),
          batch_(batch),
          held_(meter, batch * (size_t(K) + 4)),
          keys_(batch * size_t(K)),
          recnos_(batch) {}

    bool next(index::SortedEntries& batch) override {
        size_t n = 0;
        for (; n < batch_ && at_ < order_.size(); ++n, ++at_) {
            if (at_ + kFetchAhead < order_.size())
                __builtin_prefetch(c_.keys.data() + size_t(order_[at_ + kFetchAhead]) * size_t(K_));
            const uint32_t from = order_[at_];
            std::memcpy(keys_.data() + n * size_t(K_), c_.keys.data() + size_t(from) * size_t(K_),
                        size_t(K_));
            recnos_[n] = c_.recnoAt(from, firstRec_);
        }
        batch = {keys_.data(), recnos_.data(), n};
        return n > 0;
    }

  private:
    const Collected& c_;
    const std::vector<uint32_t>& order_;
    const int K_;
    const uint32_t firstRec_;
    const size_t batch_;
    size_t at_ = 0;
    Held held_;
    std::vector<uint8_t> keys_;
    std::vector<uint32_t> recnos_;
};

// A sorter whose working memory is counted for as long as it keeps it.
class CountedSorter {
  public:
    explicit CountedSorter(MemoryMeter& m) : m_(m) {}
    ~CountedSorter() { m_.sub(held_); }
    CountedSorter(const CountedSorter&) = delete;
    CountedSorter& operator=(const CountedSorter&) = delete;

    const std::vector<uint32_t>& sort(const Collected& c, int K) {
        const size_t need = c.count * KeySorter::kBytesPerKey;
        if (need > held_) {
            m_.add(need - held_);
            held_ = need;
        }
        return sorter_.sort(c.keys.data(), c.count, K);
    }

  private:
    MemoryMeter& m_;
    KeySorter sorter_;
    size_t held_ = 0;
};

// Runs f(worker, j) for every j in [0, n) on this thread (worker 0) and a helper (worker 1),
// each taking the next j when it is free, so a long job on one side does not leave the other
// core waiting.
template <typename F>
void onTwoThreads(size_t n, const F& f) {
    std::atomic<size_t> nextJob{0};
    std::atomic<bool> failed{false};
    auto work = [&](int worker) {
        for (size_t j = nextJob++; j < n && !failed; j = nextJob++)
            f(worker, j);
    };
    std::exception_ptr helperError;
    std::thread helper;
    if (n > 1) {
        helper = std::thread([&] {
            try {
                work(1);
            } catch (...) {
                helperError = std::current_exception();
                failed = true;
            }
        });
    }
    try {
        work(0);
    } catch (...) {
        failed = true;
        if (helper.joinable()) helper.join();
        throw;
    }
    if (helper.joinable()) helper.join();
    if (helperError) std::rethrow_exception(helperError);
}

// Merges groups of runs into longer runs until there are at most fanIn, in a new file.
void narrowRuns(RunFile& rf, int K, size_t fanIn, size_t bufBytes, size_t writeBytes,
                const std::string& folder, MergeArena& arena, MemoryMeter& meter) {
    while (rf.runs.size() > fanIn) {
        RunFile out;
        out.file = File::scratch(folder);
        for (size_t from = 0; from < rf.runs.size(); from += fanIn) {
            const size_t to = std::min(rf.runs.size(), from + fanIn);
            std::vector<RunInfo> group(rf.runs.begin() + long(from), rf.runs.begin() + long(to));
            Merger m(rf.file, group, K, bufBytes, arena, meter);
            RunWriter w(out, K, writeBytes, meter);
            for (const RunReader* r = m.top(); r; r = m.top()) {
                w.put(r->key(), r->recno());
                m.pop();
            }
            w.finish();
        }
        rf = std::move(out);
    }
}

}  // namespace

size_t indexBuildBudget() {
    return gBudget.load();
}
void setIndexBuildBudget(size_t bytes) {
    gBudget.store(bytes);
}
size_t lastIndexBuildPeak() {
    return gLastPeak.load();
}

namespace {

// How the records to key arrive.
struct Source {
    const RecordFeed& feed;
    size_t maxRecords;
    size_t recordLength;
    std::string folder;     // for working files
    bool listed;            // record numbers other than 1, 2, 3, ... (kept beside the keys)
    bool reportCollecting;  // progress while collecting (else only per tag)
};

void buildFrom(const Source& src, const MemoSource* memos, const EvalSettings& es,
               const std::vector<KeyJob>& jobs, const SortedSink& sink,
               const ProgressFn& progress) {
    MemoryMeter meter;
    struct PeakOnExit {
        MemoryMeter& m;
        ~PeakOnExit() { gLastPeak.store(m.peak()); }
    } peakOnExit{meter};

    const size_t expected = src.maxRecords;
    const bool listed = src.listed;
    const size_t J = jobs.size();
    if (J == 0) return;
    const std::string& folder = src.folder;

    // A quarter of the budget is kept for the tree levels and the merge's buffers; what is
    // left holds the collected keys, with room to sort two jobs at once and write their runs.
    const size_t budget = indexBuildBudget();
    const size_t upperMemory = budget / 8;
    const size_t writeBytes = std::clamp<size_t>(budget / 32, 4096, size_t(256) << 10);
    size_t perRecord = 2 * kSortBytesPerKey;
    int maxK = 1;
    for (const KeyJob& job : jobs) {
        perRecord += size_t(job.keyLength) + (job.cond || listed ? 4 : 0);
        maxK = std::max(maxK, job.keyLength);
    }
    const size_t batch = std::clamp<size_t>(budget / 64 / (size_t(maxK) + 4), 16, 512);
    // The merge hands blocks of entries to the tree writer; large blocks keep the threads from
    // waiting on each other often.
    auto aheadEntries = [&](int K) {
        return std::clamp<size_t>(budget / 64 / (size_t(K) + 4), 16, 8192);
    };
    // The tree builder holds at most a leaf's keys besides its levels.
    const size_t leafKeys = size_t(index::kLeafSpace) * 2 * size_t(maxK);
    const size_t blockBytes = size_t(1) << 20;
    const size_t fixed = upperMemory + 2 * writeBytes + 2 * batch * (size_t(maxK) + 4) + leafKeys +
                         std::min(blockBytes, budget / 16) + 4096 * 4;
    const size_t room = budget > fixed ? budget - fixed : 0;
    const size_t perRun = std::max<size_t>(room / perRecord, 16);
    const bool oneRun = expected <= perRun;
    const size_t cap = oneRun ? expected : perRun;

    std::vector<Collected> col(J);
    std::optional<Held> collected;
    collected.emplace(meter, cap * (perRecord - 2 * kSortBytesPerKey));
    for (size_t j = 0; j < J; ++j) {
        col[j].keys.resize(cap * size_t(jobs[j].keyLength));
        if (jobs[j].cond || listed) col[j].recnos.reserve(cap);
    }
    std::vector<RunFile> runFiles(oneRun ? 0 : J);
    uint32_t runFirstRec = listed ? 0 : 1;
    size_t inRun = 0;

    Progress pg;
    pg.phase = Progress::Phase::Index;
    pg.total = expected;
    pg.tagCount = int(J);
    pg.tag = 1;

    // One sorter for each of the two threads, kept for every run and job.
    std::optional<CountedSorter> sorters[2];
    sorters[0].emplace(meter);
    sorters[1].emplace(meter);
    auto spill = [&] {
        onTwoThreads(J, [&](int worker, size_t j) {
            Collected& c = col[j];
            RunFile& rf = runFiles[j];
            if (!rf.file.isOpen()) rf.file = File::scratch(folder);
            const int K = jobs[j].keyLength;
            const std::vector<uint32_t>& order = sorters[worker]->sort(c, K);
            {
                RunWriter w(rf, K, writeBytes, meter);
                const uint8_t* keys = c.keys.data();
                const size_t count = order.size();
                for (size_t i = 0; i < count; ++i) {
                    // The sorted order visits the keys scattered; fetch ahead of use.
                    if (i + kFetchAhead < count)
                        __builtin_prefetch(keys + size_t(order[i + kFetchAhead]) * size_t(K));
                    const uint32_t from = order[i];
                    w.put(keys + size_t(from) * size_t(K), c.recnoAt(from, runFirstRec));
                }
                w.finish();
            }
            c.count = 0;
            c.recnos.clear();
        });
        inRun = 0;
    };

    // Records are keyed in blocks while the next block is being read: a helper thread starts
    // on a filled block at once, and this thread joins in when it has filled the next one, each
    // taking the next job nobody has taken (jobs reading memos stay on this thread). Every job
    // has all its keys of one block written before any of the next block's.
    const size_t recLen = src.recordLength;
    const size_t blockCap =
        std::clamp<size_t>(std::min(blockBytes / 2, budget / 32) / std::max<size_t>(recLen, 1), 1,
                           std::min<size_t>(4096, std::max<size_t>(cap, 1)));
    struct Block {
        std::vector<uint8_t> data;
        std::vector<uint32_t> recs;
        size_t n = 0;
    };
    Block blocks[2];
    for (Block& b : blocks) {
        b.data.resize(blockCap * recLen);
        b.recs.resize(blockCap);
    }
    Held blockHeld(meter, 2 * blockCap * (recLen + 4));
    Block* filling = &blocks[0];
    Block* keying = nullptr;  // handed to the helper, not yet all keyed
    size_t seen = 0;
    std::vector<size_t> mainOnly, shared;
    for (size_t j = 0; j < J; ++j)
        (jobs[j].key->usesMemo() || (jobs[j].cond && jobs[j].cond->usesMemo()) ? mainOnly : shared)
            .push_back(j);

    auto keyJob = [&](size_t j, const Block& b) {
        RecordRef ref;
        ref.memos = memos;
        const KeyJob& job = jobs[j];
        Collected& c = col[j];
        const size_t K = size_t(job.keyLength);
        for (size_t i = 0; i < b.n; ++i) {
            ref.data = b.data.data() + i * recLen;
            ref.recno = b.recs[i];
            if (job.cond && !job.cond->evalLogical(ref, es)) continue;
            job.key->evalKey(ref, es, c.keys.data() + c.count * K, job.keyLength);
            if (job.cond || listed) c.recnos.push_back(ref.recno);
            ++c.count;
        }
    };

    std::mutex mu;
    std::condition_variable cv;
    std::atomic<size_t> nextShared{0};
    uint64_t handedOut = 0;  // blocks handed to the helper
    bool helperBusy = false, stopHelper = false;
    std::exception_ptr helperError;
    auto takeShared = [&](const Block& b) {
        for (size_t k = nextShared++; k < shared.size(); k = nextShared++)
            keyJob(shared[k], b);
    };
    std::thread helper([&] {
        uint64_t taken = 0;
        for (;;) {
            const Block* b = nullptr;
            {
                std::unique_lock<std::mutex> lock(mu);
                cv.wait(lock, [&] { return stopHelper || handedOut != taken; });
                if (stopHelper) return;
                taken = handedOut;
                b = keying;
            }
            try {
                takeShared(*b);
            } catch (...) {
                nextShared = shared.size();
                std::lock_guard<std::mutex> lock(mu);
                if (!helperError) helperError = std::current_exception();
            }
            {
                std::lock_guard<std::mutex> lock(mu);
                helperBusy = false;
            }
            cv.notify_all();
        }
    });
    struct StopHelper {
        std::mutex& mu;
        std::condition_variable& cv;
        bool& stop;
        std::thread& t;
        ~StopHelper() {
            {
                std::lock_guard<std::mutex> lock(mu);
                stop = true;
            }
            cv.notify_all();
            t.join();
        }
    } stopOnExit{mu, cv, stopHelper, helper};

    // Keys the block in the helper's hands to the end, then spills a full run.
    auto finishKeying = [&] {
        if (!keying) return;
        const Block& b = *keying;
        try {
            for (size_t j : mainOnly)
                keyJob(j, b);
            takeShared(b);
        } catch (...) {
            nextShared = shared.size();
            std::unique_lock<std::mutex> lock(mu);
            cv.wait(lock, [&] { return !helperBusy; });
            throw;
        }
        {
            std::unique_lock<std::mutex> lock(mu);
            cv.wait(lock, [&] { return !helperBusy; });
            if (helperError) std::rethrow_exception(helperError);
        }
        keying = nullptr;
        inRun += b.n;
        seen += b.n;
        if (progress && src.reportCollecting) {
            pg.done = listed ? seen : b.recs[b.n - 1];
            progress(pg);
        }
        if (inRun == cap && !oneRun) spill();
    };

    auto handOut = [&] {
        if (filling->n == 0) return;
        finishKeying();
        if (inRun == 0) runFirstRec = filling->recs[0];
        {
            std::lock_guard<std::mutex> lock(mu);
            keying = filling;
            nextShared = 0;
            helperBusy = true;
            ++handedOut;
        }
        cv.notify_all();
        filling = filling == &blocks[0] ? &blocks[1] : &blocks[0];
        filling->n = 0;
    };

    auto keyOne = [&](const uint8_t* rec, uint32_t r) {
        const size_t queued = inRun + (keying ? keying->n : 0);
        if (seen + (keying ? keying->n : 0) + filling->n >= expected)
            fail(ErrorCode::State, "more records to index than announced");
        std::memcpy(filling->data.data() + filling->n * recLen, rec, recLen);
        filling->recs[filling->n++] = r;
        if (filling->n == blockCap || queued + filling->n == cap) handOut();
    };

    src.feed(keyOne);
    handOut();
    finishKeying();

    auto handOver = [&](size_t j, index::EntryStream& stream) {
        stream.meter = &meter;
        stream.upperMemory = upperMemory;
        stream.scratchFolder = folder;
        sink(j, stream);
        if (progress) {
            pg.tag = int(j) + 1;
            pg.done = pg.total;
            progress(pg);
        }
    };

    if (oneRun) {
        // Each job is sorted on a helper thread while the one before it is written; the two
        // sorters take turns, each order living until its job is written.
        const std::vector<uint32_t>* order = &sorters[0]->sort(col[0], jobs[0].keyLength);
        for (size_t j = 0; j < J; ++j) {
            const std::vector<uint32_t>* nextOrder = nullptr;
            std::exception_ptr helperError;
            std::thread helper;
            if (j + 1 < J) {
                helper = std::thread([&] {
                    try {
                        nextOrder = &sorters[(j + 1) % 2]->sort(col[j + 1], jobs[j + 1].keyLength);
                    } catch (...) {
                        helperError = std::current_exception();
                    }
                });
            }
            try {
                MemoryStream stream(col[j], *order, jobs[j].keyLength, runFirstRec, batch, meter);
                handOver(j, stream);
            } catch (...) {
                if (helper.joinable()) helper.join();
                throw;
            }
            if (helper.joinable()) helper.join();
            if (helperError) std::rethrow_exception(helperError);
            std::vector<uint8_t>().swap(col[j].keys);
            std::vector<uint32_t>().swap(col[j].recnos);
            order = nextOrder;
        }
        return;
    }

    if (inRun > 0) spill();
    for (auto& c : col) {
        std::vector<uint8_t>().swap(c.keys);
        std::vector<uint32_t>().swap(c.recnos);
    }
    collected.reset();
    sorters[0].reset();
    sorters[1].reset();
    // The collected keys are gone; the room they had is shared by the merge's readers.
    const size_t mergeRoom = std::max(room, size_t(2) * (kMinReadBuffer + size_t(maxK)));
    MergeArena arena(meter);
    for (size_t j = 0; j < J; ++j) {
        RunFile& rf = runFiles[j];
        const int K = jobs[j].keyLength;
        const size_t least = kMinReadBuffer + size_t(K);
        const size_t fanIn = std::max<size_t>(2, mergeRoom / 2 / least);
        if (rf.runs.size() > fanIn)
            narrowRuns(rf, K, fanIn, kMinReadBuffer, writeBytes, folder, arena, meter);
        const size_t each = std::clamp(mergeRoom / std::max<size_t>(rf.runs.size(), 1) - size_t(K),
                                       kMinReadBuffer, kMaxReadBuffer);
        MergeStream merged(rf.file, rf.runs, K, each, arena, meter);
        ReadAheadStream stream(merged, K, aheadEntries(K), meter);
        handOver(j, stream);
        rf = RunFile{};
    }
}

}  // namespace

void buildSortedKeys(const DbfTable& table, const MemoSource* memos, const EvalSettings& es,
                     const std::vector<KeyJob>& jobs, const SortedSink& sink,
                     const ProgressFn& progress, const std::vector<uint32_t>* onlyRecords) {
    const uint32_t n = table.recordCount();
    RecordFeed feed = [&](const RecordTake& take) {
        if (onlyRecords) {
            std::vector<uint8_t> rec(size_t(table.recordLength()));
            for (uint32_t r : *onlyRecords) {
                table.readRecord(r, rec.data());
                take(rec.data(), r);
            }
        } else {
            DbfTable::Scanner scan(table, 1, n);
            uint32_t r = 0;
            while (const uint8_t* rec = scan.next(r))
                take(rec, r);
        }
    };
    Source src{feed,
               onlyRecords ? onlyRecords->size() : size_t(n),
               size_t(table.recordLength()),
               directoryOf(realPathOf(table.path())),
               onlyRecords != nullptr,
               true};
    buildFrom(src, memos, es, jobs, sink, progress);
}

void buildSortedKeys(const RecordFeed& feed, size_t maxRecords, size_t recordLength,
                     const std::string& folder, const EvalSettings& es,
                     const std::vector<KeyJob>& jobs, const SortedSink& sink,
                     const ProgressFn& progress) {
    for (const KeyJob& job : jobs)
        if (job.key->usesMemo() || (job.cond && job.cond->usesMemo()))
            fail(ErrorCode::Argument, "keys fed record by record cannot read memos");
    Source src{feed, maxRecords, recordLength, folder, false, false};
    buildFrom(src, nullptr, es, jobs, sink, progress);
}

}  // namespace xb
