// Comma-delimited text in: the record rules, the encoding check and the block-wise reading.
#include "store/csv_reader.h"

#include <QBuffer>
#include <array>
#include <cstring>

#include "xbase/codepage.h"

namespace qb {

namespace {

constexpr qint64 kBlock = 1 << 20;
const char kNulProblem[] = "The file holds NUL bytes, so it is not a text file";

// Checks UTF-8 a block at a time: a sequence may be split between two blocks.
class Utf8Check {
  public:
    void feed(const char* data, qint64 size) {
        for (qint64 i = 0; i < size && valid_; ++i) {
            const auto b = uint8_t(data[i]);
            if (need_ == 0) {
                if (b < 0x80) continue;
                nonAscii_ = true;
                lo_ = 0x80;
                hi_ = 0xBF;
                if (b >= 0xC2 && b <= 0xDF) {
                    need_ = 1;
                } else if (b >= 0xE0 && b <= 0xEF) {
                    need_ = 2;
                    if (b == 0xE0) lo_ = 0xA0;  // no overlong forms
                    if (b == 0xED) hi_ = 0x9F;  // no surrogates
                } else if (b >= 0xF0 && b <= 0xF4) {
                    need_ = 3;
                    if (b == 0xF0) lo_ = 0x90;
                    if (b == 0xF4) hi_ = 0x8F;  // nothing past U+10FFFF
                } else {
                    valid_ = false;
                }
            } else {
                if (b < lo_ || b > hi_) valid_ = false;
                --need_;
                lo_ = 0x80;
                hi_ = 0xBF;
            }
        }
    }
    bool valid() const { return valid_ && need_ == 0; }
    bool nonAscii() const { return nonAscii_; }

  private:
    int need_ = 0;
    uint8_t lo_ = 0x80, hi_ = 0xBF;
    bool valid_ = true;
    bool nonAscii_ = false;
};

const std::array<QChar, 256>& windows1252Chars() {
    static const std::array<QChar, 256> table = [] {
        std::array<QChar, 256> t{};
        const xb::CodePage& page = xb::CodePage::windows1252();
        for (int b = 0; b < 256; ++b) {
            const std::string utf8 = page.toUtf8(std::string(1, char(b)));
            const QString s = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
            t[size_t(b)] = s.isEmpty() ? QChar(0xFFFD) : s.at(0);
        }
        return t;
    }();
    return table;
}

bool isLineEnd(int c) {
    return c == '\r' || c == '\n';
}

}  // namespace

bool parseTextEncoding(const QString& word, TextEncoding& encoding) {
    const QString w = word.trimmed().toLower();
    if (w == QLatin1String("auto")) {
        encoding = TextEncoding::Auto;
    } else if (w == QLatin1String("utf-8") || w == QLatin1String("utf8")) {
        encoding = TextEncoding::Utf8;
    } else if (w == QLatin1String("windows-1252") || w == QLatin1String("cp1252")) {
        encoding = TextEncoding::Windows1252;
    } else {
        return false;
    }
    return true;
}

QString textEncodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Auto:
            return QStringLiteral("auto");
        case TextEncoding::Utf8:
            return QStringLiteral("UTF-8");
        case TextEncoding::Windows1252:
            return QStringLiteral("Windows-1252");
    }
    return {};
}

