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
        try {
            contacts_.seek(line);
        } catch (const xb::Error& e) {
            // A key the table's code page cannot hold names no record of the table.
            if (e.code() != xb::ErrorCode::CodePage) throw;
            continue;
        }
        // The seek matches leading characters, so "123" may have found "12345": only a record
        // whose own key is the line belongs to this group.
        if (!contacts_.eof() && zipKey(contacts_.getText("ZIP")) == line) {
            current_ = line;
            return;
        }
    }
    header_ = false;
    goPastEnd();
}

void SortedZipWalk::moveOn() {
    contacts_.skip();
    if (header_) {
        header_ = false;
        nextGroup();
    } else if (contacts_.eof() || zipKey(contacts_.getText("ZIP")) != current_) {
        nextGroup();
    }
}

}  // namespace qb::presort
