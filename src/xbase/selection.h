// The records a work area's selection lets through: one bit per record for the filter and
// one for the deletion mark, kept current on every write, and (built on demand) the visible
// records in the controlling order for positional access.
#pragma once

#include <bit>
#include <cstdint>
#include <vector>

namespace xb {

class Selection {
  public:
    bool bitsValid() const { return bitsValid_; }
    void invalidateBits() {
        bitsValid_ = false;
        invalidateRows();
    }
    // Starts the bits for n records (every bit clear); set() fills them.
    void resetBits(uint32_t n, bool hideDeleted) {
        size_t words = (size_t(n) + 64) / 64 + 1;
        match_.assign(words, 0);
        del_.assign(words, 0);
        count_ = n;
        hide_ = hideDeleted;
        visible_ = 0;
        bitsValid_ = true;
        invalidateRows();
    }
    void setHideDeleted(bool hide) {
        if (hide == hide_) return;
        hide_ = hide;
        if (bitsValid_) recount();
        invalidateRows();
    }
    // Records the filter result and deletion mark of record r (1..count, or count+1 to grow).
    void set(uint32_t r, bool match, bool del) {
        if (r > count_) {
            count_ = r;
            size_t words = (size_t(r) + 64) / 64 + 1;
            if (match_.size() < words) {
                match_.resize(words * 2, 0);
                del_.resize(words * 2, 0);
            }
        }
        bool before = visible(r);
        setBit(match_, r, match);
        setBit(del_, r, del);
        bool after = visible(r);
        if (before != after) visible_ += after ? 1 : uint32_t(-1);
    }
    bool visible(uint32_t r) const {
        uint64_t bit = uint64_t(1) << (r & 63);
        size_t w = r >> 6;
        if (w >= match_.size()) return false;
        return (match_[w] & bit) && !(hide_ && (del_[w] & bit));
    }
    // Fills from bulk scan results: the caller has called set() for every record.
    uint32_t visibleCount() const { return visible_; }
    void recount() {
        visible_ = 0;
        for (uint32_t r = 1; r <= count_; ++r)
            visible_ += visible(r) ? 1 : 0;
    }
    // The next visible record after r (0..count), or 0 when none; word at a time.
    uint32_t nextVisible(uint32_t r) const {
        for (uint32_t x = r + 1; x <= count_;) {
            size_t w = x >> 6;
            uint64_t word = visibleWord(w) & (~uint64_t(0) << (x & 63));
            if (word) {
                uint32_t found = uint32_t(w * 64 + size_t(std::countr_zero(word)));
                return found <= count_ ? found : 0;
            }
            x = uint32_t((w + 1) * 64);
        }
        return 0;
    }
    // The previous visible record before r (2..count+1), or 0 when none.
    uint32_t prevVisible(uint32_t r) const {
        if (r <= 1) return 0;
        uint32_t x = r - 1;
        while (true) {
            size_t w = x >> 6;
            int top = int(x & 63);
            uint64_t mask = top == 63 ? ~uint64_t(0) : ((uint64_t(1) << (top + 1)) - 1);
            uint64_t word = visibleWord(w) & mask;
            if (w == 0) word &= ~uint64_t(1);  // record 0 does not exist
            if (word) return uint32_t(w * 64 + size_t(63 - std::countl_zero(word)));
            if (w == 0) return 0;
            x = uint32_t(w * 64 - 1);
        }
    }

    // Rows: the visible records in the controlling order.
    bool rowsValid() const { return rowsValid_; }
    void invalidateRows() {
        rowsValid_ = false;
        rows_.clear();
        rowOf_.clear();
    }
    void setRows(std::vector<uint32_t> rows, uint32_t recordCount) {
        rows_ = std::move(rows);
        rowOf_.assign(size_t(recordCount) + 2, kNoRow);
        for (size_t i = 0; i < rows_.size(); ++i)
            if (rows_[i] <= recordCount) rowOf_[rows_[i]] = uint32_t(i);
        rowsValid_ = true;
    }
    const std::vector<uint32_t>& rows() const { return rows_; }
    // The row of record r, or kNoRow.
    uint32_t rowOf(uint32_t r) const { return r < rowOf_.size() ? rowOf_[r] : kNoRow; }
    static constexpr uint32_t kNoRow = 0xFFFFFFFFu;

  private:
    static void setBit(std::vector<uint64_t>& v, uint32_t r, bool on) {
        uint64_t bit = uint64_t(1) << (r & 63);
        if (on)
            v[r >> 6] |= bit;
        else
            v[r >> 6] &= ~bit;
    }
    uint64_t visibleWord(size_t w) const {
        if (w >= match_.size()) return 0;
        return match_[w] & (hide_ ? ~del_[w] : ~uint64_t(0));
    }

    std::vector<uint64_t> match_, del_;
    uint32_t count_ = 0;
    uint32_t visible_ = 0;
    bool hide_ = false;
    bool bitsValid_ = false;

    std::vector<uint32_t> rows_, rowOf_;
    bool rowsValid_ = false;
};

}  // namespace xb
