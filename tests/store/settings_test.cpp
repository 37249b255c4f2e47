// The settings file: defaults for missing keys, the number rules, and hand-made content that
// must survive the program's writes.
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "store/ini_file.h"
#include "store/settings.h"

namespace qb {
namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void writeFile(const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readFile() {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    QString file = dir.path() + QStringLiteral("/QUILLB.INI");
    Settings settings{file};
};

TEST_F(SettingsTest, WithoutAFileEveryKeyHasItsDefault) {
    EXPECT_EQ(settings.read(setting::DateSeparator), QStringLiteral("/"));
    EXPECT_EQ(settings.read(setting::ShortDateFmt), QStringLiteral("mm/dd/yyyy"));
    EXPECT_EQ(settings.read(setting::DateEditMask), QStringLiteral("!99/99/9999;1;_"));
    EXPECT_FALSE(settings.read(setting::PlugDate));
    EXPECT_FALSE(settings.read(setting::CarryCountry));
    EXPECT_EQ(settings.read(setting::DefaultCountry), QString());
    EXPECT_EQ(settings.read(setting::UserReportTitle), QStringLiteral("Report for: "));
    EXPECT_EQ(settings.read(setting::DialPort), 0);
    EXPECT_EQ(settings.read(setting::EnvByNamePrinter, QStringLiteral("Default")), QString());
    EXPECT_FALSE(QFile::exists(file));  // reading never creates the file
}

TEST_F(SettingsTest, ValuesRoundTripAndTheFirstWriteCreatesTheFile) {
    EXPECT_TRUE(settings.write(setting::ShortDateFmt, QStringLiteral("dd.mm.yy")));
    EXPECT_TRUE(settings.write(setting::PlugDate, true));
    EXPECT_TRUE(settings.write(setting::CarryZip, false));
    EXPECT_TRUE(settings.write(setting::DialMethod, 1));
    EXPECT_TRUE(settings.write(setting::DefaultCountry, QStringLiteral("Österreich")));
    EXPECT_TRUE(settings.write(setting::EnvByNameOrient, 1, QStringLiteral("My Setup")));
    EXPECT_EQ(settings.read(setting::ShortDateFmt), QStringLiteral("dd.mm.yy"));
    EXPECT_TRUE(settings.read(setting::PlugDate));
    EXPECT_FALSE(settings.read(setting::CarryZip));
    EXPECT_EQ(settings.read(setting::DialMethod), 1);
    EXPECT_EQ(settings.read(setting::DefaultCountry), QStringLiteral("Österreich"));
    EXPECT_EQ(settings.read(setting::EnvByNameOrient, QStringLiteral("My Setup")), 1);
    const QByteArray bytes = readFile();
    EXPECT_TRUE(bytes.contains("[Adding]\nPlugDate=1\nCarryZip=0\n")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("ORIENTMy Setup=1"));
}

TEST_F(SettingsTest, NumbersAreDecimalOrHexadecimalAndUnreadableOnesGiveTheDefault) {
    writeFile(
        "[Dialing]\nPort=0x3\nMethod=junk\n"
        "[Adding]\nPlugDate=0x0\nCarryOrg=7\nCarryCity=\nCarryZip= 1 \nCarryState=-1\n"
        "[UserDefinedReport]\nUserReportTitle=\"  Quoted  \"\n");
    EXPECT_EQ(settings.read(setting::DialPort), 3);
    EXPECT_EQ(settings.read(setting::DialMethod), 0);
    EXPECT_FALSE(settings.read(setting::PlugDate));
    EXPECT_TRUE(settings.read(setting::CarryOrg));    // any non-zero number is true
    EXPECT_FALSE(settings.read(setting::CarryCity));  // empty: the default
    EXPECT_TRUE(settings.read(setting::CarryZip));    // blanks around the value do not count
    EXPECT_TRUE(settings.read(setting::CarryState));
    EXPECT_EQ(settings.read(setting::UserReportTitle), QStringLiteral("  Quoted  "));

    EXPECT_EQ(parseProfileInteger(QStringLiteral("0x1F")), 31);
    EXPECT_EQ(parseProfileInteger(QStringLiteral("12abc")), 12);
    EXPECT_EQ(parseProfileInteger(QStringLiteral("-40")), -40);
    EXPECT_FALSE(parseProfileInteger(QStringLiteral("0x")));  // a prefix without digits
    EXPECT_FALSE(parseProfileInteger(QStringLiteral("x12")));
    EXPECT_FALSE(parseProfileInteger(QString()));
}

TEST_F(SettingsTest, WritesKeepForeignContentCaseAndLineEnds) {
    writeFile(
        "; written by hand\r\n[date]\r\nshortdatefmt=mm/dd/yy\r\nCustom=keep me\r\n\r\n"
        "[Other]\r\nThing=1\r\n\r\n[MRU]\r\nItem1=/a/b.dbf\r\n");
    EXPECT_EQ(settings.read(setting::ShortDateFmt), QStringLiteral("mm/dd/yy"));
    ASSERT_TRUE(settings.write(setting::ShortDateFmt, QStringLiteral("dd.mm.yyyy")));
    ASSERT_TRUE(settings.write(setting::DateSeparator, QStringLiteral(".")));
    ASSERT_TRUE(settings.write(setting::MruItem, QStringLiteral("/c/d.dbf"), QStringLiteral("2")));
    EXPECT_EQ(readFile(),
              QByteArray("; written by hand\r\n[date]\r\nshortdatefmt=dd.mm.yyyy\r\n"
                         "Custom=keep me\r\nDateSeparator=.\r\n\r\n[Other]\r\nThing=1\r\n\r\n"
                         "[MRU]\r\nItem1=/a/b.dbf\r\nItem2=/c/d.dbf\r\n"));
}

TEST(IniFile, OddContentNeverBreaksReadingOrWriting) {
    IniFile ini =
        IniFile::parse(QByteArray("no section=1\n[\n=x\n[A\nk=v\n[B]]\nkey\n\xff\xfe=\x01\n"
                                  "[B]\nk=second\n"));
    EXPECT_FALSE(ini.value(QStringLiteral("B"), QStringLiteral("k")).has_value());
    EXPECT_EQ(ini.value(QStringLiteral("A"), QStringLiteral("k")), QStringLiteral("v"));
    ini.setValue(QStringLiteral("New"), QStringLiteral("Key"), QStringLiteral("line\nbreak"));
    const IniFile again = IniFile::parse(ini.bytes());
    EXPECT_EQ(again.value(QStringLiteral("new"), QStringLiteral("KEY")),
              QStringLiteral("line break"));
    EXPECT_EQ(again.value(QStringLiteral("A"), QStringLiteral("k")), QStringLiteral("v"));
    EXPECT_TRUE(ini.bytes().startsWith("no section=1\n[\n=x\n[A\nk=v\n[B]]\nkey\n\xff\xfe=\x01\n"));
    // Blanks at either end and enclosing quotes are part of what was written.
    for (const QString value : {QStringLiteral("9, "), QStringLiteral(" x"),
                                QStringLiteral("\"quoted\""), QStringLiteral("'a'")}) {
        ini.setValue(QStringLiteral("New"), QStringLiteral("Kept"), value);
        EXPECT_EQ(IniFile::parse(ini.bytes()).value(QStringLiteral("New"), QStringLiteral("Kept")),
                  value);
    }
}

TEST(IniFile, RandomBytesParseAndTakeAChangeWithoutLosingOtherKeys) {
    std::mt19937 random(20240229);
    const char alphabet[] = "[]=;#\"' \t\r\nabcAB\x01\xc3\xa9\xff";
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes;
        const int length = int(random() % 200);
        for (int i = 0; i < length; ++i)
            bytes += alphabet[random() % (sizeof(alphabet) - 1)];
        IniFile ini = IniFile::parse(bytes);
        const QStringList sections = ini.sections();
        // Whatever was readable before a change is readable after it.
        std::vector<std::pair<QString, QString>> known;
        for (const QString& section : sections) {
            for (const QString& key : ini.keys(section))
                known.emplace_back(section, key);
        }
        ini.setValue(QStringLiteral("Fuzz"), QStringLiteral("Key"), QStringLiteral("v"));
        const IniFile again = IniFile::parse(ini.bytes());
        EXPECT_EQ(again.value(QStringLiteral("Fuzz"), QStringLiteral("Key")), QStringLiteral("v"))
            << bytes.toHex().constData();
        for (const auto& [section, key] : known) {
            if (section.compare(QStringLiteral("Fuzz"), Qt::CaseInsensitive) == 0) continue;
            EXPECT_EQ(again.value(section, key), ini.value(section, key))
                << bytes.toHex().constData();
        }
    }
}

TEST_F(SettingsTest, AnOversizedFileIsNeitherReadNorOverwritten) {
    QByteArray big("[Date]\nShortDateFmt=dd.mm.yy\n");
    big += QByteArray(IniFile::kMaxBytes, ';');
    writeFile(big);
    EXPECT_EQ(settings.read(setting::ShortDateFmt), QStringLiteral("mm/dd/yyyy"));
    EXPECT_FALSE(settings.write(setting::PlugDate, true));
    EXPECT_EQ(QFile(file).size(), big.size());
}

}  // namespace
}  // namespace qb
