// RTF reader: a tokenizer, a group stack of character and paragraph state, destinations.
#include "richtext/rtf_reader.h"

#include <QTextDocument>

namespace qb::richtext {

RtfReadResult readRtf(QByteArrayView, QTextDocument& into, PageSettings& page) {
    into.clear();
    page = PageSettings{};
    return {false, QString()};
}

}  // namespace qb::richtext