CsvInspection inspectCsv(QIODevice& in) {
    CsvInspection result;
    Utf8Check utf8;
    QByteArray block;
    bool first = true;
    for (;;) {
        block.resize(kBlock);
        const qint64 got = in.read(block.data(), kBlock);
        if (got < 0) {
            result.problem = QStringLiteral("The file could not be read: ") + in.errorString();
            return result;
        }
        if (got == 0) break;
        const char* data = block.constData();
        qint64 size = got;
        if (first) {
            first = false;
            if (size >= 2 && ((uint8_t(data[0]) == 0xFF && uint8_t(data[1]) == 0xFE) ||
                              (uint8_t(data[0]) == 0xFE && uint8_t(data[1]) == 0xFF))) {
                result.problem = QStringLiteral(
                    "The file is UTF-16 text; only UTF-8 and Windows-1252 text "
                    "can be read. Save it as UTF-8 and try again");
                return result;
            }
            if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) {
                result.byteOrderMark = true;
                data += 3;
                size -= 3;
            }
        }
        if (std::memchr(data, 0, size_t(size))) {
            result.problem = QString::fromLatin1(kNulProblem);
            return result;
        }
        utf8.feed(data, size);
        result.size += got;
    }
    result.encoding = (result.byteOrderMark || (utf8.valid() && utf8.nonAscii()))
                          ? TextEncoding::Utf8
                          : TextEncoding::Windows1252;
    return result;
}

CsvReader::CsvReader(QIODevice& in, TextEncoding encoding)
    : in_(in), encoding_(encoding == TextEncoding::Utf8 ? encoding : TextEncoding::Windows1252) {}

void CsvReader::fail(const QString& why) {
    if (!failed_) problem_ = why;
    failed_ = true;
}

bool CsvReader::fill() {
    if (atEnd_ || failed_) return false;
    chunk_.resize(kBlock);
    const qint64 got = in_.read(chunk_.data(), kBlock);
    if (got < 0) {
        fail(QStringLiteral("The file could not be read: ") + in_.errorString());
        return false;
    }
    if (got == 0) {
        // A closing end-of-file mark is not text: the one held back is dropped.
        atEnd_ = true;
        return false;
    }
    if (std::memchr(chunk_.constData(), 0, size_t(got))) {
        fail(QString::fromLatin1(kNulProblem));
        return false;
    }
    if (heldMark_) buffer_ += '\x1A';
    buffer_.append(chunk_.constData(), qsizetype(got));
    // A last byte of 0x1A is held back until the device says whether more follows.
    heldMark_ = buffer_.back() == '\x1A';
    if (heldMark_) buffer_.chop(1);
    return true;
}

bool CsvReader::ensure(qsizetype count) {
    while (buffer_.size() < count)
        if (!fill()) return false;
    return true;
}

QString CsvReader::decode(const char* bytes, qsizetype size) const {
    if (encoding_ == TextEncoding::Utf8) return QString::fromUtf8(bytes, size);
    const auto& table = windows1252Chars();
    QString out(size, Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < size; ++i)
        d[i] = table[uint8_t(bytes[i])];
    return out;
}

