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

void appendCsvField(QByteArray& line, std::string_view bytes, CsvQuoting quoting) {
    const bool special = bytes.find_first_of(",\"\r\n") != std::string_view::npos;
    if (!special && quoting == CsvQuoting::WhenNeeded) {
        line.append(bytes.data(), qsizetype(bytes.size()));
        return;
    }
    line += '"';
    for (size_t from = 0;;) {
        const size_t quote = bytes.find('"', from);
        const size_t end = quote == std::string_view::npos ? bytes.size() : quote + 1;
        line.append(bytes.data() + from, qsizetype(end - from));
        if (quote == std::string_view::npos) break;
        line += '"';
        from = end;
    }
    line += '"';
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
