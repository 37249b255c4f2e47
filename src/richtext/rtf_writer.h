// Writes the document model and page settings as 7-bit RTF.
#pragma once

#include <QByteArray>

#include "richtext/page_settings.h"

class QTextDocument;

namespace qb::richtext {

// Page size and margins are always written; the same document gives the same bytes, so reading
// and saving again is byte-identical.
QByteArray writeRtf(const QTextDocument& doc, const PageSettings& page);

}  // namespace qb::richtext
