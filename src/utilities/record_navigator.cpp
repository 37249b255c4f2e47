// The navigator bar and the shown step of a walk.
#include "utilities/record_navigator.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>

#include "utilities/check_walk.h"

namespace qb::utilities {

RecordNavigator::RecordNavigator(Dataset* table, QWidget* parent) : QWidget(parent), table_(table) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    const auto add = [&](const char* name, const QString& glyph, const QString& tip,
                         auto&& action) {
        auto* b = new QPushButton(glyph, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("MMM")));
        connect(b, &QPushButton::clicked, this, [this, action] {
            if (table_ && table_->isOpen()) action(*table_);
        });
        row->addWidget(b);
    };
    add("First", QStringLiteral("|<"), QStringLiteral("First record"),
        [](Dataset& t) { t.first(); });
    add("Prior", QStringLiteral("<"), QStringLiteral("Prior record"),
        [](Dataset& t) { t.prior(); });
    add("Next", QStringLiteral(">"), QStringLiteral("Next record"), [](Dataset& t) { t.next(); });
    add("Last", QStringLiteral(">|"), QStringLiteral("Last record"), [](Dataset& t) { t.last(); });
    row->addStretch();
}

void walkStepShown(uint32_t done, uint32_t total, QProgressBar* gauge) {
    const int p = gaugePercent(done, total);
    if (p > 0 && gauge->value() != p) gauge->setValue(p);
    // Running the event loop for each of a million records would cost more than the walk.
    if (done % 64 == 0) QCoreApplication::processEvents();
}

}  // namespace qb::utilities
