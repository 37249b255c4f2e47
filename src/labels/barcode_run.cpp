// Barcode choices for one run, and the serial numbers kept after it.
#include "labels/barcode_run.h"

#include "controls/prompts.h"

namespace qb::labels {

BarcodeKind BarcodeOverrides::kindFor(const Settings& settings, const char* section,
                                      const QString& descript, bool tableSaysBarcode) const {
    return barcode ? *barcode : savedBarcodeKind(settings, section, descript, tableSaysBarcode);
}

ImbMailer BarcodeOverrides::mailerFor(const Settings& settings) const {
    ImbMailer mailer = ImbMailer::load(settings);
    if (imbBarcodeId) mailer.barcodeId = *imbBarcodeId;
    if (imbServiceType) mailer.serviceType = *imbServiceType;
    if (imbMailerId) mailer.mailerId = *imbMailerId;
    if (imbFirstSerial) mailer.nextSerial = *imbFirstSerial;
    return mailer;
}

void finishImbRun(const ImbMailer& mailer, const BarcodeOverrides& given, const Settings& settings,
                  QWidget* parent) {
    if (given.keepsSavedSerials() && !mailer.saveNextSerial(settings))
        prompts().error(parent, QStringLiteral("The next serial number of the Intelligent Mail "
                                               "barcode could not be written to ") +
                                    settings.path());
    if (mailer.wrapped) prompts().information(parent, QString::fromLatin1(kImbSerialsWrapped));
}

}  // namespace qb::labels
