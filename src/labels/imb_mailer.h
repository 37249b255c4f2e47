// The mailer's side of the Intelligent Mail barcode: barcode identifier, service type, mailer
// identifier and the next serial number, kept in the settings file; each printed piece takes
// the next serial number, so no two pieces carry the same tracking code.
#pragma once

#include <QString>

#include "labels/imb.h"
#include "store/settings.h"

namespace qb::labels {

namespace setting {
inline constexpr TextSetting ImbBarcodeId{"IntelligentMail", "BarcodeId", "00"};
inline constexpr TextSetting ImbServiceType{"IntelligentMail", "ServiceType", "040"};
inline constexpr TextSetting ImbMailerId{"IntelligentMail", "MailerId", ""};
inline constexpr IntSetting ImbNextSerial{"IntelligentMail", "NextSerial", 0};
}  // namespace setting

inline constexpr const char* kImbSerialsWrapped =
    "The serial numbers of the Intelligent Mail barcode have run out and start again from 0. "
    "Pieces mailed within 45 days of those that carried the same numbers would share a "
    "tracking code: ask the postal service for another mailer identifier if they may.";

struct ImbMailer {
    QString barcodeId = QStringLiteral("00");
    QString serviceType = QStringLiteral("040");
    QString mailerId;
    long long nextSerial = 0;
    // Set once the serial numbers ran past the last and started again from 0.
    bool wrapped = false;

    static ImbMailer load(const Settings& settings);
    // Writes all four values; false when the file could not be written.
    bool save(const Settings& settings) const;
    // Writes only the next serial number, after a run.
    bool saveNextSerial(const Settings& settings) const;

    // The serial number's digits beside this mailer identifier, and the numbers they allow.
    int serialDigits() const { return imbSerialDigits(mailerId); }
    long long serialLimit() const;
    // Why these values cannot make a tracking code; empty when they can.
    QString refusal() const;
    // The tracking code of the next piece, then the serial number advances (past the last it
    // starts again from 0 and `wrapped` is set).
    ImbTracking take();
};

}  // namespace qb::labels
