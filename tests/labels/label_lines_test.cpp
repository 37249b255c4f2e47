// The address lines of a label from a contact and a setup's content choices.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "labels/label_lines.h"
#include "labels_test_util.h"
#include "store/contact_schema.h"

using namespace qb::labels;

namespace {

using Field = QString AddressFields::*;
using F = AddressFields;

struct Case {
    const char* what;
    AddressContents contents;
    std::vector<std::pair<Field, const char*>> fields;  // changes to the sample contact
    QStringList expected;
};

void check(const std::vector<Case>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AddressFields f{"Mr.",         "John",        "Q",  "Public", "Director", "Acme Inc",
                        "100 Main St", "Springfield", "IL", "62704",  "USA",      "(217) 555-0100"};
        for (auto [field, text] : c.fields)
            f.*field = QString::fromUtf8(text);
        EXPECT_EQ(composeAddressLines(f, c.contents), c.expected);
    }
}

// Only the city and country lines, to look at the ZIP's place.
AddressContents place(int zipOption, bool country, bool cityState = true, bool zip = true) {
    AddressContents c;
    c.name = c.street = false;
    c.zipOption = zipOption;
    c.country = country;
    c.cityState = cityState;
    c.zip = zip;
    return c;
}

// clang-format off
TEST(AddressLines, NameLineJoinsItsPartsWithoutStrayBlanks) {
    const QStringList rest = {"100 Main St", "Springfield  IL 62704"};
    check({
        {"the default setup", {}, {}, QStringList{"Mr. John Q. Public "} + rest},
        {"an empty prefix leaves no leading blank", {}, {{&F::prefix, ""}},
         QStringList{"John Q. Public "} + rest},
        {"no middle initial, no full stop", {}, {{&F::middle, ""}},
         QStringList{"Mr. John Public "} + rest},
        {"a blank middle initial counts as none", {}, {{&F::middle, " "}},
         QStringList{"Mr. John Public "} + rest},
        {"leading blanks of the parts go", {},
         {{&F::prefix, "  Dr."}, {&F::firstName, " Ann"}, {&F::lastName, "   Lee"}},
         QStringList{"Dr. Ann Q. Lee "} + rest},
        {"only a last name", {}, {{&F::prefix, ""}, {&F::firstName, ""}, {&F::middle, ""}},
         QStringList{"Public "} + rest},
        {"no name at all, no name line", {},
         {{&F::prefix, ""}, {&F::firstName, ""}, {&F::middle, ""}, {&F::lastName, ""}}, rest},
    });
}

TEST(AddressLines, LinesStandInTheirOrderAndEmptyOnesAreLeftOut) {
    AddressContents all;
    all.title = all.company = all.phone = all.country = true;
    AddressContents none;
    none.name = none.street = none.cityState = false;
    check({
        {"every line", all, {},
         {"Mr. John Q. Public ", "Director", "Acme Inc", "100 Main St", "Springfield  IL 62704",
          "USA", "(217) 555-0100"}},
        {"empty fields are skipped", all,
         {{&F::title, ""}, {&F::organisation, ""}, {&F::country, ""}, {&F::phone, ""}},
         {"Mr. John Q. Public ", "100 Main St", "Springfield  IL 62704"}},
        {"the street keeps its leading blanks", {}, {{&F::street, "  Suite 5"}},
         {"Mr. John Q. Public ", "  Suite 5", "Springfield  IL 62704"}},
        {"nothing chosen", none, {}, {}},
    });
}

TEST(AddressLines, ZipGoesWhereItsOptionSaysAndOnlyWhereItCan) {
    check({
        {"1: after the state, two blanks between city and state", place(1, false), {},
         {"Springfield  IL 62704"}},
        {"2: before the city", place(2, false), {}, {"62704 Springfield IL "}},
        {"3 without country: the ZIP alone", place(3, false), {}, {"Springfield IL", "62704"}},
        {"4 without country: the same", place(4, false), {}, {"Springfield IL", "62704"}},
        {"3: after the country", place(3, true), {}, {"Springfield IL", "USA 62704"}},
        {"4: before the country", place(4, true), {}, {"Springfield IL", "62704 USA"}},
        {"1 with country: the country alone", place(1, true), {},
         {"Springfield  IL 62704", "USA"}},
        {"1 without city and state: no ZIP at all", place(1, false, false), {}, {}},
        {"2 without city and state: no ZIP at all", place(2, true, false), {}, {"USA"}},
        {"3 without city and state: the ZIP alone", place(3, false, false), {}, {"62704"}},
        {"4 without city and state", place(4, true, false), {}, {"62704 USA"}},
        {"ZIP off", place(3, true, true, false), {}, {"Springfield IL", "USA"}},
        {"an option outside 1 to 4 places it nowhere", place(0, true), {},
         {"Springfield IL", "USA"}},
    });
}

