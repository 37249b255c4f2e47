// The walk that label printing takes through the contact table in presort order: group by
// group from the presort list, a separator for each header, then the records of each key.
#pragma once

#include <string>
#include <vector>

#include "xbase/work_area.h"

namespace qb::presort {

class SortedZipWalk {
  public:
    // Walks the lines of a presort list (as read from PRESORT.PSL) over the contact table.
    SortedZipWalk(xb::WorkArea& contacts, std::vector<std::string> lines);

    // Sets what the walk's seeks rely on: exact matching off (a key then finds ZIP texts that
    // begin with it) and the "ZIP" tag as the order. Exact matching is left off afterwards.
    // Throws xb::Error when the table has no "ZIP" tag.
    static void prepare(xb::WorkArea& contacts);

    // Takes the next group of the list. A header leaves the table on its first record, so
    // the run goes on to print the separator; a key leaves it on the key's first record.
    // Keys with no record in the selection are passed over. When the list runs out the
    // table goes past its last record, which ends the run.
    void nextGroup();

    // Moves from the label just printed to the next one: the next record of the current key,
    // or the next group when the key's records are done or a separator was just printed.
    void moveOn();

    bool atHeader() const { return header_; }
    // The header or key of the current group.
    const std::string& currentLine() const { return current_; }
    bool finished() const { return contacts_.eof(); }

  private:
    void goPastEnd();
    // Steps over records whose key differs from the current one in letter case only.
    void passOtherSpellings();

    xb::WorkArea& contacts_;
    std::vector<std::string> lines_;
    size_t next_ = 0;
    std::string current_;
    bool header_ = false;
};

}  // namespace qb::presort
