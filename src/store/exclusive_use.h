// The flow of a utility that needs the contact file alone: the window lets go of the file,
// the utility works on its own exclusive table, and the window takes the file back.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

#include "store/contact_file.h"
#include "store/dataset.h"

namespace qb {

class ContactHost;

extern const char* const kExclusiveOpenFailed;

// Lives as long as the utility's dialog. Construction makes the host let go of its table;
// destruction closes the utility's table, deletes the temporary files named to it (a check
// index, say) whatever happened, and has the host reopen its file and return to the record
// that was current.
class ExclusiveUse {
  public:
    explicit ExclusiveUse(ContactHost& host);
    ~ExclusiveUse();
    ExclusiveUse(const ExclusiveUse&) = delete;
    ExclusiveUse& operator=(const ExclusiveUse&) = delete;

    // Opens the host's file exclusively on table(). When another program or user holds it,
    // tells the user kExclusiveOpenFailed through notify and returns false.
    bool open(const Notify& notify);
    Dataset& table() { return table_; }
    QString fileName() const { return fileName_; }
    // A file to delete when the utility is done, if it exists then.
    void removeAtEnd(const QString& path);

  private:
    ContactHost& host_;
    Dataset table_;
    QString fileName_;
    uint32_t recno_ = 0;
    QStringList temporary_;
};

}  // namespace qb
