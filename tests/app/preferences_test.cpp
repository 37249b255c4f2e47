// The Preferences dialog: what it shows, what Save writes and in which order, and the main
// window taking the new date format up afterwards.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "app/main_page.h"
#include "app/main_window.h"
#include "app/preferences_dialog.h"
#include "app_fixture.h"
#include "store/ini_file.h"

namespace qb {
namespace {

using test::AppTest;

class PreferencesTest : public AppTest {
  protected:
    QByteArray ini() {
        QFile f(path(QStringLiteral("QUILLB.INI")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    Settings settings() { return Settings(path(QStringLiteral("QUILLB.INI"))); }
};

void choose(TPreferences& dialog, const QString& format) {
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("DateFormat"));
    const int index = combo->findText(format);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

TEST_F(PreferencesTest, WithoutSettingsTheDialogShowsTheDefaultsAndListsTwelveFormats) {
    TPreferences dialog(settings());
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("DateFormat"));
    ASSERT_EQ(combo->count(), 12);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("mm/dd/yy"));
    EXPECT_EQ(combo->itemText(11), QStringLiteral("mm-dd-yyyy"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("mm/dd/yyyy"));
    for (const char* name : {"PlugDate", "PlugCityState", "AutoDupCheck", "CarryOrg", "CarrySA1",
                             "CarryCity", "CarryState", "CarryZip", "CarryCountry"}) {
        EXPECT_FALSE(dialog.findChild<QCheckBox*>(QLatin1String(name))->isChecked()) << name;
    }
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("DefCountry"))->maxLength(), 30);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Preferences"));
    dialog.findChild<QPushButton*>(QStringLiteral("HelpButton"))->click();
    EXPECT_EQ(script.askedTexts(), QStringList{"1030"});
}

TEST_F(PreferencesTest, SaveWritesEveryKeyInItsOrderWithTheChosenFormat) {
    writeSettings("[Other]\nKeep=1\n");
    TPreferences dialog(settings());
    choose(dialog, QStringLiteral("dd.mm.yy"));
    dialog.findChild<QCheckBox*>(QStringLiteral("PlugDate"))->setChecked(true);
    dialog.findChild<QCheckBox*>(QStringLiteral("CarrySA1"))->setChecked(true);
    dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ini(), QByteArray("[Other]\nKeep=1\n\n"
                                "[Date]\nDateSeparator=.\nShortDateFmt=dd.mm.yy\n"
                                "DateEditMask=!99.99.99;1;_\n\n"
                                "[Adding]\nPlugDate=1\nPlugCityState=0\nAutoDupCheck=0\n"
                                "DefaultCountry=\nCarryOrg=0\nCarrySA1=1\nCarryCity=0\n"
                                "CarryState=0\nCarryZip=0\nCarryCountry=0\n"));
}

TEST_F(PreferencesTest, AFormatNotOfferedSelectsNothingAndIsWrittenBackUnchanged) {
    writeSettings(
        "[Date]\nDateSeparator=-\nShortDateFmt=d-m-yyyy\nDateEditMask=!99-99-9999;1;_\n"
        "[Adding]\nDefaultCountry=Canada\nCarryZip=1\n");
    TPreferences dialog(settings());
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("DateFormat"));
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_TRUE(dialog.findChild<QCheckBox*>(QStringLiteral("CarryZip"))->isChecked());
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("DefCountry"))->text(),
              QStringLiteral("Canada"));
    dialog.findChild<QLineEdit*>(QStringLiteral("DefCountry"))->clear();
    ASSERT_TRUE(dialog.SavePreferences());
    const IniFile saved = IniFile::parse(ini());
    EXPECT_EQ(saved.value(QStringLiteral("Date"), QStringLiteral("ShortDateFmt")),
              QStringLiteral("d-m-yyyy"));
    EXPECT_EQ(saved.value(QStringLiteral("Date"), QStringLiteral("DateSeparator")),
              QStringLiteral("-"));
    EXPECT_EQ(saved.value(QStringLiteral("Adding"), QStringLiteral("DefaultCountry")), QString());
}

TEST_F(PreferencesTest, TheMainWindowAppliesTheSavedFormatAndCancelWritesNothing) {
    contactFile(QStringLiteral("QUILLB1.DBF"), {{"Dated", "One", "", "19971231"}});
    TQBMMain& w = start();
    auto runDialog = [&](const std::function<void(TPreferences&)>& act) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TPreferences*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
        action("mnuPreferences")->trigger();
    };
    QPoint offCentre;
    runDialog([&](TPreferences& d) {
        offCentre = d.geometry().center() - w.geometry().center();
        // F1 asks for the dialog's own topic, as its Help button does.
        QTest::keyClick(d.findChild<QComboBox*>(QStringLiteral("DateFormat")), Qt::Key_F1);
        choose(d, QStringLiteral("yyyy.mm.dd"));
        d.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
    });
    // Centred within what a window frame, unknown before the first show, can shift.
    EXPECT_LE(offCentre.manhattanLength(), 6) << offCentre.x() << "," << offCentre.y();
    EXPECT_EQ(script.askedTexts(), QStringList{QStringLiteral("1030")});
    EXPECT_FALSE(ini().contains("[Date]"));
    EXPECT_EQ(w.mainPage()->Date->text(), QStringLiteral("12/31/1997"));

    runDialog([](TPreferences& d) {
        choose(d, QStringLiteral("dd.mm.yy"));
        d.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    });
    EXPECT_EQ(w.mainPage()->Date->text(), QStringLiteral("31.12.97"));
    EXPECT_EQ(w.mainPage()->DateFormatLabel->text(), QStringLiteral("(dd.mm.yy)"));
    EXPECT_EQ(w.blankDateText(), QStringLiteral("  .  .  "));
    EXPECT_EQ(w.mainPage()->Date->inputMask(), QStringLiteral("00.00.00;_"));
}

}  // namespace
}  // namespace qb
