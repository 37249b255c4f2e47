// Page cache with clock eviction, write-back of dirty pages and appends at the end of file.
#include "xbase/index/page_file.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "xbase/error.h"

namespace xb::index {

namespace {
// Clock passes a page survives untouched: leaves are cheap to re-read, interior pages are
// on every path from the root.
uint8_t weightOf(const uint8_t* page) {
    return (page[0] & 0x02) ? 1 : 4;
}
}  // namespace

PageFile::PageFile(File file, size_t cacheBytes) : file_(std::move(file)) {
    uint64_t size = file_.size();
    end_ = (size + kPage - 1) / kPage * kPage;
    capacity_ = std::max<size_t>(cacheBytes / kPage, 16);
    slots_.reserve(capacity_);
    buffer_.reset(new uint8_t[capacity_ * kPage]);
}

uint32_t PageFile::SlotMap::find(uint32_t off) const {
    if (cells_.empty()) return kNone;
    const uint32_t page = off / kPage;
    for (size_t i = home(page);; i = (i + 1) & (cells_.size() - 1)) {
        const Cell& c = cells_[i];
        if (c.page == page) return c.slot;
        if (c.page == kNone) return kNone;
    }
}

void PageFile::SlotMap::put(uint32_t off, uint32_t slot) {
    if ((used_ + 1) * 2 > cells_.size()) grow();
    const uint32_t page = off / kPage;
    for (size_t i = home(page);; i = (i + 1) & (cells_.size() - 1)) {
        Cell& c = cells_[i];
        if (c.page == page) {
            c.slot = slot;
            return;
        }
        if (c.page == kNone) {
            c = Cell{page, slot};
            ++used_;
            return;
        }
    }
}

void PageFile::SlotMap::erase(uint32_t off) {
    if (cells_.empty()) return;
    const uint32_t page = off / kPage;
    const size_t mask = cells_.size() - 1;
    size_t i = home(page);
    while (cells_[i].page != page) {
        if (cells_[i].page == kNone) return;
        i = (i + 1) & mask;
    }
    // Shift later members of the probe run back so that no lookup stops early at the hole.
    for (size_t j = (i + 1) & mask; cells_[j].page != kNone; j = (j + 1) & mask) {
        const size_t h = home(cells_[j].page);
        const bool movable = i <= j ? (h <= i || h > j) : (h <= i && h > j);
        if (movable) {
            cells_[i] = cells_[j];
            i = j;
        }
    }
    cells_[i] = Cell{};
    --used_;
}

void PageFile::SlotMap::grow() {
    std::vector<Cell> old = std::move(cells_);
    const size_t size = old.empty() ? 64 : old.size() * 2;
    cells_.assign(size, Cell{});
    shift_ = 32 - std::countr_zero(size);
    used_ = 0;
    for (const Cell& c : old)
        if (c.page != kNone) put(c.page * kPage, c.slot);
}

PageFile::~PageFile() {
    try {
        flush();
    } catch (...) {
        // An owner that needs to know flushes explicitly first.
    }
}

void PageFile::checkGrowth(uint64_t bytes) const {
    if (end_ + bytes > 0xFFFFFE00ULL)
        fail(ErrorCode::Io, path() + ": the index would grow past 4 GiB");
}

uint32_t PageFile::slotFor(uint32_t off) {
    uint32_t s;
    if (slots_.size() < capacity_) {
        s = uint32_t(slots_.size());
        slots_.push_back(Slot{});
    } else {
        for (;;) {
            Slot& c = slots_[hand_];
            size_t at = hand_;
            hand_ = (hand_ + 1) % slots_.size();
            if (c.weight > 0) {
                --c.weight;
                continue;
            }
            if (c.dirty) {
                file_.writeAt(c.off, data(uint32_t(at)), kPage);
                c.dirty = false;
            }
            map_.erase(c.off);
            s = uint32_t(at);
            break;
        }
    }
    slots_[s].off = off;
    slots_[s].used = true;
    slots_[s].dirty = false;
    map_.put(off, s);
    return s;
}

const uint8_t* PageFile::read(uint32_t off) {
    if (uint32_t hit = map_.find(off); hit != SlotMap::kNone) {
        slots_[hit].weight = weightOf(data(hit));
        return data(hit);
    }
    if (!holds(off))
        fail(ErrorCode::Corrupt,
             path() + ": page " + std::to_string(off) + " lies outside the file");
    uint32_t s = slotFor(off);
    try {
        file_.readExact(off, data(s), kPage, "an index page");
    } catch (...) {
        map_.erase(off);
        slots_[s].used = false;
        slots_[s].weight = 0;
        throw;
    }
    slots_[s].weight = weightOf(data(s));
    return data(s);
}

void PageFile::peek(uint32_t off, uint8_t* out) {
    if (uint32_t hit = map_.find(off); hit != SlotMap::kNone) {
        std::memcpy(out, data(hit), kPage);
        return;
    }
    if (!holds(off))
        fail(ErrorCode::Corrupt,
             path() + ": page " + std::to_string(off) + " lies outside the file");
    file_.readExact(off, out, kPage, "an index page");
}

void PageFile::markDirty(uint32_t s) {
    if (!slots_[s].dirty) {
        slots_[s].dirty = true;
        dirty_.push_back(s);
    }
}

void PageFile::write(uint32_t off, const uint8_t* page) {
    if (!writable()) fail(ErrorCode::State, path() + " is open read-only");
    if (!holds(off))
        fail(ErrorCode::Argument, path() + ": page " + std::to_string(off) + " is not in the file");
    uint32_t s = map_.find(off);
    if (s == SlotMap::kNone) s = slotFor(off);
    std::memcpy(data(s), page, kPage);
    slots_[s].weight = weightOf(page);
    markDirty(s);
}

uint32_t PageFile::append(const uint8_t* page) {
    if (!writable()) fail(ErrorCode::State, path() + " is open read-only");
    checkGrowth(kPage);
    auto off = uint32_t(end_);
    end_ += kPage;
    write(off, page);
    return off;
}

uint32_t PageFile::appendDirect(const uint8_t* bytes, size_t n) {
    checkGrowth(n);
    auto off = uint32_t(end_);
    file_.writeAt(off, bytes, n);
    end_ += (n + kPage - 1) / kPage * kPage;
    return off;
}

void PageFile::flush() {
    if (dirty_.empty()) return;
    std::sort(dirty_.begin(), dirty_.end(),
              [this](uint32_t a, uint32_t b) { return slots_[a].off < slots_[b].off; });
    dirty_.erase(std::unique(dirty_.begin(), dirty_.end()), dirty_.end());
    // Neighbouring pages go out in one write: splits and bulk appends produce long runs.
    std::vector<uint8_t> run;
    size_t i = 0;
    while (i < dirty_.size()) {
        uint32_t s = dirty_[i];
        if (!slots_[s].dirty) {
            ++i;
            continue;
        }
        uint32_t start = slots_[s].off;
        size_t j = i;
        run.clear();
        while (j < dirty_.size() && slots_[dirty_[j]].dirty &&
               slots_[dirty_[j]].off == start + (j - i) * kPage && run.size() < (size_t(1) << 20)) {
            const uint8_t* p = data(dirty_[j]);
            run.insert(run.end(), p, p + kPage);
            ++j;
        }
        file_.writeAt(start, run.data(), run.size());
        for (size_t k = i; k < j; ++k)
            slots_[dirty_[k]].dirty = false;
        i = j;
    }
    dirty_.clear();
}

void PageFile::sync() {
    flush();
    file_.sync();
}

}  // namespace xb::index
