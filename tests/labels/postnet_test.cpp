// POSTNET: qualifying ZIPs, delivery-point digits, check digits and the bar sequence.
#include <gtest/gtest.h>

#include "labels/postnet.h"
#include "labels_test_util.h"

using namespace qb::labels;

namespace {

TEST(Postnet, OnlyZipTextsInTheNumericRangeGetABarcode) {
    struct Case {
        const char* zip;
        bool qualifies;
    };
    const Case cases[] = {
        {"12345", true},   {"12345-6789", true}, {"123456789", true},
        {"00000", true},   {"99999-9999", true}, {"1234A", true},  // range and length only
        {"12 34", true},   {"1234", false},      {"123", false},
        {"", false},       {"0000 ", false},     {"99999-99999", false},
        {"99999A", false}, {"M5V 2T6", false},   {"SW1A 1AA", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(zipQualifiesForBarcode(c.zip), c.qualifies) << c.zip;
}

TEST(Postnet, DeliveryPointIsTheLastNumberGroupThatIsNotAStreetName) {
    struct Case {
        const char* street;
        const char* digits;
    };
    // clang-format off
    const Case cases[] = {
        {"100 MAIN ST", "00"}, {"123 MAIN ST", "23"}, {"123 main st", "23"}, {"ROUTE 66", "66"},
        {"PO BOX 12345", "45"}, {"1600 PENNSYLVANIA AVE NW", "00"}, {"12-34 MAIN", "34"},
        {"123 MAIN ST APT 4", "04"}, {"5", "05"},  // a single digit gets a tens digit 0
        {"42ND ST", "99"}, {"42nd st", "99"}, {"5TH AVE", "99"}, {"1ST ST", "99"},  // ordinals
        {"10 E 42ND ST", "10"},      // the house number in front of the ordinal
        {"123 FIRST ST", "23"},      // ST inside a word touches no digits
        {"123 1/2 ELM", "23"}, {"1/2", "99"},  // a fraction: the number in front of it
        {"12 A5", "05"}, {"12A5", "05"}, {"123 MAIN 7B", "07"},  // a letter ends a number
        {"", "99"}, {"MAIN ST", "99"},
        {"PSC 1234 BOX 5678 APO AE 09001", "99"}, {"UNIT 7 FPO AP", "99"},  // military
        {"12 RAPOSA RD", "99"}, {"3 Fpointe Ct", "99"},  // APO or FPO anywhere
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(deliveryPointDigits(c.street), QString(c.digits)) << c.street;
}

TEST(Postnet, OnlyTheFullZipPlusFourFormCarriesADeliveryPoint) {
    struct Case {
        const char* zip;
        const char* street;
        const char* text;
    };
    const Case cases[] = {
        {"12345-6789", "100 MAIN ST", "12345-678900"},
        {"12345-6789", "MAIN ST", "12345-678999"},
        {"12345-6789", "PSC 2 APO AE", "12345-678999"},
        {"123456789", "100 MAIN ST", "123456789"},  // nine characters: no delivery point
        {"12345", "100 MAIN ST", "12345"},
        {"1234A", "7 ELM", "1234A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(barcodeText(c.zip, c.street), QString(c.text)) << c.zip;
}

TEST(Postnet, CheckDigitBringsTheSumToAMultipleOfTen) {
    struct Case {
        const char* text;
        std::vector<int> digits;  // with the check digit last
    };
    const Case cases[] = {
        {"12345", {1, 2, 3, 4, 5, 5}},                           // sum 15
        {"12345-678900", {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 5}},  // sum 45
        {"55555-1237", {5, 5, 5, 5, 5, 1, 2, 3, 7, 2}},          // sum 38
        {"1234A", {1, 2, 3, 4, 0}},                              // letters are dropped
        {"00000", {0, 0, 0, 0, 0, 0}},
        {"99999-999999", {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 1}},  // sum 99
        {"12 34", {1, 2, 3, 4, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(barcodeDigits(c.text), c.digits);
        EXPECT_EQ(checkDigit(c.text), c.digits.back());
    }
}

TEST(Postnet, EachDigitIsFiveBarsTwoOfThemTallBetweenTallFrameBars) {
    const char* patterns[] = {"TTsss", "sssTT", "ssTsT", "ssTTs", "sTssT",
                              "sTsTs", "sTTss", "TsssT", "TssTs", "TsTss"};
    for (int d = 0; d <= 9; ++d) {
        SCOPED_TRACE(d);
        std::vector<bool> expected = {true};
        for (const char* p = patterns[d]; *p; ++p)
            expected.push_back(*p == 'T');
        expected.push_back(true);
        EXPECT_EQ(postnetBars({d}), expected);
    }
    // Bars of several digits follow one another with a single frame bar at each end.
    std::vector<bool> two = postnetBars({1, 0});
    EXPECT_EQ(two, (std::vector<bool>{true, false, false, false, true, true, true, true, false,
                                      false, false, true}));
    EXPECT_EQ(postnetBars({}), (std::vector<bool>{true, true}));
}

}  // namespace
