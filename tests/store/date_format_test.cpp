// Dates in each of the offered formats: shown, read back, and the date box's mask.
#include <gtest/gtest.h>
#include <QDate>

#include "store/date_format.h"

namespace qb {
namespace {

struct Offered {
    const char* picture;
    char separator;
    const char* mask;
    const char* shown;  // 31 December 1997
};

// The twelve choices of the Preferences dialog.
const Offered kFormats[] = {
    {"mm/dd/yy", '/', "!99/99/99;1;", "12/31/97"},
    {"mm/dd/yyyy", '/', "!99/99/9999;1;_", "12/31/1997"},
    {"dd/mm/yy", '/', "!99/99/99;1;_", "31/12/97"},
    {"dd/mm/yyyy", '/', "!99/99/9999;1;_", "31/12/1997"},
    {"dd.mm.yy", '.', "!99.99.99;1;_", "31.12.97"},
    {"dd.mm.yyyy", '.', "!99.99.9999;1;_", "31.12.1997"},
    {"yy.mm.dd", '.', "!99.99.99;1;_", "97.12.31"},
    {"yyyy.mm.dd", '.', "!9999.99.99;1;_", "1997.12.31"},
    {"yy/mm/dd", '/', "!99/99/99;1;_", "97/12/31"},
    {"yyyy/mm/dd", '/', "!9999/99/99;1;_", "1997/12/31"},
    {"mm-dd-yy", '-', "!99-99-99;1;_", "12-31-97"},
    {"mm-dd-yyyy", '-', "!99-99-9999;1;_", "12-31-1997"},
};

DateFormat formatOf(const Offered& o) {
    return DateFormat{QChar(o.separator), QString::fromLatin1(o.picture),
                      QString::fromLatin1(o.mask)};
}

TEST(DateFormat, EachOfferedFormatShowsAndReadsBackTheSameDate) {
    const xb::Jdn newYearsEve = xb::jdnFromYmd(1997, 12, 31);
    const xb::Jdn leapDay = xb::jdnFromYmd(2024, 2, 29);
    for (const Offered& o : kFormats) {
        const DateFormat f = formatOf(o);
        EXPECT_EQ(formatDate(newYearsEve, f), QLatin1String(o.shown)) << o.picture;
        EXPECT_EQ(parseDate(QLatin1String(o.shown), f), newYearsEve) << o.picture;
        EXPECT_EQ(parseDate(formatDate(leapDay, f), f), leapDay) << o.picture;
        EXPECT_EQ(formatDate(xb::kEmptyDate, f), QString());
        EXPECT_EQ(parseDate(blankDateText(f.editMask), f), xb::kEmptyDate) << o.picture;
    }
}

TEST(DateFormat, ReadingFollowsTheFormatsOrderAndRejectsWhatIsNoDate) {
    const DateFormat dots = formatOf(kFormats[4]);
    const DateFormat us = formatOf(kFormats[1]);
    EXPECT_EQ(parseDate(QStringLiteral("31.12.97"), dots), xb::jdnFromYmd(1997, 12, 31));
    EXPECT_EQ(parseDate(QStringLiteral(" 1. 2.2003"), dots), xb::jdnFromYmd(2003, 2, 1));
    EXPECT_EQ(parseDate(QStringLiteral("01/02/2003"), us), xb::jdnFromYmd(2003, 1, 2));
    EXPECT_FALSE(parseDate(QStringLiteral("31/12/97"), us));  // month 31
    EXPECT_FALSE(parseDate(QStringLiteral("31.12.97"), us));  // wrong separator
    EXPECT_FALSE(parseDate(QStringLiteral("29.02.2023"), dots));
    EXPECT_FALSE(parseDate(QStringLiteral("12.31"), dots));
    EXPECT_FALSE(parseDate(QStringLiteral("1.2.3.4"), dots));
    EXPECT_FALSE(parseDate(QStringLiteral("a.b.c"), dots));
    EXPECT_FALSE(parseDate(QStringLiteral("  .12.97"), dots));
    // Two numbers: this year.
    EXPECT_EQ(parseDate(QStringLiteral("5.6"), dots),
              xb::jdnFromYmd(QDate::currentDate().year(), 6, 5));
    // Two-digit years stay within fifty years of today.
    const int year = QDate::currentDate().year();
    const int ahead = (year + 10) % 100;
    const int behind = (year - 60) % 100;
    const auto d1 = parseDate(QStringLiteral("1.1.%1").arg(ahead, 2, 10, QLatin1Char('0')), dots);
    const auto d2 = parseDate(QStringLiteral("1.1.%1").arg(behind, 2, 10, QLatin1Char('0')), dots);
    ASSERT_TRUE(d1 && d2);
    EXPECT_EQ(*d1, xb::jdnFromYmd(year + 10, 1, 1));
    EXPECT_EQ(*d2, xb::jdnFromYmd(year + 40, 1, 1));
    // Four digits are taken as written.
    EXPECT_EQ(parseDate(QStringLiteral("1.1.0097"), dots), xb::jdnFromYmd(97, 1, 1));
}

TEST(DateFormat, PicturesMayUseNamesAndTheSeparatorStandsForSlash) {
    const xb::Jdn d = xb::jdnFromYmd(2001, 3, 4);  // a Sunday
    EXPECT_EQ(formatDate(d, DateFormat{u'-', QStringLiteral("d/m/yy"), {}}),
              QStringLiteral("4-3-01"));
    EXPECT_EQ(formatDate(d, DateFormat{u'/', QStringLiteral("dddd, mmmm d, yyyy"), {}}),
              QStringLiteral("Sunday, March 4, 2001"));
    EXPECT_EQ(formatDate(d, DateFormat{u'/', QStringLiteral("ddd mmm"), {}}),
              QStringLiteral("Sun Mar"));
}

TEST(DateFormat, EditMasksBecomeInputMasksAndBlankTexts) {
    EXPECT_EQ(qtInputMask(QStringLiteral("!99/99/9999;1;_")), QStringLiteral("00/00/0000;_"));
    EXPECT_EQ(qtInputMask(QStringLiteral("!99.99.99;1;_")), QStringLiteral("00.00.00;_"));
    EXPECT_EQ(qtInputMask(QStringLiteral("!99/99/99;1;")), QStringLiteral("00/00/00; "));
    EXPECT_EQ(qtInputMask(QStringLiteral("00-A")), QStringLiteral("99-\\A; "));
    EXPECT_EQ(blankDateText(QStringLiteral("!99/99/9999;1;_")), QStringLiteral("  /  /    "));
    EXPECT_EQ(blankDateText(QStringLiteral("!9999.99.99;1;_")), QStringLiteral("    .  .  "));
    EXPECT_EQ(blankDateText(QStringLiteral("99/99/99;1;_")), QString());
    EXPECT_EQ(maskBlankChar(QStringLiteral("!99/99/99;1;")), QChar(u' '));
    EXPECT_EQ(maskBlankChar(QStringLiteral("!99/99/99;1;*")), QChar(u'*'));
}

}  // namespace
}  // namespace qb
