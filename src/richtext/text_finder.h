// Finds successive occurrences of a text in a document from a remembered position.
#pragma once

#include <QString>
#include <QTextCursor>

class QTextDocument;

namespace qb::richtext {

class TextFinder {
  public:
    explicit TextFinder(QTextDocument& doc) : doc_(&doc) {}
    // The next occurrence after the previous find (letter case counts), selected in the returned
    // cursor; a null cursor when there is none. Text replaced through the returned cursor is
    // not searched again, so a value holding its own search text cannot loop.
    QTextCursor findNext(const QString& text);
    void reset() { position_ = 0; }

  private:
    QTextDocument* doc_;
    int position_ = 0;
    QTextCursor last_;
};

}  // namespace qb::richtext
