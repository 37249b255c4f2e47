// The mailer's values in the settings file, and serial numbers that advance per piece.
#include "labels/imb_mailer.h"

namespace qb::labels {

ImbMailer ImbMailer::load(const Settings& s) {
    ImbMailer m;
    m.barcodeId = s.read(setting::ImbBarcodeId).trimmed();
    m.serviceType = s.read(setting::ImbServiceType).trimmed();
    m.mailerId = s.read(setting::ImbMailerId).trimmed();
    const int serial = s.read(setting::ImbNextSerial);
    // A number typed into the file by hand past the range starts the range again.
    m.nextSerial = serial < 0 || serial >= m.serialLimit() ? 0 : serial;
    return m;
}

bool ImbMailer::save(const Settings& s) const {
    return s.write(setting::ImbBarcodeId, barcodeId) &&
           s.write(setting::ImbServiceType, serviceType) &&
           s.write(setting::ImbMailerId, mailerId) && saveNextSerial(s);
}

bool ImbMailer::saveNextSerial(const Settings& s) const {
    return s.write(setting::ImbNextSerial, int(nextSerial));
}

long long ImbMailer::serialLimit() const {
    return serialDigits() == 6 ? 1000000LL : 1000000000LL;
}

QString ImbMailer::refusal() const {
    if (mailerId.isEmpty())
        return QStringLiteral("No mailer identifier is set for the Intelligent Mail barcode");
    if (nextSerial < 0 || nextSerial >= serialLimit())
        return QStringLiteral("The serial number must be from 0 to %1").arg(serialLimit() - 1);
    ImbTracking t{barcodeId, serviceType, mailerId,
                  QString::number(nextSerial).rightJustified(serialDigits(), u'0')};
    return imbRefusal(t, QString());
}

ImbTracking ImbMailer::take() {
    ImbTracking t{barcodeId, serviceType, mailerId,
                  QString::number(nextSerial).rightJustified(serialDigits(), u'0')};
    if (++nextSerial >= serialLimit()) {
        nextSerial = 0;
        wrapped = true;
    }
    return t;
}

}  // namespace qb::labels
