// Comma-delimited lines as other programs read them: a value that needs it is quoted and its
// quotes doubled, so commas, quotes and line breaks inside values survive a round trip.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <string_view>

namespace qb {

enum class CsvQuoting {
    Always,      // every value in quotes, as the contact copies have always been written
    WhenNeeded,  // only values holding a comma, quote, CR or LF
};

QString csvField(const QString& value, CsvQuoting quoting);
// The values joined by commas, without a line end.
QString csvLine(const QStringList& values, CsvQuoting quoting);
// csvField on encoded text, appended to line: for long runs of lines, without a QString per
// value. The encoding must keep the comma, quote, CR and LF as their ASCII bytes (UTF-8 and
// the single-byte code pages do).
void appendCsvField(QByteArray& line, std::string_view bytes, CsvQuoting quoting);

}  // namespace qb
