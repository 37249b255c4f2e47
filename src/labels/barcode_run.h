// What one print run may be told instead of the saved barcode choice and mailer values, and
// what becomes of the mailer's serial numbers once the run has put pieces on paper. Label and
// envelope runs both go through here, so they number their pieces the same way.
#pragma once

#include <QString>
#include <optional>

#include "labels/barcode_kind.h"
#include "labels/imb_mailer.h"
#include "store/settings.h"

class QWidget;

namespace qb::labels {

struct BarcodeOverrides {
    // The barcode for this run instead of the one the setup's choice saved.
    std::optional<BarcodeKind> barcode;
    // Intelligent Mail values for this run instead of the saved ones. A run that keeps the
    // saved mailer identifier and serial numbers writes the next serial number back.
    std::optional<QString> imbBarcodeId, imbServiceType, imbMailerId;
    std::optional<long long> imbFirstSerial;

    // The kind this run prints for a setup of that section and description.
    BarcodeKind kindFor(const Settings& settings, const char* section, const QString& descript,
                        bool tableSaysBarcode) const;
    // The saved mailer with this run's values in their place.
    ImbMailer mailerFor(const Settings& settings) const;
    bool keepsSavedSerials() const { return !imbMailerId && !imbFirstSerial; }
};

// After a run that printed (a preview prints nothing): the next serial number written back
// when the run numbered from the saved one, and the warning when the numbers started again
// from 0. Messages go through prompts().
void finishImbRun(const ImbMailer& mailer, const BarcodeOverrides& given, const Settings& settings,
                  QWidget* parent);

}  // namespace qb::labels
