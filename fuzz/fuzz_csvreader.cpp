// Fuzz target for the comma-delimited reader: the first byte picks how the text is decoded
// (detected, UTF-8, Windows-1252), the rest is the file. Every record is read; the look over
// the file and the reader must agree that text with a NUL byte is refused.
#include <QBuffer>
#include <cstdint>
#include <cstdlib>

#include "store/csv_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const qb::TextEncoding encodings[] = {qb::TextEncoding::Auto, qb::TextEncoding::Utf8,
                                          qb::TextEncoding::Windows1252};
    const qb::TextEncoding encoding = encodings[data[0] % 3];
    QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    QString problem;
    const auto records = qb::readCsv(bytes, encoding, &problem);
    const bool hasNul = bytes.contains('\0');
    if (hasNul && problem.isEmpty()) std::abort();
    if (!hasNul && encoding != qb::TextEncoding::Auto && !problem.isEmpty()) std::abort();
    for (const QStringList& values : records)
        if (values.isEmpty()) std::abort();  // every record holds at least one value
    return 0;
}
