// The Copy Records Out window: what Save As refuses or asks, and a copy run from the window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "fake_host.h"
#include "fixtures.h"
#include "modal_guard.h"
#include "store/contact_file.h"
#include "store/contact_schema.h"
#include "store/csv_reader.h"
#include "utilities/copy_out_dialog.h"

namespace qb::utilities {
namespace {

TEST(CopyOutWindow, ChoosesATargetAndCopies) {
    QTemporaryDir dir;
    test::FakeHost host(dir.path() + '/');
    const QString path = dir.filePath("LIST.DBF");
    ASSERT_TRUE(CreateContactFile(path, host.table, [](const QString&) {}));
    host.table.setSelection(kDeletionExclusion);
    {
        test::PromptScript script;
        script.script.acknowledge(kNothingToCopy);
        CopyRecordsOut1Click(host);
        script.verify();
    }

    ASSERT_TRUE(host.table.insert());
    host.table.setText("LNAME", "Zoë");
    ASSERT_TRUE(host.table.post());
    const QString existing = dir.filePath("OLD.TXT");
    ASSERT_TRUE(test::writeFileBytes(existing, "old"));
    test::PromptScript script;
    script.script.answerSaveFile(dir.filePath("copy.txt"))
        .acknowledge(kMustHaveDbfExtension)
        .answerSaveFile(dir.filePath("list.dbf"))
        .acknowledge(kCopyToItself)
        .answerSaveFile(existing)
        .answerNo(overwriteQuestion(existing))
        .answerSaveFile(existing)
        .answerYes(overwriteQuestion(existing));
    test::whenModal<TCopyOut>([&](TCopyOut& w) {
        EXPECT_FALSE(w.Doit->isEnabled());
        for (int i = 0; i < 2; ++i) {
            w.SaveAsButton->click();
            EXPECT_EQ(w.FileName->text(), "(none)");
        }
        w.ToAscii->click();
        w.Encoding->setCurrentIndex(1);
        w.SaveAsButton->click();
        EXPECT_FALSE(w.Doit->isEnabled());
        w.SaveAsButton->click();
        EXPECT_TRUE(w.Doit->isEnabled());
        w.Doit->click();
    });
    CopyRecordsOut1Click(host);
    script.verify();
    EXPECT_EQ(test::fileBytes(existing).left(8), "\"\",\"\",\"\"");
    EXPECT_TRUE(test::fileBytes(existing).contains("\"Zo\xEB\""));  // Windows-1252 as chosen
    EXPECT_TRUE(host.eventsOn);
}

}  // namespace
}  // namespace qb::utilities
