// Walking the contact table in presort order.
#include "presort/sorted_zip_walk.h"

#include "presort/presort_list.h"
#include "presort/zip_key.h"
#include "xbase/error.h"

namespace qb::presort {

SortedZipWalk::SortedZipWalk(xb::WorkArea& contacts, std::vector<std::string> lines)
    : contacts_(contacts), lines_(std::move(lines)) {}

void SortedZipWalk::prepare(xb::WorkArea& contacts) {
    int order = contacts.tagArea("ZIP");
    if (order == 0)
        throw xb::Error(xb::ErrorCode::NotFound,
                        contacts.path() + ": the presort order needs the index tag ZIP");
    contacts.setExact(false);
    contacts.setOrder(order);
}

void SortedZipWalk::goPastEnd() {
    contacts_.last();
    if (!contacts_.eof()) contacts_.skip();
}

void SortedZipWalk::nextGroup() {
    while (next_ < lines_.size()) {
        const std::string& line = lines_[next_++];
        if (isHeaderLine(line)) {
            contacts_.first();
            header_ = true;
            current_ = line;
            return;
        }
        header_ = false;
        current_ = line;
        try {
            // The "ZIP" order holds the ZIP in capitals, so the key is sought as it stands there.
            contacts_.seek(contacts_.codePage().upper(line));
        } catch (const xb::Error& e) {
            // A key the table's code page cannot hold names no record of the table.
            if (e.code() != xb::ErrorCode::CodePage) throw;
            continue;
        }
        // The seek matches leading characters, so "123" may have found "12345": only a record
        // whose own key is the line belongs to this group.
        passOtherSpellings();
        if (!contacts_.eof() && zipKey(contacts_.getText("ZIP")) == line) return;
    }
    header_ = false;
    goPastEnd();
}

void SortedZipWalk::passOtherSpellings() {
    // "1234a" and "1234A" are one key in the order but two groups in the list, and their
    // records may alternate: each group takes only the records spelt its own way.
    const std::string wanted = contacts_.codePage().upper(current_);
    while (!contacts_.eof()) {
        const std::string key(zipKey(contacts_.getText("ZIP")));
        if (key == current_ || contacts_.codePage().upper(key) != wanted) return;
        contacts_.skip();
    }
}

void SortedZipWalk::moveOn() {
    contacts_.skip();
    if (!header_) passOtherSpellings();
    if (header_) {
        header_ = false;
        nextGroup();
    } else if (contacts_.eof() || zipKey(contacts_.getText("ZIP")) != current_) {
        nextGroup();
    }
}

}  // namespace qb::presort
