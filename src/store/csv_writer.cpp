// Writing comma-delimited values.
#include "store/csv_writer.h"

namespace qb {

QString csvField(const QString& value, CsvQuoting quoting) {
    const bool special = value.contains(u',') || value.contains(u'"') || value.contains(u'\r') ||
                         value.contains(u'\n');
    if (!special && quoting == CsvQuoting::WhenNeeded) return value;
    QString quoted = value;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString csvLine(const QStringList& values, CsvQuoting quoting) {
    QString line;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0) line += u',';
        line += csvField(values[i], quoting);
    }
    return line;
}

}  // namespace qb