TEST(AddressLines, EmptyPartsOfTheCityAndCountryLines) {
    check({
        {"1 without city keeps the joining blank", place(1, false), {{&F::city, ""}},
         {" IL 62704"}},
        {"1 with only the ZIP", place(1, false), {{&F::city, ""}, {&F::state, ""}}, {" 62704"}},
        {"1 with nothing adds no line", place(1, false),
         {{&F::city, ""}, {&F::state, ""}, {&F::zip, ""}}, {}},
        {"2 without ZIP", place(2, false), {{&F::zip, ""}}, {"Springfield IL "}},
        {"city without state", place(3, false), {{&F::state, ""}}, {"Springfield ", "62704"}},
        {"leading blanks of city, state and ZIP go", place(1, false),
         {{&F::city, "  Springfield"}, {&F::state, " IL"}, {&F::zip, "   62704"}},
         {"Springfield  IL 62704"}},
        {"4 with an empty country keeps the ZIP's blank", place(4, true), {{&F::country, ""}},
         {"Springfield IL", "62704 "}},
        {"3 with an empty ZIP keeps the country's blank", place(3, true), {{&F::zip, ""}},
         {"Springfield IL", "USA "}},
    });
}

TEST(AddressLines, UpperCaseTakesEveryCapitalTheCodePageHas) {
    AddressContents upper;
    upper.upperCase = true;
    check({
        {"accented letters have capitals in the file's page", upper,
         {{&F::firstName, "José"}, {&F::lastName, "Ñúñez-Müller"},
          {&F::street, "12 Rue de l'Église ÿ ß"}, {&F::city, "Montréal"}, {&F::state, "qc"},
          {&F::zip, "h2x 1y4"}},
         {"MR. JOSÉ Q. ÑÚÑEZ-MÜLLER ", "12 RUE DE L'ÉGLISE Ÿ ß", "MONTRÉAL  QC H2X 1Y4"}},
    });
    // A page without a capital for a letter leaves it small.
    AddressFields f;
    f.lastName = QStringLiteral("Núñez");
    upper.name = true;
    EXPECT_EQ(composeAddressLines(f, upper, xb::CodePage::get(xb::CodePageId::Cp437)),
              QStringList{QStringLiteral("NúÑEZ ")});
}
// clang-format on

TEST(AddressLines, FieldsAreReadFromTheContactRecord) {
    QTemporaryDir dir;
    std::string path = dir.filePath("C.DBF").toStdString();
    qb::createContactTable(path);
    xb::WorkArea a;
    a.use(path);
    a.append();
    const std::pair<const char*, const char*> values[] = {
        {"PREFIX", "Ms."},        {"FNAME", "Zoë"},     {"MIDDLE", "K"},
        {"LNAME", "Lefèvre"},     {"TITLE", "Owner"},   {"ORG", "Harbor Realty"},
        {"STREET", "42 Oak Ave"}, {"CITY", "Portland"}, {"STATE", "OR"},
        {"ZIP", "97201-1234"},    {"COUNTRY", "USA"},   {"PHONE", "(503) 555-0199"},
        {"EMAIL", "not@used"},
    };
    for (auto [field, text] : values)
        a.putText(field, text);
    a.post();

    AddressContents c;
    c.title = c.company = c.phone = c.country = true;
    c.zipOption = BeforeCountry;
    EXPECT_EQ(composeAddressLines(readAddressFields(a), c),
              (QStringList{"Ms. Zoë K. Lefèvre ", "Owner", "Harbor Realty", "42 Oak Ave",
                           "Portland OR", "97201-1234 USA", "(503) 555-0199"}));
}

}  // namespace
