// The presort run over a contact table.
#include "presort/bulk_mail_presort.h"

#include "presort/presort_file.h"
#include "presort/presort_list.h"
#include "presort/zip_key.h"

namespace qb::presort {

namespace {

// Puts the table's order back, and fast reading off, however the run ends.
class OrderRestorer {
  public:
    explicit OrderRestorer(xb::WorkArea& area) : area_(area), order_(area.indexOrd()) {}
    ~OrderRestorer() {
        try {
            area_.setFastRead(false);
            area_.setOrder(order_);
        } catch (...) {
            // Only a table closed under us gets here; there is no order left to restore.
        }
    }
    OrderRestorer(const OrderRestorer&) = delete;
    OrderRestorer& operator=(const OrderRestorer&) = delete;

  private:
    xb::WorkArea& area_;
    int order_;
};

}  // namespace

std::optional<ZipCounts> BulkMailPresort::countSelection(xb::WorkArea& contacts) {
    OrderRestorer restore(contacts);
    recordsRead_ = 0;
    // Record-number order reads the file front to back, the cheapest walk there is.
    contacts.setOrder(0);
    contacts.setFastRead(true);
    contacts.first();
    observer_.showProgress(QString::fromLatin1(kReadingRecordsText));
    ZipCounts counts;
    while (!contacts.eof()) {
        counts.add(zipKey(contacts.getText("ZIP")));
        ++recordsRead_;
        contacts.skip();
        uint32_t recno = contacts.recNo();
        if (recno % 100 == 0)
            observer_.showProgress(QString::fromLatin1(kReadingRecordPrefix) +
                                   QString::number(recno));
        observer_.letPendingEventsRun();
        if (observer_.cancelRequested()) return std::nullopt;
    }
    return counts;
}

bool BulkMailPresort::run(xb::WorkArea& contacts, const QString& folder) {
    lines_.clear();
    std::optional<ZipCounts> counts = countSelection(contacts);
    if (!counts) return false;
    observer_.showProgress(QString::fromLatin1(kSortingText));
    std::vector<std::string> lines = buildPresortList(*counts);
    writePresortFile(folder, lines);
    lines_ = std::move(lines);
    return true;
}

}  // namespace qb::presort
