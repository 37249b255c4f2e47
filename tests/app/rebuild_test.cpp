// Rebuild Indexes from the File menu: the dialog, the contact file packed and its tags
// rebuilt after its index file was lost, the program's tables rebuilt with one of them
// missing, and last-name order afterwards.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "app/reindex_dialog.h"
#include "records_fixture.h"
#include "store/contact_file.h"
#include "store/contact_rebuild.h"
#include "xbase/file.h"

namespace qb {
namespace {

using test::Rec;

class RebuildTest : public test::RecordsTest {
  protected:
    bool exists(const char* name) { return QFile::exists(path(QLatin1String(name))); }
};

TEST_F(RebuildTest, PacksTheFileRebuildsEveryTagAndTheTablesThatAreThereAndShowsLastNames) {
    const QString file = fileWith({{{{"LNAME", "Zorn"}}},
                                   {{{"LNAME", "Gone"}, {"PREFIX", "DELETED"}}, true},
                                   {{{"LNAME", "Adams"}, {"MEMO", "kept"}}},
                                   {{{"LNAME", "Marked"}}, true},
                                   {{{"LNAME", "Soft"}, {"PREFIX", "DELETED"}}}});
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("QUILLB1.CDX"))));
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("QBMENVS.DBF"))));
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("QBMLSU.CDX"))));
    ASSERT_FALSE(exists("QBMLTRS.DBF"));
    script.acknowledge(missingIndexMessage(file));
    TQBMMain& w = start();
    ASSERT_EQ(table().area().orderCount(), 0);

    QString caption;
    bool gaugeHiddenAtFirst = false, cancelShown = false;
    QString lastStatus;
    whenModal<TQBReindex>([&](TQBReindex& d) {
        caption = d.windowTitle();
        gaugeHiddenAtFirst = d.Gauge->isHidden();
        cancelShown = !d.Cancelbutton->isHidden() && d.Doit->isEnabled();
        d.Doit->click();
        lastStatus = d.WhatAmIDoing->text();
    });
    action("mnuRebuildIndexes")->trigger();
    EXPECT_EQ(caption, QStringLiteral("Rebuild indexes for QUILLB1.DBF"));
    EXPECT_TRUE(gaugeHiddenAtFirst);
    EXPECT_TRUE(cancelShown);
    EXPECT_EQ(lastStatus, QStringLiteral("Rebuilding Envelope Setup File indexes"));

    // Marked records are gone; the soft-deleted one stays on file but out of view.
    EXPECT_EQ(table().recCount(), 3u);
    EXPECT_EQ(visible(), 2u);
    const xb::WorkArea& area = table().area();
    ASSERT_EQ(area.orderCount(), 21);
    EXPECT_EQ(table().area().indexProblem(), "");
    EXPECT_EQ(w.currentOrder(), QStringLiteral("LNAME"));
    EXPECT_EQ(table().orderTag(), QStringLiteral("LNAME"));
    EXPECT_TRUE(action("mnuOrderLastName")->isChecked());
    ASSERT_TRUE(table().first());
    EXPECT_EQ(field("LNAME"), QStringLiteral("Adams"));
    EXPECT_EQ(table().memo(QStringLiteral("MEMO")), QStringLiteral("kept"));
    EXPECT_FALSE(table().controlsDisabled());
    EXPECT_EQ(table().area().checkIndexes(), "");

    // The tables on hand have their one tag again; the missing ones are still missing.
    EXPECT_FALSE(exists("QBMENVS.DBF"));
    EXPECT_FALSE(exists("QBMLTRS.DBF"));
    for (const ProgramTableIndex& t : programTableIndexes()) {
        const std::string p = path(QLatin1String(t.fileName)).toStdString();
        if (!xb::fileExists(p)) continue;
        xb::WorkArea a;
        a.use(p, xb::UseMode::ReadOnly);
        ASSERT_EQ(a.orderCount(), 1) << t.fileName;
        EXPECT_EQ(a.tagName(1), t.tag);
        EXPECT_EQ(a.orderKey(1), t.key);
        EXPECT_EQ(a.checkIndexes(), "");
    }
}

TEST_F(RebuildTest, CancelChangesNothingAndWithoutAFileTheCommandOnlySaysSo) {
    fileWith({{{{"LNAME", "Adams"}}}, {{{"LNAME", "Marked"}}, true}});
    TQBMMain& w = start();
    action("mnuOrderCity")->trigger();
    whenModal<TQBReindex>([](TQBReindex& d) {
        d.HelpButton->click();
        d.Cancelbutton->click();
    });
    action("mnuRebuildIndexes")->trigger();
    EXPECT_EQ(script.askedTexts(), QStringList{"1039"});
    EXPECT_EQ(table().recCount(), 2u);

    w.OnOpenQBWFile(false);
    script.acknowledge(QStringLiteral("You need to have a QBW file open first"));
    w.mnuRebuildIndexesClick();
}

}  // namespace
}  // namespace qb
