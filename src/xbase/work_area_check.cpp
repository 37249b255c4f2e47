// Work area: reading orders entry by entry and checking them against the records.
#include <cstring>

#include "xbase/error.h"
#include "xbase/work_area_state.h"

namespace xb {

ValueType WorkArea::orderKeyType(int order) const {
    if (order < 1 || order > int(s_->orders.size()))
        fail(ErrorCode::Argument, s_->path + ": there is no order " + std::to_string(order));
    return s_->orders[size_t(order - 1)].key.type();
}

void WorkArea::scanOrder(int order, const std::function<void(uint32_t, std::string_view)>& visit) {
    s_->requireOpen();
    s_->postPending();
    if (order < 1 || order > int(s_->orders.size()))
        fail(ErrorCode::Argument, s_->path + ": there is no order " + std::to_string(order));
    Order& o = s_->orders[size_t(order - 1)];
    auto c = o.tag->cursor();
    for (bool ok = c->first(); ok; ok = c->next())
        visit(c->recno(),
              std::string_view(reinterpret_cast<const char*>(c->key()), size_t(o.keyLength)));
}

std::string WorkArea::checkIndexes() {
    s_->requireOpen();
    s_->postPending();
    s_->flushIndexes();
    std::string report;
    const uint32_t n = s_->t().recordCount();
    std::vector<uint8_t> rec(size_t(s_->t().recordLength()));
    std::vector<uint8_t> key(index::kMaxKeyLength);
    for (auto& o : s_->orders) {
        std::string label = o.name.empty() ? baseNameOf(o.file) : o.name;
        try {
            uint64_t entries = o.tag->verify();
            std::vector<uint8_t> seen(size_t(n) + 1, 0);
            uint64_t bad = 0, outside = 0, twice = 0;
            auto c = o.tag->cursor();
            for (bool ok = c->first(); ok; ok = c->next()) {
                uint32_t r = c->recno();
                if (r < 1 || r > n) {
                    ++outside;
                    continue;
                }
                if (seen[r]++) ++twice;
                s_->t().readRecord(r, rec.data());
                s_->computeKey(o, rec.data(), r, key.data());
                if (std::memcmp(key.data(), c->key(), size_t(o.keyLength)) != 0) ++bad;
            }
            uint64_t missing = 0;
            if (!o.partial) {
                DbfTable::Scanner scan(s_->t(), 1, n);
                uint32_t r = 0;
                while (const uint8_t* rr = scan.next(r))
                    if (!seen[r] && s_->inOrder(o, rr, r)) ++missing;
            }
            if (bad || outside || twice || missing) {
                report += label + ": " + std::to_string(entries) + " entries";
                if (bad) report += ", " + std::to_string(bad) + " with a wrong key";
                if (outside)
                    report += ", " + std::to_string(outside) + " for records that do not exist";
                if (twice) report += ", " + std::to_string(twice) + " records twice";
                if (missing) report += ", " + std::to_string(missing) + " records missing";
                report += "\n";
            }
        } catch (const Error& e) {
            report += label + ": " + e.what() + "\n";
        }
    }
    return report;
}

}  // namespace xb
