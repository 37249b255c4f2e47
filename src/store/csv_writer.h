// Comma-delimited lines as other programs read them: a value that needs it is quoted and its
// quotes doubled, so commas, quotes and line breaks inside values survive a round trip.
#pragma once

#include <QString>
#include <QStringList>

namespace qb {

enum class CsvQuoting {
    Always,      // every value in quotes, as the contact copies have always been written
    WhenNeeded,  // only values holding a comma, quote, CR or LF
};

QString csvField(const QString& value, CsvQuoting quoting);
// The values joined by commas, without a line end.
QString csvLine(const QStringList& values, CsvQuoting quoting);

}  // namespace qb
