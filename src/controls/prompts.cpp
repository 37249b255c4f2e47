// Keeps track of which responder answers the prompts, and converts file filters.
#include "controls/prompts.h"

#include "controls/qt_prompts.h"

#include <QStringList>
#include <memory>

namespace qb {
namespace {

Prompts* g_override = nullptr;

Prompts& realPrompts() {
    static QtPrompts real;
    return real;
}

}  // namespace

Prompts& prompts() {
    return g_override ? *g_override : realPrompts();
}

ScopedPrompts::ScopedPrompts(Prompts& responder) : previous_(g_override) {
    g_override = &responder;
}

ScopedPrompts::~ScopedPrompts() {
    g_override = previous_;
}

QString qtFileFilter(const QString& filter) {
    if (!filter.contains(QLatin1Char('|'))) return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return entries.join(QStringLiteral(";;"));
}

}  // namespace qb
