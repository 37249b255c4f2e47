// Tab stop placement and the saved-set stack.
#include "output/tab_set.h"

namespace qb {

void TabSet::add(std::optional<double> left, double sectionLeft, const TabStop& settings) {
    TabStop stop = settings;
    if (left) {
        stop.left = *left;
    } else {
        stop.left = stops_.empty() ? sectionLeft : stops_.back().right();
    }
    stops_.push_back(stop);
}

bool TabSet::restore() {
    if (saved_.empty()) return false;
    stops_ = std::move(saved_.back());
    saved_.pop_back();
    return true;
}

}  // namespace qb
