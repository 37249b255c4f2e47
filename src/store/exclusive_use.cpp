// Handing the contact file to a utility and back.
#include "store/exclusive_use.h"

#include <QFile>

#include "store/contact_file.h"
#include "store/contact_host.h"

namespace qb {

const char* const kExclusiveOpenFailed =
    "Unable to open this file exclusively. Possibly in use by another program or user";

ExclusiveUse::ExclusiveUse(ContactHost& host) : host_(host), fileName_(host.currentFileName()) {
    Dataset& contacts = host_.contactTable();
    if (contacts.isOpen() && contacts.onRecord()) recno_ = contacts.recNo();
    host_.releaseContactFile();
}

ExclusiveUse::~ExclusiveUse() {
    table_.close();
    for (const QString& path : temporary_)
        if (QFile::exists(path)) QFile::remove(path);
    host_.reclaimContactFile(recno_);
}

bool ExclusiveUse::open(const Notify& notify) {
    QString reason;
    if (!fileName_.isEmpty() &&
        OpenTableFile(
            fileName_, table_, [](const QString&) {}, xb::UseMode::Exclusive, &reason))
        return true;
    table_.close();
    notify(QString::fromLatin1(kExclusiveOpenFailed));
    return false;
}

void ExclusiveUse::removeAtEnd(const QString& path) {
    if (!temporary_.contains(path)) temporary_ << path;
}

}  // namespace qb
