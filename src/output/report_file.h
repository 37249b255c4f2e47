// Writing and reading report files: a header, the pages' drawing operations and a page
// directory, in the versioned layout of REPORTFILE.md.
#pragma once

#include "output/page_ops.h"

#include <QByteArray>
#include <QString>
#include <vector>

class QIODevice;

namespace qb {

inline constexpr quint16 ReportFileVersion = 1;
inline constexpr int ReportHeaderSize = 48;

struct ReportFileHeader {
    int version = ReportFileVersion;
    bool positioning = false;  // texts are stretched to their recorded widths when shown
    int pageCount = 0;
    int firstPage = 0;
    int lastPage = 0;
    double pageWidth = 0;  // inches
    double pageHeight = 0;
};

// Writes a report file from the device's position 0. Page numbers must follow each other.
class ReportFileWriter {
  public:
    ReportFileWriter(QIODevice& device, QString name);

    void begin(double pageWidth, double pageHeight, bool positioning);
    void addPage(int pageNumber, const QByteArray& body);
    // Writes the directory and the final header; the file is readable only after this.
    void finish();
    qint64 size() const { return end_; }

  private:
    void write(qint64 at, const QByteArray& bytes);
    QByteArray headerBytes(quint64 directoryOffset) const;

    QIODevice& device_;
    QString name_;
    ReportFileHeader header_;
    std::vector<quint64> offsets_;
    qint64 end_ = 0;
};

// Reads a report file from a seekable device. Every fault throws a ReportError whose text
// starts with the file's name.
class ReportFileReader {
  public:
    ReportFileReader(QIODevice& device, QString name);

    const ReportFileHeader& header() const { return header_; }
    QByteArray pageBody(int pageNumber) const;
    PageOps readPage(int pageNumber) const;

  private:
    [[noreturn]] void fail(const QString& what) const;
    QByteArray readAt(qint64 at, qint64 length, const char* what) const;

    QIODevice& device_;
    QString name_;
    qint64 size_ = 0;
    ReportFileHeader header_;
    std::vector<quint64> offsets_;
    quint64 directoryOffset_ = 0;
};

}  // namespace qb
