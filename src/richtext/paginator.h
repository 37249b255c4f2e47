// Lays a document out on its pages in twips, so the preview and the printer break pages at the
// same characters, and draws one page line by line.
#pragma once

#include <QList>
#include <memory>

#include "richtext/page_settings.h"

class QPainter;
class QTextDocument;

namespace qb::richtext {

class Paginator {
  public:
    // Lays out at once; the document may change or go away afterwards. A degenerate page gives
    // no pages at all.
    Paginator(const QTextDocument& doc, const PageSettings& page);
    ~Paginator();
    Paginator(const Paginator&) = delete;
    Paginator& operator=(const Paginator&) = delete;

    int pageCount() const;
    // The document position of each page's first character.
    QList<int> pageStarts() const;
    // Draws page `index` with the painter's unit = one twip and origin at the paper's top-left
    // corner; callers scale the painter for their device (preview zoom, printer resolution).
    void drawPage(QPainter& painter, int index) const;

    struct Layout;

  private:
    std::unique_ptr<Layout> d_;
};

}  // namespace qb::richtext
