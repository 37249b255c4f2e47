// The bulk-edit commands and dialogs: their questions, scopes and messages.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "fake_host.h"
#include "modal_guard.h"
#include "utilities/bulk_commands.h"
#include "utilities/bulk_dialogs.h"
#include "utilities_fixture.h"

using namespace qb;
using namespace qb::test;
using namespace qb::utilities;

namespace {

class BulkCommands : public ::testing::Test {
  protected:
    BulkCommands() : host(folder.path()) {
        Values soft = person("Stone", "Zed");
        soft["PREFIX"] = "DELETED";
        host.table.open(writeContacts(folder, {person("Stone", "Al", "ny"), person("Brown", "Bo"),
                                               soft, person("stone", "Cy")}));
        host.table.setSelection(QString::fromLatin1(kDeletionExclusion));
    }
    std::string text(uint32_t r, const char* f) {
        xb::WorkArea& a = host.table.area();
        a.setDeleted(false);
        a.query("");
        a.go(r);
        return a.getText(f);
    }
    ProgramFolder folder;
    PromptScript prompts;
    FakeHost host;
};

TEST_F(BulkCommands, ConvertTheCurrentRecordOnlyAndStayOnIt) {
    host.table.go(4);
    whenModal<TConvertToUpper>([&](TConvertToUpper& d) {
        d.cAll->click();
        prompts.script.acknowledge(QString::fromLatin1(kNoFieldsChecked));
        d.ConvertButton->click();
        d.fieldBoxes[0]->setChecked(true);
        d.ConvertButton->click();
    });
    CaseConversion1Click(host);
    EXPECT_EQ(host.table.recNo(), 4u);
    EXPECT_TRUE(host.eventsOn);
    EXPECT_EQ(text(4, "LNAME"), "STONE");
    EXPECT_EQ(text(1, "LNAME"), "Stone");
    prompts.verify();
}

TEST_F(BulkCommands, ReplaceAsksThenCountsOnlyChangedRecords) {
    host.filter = QStringLiteral("UPPER(LNAME)=\"STONE\"");
    whenModal<TSearchAndReplace>([&](TSearchAndReplace& d) {
        d.FindValue->setText(QStringLiteral("STONE"));
        d.CaseSensitive->setChecked(false);
        d.ReplaceValue->setText(QStringLiteral("Stone"));
        d.ReplaceFilter->setChecked(true);
        prompts.script.answerNo(
            "Find records where field LastName\rexactly matches: \"STONE\" (not case "
            "sensitive)\rand replace the entire field with \"Stone\"");
        d.Doit->click();
        prompts.script.answerYes();
        prompts.script.acknowledge("Replaced 1 records");  // the two already so are no change
        prompts.script.acknowledge("Replacement done");
        d.Doit->click();
    });
    SearchReplaceFieldValues1Click(host);
    EXPECT_EQ(text(4, "LNAME"), "Stone");
    EXPECT_EQ(text(3, "LNAME"), "Stone");
    // The host's filter is put in force again, whatever the table's selection was before.
    EXPECT_EQ(host.table.selection(),
              host.filter + QStringLiteral(".and. ") + QString::fromLatin1(kDeletionExclusion));
    prompts.verify();
}

TEST_F(BulkCommands, DeletingEverythingWithoutAChoiceIsAskedWithNoAsDefault) {
    whenModal<TDeleteRecords>([&](TDeleteRecords& d) {
        EXPECT_FALSE(d.DeleteFilter->isEnabled());
        prompts.script.answerNo("Delete 4 records?");
        prompts.script.acknowledge(QString::fromLatin1(kSpaceUsage));
        d.Doit->click();
    });
    DeleteRecords1Click(host);
    ASSERT_FALSE(prompts.script.asked().isEmpty());
    EXPECT_TRUE(prompts.script.asked()[0].defaultNo);
    EXPECT_EQ(text(1, "PREFIX"), "");

    host.filter = QStringLiteral("UPPER(LNAME)=\"STONE\"");
    host.table.setSelection(QString::fromLatin1(kDeletionExclusion));
    whenModal<TDeleteRecords>([&](TDeleteRecords& d) {
        d.DeleteNotFilter->setChecked(true);
        prompts.script.acknowledge("Deleted 1 records");
        prompts.script.acknowledge(QString::fromLatin1(kSpaceUsage));
        d.Doit->click();
    });
    DeleteRecords1Click(host);
    EXPECT_EQ(text(2, "PREFIX"), "DELETED");
    EXPECT_EQ(text(1, "PREFIX"), "");
    EXPECT_EQ(host.table.area().checkIndexes(), "");
    prompts.verify();
}

}  // namespace
