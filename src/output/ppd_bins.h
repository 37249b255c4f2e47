// Paper sources of a platform printer, read from the InputSlot entries of its PPD file.
#pragma once

#include <QString>
#include <vector>

class QIODevice;

namespace qb {

struct PaperBin {
    QString name;     // what the user sees, e.g. "Manual Feed"
    QString keyword;  // what the printer system is told, e.g. "Manual"
};

// Reads at most a few megabytes; malformed lines are skipped.
std::vector<PaperBin> readPpdInputSlots(QIODevice& ppd);
std::vector<PaperBin> ppdInputSlotsOf(const QString& printerName);

}  // namespace qb
