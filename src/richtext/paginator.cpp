// The paginator: block layouts in twips, lines assigned to pages whole.
#include "richtext/paginator.h"

#include <QPainter>
#include <QTextDocument>

namespace qb::richtext {

struct Paginator::Layout {
    QList<int> starts;
};

Paginator::Paginator(const QTextDocument&, const PageSettings&) : d_(std::make_unique<Layout>()) {}
Paginator::~Paginator() = default;
int Paginator::pageCount() const {
    return int(d_->starts.size());
}
QList<int> Paginator::pageStarts() const {
    return d_->starts;
}
void Paginator::drawPage(QPainter&, int) const {}

}  // namespace qb::richtext
