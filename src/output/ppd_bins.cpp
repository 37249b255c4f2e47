// A PPD lists paper sources as lines such as  *InputSlot Tray2/Tray 2: "<< ... >>setpagedevice".
#include "output/ppd_bins.h"

#include <QFile>
#include <QIODevice>

namespace qb {
namespace {

constexpr qint64 MaxPpdBytes = 4 * 1024 * 1024;
constexpr std::size_t MaxBins = 64;

}  // namespace

std::vector<PaperBin> readPpdInputSlots(QIODevice& ppd) {
    std::vector<PaperBin> bins;
    qint64 consumed = 0;
    while (!ppd.atEnd() && consumed < MaxPpdBytes && bins.size() < MaxBins) {
        const QByteArray raw = ppd.readLine(4096);
        if (raw.isEmpty()) break;
        consumed += raw.size();
        if (!raw.startsWith("*InputSlot ")) continue;
        const QByteArray rest = raw.mid(11);
        const qsizetype colon = rest.indexOf(':');
        if (colon <= 0) continue;
        const QByteArray option = rest.left(colon).trimmed();
        const qsizetype slash = option.indexOf('/');
        const QString keyword =
            QString::fromLatin1(slash < 0 ? option : option.left(slash)).trimmed();
        const QString name =
            slash < 0 ? keyword : QString::fromLatin1(option.mid(slash + 1)).trimmed();
        if (keyword.isEmpty() || name.isEmpty()) continue;
        bins.push_back({name, keyword});
    }
    return bins;
}

std::vector<PaperBin> ppdInputSlotsOf(const QString& printerName) {
    if (printerName.contains(QLatin1Char('/')) || printerName.startsWith(QLatin1Char('.')))
        return {};
    QFile file(QStringLiteral("/etc/cups/ppd/%1.ppd").arg(printerName));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return readPpdInputSlots(file);
}

}  // namespace qb
