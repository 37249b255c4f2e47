// The contact file routines: engine failures become the user's notices and a false result.
#include "store/contact_file.h"

#include <QFileInfo>

#include "store/contact_schema.h"
#include "xbase/error.h"
#include "xbase/file.h"

namespace qb {
namespace {

std::string utf8(const QString& s) {
    return s.toUtf8().toStdString();
}

bool exists(const QString& path) {
    return xb::fileExists(xb::findCaseInsensitive(utf8(path)));
}

}  // namespace

QString unableToOpenMessage(const QString& path, const QString& reason) {
    QString text = QStringLiteral("Unable to open ") + path + QStringLiteral("\r\n\r\n") +
                   QStringLiteral(" * May not an Quillbank file.") + QStringLiteral("\r\n") +
                   QStringLiteral(" * May be in use by another program or user");
    if (!reason.isEmpty()) text += QStringLiteral("\r\n") + reason;
    return text;
}

QString missingIndexMessage(const QString& path) {
    return QStringLiteral("The index file for ") + path + QStringLiteral("\r\n") +
           QStringLiteral("is missing or invalid. Please select [Rebuild Indexes]") +
           QStringLiteral("\r\n") + QStringLiteral("from the [File] menu");
}

bool CreateContactFile(const QString& path, Dataset& table, const Notify& notify) {
    table.close();
    xb::WorkArea scratch;
    try {
        scratch.createNew(utf8(path));
    } catch (const xb::Error&) {
        notify(QStringLiteral("Create failed"));
        return false;
    }
    bool created = true;
    try {
        for (const auto& f : contactFields())
            scratch.createField(f.name, f.type, f.width, f.decimals);
        scratch.createExec();
    } catch (const xb::Error&) {
        created = false;
    }
    if (!created || !exists(path) || !OpenTableFile(path, table, notify)) {
        notify(QStringLiteral("File creation failed"));
        return false;
    }
    if (!BuildContactIndexes(table, notify)) {
        notify(QStringLiteral("File creation failed"));
        return false;
    }
    return true;
}

bool BuildContactIndexes(Dataset& table, const Notify& notify) {
    bool ok = table.isOpen();
    if (ok) {
        try {
            buildContactTags(table.area());
        } catch (const xb::Error&) {
            ok = false;
        }
        table.resync();
    }
    if (!ok) notify(QStringLiteral("Unable to create index files"));
    return ok;
}

bool OpenTableFile(const QString& path, Dataset& table, const Notify& notify, xb::UseMode mode,
                   QString* reason) {
    table.close();
    if (!exists(path)) {
        notify(QStringLiteral("File ") + path + QStringLiteral(" not found"));
        return false;
    }
    try {
        table.open(path, mode);
    } catch (const xb::Error& e) {
        if (reason) *reason = QString::fromStdString(e.what());
        return false;
    }
    if (const std::string problem = contactLayoutProblem(table.area()); !problem.empty()) {
        table.close();
        if (reason)
            *reason = QStringLiteral("Not a contact file: ") + QString::fromStdString(problem);
        return false;
    }
    return true;
}

bool OpenContactFile(const QString& path, Dataset& table, const Notify& notify, xb::UseMode mode) {
    QString reason;
    if (!OpenTableFile(path, table, notify, mode, &reason)) {
        notify(unableToOpenMessage(path, reason));
        return false;
    }
    const auto& tags = contactTags();
    bool complete = table.area().indexProblem().empty();
    for (int i = 0; complete && i < kRequiredContactTags; ++i) {
        complete = table.area().tagArea(tags[size_t(i)].name) != 0;
    }
    if (complete) {
        table.setOrderTag(QStringLiteral("LNAME"));
        table.first();
    } else {
        // An index without all its tags is not trusted: the file is shown in record order
        // until the user rebuilds it, which replaces the index file anyway.
        try {
            table.area().closeIndexes();
        } catch (const xb::Error&) {
        }
        table.resync();
        notify(missingIndexMessage(path));
    }
    return true;
}

}  // namespace qb
