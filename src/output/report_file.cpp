// The report file's header, page records and directory; the reader checks each number it
// takes from the file against the file's size before using it.
#include "output/report_file.h"

#include "output/page_codec.h"
#include "output/report_error.h"
#include "store/counted.h"

#include <QIODevice>
#include <QtEndian>
#include <cmath>
#include <cstring>

namespace qb {
namespace {

constexpr char Magic[8] = {'Q', 'B', 'R', 'E', 'P', 'O', 'R', 'T'};
constexpr quint32 PageMagic = 0x45474150;       // "PAGE"
constexpr quint32 DirectoryMagic = 0x52494450;  // "PDIR"
constexpr int PageRecordHead = 12;
constexpr int DirectoryHead = 8;
constexpr quint32 KnownFlags = 1;
constexpr double MaxPageInches = 1000.0;

template <typename T>
void put(QByteArray& b, T v) {
    char raw[sizeof(T)];
    qToLittleEndian(v, raw);
    b.append(raw, sizeof(T));
}

void putF32(QByteArray& b, double v) {
    const float f = static_cast<float>(v);
    quint32 bits;
    std::memcpy(&bits, &f, sizeof bits);
    put<quint32>(b, bits);
}

template <typename T>
T get(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<T>(b.constData() + at);
}

float getF32(const QByteArray& b, qsizetype at) {
    const quint32 bits = get<quint32>(b, at);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

}  // namespace

ReportFileWriter::ReportFileWriter(QIODevice& device, QString name)
    : device_(device), name_(std::move(name)) {}

void ReportFileWriter::write(qint64 at, const QByteArray& bytes) {
    if (!device_.seek(at) || device_.write(bytes) != bytes.size()) {
        throw ReportError(QStringLiteral("%1: cannot write the report file: %2")
                              .arg(name_, device_.errorString()));
    }
}

QByteArray ReportFileWriter::headerBytes(quint64 directoryOffset) const {
    QByteArray b;
    b.reserve(ReportHeaderSize);
    b.append(Magic, sizeof Magic);
    put<quint16>(b, ReportFileVersion);
    put<quint16>(b, ReportHeaderSize);
    put<quint32>(b, header_.positioning ? 1u : 0u);
    put<quint32>(b, static_cast<quint32>(header_.pageCount));
    put<quint32>(b, static_cast<quint32>(header_.firstPage));
    put<quint32>(b, static_cast<quint32>(header_.lastPage));
    putF32(b, header_.pageWidth);
    putF32(b, header_.pageHeight);
    put<quint32>(b, 0);
    put<quint64>(b, directoryOffset);
    return b;
}

void ReportFileWriter::begin(double pageWidth, double pageHeight, bool positioning) {
    header_ = {};
    header_.positioning = positioning;
    header_.pageWidth = pageWidth;
    header_.pageHeight = pageHeight;
    offsets_.clear();
    write(0, headerBytes(0));
    end_ = ReportHeaderSize;
}

void ReportFileWriter::addPage(int pageNumber, const QByteArray& body) {
    if (header_.pageCount == 0) {
        header_.firstPage = pageNumber;
    } else if (pageNumber != header_.lastPage + 1) {
        throw ReportError(QStringLiteral("%1: page %2 does not follow page %3")
                              .arg(name_)
                              .arg(pageNumber)
                              .arg(header_.lastPage));
    }
    QByteArray record;
    record.reserve(PageRecordHead + body.size());
    put<quint32>(record, PageMagic);
    put<quint32>(record, static_cast<quint32>(pageNumber));
    put<quint32>(record, static_cast<quint32>(body.size()));
    record.append(body);
    write(end_, record);
    offsets_.push_back(static_cast<quint64>(end_));
    end_ += record.size();
    header_.lastPage = pageNumber;
    ++header_.pageCount;
}

void ReportFileWriter::finish() {
    QByteArray dir;
    dir.reserve(DirectoryHead + 8 * static_cast<qsizetype>(offsets_.size()));
    put<quint32>(dir, DirectoryMagic);
    put<quint32>(dir, static_cast<quint32>(offsets_.size()));
    for (quint64 o : offsets_)
        put<quint64>(dir, o);
    const qint64 directoryOffset = end_;
    write(end_, dir);
    end_ += dir.size();
    write(0, headerBytes(static_cast<quint64>(directoryOffset)));
    device_.seek(end_);
}

ReportFileReader::ReportFileReader(QIODevice& device, QString name)
    : device_(device), name_(std::move(name)) {
    if (!device_.isOpen() && !device_.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot be opened: %1").arg(device_.errorString()));
    }
    if (!device_.isReadable()) fail(QStringLiteral("cannot be read"));
    if (device_.isSequential()) fail(QStringLiteral("is not a seekable stream"));
    size_ = device_.size();
    if (size_ < ReportHeaderSize) fail(QStringLiteral("is too short to be a report file"));

    const QByteArray h = readAt(0, ReportHeaderSize, "header");
    if (std::memcmp(h.constData(), Magic, sizeof Magic) != 0) {
        fail(QStringLiteral("is not a report file"));
    }
    header_.version = get<quint16>(h, 8);
    if (header_.version == 0 || header_.version > ReportFileVersion) {
        fail(QStringLiteral("has report file version %1; this program reads version %2")
                 .arg(header_.version)
                 .arg(ReportFileVersion));
    }
    const quint16 headerSize = get<quint16>(h, 10);
    const quint32 flags = get<quint32>(h, 12);
    const quint32 count = get<quint32>(h, 16);
    const quint32 first = get<quint32>(h, 20);
    const quint32 last = get<quint32>(h, 24);
    const float width = getF32(h, 28);
    const float height = getF32(h, 32);
    directoryOffset_ = get<quint64>(h, 40);

    if (headerSize < ReportHeaderSize || headerSize > size_) {
        fail(QStringLiteral("has a header size of %1 bytes").arg(headerSize));
    }
    if (flags & ~KnownFlags) fail(QStringLiteral("has unknown header flags %1").arg(flags));
    if (!std::isfinite(width) || !std::isfinite(height) || width <= 0 || height <= 0 ||
        width > MaxPageInches || height > MaxPageInches) {
        fail(QStringLiteral("has an invalid page size"));
    }
    if (directoryOffset_ == 0) fail(QStringLiteral("was not finished (it has no page directory)"));
    if (directoryOffset_ < headerSize ||
        directoryOffset_ > static_cast<quint64>(size_ - DirectoryHead)) {
        fail(QStringLiteral("has a page directory outside the file"));
    }
    // Every page needs at least its record head and its directory entry, which bounds the count
    // by the file's size before anything is allocated for it.
    if (count > static_cast<quint64>(size_) / (PageRecordHead + 8)) {
        fail(QStringLiteral("claims %1, more than it can hold")
                 .arg(counted(qint64(count), "page", "pages")));
    }
    if (count > 0 && (first == 0 || first > 0x7FFFFFFF || last != first + count - 1)) {
        fail(QStringLiteral("has page numbers %1 to %2 for %3")
                 .arg(first)
                 .arg(last)
                 .arg(counted(qint64(count), "page", "pages")));
    }
    header_.positioning = flags & 1;
    header_.pageCount = static_cast<int>(count);
    header_.firstPage = static_cast<int>(first);
    header_.lastPage = static_cast<int>(last);
    header_.pageWidth = width;
    header_.pageHeight = height;

    const qint64 dirAt = static_cast<qint64>(directoryOffset_);
    const QByteArray dh = readAt(dirAt, DirectoryHead, "page directory");
    if (get<quint32>(dh, 0) != DirectoryMagic) fail(QStringLiteral("has a damaged page directory"));
    if (get<quint32>(dh, 4) != count) {
        fail(QStringLiteral("has %1 in its directory but %2 in its header")
                 .arg(counted(get<quint32>(dh, 4), "page", "pages"))
                 .arg(count));
    }
    const QByteArray entries = readAt(dirAt + DirectoryHead, qint64(count) * 8, "page directory");
    offsets_.reserve(count);
    quint64 previousEnd = headerSize;
    for (quint32 i = 0; i < count; ++i) {
        const quint64 at = get<quint64>(entries, qsizetype(i) * 8);
        if (at < previousEnd || at > directoryOffset_ - PageRecordHead) {
            fail(QStringLiteral("has page %1 outside its page area").arg(first + i));
        }
        offsets_.push_back(at);
        previousEnd = at + PageRecordHead;
    }
}

void ReportFileReader::fail(const QString& what) const {
    throw ReportError(QStringLiteral("%1: %2").arg(name_, what));
}

QByteArray ReportFileReader::readAt(qint64 at, qint64 length, const char* what) const {
    if (at < 0 || length < 0 || at > size_ || length > size_ - at) {
        fail(QStringLiteral("%1 runs past the end of the file").arg(QLatin1String(what)));
    }
    if (!device_.seek(at)) fail(QStringLiteral("cannot seek to the %1").arg(QLatin1String(what)));
    QByteArray b = device_.read(length);
    if (b.size() != length) fail(QStringLiteral("cannot read the %1").arg(QLatin1String(what)));
    return b;
}

QByteArray ReportFileReader::pageBody(int pageNumber) const {
    if (header_.pageCount == 0 || pageNumber < header_.firstPage || pageNumber > header_.lastPage) {
        fail(QStringLiteral("has no page %1").arg(pageNumber));
    }
    const std::size_t index = static_cast<std::size_t>(pageNumber - header_.firstPage);
    const qint64 at = static_cast<qint64>(offsets_[index]);
    const qint64 limit = index + 1 < offsets_.size() ? static_cast<qint64>(offsets_[index + 1])
                                                     : static_cast<qint64>(directoryOffset_);
    const QByteArray head = readAt(at, PageRecordHead, "page record");
    if (get<quint32>(head, 0) != PageMagic) {
        fail(QStringLiteral("page %1: damaged page record").arg(pageNumber));
    }
    if (get<quint32>(head, 4) != static_cast<quint32>(pageNumber)) {
        fail(QStringLiteral("page %1: the record holds page %2")
                 .arg(pageNumber)
                 .arg(get<quint32>(head, 4)));
    }
    const quint32 length = get<quint32>(head, 8);
    if (static_cast<qint64>(length) > limit - at - PageRecordHead) {
        fail(QStringLiteral("page %1: the page runs into the next record").arg(pageNumber));
    }
    return readAt(at + PageRecordHead, length, "page");
}

PageOps ReportFileReader::readPage(int pageNumber) const {
    QString fault;
    auto ops = decodePage(pageBody(pageNumber), &fault);
    if (!ops) fail(QStringLiteral("page %1: %2").arg(pageNumber).arg(fault));
    return std::move(*ops);
}

}  // namespace qb
