// The copy out: the target checks and the two ways of writing the records.
#include "utilities/copy_out.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "store/csv_writer.h"
#include "store/date_format.h"
#include "store/output_file.h"
#include "xbase/error.h"
#include "xbase/work_area.h"

namespace qb::utilities {

namespace {

QString stemOf(const QString& path) {
    return QFileInfo(path).completeBaseName();
}

// The files in path's folder that share its name apart from the extension: a table with its
// memo and indexes.
QStringList companions(const QString& path) {
    const QFileInfo info(path);
    QStringList found;
    const QDir folder = info.absoluteDir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (QFileInfo(name).completeBaseName().compare(stemOf(path), Qt::CaseInsensitive) == 0)
            found << folder.filePath(name);
    }
    return found;
}

bool sameFileAsAny(const QString& path, const QStringList& files) {
    const auto id = identityOf(path);
    if (!id) return false;
    for (const QString& f : files)
        if (identityOf(f) == id) return true;
    return false;
}

// Keeps the gauge and the cancel flag to once per hundredth of the run.
class Pace {
  public:
    Pace(const CopyReport& report, uint32_t total) : report_(report), total_(total) {}
    // False when the user asked to stop.
    bool step(uint32_t done) {
        const int percent = total_ ? int(uint64_t(done) * 100 / total_) : 100;
        if (percent != shown_ && report_.gauge) report_.gauge(percent);
        shown_ = percent;
        return !(report_.cancelRequested && report_.cancelRequested());
    }

  private:
    const CopyReport& report_;
    uint32_t total_;
    int shown_ = -1;
};

QString textValue(const xb::WorkArea& area, const QString& field) {
    const std::string name = field.toStdString();
    if (area.fieldType(name) == 'D') return formatDate(area.getDate(name));
    return QString::fromStdString(area.getText(name));
}

CopyResult copyToText(Dataset& contacts, const QString& target, TextEncoding encoding,
                      const CopyReport& report) {
    CopyResult result;
    SafeOutputFile out(target);
    if (!out.begin() || !out.open(QIODevice::WriteOnly)) {
        result.error = QString::fromLatin1(kErrorCopying);
        result.detail = out.errorString();
        return result;
    }
    xb::WorkArea& area = contacts.area();
    const xb::CodePage& cp1252 = xb::CodePage::windows1252();
    const QStringList& fields = copiedFields();
    Pace pace(report, area.queryRecCount());
    QByteArray pending;
    QStringList values;
    std::string encoded;
    try {
        for (area.first(); !area.eof(); area.skip()) {
            values.clear();
            for (const QString& f : fields)
                values << textValue(area, f);
            const QByteArray line =
                (csvLine(values, CsvQuoting::Always) + QStringLiteral("\r\n")).toUtf8();
            if (encoding == TextEncoding::Windows1252) {
                char32_t bad = 0;
                encoded.clear();
                if (!cp1252.fromUtf8(std::string_view(line.constData(), size_t(line.size())),
                                     encoded, &bad)) {
                    result.error = QString::fromLatin1(kErrorCopying);
                    result.detail = QStringLiteral(
                                        "Record %1 holds \"%2\", which Windows-1252 "
                                        "cannot hold; copy it as UTF-8")
                                        .arg(area.recNo())
                                        .arg(QString::fromUcs4(&bad, 1));
                    return result;
                }
                pending.append(encoded.data(), qsizetype(encoded.size()));
            } else {
                pending += line;
            }
            if (pending.size() >= (1 << 20)) {
                out.write(pending);
                pending.clear();
            }
            ++result.copied;
            if (!pace.step(result.copied)) {
                result.cancelled = true;
                break;
            }
        }
    } catch (const xb::Error& e) {
        result.error = QString::fromLatin1(kErrorCopying);
        result.detail = QString::fromUtf8(e.what());
        return result;
    }
    if (!pending.isEmpty()) out.write(pending);
    if (!out.commit()) {
        result.error = QString::fromLatin1(kErrorCopying);
        result.detail = out.errorString();
    }
    return result;
}

CopyResult copyToTable(Dataset& contacts, const QString& target, const CopyReport& report) {
    CopyResult result;
    xb::WorkArea& area = contacts.area();
    if (const auto id = identityOf(target)) {
        if (const auto why = OwnedFiles::claim(*id)) {
            result.error = QString::fromLatin1(kErrorCopying);
            result.detail = target + QStringLiteral(" is ") + *why;
            return result;
        }
    }
    // An old index beside the target would not fit the new table.
    QFile::remove(target.left(target.size() - 3) + QStringLiteral("CDX"));
    xb::WorkArea copy;
    try {
        area.copyStructure(QFile::encodeName(target).toStdString());
        copy.use(QFile::encodeName(target).toStdString(), xb::UseMode::Exclusive);
        Pace pace(report, area.queryRecCount());
        const QStringList& fields = copiedFields();
        std::vector<std::string> names;
        for (const QString& f : fields)
            names.push_back(f.toStdString());
        for (area.first(); !area.eof(); area.skip()) {
            copy.append();
            for (const std::string& name : names) {
                if (area.fieldType(name) == 'D')
                    copy.putDate(name, area.getDate(name));
                else
                    copy.putText(name, area.getText(name));
            }
            const std::string memo = area.getMemo("MEMO");
            if (!memo.empty()) copy.replace("MEMO", memo);
            copy.post();
            ++result.copied;
            if (!pace.step(result.copied)) {
                result.cancelled = true;
                break;
            }
        }
        copy.close();
    } catch (const xb::Error& e) {
        result.error = QString::fromLatin1(kErrorCopying);
        result.detail = QString::fromUtf8(e.what());
        try {
            copy.close();
        } catch (const xb::Error&) {
        }
    }
    return result;
}

}  // namespace

