// The copy out: the target checks and the two ways of writing the records.
#include "utilities/copy_out.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

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

// How each byte of the contact file's code page is written in the copy's encoding, worked
// out once so that a million records are not each converted through UTF-8 and a QString.
class Recoder {
  public:
    Recoder(const xb::CodePage& page, TextEncoding encoding)
        : utf8Out_(encoding != TextEncoding::Windows1252) {
        const xb::CodePage& cp1252 = xb::CodePage::windows1252();
        for (int b = 0; b < 256; ++b) {
            const std::string utf8 = page.toUtf8(std::string(1, char(b)));
            std::string out;
            if (utf8Out_ || cp1252.fromUtf8(utf8, out)) {
                bytes_[size_t(b)] = utf8Out_ ? utf8 : out;
            } else {
                const QList<uint> chars = QString::fromStdString(utf8).toUcs4();
                unholdable_[size_t(b)] = chars.isEmpty() ? 0xFFFD : char32_t(chars.front());
            }
            kept_[size_t(b)] =
                !unholdable_[size_t(b)] && bytes_[size_t(b)] == std::string(1, char(b));
            same_ = same_ && kept_[size_t(b)];
        }
    }
    // Appends the field's bytes in the copy's encoding; false (and the character) at the first
    // one the encoding cannot hold.
    bool append(QByteArray& out, std::string_view bytes, char32_t& bad) const {
        if (same_) {
            out.append(bytes.data(), qsizetype(bytes.size()));
            return true;
        }
        size_t run = 0;  // start of a stretch of bytes written as they are
        for (size_t i = 0; i < bytes.size(); ++i) {
            const auto b = size_t(uint8_t(bytes[i]));
            if (kept_[b]) continue;
            out.append(bytes.data() + run, qsizetype(i - run));
            run = i + 1;
            if (unholdable_[b]) {
                bad = unholdable_[b];
                return false;
            }
            out.append(bytes_[b].data(), qsizetype(bytes_[b].size()));
        }
        out.append(bytes.data() + run, qsizetype(bytes.size() - run));
        return true;
    }
    // UTF-8 text (a formatted date, another type's text) in the copy's encoding.
    bool appendUtf8(QByteArray& out, const std::string& utf8, char32_t& bad) const {
        if (utf8Out_) {
            out.append(utf8.data(), qsizetype(utf8.size()));
            return true;
        }
        std::string encoded;
        if (!xb::CodePage::windows1252().fromUtf8(utf8, encoded, &bad)) return false;
        out.append(encoded.data(), qsizetype(encoded.size()));
        return true;
    }

  private:
    bool utf8Out_;
    bool same_ = true;
    std::array<std::string, 256> bytes_;
    std::array<char32_t, 256> unholdable_{};
    std::array<bool, 256> kept_{};
};

// Records of the table copy written in one go.
constexpr size_t kCopyBlockBytes = 256 * 1024;

std::string_view withoutTrailingBlanks(std::string_view bytes) {
    while (!bytes.empty() && bytes.back() == ' ')
        bytes.remove_suffix(1);
    return bytes;
}

// A copied field, looked up once.
struct Column {
    int number;
    char type;
    bool plainText;  // character field stored in the code page
};

std::vector<Column> columnsOf(const xb::WorkArea& area) {
    std::vector<Column> columns;
    for (const QString& f : copiedFields()) {
        const std::string name = f.toStdString();
        const int number = area.fieldNumber(name);
        if (number == 0)
            throw xb::Error(xb::ErrorCode::NotFound, area.path() + ": there is no field " + name);
        const xb::FieldInfo& info = area.fields().at(number - 1);
        columns.push_back({number, info.type, info.type == 'C' && !(info.flags & 0x04)});
    }
    return columns;
}

