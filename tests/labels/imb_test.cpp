// The Intelligent Mail barcode's encoding against the postal service's published examples,
// its frame check, every refusal, and the routing code a contact's ZIP gives.
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "fixtures.h"
#include "labels/imb.h"
#include "labels/imb_mailer.h"
#include "labels/imb_mailer_dialog.h"

namespace qb::labels {
namespace {

const QString kTracking = QStringLiteral("01234567094987654321");

TEST(Imb, ThePublishedExamplesGiveThePublishedBars) {
    EXPECT_EQ(imbBars(kTracking, QString()),
              QStringLiteral("ATTFATTDTTADTAATTDTDTATTDAFDDFADFDFTFFFFFTATFAAAATDFFTDAADFTFDTDT"));
    EXPECT_EQ(imbBars(kTracking, QStringLiteral("01234")),
              QStringLiteral("DTTAFADDTTFTDTFTFDTDDADADAFADFATDDFTAAAFDTTADFAAATDFDTDFADDDTDFFT"));
    EXPECT_EQ(imbBars(kTracking, QStringLiteral("012345678")),
              QStringLiteral("ADFTTAFDTTTTFATTADTAAATFTFTATDAAAFDDADATATDTDTTDFDTDATADADTDFFTFA"));
    EXPECT_EQ(imbBars(kTracking, QStringLiteral("01234567891")),
              QStringLiteral("AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA"));
}

TEST(Imb, TheFrameCheckCoversEveryBitOfTheValue) {
    EXPECT_EQ(imbFrameCheck(kTracking, QStringLiteral("01234567891")), 0x751u);
    // Worked out by polynomial division of the 102-bit value 0x9F948FAE7CF0468CF7927701.
    EXPECT_EQ(imbFrameCheck(QStringLiteral("00040123456200800001"), QStringLiteral("987654321")),
              0x4A8u);
}

TEST(Imb, EveryFieldIsCheckedWithItsOwnMessage) {
    const ImbTracking good{QStringLiteral("00"), QStringLiteral("040"), QStringLiteral("123456"),
                           QStringLiteral("200800001")};
    EXPECT_EQ(imbRefusal(good, QStringLiteral("987654321")), QString());
    EXPECT_EQ(imbRefusal({QStringLiteral("01"), QStringLiteral("040"), QStringLiteral("912345678"),
                          QStringLiteral("000001")},
                         QString()),
              QString());

    auto with = [&](auto change) {
        ImbTracking t = good;
        change(t);
        return imbRefusal(t, QString());
    };
    const QString id =
        QStringLiteral("The barcode identifier must be two digits, the second 0 to 4");
    EXPECT_EQ(with([](ImbTracking& t) { t.barcodeId = QStringLiteral("05"); }), id);
    EXPECT_EQ(with([](ImbTracking& t) { t.barcodeId = QStringLiteral("1"); }), id);
    EXPECT_EQ(with([](ImbTracking& t) { t.serviceType = QStringLiteral("04a"); }),
              QStringLiteral("The service type must be three digits"));
    const QString mailer =
        QStringLiteral("The mailer identifier must be six digits, or nine digits starting with 9");
    EXPECT_EQ(with([](ImbTracking& t) { t.mailerId = QStringLiteral("812345678"); }), mailer);
    EXPECT_EQ(with([](ImbTracking& t) { t.mailerId = QStringLiteral("1234567"); }), mailer);
    EXPECT_EQ(with([](ImbTracking& t) { t.serial = QStringLiteral("20080001"); }),
              QStringLiteral("The serial number must be 9 digits with a 6-digit mailer "
                             "identifier, so that the tracking code has twenty"));
    EXPECT_EQ(with([](ImbTracking& t) {
                  t.mailerId = QStringLiteral("912345678");
                  t.serial = QStringLiteral("200800001");
              }),
              QStringLiteral("The serial number must be 6 digits with a 9-digit mailer "
                             "identifier, so that the tracking code has twenty"));
    for (const char* routing : {"1234", "123456", "1234567890", "12345-6789"})
        EXPECT_EQ(imbRefusal(good, QLatin1String(routing)),
                  QStringLiteral("The routing code must be empty or 5, 9 or 11 digits"))
            << routing;
    EXPECT_EQ(imbBars(kTracking, QStringLiteral("1234")), QString());
    EXPECT_EQ(imbBars(QStringLiteral("05234567094987654321"), QString()), QString());
}

TEST(Imb, TheRoutingCodeIsWhatPostnetWouldCarry) {
    EXPECT_EQ(imbRoutingCode(QStringLiteral("12345"), QStringLiteral("10 Main St")),
              QStringLiteral("12345"));
    EXPECT_EQ(imbRoutingCode(QStringLiteral("12345-6789"), QStringLiteral("1234 Main St")),
              QStringLiteral("12345678934"));
    EXPECT_EQ(imbRoutingCode(QStringLiteral("K1A 0B1"), QStringLiteral("1 Main St")), QString());
}

TEST(ImbMailer, SerialNumbersCountUpAndStartAgainPastTheLast) {
    ImbMailer m;
    m.mailerId = QStringLiteral("912345678");  // six-digit serial numbers
    m.nextSerial = 999998;
    EXPECT_EQ(m.take().code(), QStringLiteral("00040912345678999998"));
    EXPECT_FALSE(m.wrapped);
    EXPECT_EQ(m.take().serial, QStringLiteral("999999"));
    EXPECT_TRUE(m.wrapped);
    EXPECT_EQ(m.take().serial, QStringLiteral("000000"));
}

TEST(ImbMailer, TheEditorSavesOnlyValuesThatMakeATrackingCode) {
    QTemporaryDir dir;
    const Settings settings(dir.filePath(QStringLiteral("QUILLB.INI")));
    test::PromptScript prompts;
    TImbMailerDialog editor(settings);
    editor.findChild<QLineEdit*>(QStringLiteral("MailerId"))->setText(QStringLiteral("12345"));
    prompts.script.acknowledge(
        QStringLiteral("The mailer identifier must be six digits, or nine digits starting with 9"));
    editor.SaveButtonClick();
    EXPECT_FALSE(QFile::exists(settings.path()));
    editor.findChild<QLineEdit*>(QStringLiteral("MailerId"))->setText(QStringLiteral("123456"));
    editor.findChild<QLineEdit*>(QStringLiteral("NextSerial"))->setText(QStringLiteral("77"));
    editor.SaveButtonClick();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    const ImbMailer saved = ImbMailer::load(settings);
    EXPECT_EQ(saved.mailerId, QStringLiteral("123456"));
    EXPECT_EQ(saved.nextSerial, 77);
    EXPECT_EQ(saved.barcodeId, QStringLiteral("00"));
    prompts.verify();
}

}  // namespace
}  // namespace qb::labels
