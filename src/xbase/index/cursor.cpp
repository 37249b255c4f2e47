// Cursors over a tree: positioned by descent, moved along the leaf sibling chain, and
// re-seeking their remembered pair when the tree changed since their last move.
#include <algorithm>
#include <cstring>

#include "xbase/index/tree.h"

namespace xb::index {

namespace {

class TreeCursor final : public TagCursor {
  public:
    explicit TreeCursor(TreeTag& tag) : tag_(tag), K_(tag.keyLength()) {}

    bool first() override { return position(Probe::first()); }
    bool last() override { return position(Probe::last()); }
    bool seek(const uint8_t* bytes, int len) override {
        len = std::clamp(len, 0, K_);
        return position(Probe::prefix(bytes, len));
    }
    bool seekPair(const uint8_t* key, uint32_t recno) override {
        return position(Probe::pair(key, K_, recno));
    }

    bool next() override {
        if (!valid_) return false;
        if (seen_ != tag_.version() && !reposition()) return valid_;
        if (++idx_ < leaf_.n) return true;
        if (partial_) {
            tag_.loadLeaf(leafOff_, leaf_, true);
            partial_ = false;
            if (idx_ < leaf_.n) return true;
        }
        return stepRight();
    }

    bool prev() override {
        if (!valid_) return false;
        if (seen_ != tag_.version()) {
            reposition();
            if (!valid_) return last();
        }
        if (--idx_ >= 0) return true;
        return stepLeft();
    }

    bool valid() const override { return valid_; }
    const uint8_t* key() const override { return valid_ ? leaf_.key(idx_, K_) : nullptr; }
    uint32_t recno() const override { return valid_ ? leaf_.recnos[size_t(idx_)] : 0; }

  private:
    bool position(const Probe& probe) {
        seen_ = tag_.version();
        hops_ = 0;
        leafOff_ = tag_.descend(probe, nullptr);
        // A seek reads the leaf's entries only up to the one it finds; a step to the next
        // entry reads the rest.
        if (probe.mode == Probe::Prefix || probe.mode == Probe::Pair) {
            partial_ = !tag_.loadLeafUntil(leafOff_, leaf_, probe);
        } else {
            tag_.loadLeaf(leafOff_, leaf_, true);
            partial_ = false;
        }
        if (probe.mode == Probe::Last) {
            idx_ = leaf_.n - 1;
            if (idx_ >= 0) return valid_ = true;
            return stepLeft();
        }
        int lo = 0, hi = leaf_.n;
        while (lo < hi) {
            int mid = (lo + hi) / 2;
            if (probe.reachedBy(leaf_.key(mid, K_), leaf_.recnos[size_t(mid)]))
                hi = mid;
            else
                lo = mid + 1;
        }
        idx_ = lo;
        if (idx_ < leaf_.n) return valid_ = true;
        // Past this leaf's last entry: the answer, if any, opens a leaf further right.
        while (leaf_.right != kNoPage) {
            advance(leaf_.right);
            for (idx_ = 0; idx_ < leaf_.n; ++idx_)
                if (probe.reachedBy(leaf_.key(idx_, K_), leaf_.recnos[size_t(idx_)]))
                    return valid_ = true;
        }
        return valid_ = false;
    }

    // Finds the remembered pair again after the tree changed; true when it is still there.
    bool reposition() {
        uint8_t key[kMaxKeyLength];
        std::memcpy(key, leaf_.key(idx_, K_), size_t(K_));
        uint32_t recno = leaf_.recnos[size_t(idx_)];
        position(Probe::pair(key, K_, recno));
        return valid_ && std::memcmp(leaf_.key(idx_, K_), key, size_t(K_)) == 0 &&
               leaf_.recnos[size_t(idx_)] == recno;
    }

    void advance(uint32_t off) {
        // Each leaf is visited once per walk; more hops than pages means the chain loops.
        if (++hops_ > tag_.pages().pageCount()) tag_.corrupt("leaf sibling chain loops");
        leafOff_ = off;
        tag_.loadLeaf(off, leaf_, false);
        partial_ = false;
    }

    bool stepRight() {
        while (leaf_.right != kNoPage) {
            advance(leaf_.right);
            if (leaf_.n > 0) {
                idx_ = 0;
                return valid_ = true;
            }
        }
        return valid_ = false;
    }

    bool stepLeft() {
        while (leaf_.left != kNoPage) {
            advance(leaf_.left);
            if (leaf_.n > 0) {
                idx_ = leaf_.n - 1;
                return valid_ = true;
            }
        }
        return valid_ = false;
    }

    TreeTag& tag_;
    const int K_;
    Node leaf_;
    uint32_t leafOff_ = 0;
    int idx_ = 0;
    bool valid_ = false;
    bool partial_ = false;  // leaf_ holds only the entries up to the one a seek found
    uint64_t seen_ = 0;
    uint64_t hops_ = 0;
};

}  // namespace

std::unique_ptr<TagCursor> TreeTag::cursor() {
    return std::make_unique<TreeCursor>(*this);
}

}  // namespace xb::index