// Dates as the date format in force writes them, remembered: a list holds far fewer distinct
// dates than records.
class DateTexts {
  public:
    const std::string& text(std::string_view raw) {
        uint64_t key = 0;
        for (const char c : raw)
            key = key * 131 + uint8_t(c);
        auto it = cache_.find(key);
        if (it != cache_.end() && it->second.first == raw) return it->second.second;
        if (cache_.size() > 100000) cache_.clear();
        const std::string dbf(raw);
        const xb::Jdn jdn = raw.size() == 8 ? xb::jdnFromDbf(dbf.c_str()) : xb::kEmptyDate;
        auto& slot = cache_[key];
        slot = {dbf, formatDate(jdn).toStdString()};
        return slot.second;
    }

  private:
    std::unordered_map<uint64_t, std::pair<std::string, std::string>> cache_;
};

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
    const Recoder recode(area.codePage(), encoding);
    DateTexts dates;
    Pace pace(report, area.queryRecCount());
    QByteArray pending;
    QByteArray value;
    pending.reserve((1 << 20) + 4096);
    try {
        const std::vector<Column> columns = columnsOf(area);
        // Reading ahead pays only when the walk goes through the file in record order.
        area.setFastRead(area.indexOrd() == 0);
        for (area.first(); !area.eof(); area.skip()) {
            bool first = true;
            for (const Column& c : columns) {
                value.clear();
                char32_t bad = 0;
                bool ok;
                if (c.plainText)
                    ok = recode.append(value, withoutTrailingBlanks(area.rawField(c.number)), bad);
                else if (c.type == 'D')
                    ok = recode.appendUtf8(value, dates.text(area.rawField(c.number)), bad);
                else
                    ok = recode.appendUtf8(value, area.getText(c.number), bad);
                if (!ok) {
                    area.setFastRead(false);
                    result.error = QString::fromLatin1(kErrorCopying);
                    result.detail = QStringLiteral(
                                        "Record %1 holds \"%2\", which Windows-1252 "
                                        "cannot hold; copy it as UTF-8")
                                        .arg(area.recNo())
                                        .arg(QString::fromUcs4(&bad, 1));
                    return result;
                }
                if (!first) pending += ',';
                first = false;
                appendCsvField(pending, std::string_view(value.constData(), size_t(value.size())),
                               CsvQuoting::Always);
            }
            pending += "\r\n";
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
        area.setFastRead(false);
    } catch (const xb::Error& e) {
        area.setFastRead(false);
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
        // The copy has the contact file's structure and code page, so each field's bytes go
        // across as they are stored: no conversion, and the values cannot change.
        const std::vector<Column> columns = columnsOf(area);
        const int memo = area.fieldNumber("MEMO");
        // Records without a memo are laid out here and written a block at a time; one with a
        // memo goes through a post, which writes the memo and its pointer first.
        const std::string blank = copy.blankRecord();
        std::string block;
        const auto flush = [&] {
            copy.appendRecords(block);
            block.clear();
        };
        area.setFastRead(area.indexOrd() == 0);
        for (area.first(); !area.eof(); area.skip()) {
            const std::string text = memo != 0 ? area.getMemo("MEMO") : std::string();
            if (text.empty()) {
                const size_t at = block.size();
                block += blank;
                for (const Column& c : columns) {
                    const xb::FieldInfo& f = copy.fields().at(c.number - 1);
                    const std::string_view bytes = area.rawField(c.number);
                    std::memcpy(block.data() + at + size_t(f.offset), bytes.data(),
                                std::min(bytes.size(), size_t(f.width)));
                }
                if (block.size() >= kCopyBlockBytes) flush();
            } else {
                flush();
                copy.append();
                for (const Column& c : columns)
                    copy.putRaw(c.number, area.rawField(c.number));
                copy.replace("MEMO", text);
                copy.post();
            }
            ++result.copied;
            if (!pace.step(result.copied)) {
                result.cancelled = true;
                break;
            }
        }
        flush();
        area.setFastRead(false);
        copy.close();
    } catch (const xb::Error& e) {
        area.setFastRead(false);
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
