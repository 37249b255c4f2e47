// Tab stops of the engine: the stops of the current line and the stack SaveTabs/RestoreTabs
// push and pop. Positions and widths are in inches.
#pragma once

#include <optional>
#include <vector>

namespace qb {

struct TabStop {
    double left = 0;
    double width = 0;
    int justify = 1;    // TPrintJustify
    double margin = 0;  // between the stop's edges and its text
    int boxLines = 0;   // BOXLINE... bits
    int shade = 0;      // percent

    double right() const { return left + width; }
};

class TabSet {
  public:
    // `left` empty places the stop right after the previous one (at `sectionLeft` for the first).
    void add(std::optional<double> left, double sectionLeft, const TabStop& settings);
    void clear() { stops_.clear(); }
    void save() { saved_.push_back(stops_); }
    // Takes back the set saved last; false when nothing was saved.
    bool restore();

    const std::vector<TabStop>& stops() const { return stops_; }
    std::size_t savedCount() const { return saved_.size(); }

  private:
    std::vector<TabStop> stops_;
    std::vector<std::vector<TabStop>> saved_;
};

}  // namespace qb
