// The barcode options of the unattended runs.
#include "app/batch_barcode.h"

namespace qb::batch {

namespace {

enum { Barcode, BarcodeId, ServiceType, MailerId, Serial };

}  // namespace

const QList<QCommandLineOption>& barcodeOptions() {
    static const QList<QCommandLineOption> options{
        {QStringLiteral("barcode"),
         QStringLiteral("Prints KIND of barcode (none, postnet or imb) instead of the setup's "
                        "choice."),
         QStringLiteral("KIND")},
        {QStringLiteral("imb-barcode-id"),
         QStringLiteral("Intelligent Mail barcode identifier for this run (two digits)."),
         QStringLiteral("NN")},
        {QStringLiteral("imb-service-type"),
         QStringLiteral("Intelligent Mail service type for this run (three digits)."),
         QStringLiteral("NNN")},
        {QStringLiteral("imb-mailer-id"),
         QStringLiteral("Intelligent Mail mailer identifier for this run (six or nine digits)."),
         QStringLiteral("N")},
        {QStringLiteral("imb-serial"),
         QStringLiteral("Serial number of the first piece; later pieces count up. The saved "
                        "one is left as it is."),
         QStringLiteral("N")},
    };
    return options;
}

QString barcodeOptionsUsage() {
    return QStringLiteral(
        "[--barcode none|postnet|imb] [--imb-barcode-id NN] [--imb-service-type NNN] "
        "[--imb-mailer-id N] [--imb-serial N]");
}

QString readBarcodeOptions(const QCommandLineParser& a, labels::BarcodeOverrides& into) {
    const QList<QCommandLineOption>& o = barcodeOptions();
    if (a.isSet(o[Barcode])) {
        into.barcode = labels::barcodeKindFromWord(a.value(o[Barcode]));
        if (!into.barcode) return QStringLiteral("--barcode takes none, postnet or imb");
    }
    if (a.isSet(o[BarcodeId])) into.imbBarcodeId = a.value(o[BarcodeId]);
    if (a.isSet(o[ServiceType])) into.imbServiceType = a.value(o[ServiceType]);
    if (a.isSet(o[MailerId])) into.imbMailerId = a.value(o[MailerId]);
    if (a.isSet(o[Serial])) {
        bool ok = false;
        into.imbFirstSerial = a.value(o[Serial]).toLongLong(&ok);
        if (!ok || *into.imbFirstSerial < 0)
            return QStringLiteral("--imb-serial takes a serial number (digits)");
    }
    return {};
}

}  // namespace qb::batch
