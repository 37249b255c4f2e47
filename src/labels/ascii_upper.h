// Capitals for the letters a to z only: the barcode looks for the plain words APO and FPO in a
// street, where no accented letter can take part.
#pragma once

#include <QString>

namespace qb::labels {

inline QString asciiUpper(QString s) {
    for (QChar& c : s)
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - (u'a' - u'A'));
    return s;
}

}  // namespace qb::labels
