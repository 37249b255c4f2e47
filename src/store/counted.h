// A count as the user reads it: "1 label", "2 labels", "0 labels".
#pragma once

#include <QString>

namespace qb {

inline QString counted(qint64 n, const char* singular, const char* plural) {
    return QString::number(n) + u' ' + QLatin1String(n == 1 ? singular : plural);
}

}  // namespace qb
