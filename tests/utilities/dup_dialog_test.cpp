// The duplicate check dialog: the pairs it lists and deleting one of them.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "controls/edit_grid.h"
#include "utilities/dup_check.h"
#include "utilities_fixture.h"

using namespace qb;
using namespace qb::test;
using namespace qb::utilities;

namespace {

TEST(DupDialog, ListsPairsAndDeletesOneWithMarkAndPrefix) {
    ProgramFolder folder;
    PromptScript prompts;
    const QString path = writeContacts(folder, {person("Brown", "John"),
                                                person("Smith", "Ann"),
                                                person("BROWN", "JOHN"),
                                                {{"LNAME", "Ng"}, {"STREET", "12 Elm"}},
                                                {{"LNAME", "Ox"}, {"STREET", "12 elm"}}});
    Dataset contacts;
    contacts.open(path);
    contacts.setSelection(QString::fromLatin1(kDeletionExclusion));
    {
        TDupCheck dialog(contacts, folder.path());
        dialog.show();
        EXPECT_TRUE(dialog.AddressChars->isHidden());
        dialog.CheckitButton->click();
        EXPECT_EQ(dialog.LabelCount->text(), "Found 1 possible duplicates");
        ASSERT_EQ(dialog.ChkDupsGrid->model()->rowCount(), 2);
        prompts.script.answerYes("Delete this record?");
        dialog.DeleteButton->click();
        EXPECT_EQ(dialog.ChkDupsGrid->model()->rowCount(), 1);
        dialog.CloseButton->click();
    }
    xb::WorkArea& area = contacts.area();
    area.setDeleted(false);
    area.query("");
    area.setOrder(0);
    area.go(1);
    EXPECT_TRUE(area.deleted());
    EXPECT_EQ(area.getText("PREFIX"), "DELETED");
    EXPECT_EQ(area.checkIndexes(), "");

    Dataset again;
    contacts.close();
    again.open(path);
    again.setSelection(QString::fromLatin1(kDeletionExclusion));
    TDupCheck street(again, folder.path());
    street.show();
    street.setKind(DupKind::Street);
    EXPECT_FALSE(street.AddressChars->isHidden());
    street.CheckitButton->click();
    EXPECT_EQ(street.foundCount(), 1);
    EXPECT_EQ(street.ChkDupsGrid->horizontalHeader()->logicalIndex(0), 6);  // Street first
    prompts.verify();
}

}  // namespace
