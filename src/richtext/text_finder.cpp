// The finder behind the letter merge's token search.
#include "richtext/text_finder.h"

#include <QTextDocument>

namespace qb::richtext {

QTextCursor TextFinder::findNext(const QString& text) {
    // The last match's cursor follows edits to it, so its end is where searching goes on even
    // after the match was replaced by text of another length.
    if (!last_.isNull()) position_ = last_.selectionEnd();
    last_ = QTextCursor();
    if (text.isEmpty()) return {};
    QTextCursor found = doc_->find(text, position_, QTextDocument::FindCaseSensitively);
    if (found.isNull()) return {};
    position_ = found.selectionEnd();
    last_ = found;
    return found;
}

}  // namespace qb::richtext
