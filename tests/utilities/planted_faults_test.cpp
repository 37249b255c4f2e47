// Larger files with planted faults: the checks find exactly those, and the dialogs say so.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "controls/edit_grid.h"
#include "utilities/dup_check.h"
#include "utilities/state_zip_check.h"
#include "utilities_fixture.h"

using namespace qb;
using namespace qb::test;
using namespace qb::utilities;

namespace {

std::string numbered(const char* stem, int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%05d", stem, n);
    return buf;
}

TEST(PlantedFaults, ThirtySevenStateAndZipFaultsInAThousand) {
    ProgramFolder folder;
    std::vector<Values> records;
    int planted = 0;
    for (int i = 0; i < 1000; ++i) {
        Values v = person(numbered("Last", i), "F", "NY", std::to_string(10000 + i));
        if (i % 27 == 5 && planted < 37) {
            // Every kind of fault in turn.
            static const char* const faults[][2] = {
                {"NY", "00499"}, {"NY", "15000"}, {"N", "12000"},      {"ny", "12000"},
                {"QQ", "12000"}, {"NY", "0049"},  {"NY", "15000-0001"}};
            const auto& f = faults[planted % 7];
            v["STATE"] = f[0];
            v["ZIP"] = f[1];
            ++planted;
        } else if (i % 50 == 7) {
            v["ZIP"] = "14999-1234";  // the top of the range is inside it
        } else if (i % 50 == 9) {
            v["ZIP"] = "";  // blanks are not asked for
        } else if (i % 100 == 11) {
            v["STATE"] = "ZZ";  // a fault, but soft-deleted or marked
            v[i % 200 == 11 ? "PREFIX" : "*MARK"] = "Deleted";
        }
        records.push_back(v);
    }
    ASSERT_EQ(planted, 37);
    const QString path = writeContacts(folder, records);
    Dataset contacts;
    contacts.open(path);
    contacts.setSelection(QString::fromLatin1(kDeletionExclusion));
    TStateZipCheck dialog(contacts, folder.path());
    dialog.show();
    dialog.CheckitButton->click();
    EXPECT_EQ(dialog.LabelCount->text(), "Found 37 records with questionable state or zipcodes");
    EXPECT_EQ(dialog.ResultGrid->model()->rowCount(), 37);
}

TEST(PlantedFaults, AHundredAndTwentyDuplicatePairsInTenThousand) {
    ProgramFolder folder;
    std::vector<Values> records;
    for (int i = 0; i < 10000; ++i) {
        Values v = person(numbered("Name", i), numbered("First", i));
        if (i % 100 == 50) {
            v["*MARK"] = "1";  // marked copies of a neighbour never pair
            v["LNAME"] = numbered("Name", i - 1);
            v["FNAME"] = numbered("First", i - 1);
        }
        records.push_back(v);
    }
    for (int p = 0; p < 120; ++p) {
        const int i = p * 80 + 3;  // never one of the marked copies
        Values copy = person(numbered("NAME", i), numbered("FIRST", i));
        records.push_back(copy);
    }
    const QString path = writeContacts(folder, records);
    Dataset contacts;
    contacts.open(path);
    contacts.setSelection(QString::fromLatin1(kDeletionExclusion));
    TDupCheck dialog(contacts, folder.path());
    dialog.show();
    dialog.CheckitButton->click();
    EXPECT_EQ(dialog.LabelCount->text(), "Found 120 possible duplicates");
    EXPECT_EQ(dialog.ChkDupsGrid->model()->rowCount(), 240);
}

}  // namespace
