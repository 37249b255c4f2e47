// Writing and reading the presort list file.
#include "presort/presort_file.h"

#include "store/output_file.h"

#include <QDir>
#include <QFile>

namespace qb::presort {

namespace {

[[noreturn]] void fail(const QString& path, const std::string& fault) {
    throw PresortFileError(path.toStdString() + ": " + fault);
}

// Length of the UTF-8 sequence starting at p (at most end - p bytes), 0 when malformed.
size_t utf8SequenceLength(const unsigned char* p, const unsigned char* end) {
    unsigned char c = *p;
    size_t n;
    uint32_t cp;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (size_t(end - p) < n) return 0;
    for (size_t i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and values past the last code point are not text.
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

// Why a line is not acceptable text, or "" when it is. Other control characters pass: a ZIP
// text may hold one, and the key then has to come back as it was written.
std::string lineFault(const std::string& line) {
    auto p = reinterpret_cast<const unsigned char*>(line.data());
    auto end = p + line.size();
    while (p < end) {
        if (*p == 0) return "holds a NUL byte";
        size_t n = utf8SequenceLength(p, end);
        if (n == 0) return "is not UTF-8 text";
        p += n;
    }
    return "";
}

}  // namespace

QString presortFilePath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kPresortFileName));
}

void writePresortFile(const QString& folder, const std::vector<std::string>& lines) {
    QString path = presortFilePath(folder);
    QByteArray bytes;
    size_t size = 0;
    for (const auto& l : lines)
        size += l.size() + 2;
    bytes.reserve(qsizetype(size));
    for (const auto& l : lines) {
        bytes.append(l.data(), qsizetype(l.size()));
        bytes.append("\r\n", 2);
    }
    // The list is one of the program's outputs: written whole or not at all, and never over a
    // file the program keeps or has open.
    if (const QString fault = writeWholeFile(path, bytes); !fault.isEmpty())
        throw PresortFileError(fault.toStdString());
}

std::vector<std::string> readPresortFile(const QString& folder) {
    QString path = presortFilePath(folder);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path, "cannot be opened (" + file.errorString().toStdString() + ")");
    // Read one byte past the limit so an oversized file is told apart from one at the limit
    // without trusting the size the file system reports.
    QByteArray bytes;
    char chunk[65536];
    // In chunks, so a small file costs a small buffer; stop one byte past the limit.
    while (bytes.size() <= kMaxPresortFileBytes) {
        const qint64 got = file.read(chunk, sizeof chunk);
        if (got <= 0) break;
        bytes.append(chunk, qsizetype(got));
    }
    if (bytes.size() > kMaxPresortFileBytes)
        fail(path, "is larger than " + std::to_string(kMaxPresortFileBytes) + " bytes");
    if (file.error() != QFileDevice::NoError)
        fail(path, "could not be read (" + file.errorString().toStdString() + ")");

    std::vector<std::string> lines;
    qsizetype start = 0;
    int lineNumber = 0;
    while (start < bytes.size()) {
        qsizetype nl = bytes.indexOf('\n', start);
        qsizetype stop = nl < 0 ? bytes.size() : nl;
        qsizetype next = nl < 0 ? bytes.size() : nl + 1;
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        ++lineNumber;
        std::string line(bytes.constData() + start, size_t(stop - start));
        start = next;
        if (line.empty()) continue;
        std::string fault = lineFault(line);
        if (!fault.empty()) fail(path, "line " + std::to_string(lineNumber) + " " + fault);
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace qb::presort