bool CsvReader::readStrict(std::vector<std::string>& values, size_t& count, qsizetype& length,
                           int& lines) {
    count = 0;
    lines = 1;
    qsizetype i = pos_;
    // The byte at i, reading more when needed; -1 past the end.
    auto at = [this](qsizetype k) -> int {
        if (k >= buffer_.size() && !ensure(k + 1)) return -1;
        return uint8_t(buffer_[k]);
    };
    for (;;) {
        int c = at(i);
        if (c == '"') {
            std::string& quoted = slot(values, count);
            ++i;
            for (;;) {
                c = at(i);
                if (c < 0) return false;  // the quote never closes
                if (c == '"') {
                    if (at(i + 1) == '"') {
                        quoted += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (isLineEnd(c)) {
                    if (i - pos_ > kMaxQuotedSpan) return false;
                    if (!(c == '\r' && at(i + 1) == '\n')) ++lines;
                }
                quoted += char(c);
                ++i;
            }
            c = at(i);
        } else {
            const qsizetype start = i;
            while (c >= 0 && c != ',' && !isLineEnd(c)) {
                if (c == '"') return false;  // a quote inside an unquoted value
                c = at(++i);
            }
            slot(values, count).assign(buffer_.constData() + start, size_t(i - start));
        }
        if (c == ',') {
            ++i;
            continue;
        }
        if (c == '\r' && at(i + 1) == '\n') {
            i += 2;
        } else if (isLineEnd(c)) {
            ++i;
        } else if (c >= 0) {
            return false;  // something after a closing quote
        }
        length = i - pos_;
        return true;
    }
}

void CsvReader::readLenient(std::vector<std::string>& values, size_t& count, qsizetype& length) {
    count = 0;
    qsizetype end = pos_;
    for (;; ++end) {
        if (end >= buffer_.size() && !ensure(end + 1)) break;
        if (isLineEnd(uint8_t(buffer_[end]))) break;
    }
    const char* line = buffer_.constData() + pos_;
    const qsizetype n = end - pos_;
    // Commas inside quotes do not split. A quote right after another flips the inside-quotes
    // state only when it closes a value (inside, and a comma or the line's end follows), so
    // a doubled quote ends and restarts the quoted stretch.
    bool inside = false;
    qsizetype pieceStart = 0;
    auto addPiece = [&](qsizetype from, qsizetype to) {
        if (to - from >= 2 && line[from] == '"' && line[to - 1] == '"') {
            ++from;
            --to;
        }
        slot(values, count).assign(line + from, size_t(to - from));
    };
    for (qsizetype k = 0; k < n; ++k) {
        const char ch = line[k];
        if (ch == '"') {
            if (k > 0 && line[k - 1] == '"') {
                if (inside && (k + 1 == n || line[k + 1] == ',')) inside = false;
            } else {
                inside = !inside;
            }
        } else if (ch == ',' && !inside) {
            addPiece(pieceStart, k);
            pieceStart = k + 1;
        }
    }
    addPiece(pieceStart, n);
    if (end < buffer_.size() && buffer_[end] == '\r' && ensure(end + 2) && buffer_[end + 1] == '\n')
        end += 2;
    else if (end < buffer_.size())
        end += 1;
    length = end - pos_;
}

// The next value of a record being read: a string kept from the last record when there is one,
// so that its room is used again.
std::string& CsvReader::slot(std::vector<std::string>& values, size_t& count) {
    if (count == values.size()) values.emplace_back();
    std::string& v = values[count++];
    v.clear();
    return v;
}

bool CsvReader::next(QStringList& values) {
    values.clear();
    if (!nextBytes(bytes_)) return false;
    for (const std::string& v : bytes_)
        values << decode(v.data(), qsizetype(v.size()));
    return true;
}

bool CsvReader::nextBytes(std::vector<std::string>& values) {
    if (failed_) {
        values.clear();
        return false;
    }
    if (pos_ > 0) {
        buffer_.remove(0, pos_);
        pos_ = 0;
    }
    if (!ensure(1)) {
        values.clear();
        return false;
    }
    if (recordLine_ == 0) {
        ensure(3);
        if (buffer_.startsWith("\xEF\xBB\xBF")) {
            consumed_ = 3;
            buffer_.remove(0, 3);
            if (!ensure(1)) {
                values.clear();
                return false;
            }
        }
    }
    recordLine_ = nextLine_;
    qsizetype length = 0;
    int lines = 1;
    size_t count = 0;
    if (!readStrict(values, count, length, lines)) {
        if (failed_) {
            values.clear();
            return false;
        }
        lines = 1;
        readLenient(values, count, length);
    }
    values.resize(count);
    if (failed_) {
        values.clear();
        return false;
    }
    pos_ += length;
    consumed_ += length;
    nextLine_ += lines;
    return true;
}

std::vector<QStringList> readCsv(const QByteArray& bytes, TextEncoding encoding, QString* problem) {
    std::vector<QStringList> records;
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    if (encoding == TextEncoding::Auto) {
        const CsvInspection look = inspectCsv(buffer);
        if (!look.problem.isEmpty()) {
            if (problem) *problem = look.problem;
            return records;
        }
        encoding = look.encoding;
        buffer.seek(0);
    }
    CsvReader reader(buffer, encoding);
    QStringList values;
    while (reader.next(values))
        records.push_back(values);
    if (problem) *problem = reader.problem();
    return records;
}

}  // namespace qb
