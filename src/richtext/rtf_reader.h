// Reads RTF as word processors write it into the document model and page settings.
#pragma once

#include <QByteArrayView>
#include <QString>

#include "richtext/page_settings.h"

class QTextDocument;

namespace qb::richtext {

struct RtfReadResult {
    bool readable = true;  // false: nothing usable (not RTF at all); the text found is still loaded
    QString notice;        // to show once: pictures not kept, damaged text
};

// Replaces the document's content and the page settings with what the bytes hold. Never throws
// and never fails on damaged input: what is readable is loaded.
RtfReadResult readRtf(QByteArrayView bytes, QTextDocument& into, PageSettings& page);

}  // namespace qb::richtext
