// The address lines of a label from a contact and a setup's content choices.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "labels/label_lines.h"
#include "labels_test_util.h"
#include "store/contact_schema.h"

using namespace qb::labels;

namespace {

AddressFields sample() {
    AddressFields f;
    f.prefix = "Mr.";
    f.firstName = "John";
    f.middle = "Q";
    f.lastName = "Public";
    f.title = "Director";
    f.organisation = "Acme Inc";
    f.street = "100 Main St";
    f.city = "Springfield";
    f.state = "IL";
    f.zip = "62704";
    f.country = "USA";
    f.phone = "(217) 555-0100";
    return f;
}

struct Case {
    const char* what;
    std::function<void(AddressFields&, AddressContents&)> change;
    QStringList expected;
};

void check(const Case& c) {
    SCOPED_TRACE(c.what);
    AddressFields f = sample();
    AddressContents contents;
    c.change(f, contents);
    EXPECT_EQ(composeAddressLines(f, contents), c.expected);
}

TEST(AddressLines, NameLineJoinsItsPartsWithoutStrayBlanks) {
    const Case cases[] = {
        {"the default setup",
         [](auto&, auto&) {},
         {"Mr. John Q. Public ", "100 Main St", "Springfield  IL 62704"}},
        {"an empty prefix leaves no leading blank",
         [](auto& f, auto&) { f.prefix = ""; },
         {"John Q. Public ", "100 Main St", "Springfield  IL 62704"}},
        {"no middle initial, no full stop",
         [](auto& f, auto&) { f.middle = ""; },
         {"Mr. John Public ", "100 Main St", "Springfield  IL 62704"}},
        {"a blank middle initial counts as none",
         [](auto& f, auto&) { f.middle = " "; },
         {"Mr. John Public ", "100 Main St", "Springfield  IL 62704"}},
        {"leading blanks of the name parts go",
         [](auto& f, auto&) {
             f.prefix = "  Dr.";
             f.firstName = " Ann";
             f.lastName = "   Lee";
         },
         {"Dr. Ann Q. Lee ", "100 Main St", "Springfield  IL 62704"}},
        {"only a last name",
         [](auto& f, auto&) { f.prefix = f.firstName = f.middle = ""; },
         {"Public ", "100 Main St", "Springfield  IL 62704"}},
        {"no name at all, no name line",
         [](auto& f, auto&) { f.prefix = f.firstName = f.middle = f.lastName = ""; },
         {"100 Main St", "Springfield  IL 62704"}},
        {"name switched off",
         [](auto&, auto& c) { c.name = false; },
         {"100 Main St", "Springfield  IL 62704"}},
    };
    for (const auto& c : cases)
        check(c);
}

TEST(AddressLines, OtherLinesStandInTheirOrderAndEmptyOnesAreLeftOut) {
    const Case cases[] = {
        {"every line",
         [](auto&, auto& c) { c.title = c.company = c.phone = c.country = true; },
         {"Mr. John Q. Public ", "Director", "Acme Inc", "100 Main St", "Springfield  IL 62704",
          "USA", "(217) 555-0100"}},
        {"empty title and organisation are skipped",
         [](auto& f, auto& c) {
             c.title = c.company = true;
             f.title = f.organisation = "";
         },
         {"Mr. John Q. Public ", "100 Main St", "Springfield  IL 62704"}},
        {"the street keeps its leading blanks",
         [](auto& f, auto&) { f.street = "  Suite 5"; },
         {"Mr. John Q. Public ", "  Suite 5", "Springfield  IL 62704"}},
        {"street and city switched off",
         [](auto&, auto& c) { c.street = c.cityState = false; },
         {"Mr. John Q. Public "}},
        {"phone without a number",
         [](auto& f, auto& c) {
             c.phone = true;
             f.phone = "";
         },
         {"Mr. John Q. Public ", "100 Main St", "Springfield  IL 62704"}},
    };
    for (const auto& c : cases)
        check(c);
}

TEST(AddressLines, ZipGoesWhereItsOptionSaysAndOnlyWhereItCan) {
    auto option = [](int zipOption, bool cityState, bool country, bool zip = true) {
        return [=](AddressFields&, AddressContents& c) {
            c.name = c.street = false;
            c.zipOption = zipOption;
            c.cityState = cityState;
            c.country = country;
            c.zip = zip;
        };
    };
    const Case cases[] = {
        {"1: after the state, two blanks between city and state",
         option(1, true, false),
         {"Springfield  IL 62704"}},
        {"2: before the city", option(2, true, false), {"62704 Springfield IL "}},
        {"3 without country: city line, then the ZIP alone",
         option(3, true, false),
         {"Springfield IL", "62704"}},
        {"4 without country: the same", option(4, true, false), {"Springfield IL", "62704"}},
        {"3 with country: after the country",
         option(3, true, true),
         {"Springfield IL", "USA 62704"}},
        {"4 with country: before the country",
         option(4, true, true),
         {"Springfield IL", "62704 USA"}},
        {"1 with country: the country alone",
         option(1, true, true),
         {"Springfield  IL 62704", "USA"}},
        {"1 without city and state: no ZIP at all", option(1, false, false), {}},
        {"2 without city and state: no ZIP at all", option(2, false, true), {"USA"}},
        {"3 without city and state: ZIP alone", option(3, false, false), {"62704"}},
        {"4 without city and state, with country", option(4, false, true), {"62704 USA"}},
        {"ZIP off: city and state, country alone",
         option(3, true, true, false),
         {"Springfield IL", "USA"}},
        {"an option outside 1 to 4 places the ZIP nowhere",
         option(0, true, true),
         {"Springfield IL", "USA"}},
    };
    for (const auto& c : cases)
        check(c);
}

TEST(AddressLines, EmptyPartsOfTheCityAndCountryLines) {
    auto blank = [](std::function<void(AddressFields&)> clear, int zipOption, bool country) {
        return [=](AddressFields& f, AddressContents& c) {
            c.name = c.street = false;
            c.zipOption = zipOption;
            c.country = country;
            clear(f);
        };
    };
    const Case cases[] = {
        {"1 without city keeps the joining blank",
         blank([](auto& f) { f.city = ""; }, 1, false),
         {" IL 62704"}},
        {"1 with nothing to print adds no line",
         blank([](auto& f) { f.city = f.state = f.zip = ""; }, 1, false),
         {}},
        {"1 with only the ZIP",
         blank([](auto& f) { f.city = f.state = ""; }, 1, false),
         {" 62704"}},
        {"2 without ZIP", blank([](auto& f) { f.zip = ""; }, 2, false), {"Springfield IL "}},
        {"2 with nothing adds no line",
         blank([](auto& f) { f.city = f.state = f.zip = ""; }, 2, false),
         {}},
        {"city without state",
         blank([](auto& f) { f.state = ""; }, 3, false),
         {"Springfield ", "62704"}},
        {"leading blanks of city, state and ZIP go",
         blank(
             [](auto& f) {
                 f.city = "  Springfield";
                 f.state = " IL";
                 f.zip = "   62704";
             },
             1, false),
         {"Springfield  IL 62704"}},
        {"3 without a country name: the ZIP alone",
         blank([](auto& f) { f.country = ""; }, 3, true),
         {"Springfield IL", "62704"}},
        {"4 without a country name keeps the ZIP's blank",
         blank([](auto& f) { f.country = ""; }, 4, true),
         {"Springfield IL", "62704 "}},
        {"3 with an empty ZIP keeps the country's blank",
         blank([](auto& f) { f.zip = ""; }, 3, true),
         {"Springfield IL", "USA "}},
        {"country on but empty, ZIP placed elsewhere",
         blank([](auto& f) { f.country = ""; }, 1, true),
         {"Springfield  IL 62704"}},
    };
    for (const auto& c : cases)
        check(c);
}

TEST(AddressLines, UpperCaseTouchesOnlyAToZ) {
    AddressFields f = sample();
    f.firstName = QString::fromUtf8("José");
    f.lastName = QString::fromUtf8("Ñúñez-Müller");
    f.street = QString::fromUtf8("12 Rue de l'Église");
    f.city = QString::fromUtf8("Montréal");
    f.state = "qc";
    f.zip = "h2x 1y4";
    AddressContents c;
    c.upperCase = true;
    EXPECT_EQ(composeAddressLines(f, c),
              (QStringList{QString::fromUtf8("MR. JOSé Q. ÑúñEZ-MüLLER "),
                           QString::fromUtf8("12 RUE DE L'ÉGLISE"),
                           QString::fromUtf8("MONTRéAL  QC H2X 1Y4")}));
}

TEST(AddressLines, FieldsAreReadFromTheContactRecord) {
    QTemporaryDir dir;
    std::string path = dir.filePath("C.DBF").toStdString();
    qb::createContactTable(path);
    xb::WorkArea a;
    a.use(path);
    a.append();
    const std::pair<const char*, const char*> values[] = {
        {"PREFIX", "Ms."},        {"FNAME", "Zoë"},      {"MIDDLE", "K"},
        {"LNAME", "Lefèvre"},     {"TITLE", "Owner"},    {"ORG", "Harbor Realty"},
        {"STREET", "42 Oak Ave"}, {"CITY", "Portland"},  {"STATE", "OR"},
        {"ZIP", "97201-1234"},    {"COUNTRY", "USA"},    {"PHONE", "(503) 555-0199"},
        {"EMAIL", "not@used"},    {"NOTES", "not used"},
    };
    for (auto [field, text] : values)
        a.putText(field, text);
    a.post();

    AddressFields f = readAddressFields(a);
    AddressContents c;
    c.title = c.company = c.phone = c.country = true;
    c.zipOption = BeforeCountry;
    EXPECT_EQ(composeAddressLines(f, c),
              (QStringList{QString::fromUtf8("Ms. Zoë K. Lefèvre "), "Owner", "Harbor Realty",
                           "42 Oak Ave", "Portland OR", "97201-1234 USA", "(503) 555-0199"}));
}

}  // namespace
