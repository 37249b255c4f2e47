// Reading comma-delimited text as spreadsheets, web forms and older copies of this program
// write it: RFC 4180 records, with a lenient rule for lines that are not valid RFC 4180, any
// line end, a byte-order mark, a closing end-of-file mark and the text's encoding detected.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace qb {

enum class TextEncoding { Auto, Utf8, Windows1252 };

// The encoding for a command-line word ("auto", "utf-8", "windows-1252"; letter case ignored);
// false when the word names none of them.
bool parseTextEncoding(const QString& word, TextEncoding& encoding);
QString textEncodingName(TextEncoding encoding);

// What a look over the whole file found.
struct CsvInspection {
    // Empty when the bytes can be read as text; else why not, as the user reads it.
    QString problem;
    // UTF-8 when the file starts with a byte-order mark, or holds non-ASCII bytes that are all
    // valid UTF-8; Windows-1252 otherwise (pure ASCII reads the same either way).
    TextEncoding encoding = TextEncoding::Windows1252;
    bool byteOrderMark = false;
    qint64 size = 0;
};

// Reads the device from its current position to the end in blocks; a NUL byte anywhere means
// the file is not text.
CsvInspection inspectCsv(QIODevice& in);

class CsvReader {
  public:
    // Reads from the device's current position; a UTF-8 byte-order mark there is skipped.
    // encoding must be Utf8 or Windows1252 (Auto reads as Windows1252; inspect first).
    CsvReader(QIODevice& in, TextEncoding encoding);

    // The next record's values; false at the end of the text or after a failure. An empty
    // line is a record of one empty value.
    bool next(QStringList& values);
    // The same, with each value's bytes as the file holds them (in the reader's encoding,
    // quotes undone): for loops over many records that convert the values themselves.
    bool nextBytes(std::vector<std::string>& values);
    TextEncoding encoding() const { return encoding_; }
    // The line of the file on which the last record began, from 1.
    qint64 line() const { return recordLine_; }
    // Bytes of the file consumed so far, for progress.
    qint64 consumed() const { return consumed_; }
    // Why reading stopped early (a NUL byte, a read error); empty when it did not.
    const QString& problem() const { return problem_; }

    // A record is taken as RFC 4180 when it is valid as such; a quoted value spanning lines
    // is given up (and the lenient rule used on its first line) beyond this many bytes.
    static constexpr qsizetype kMaxQuotedSpan = 1 << 20;

  private:
    bool fill();  // reads more into the buffer; false at the end of the device
    bool ensure(qsizetype count);
    bool readStrict(std::vector<std::string>& values, size_t& count, qsizetype& length, int& lines);
    void readLenient(std::vector<std::string>& values, size_t& count, qsizetype& length);
    static std::string& slot(std::vector<std::string>& values, size_t& count);
    QString decode(const char* bytes, qsizetype size) const;
    void fail(const QString& why);

    QIODevice& in_;
    TextEncoding encoding_;
    QByteArray buffer_;
    QByteArray chunk_;
    std::vector<std::string> bytes_;
    bool heldMark_ = false;
    qsizetype pos_ = 0;  // start of the unread bytes in buffer_
    bool atEnd_ = false;
    bool failed_ = false;
    qint64 consumed_ = 0;
    qint64 nextLine_ = 1;
    qint64 recordLine_ = 0;
    QString problem_;
};

// The records of text held in memory, decoded as given (Auto detects). For tests and small
// inputs; problem (when given) receives why reading stopped, if it did.
std::vector<QStringList> readCsv(const QByteArray& bytes,
                                 TextEncoding encoding = TextEncoding::Auto,
                                 QString* problem = nullptr);

}  // namespace qb
