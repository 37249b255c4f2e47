// The main window's Dial button: the dialer opens with the current contact's phone number.
#include <QLineEdit>

#include "app_fixture.h"
#include "dialer/dialer_dialog.h"
#include "modal_guard.h"

namespace qb {
namespace {

using DialButton = test::AppTest;

TEST_F(DialButton, OpensTheDialerWithTheContactsPhoneWithoutTrailingBlanks) {
    const QString file = contactFile(QStringLiteral("PEOPLE.DBF"), {{"Adams", "Ann"}});
    {
        xb::WorkArea a;
        a.use(file.toStdString());
        a.first();
        a.putText("PHONE", "555-0100");
        a.post();
    }
    writeSettings("[MRU]\r\nItem1=" + file.toUtf8() + "\r\n");
    start();
    QString shown;
    test::whenModal<dialer::TQBDialer>([&](dialer::TQBDialer& d) {
        shown = d.findChild<QLineEdit*>(QStringLiteral("Number"))->text();
        d.reject();
    });
    button("DialButton")->click();
    EXPECT_EQ(shown, QStringLiteral("555-0100"));
}

}  // namespace
}  // namespace qb
