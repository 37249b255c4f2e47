// Capitals for the letters a to z only, the one case mapping labels use: accented letters in
// names and foreign addresses are printed as they were entered.
#pragma once

#include <QString>

namespace qb::labels {

inline QString asciiUpper(QString s) {
    for (QChar& c : s)
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - (u'a' - u'A'));
    return s;
}

}  // namespace qb::labels
