// The two look-ups of record entry, done on the engine directly so that the windows never see
// the table move.
#include "store/contact_lookup.h"

#include "xbase/error.h"

namespace qb {
namespace {

constexpr int kNamePart = 30;

QString part(const QString& s) {
    return s.left(kNamePart).leftJustified(kNamePart, u' ');
}

// Remembers where the table stood and puts it back, whatever the look-up did.
class KeepPlace {
  public:
    explicit KeepPlace(xb::WorkArea& area)
        : area_(area), recno_(area.recNo()), order_(area.indexOrd()), exact_(area.exact()) {}
    ~KeepPlace() {
        try {
            area_.setExact(exact_);
            area_.setOrder(order_);
            area_.go(recno_);
        } catch (const xb::Error&) {
            // The table was usable a moment ago; nothing sensible is left to do.
        }
    }
    KeepPlace(const KeepPlace&) = delete;
    KeepPlace& operator=(const KeepPlace&) = delete;

  private:
    xb::WorkArea& area_;
    uint32_t recno_;
    int order_;
    bool exact_;
};

FoundContact current(const Dataset& table) {
    FoundContact c;
    c.recno = table.area().recNo();
    auto field = [&](const char* name) {
        return QString::fromStdString(table.area().getText(name));
    };
    c.first = field("FNAME");
    c.last = field("LNAME");
    c.street = field("STREET");
    c.city = field("CITY");
    c.state = field("STATE");
    c.zip = field("ZIP");
    return c;
}

std::optional<FoundContact> seekIn(Dataset& table, const char* tag, const QString& key,
                                   bool exactOff) {
    if (!table.isOpen() || table.editing()) return std::nullopt;
    xb::WorkArea& area = table.area();
    try {
        const int order = area.tagArea(tag);
        if (order == 0) return std::nullopt;
        KeepPlace keep(area);
        area.setOrder(order);
        if (exactOff) area.setExact(false);
        if (!area.seek(key.toStdString())) return std::nullopt;
        return current(table);
    } catch (const xb::Error&) {
        return std::nullopt;
    }
}

}  // namespace

QString duplicateNameKey(const QString& last, const QString& first) {
    return (part(last) + part(first)).toUpper();
}

std::optional<FoundContact> findSameName(Dataset& table, const QString& last,
                                         const QString& first) {
    if (last.isEmpty() || first.isEmpty()) return std::nullopt;
    // The key fills the tag's whole width, so a match on its beginning is an equal key and
    // exact comparison need not be switched on. Switching it would make the engine evaluate
    // the selection afresh, twice, over the whole file.
    return seekIn(table, "LNAME", duplicateNameKey(last, first), false);
}

std::optional<FoundContact> findByZip(Dataset& table, const QString& zip) {
    if (zip.isEmpty()) return std::nullopt;
    return seekIn(table, "ZIP", zip.toUpper(), true);
}

}  // namespace qb