const QStringList& copiedFields() {
    static const QStringList fields = {
        QStringLiteral("PREFIX"), QStringLiteral("FNAME"),   QStringLiteral("MIDDLE"),
        QStringLiteral("LNAME"),  QStringLiteral("TITLE"),   QStringLiteral("ORG"),
        QStringLiteral("STREET"), QStringLiteral("CITY"),    QStringLiteral("STATE"),
        QStringLiteral("ZIP"),    QStringLiteral("COUNTRY"), QStringLiteral("PHONE"),
        QStringLiteral("EMAIL"),  QStringLiteral("FAX"),     QStringLiteral("DATE"),
        QStringLiteral("NOTES")};
    return fields;
}

QString overwriteQuestion(const QString& path) {
    return path + QStringLiteral(" already exists.\r\nDo you want to overwrite it?");
}

QString copyTargetProblem(const QString& contactFile, const QString& target, CopyKind kind) {
    if (kind == CopyKind::Dbf && !target.toUpper().endsWith(QLatin1String(".DBF")))
        return QString::fromLatin1(kMustHaveDbfExtension);
    if (contactFile.isEmpty()) return {};
    const QString contact = QFileInfo(contactFile).absoluteFilePath();
    if (QFileInfo(target).absoluteFilePath().compare(contact, Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(kCopyToItself);
    // The name alone is not enough: another letter case on a case-insensitive disk, a link
    // or a second name of the same file would still write over the contact file's own files.
    const QStringList own = companions(contact);
    if (sameFileAsAny(target, own)) return QString::fromLatin1(kCopyToItself);
    if (kind == CopyKind::Dbf) {
        for (const QString& beside : companions(target))
            if (sameFileAsAny(beside, own)) return QString::fromLatin1(kCopyToItself);
    }
    return {};
}

CopyResult copyRecordsOut(Dataset& contacts, CopyKind kind, const QString& target,
                          TextEncoding encoding, const CopyReport& report) {
    CopyResult result;
    const QString problem = copyTargetProblem(contacts.path(), target, kind);
    if (!problem.isEmpty()) {
        result.error = problem;
        return result;
    }
    if (contacts.editing()) contacts.post();
    result = kind == CopyKind::Dbf ? copyToTable(contacts, target, report)
                                   : copyToText(contacts, target, encoding, report);
    return result;
}

}  // namespace qb::utilities
