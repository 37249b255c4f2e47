// The bound boxes: they follow the record, accept typing only while it is edited, hand their
// text over before a post, and refuse what the file's code page cannot hold.
#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "controls/bound_edit.h"
#include "controls/date_box.h"
#include "controls/scripted_prompts.h"
#include "store/contact_file.h"
#include "store/date_format.h"

namespace qb {
namespace {

class BoundControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const QString file = dir.path() + QStringLiteral("/BOUND.DBF");
        ASSERT_TRUE(CreateContactFile(file, table, [](const QString&) {}));
        ASSERT_TRUE(table.insert());
        table.setText(QStringLiteral("LNAME"), QStringLiteral("Adams"));
        table.setDate(QStringLiteral("DATE"), xb::jdnFromYmd(2020, 2, 29));
        ASSERT_TRUE(table.post());
        ASSERT_TRUE(table.insert());
        table.setText(QStringLiteral("LNAME"), QStringLiteral("Baker"));
        ASSERT_TRUE(table.post());
        table.first();
        last.bind(&table, QStringLiteral("LNAME"));
        memo.bind(&table, QStringLiteral("MEMO"));
        date.bind(&table, QStringLiteral("DATE"));
    }
    void TearDown() override { setCurrentDateFormat(DateFormat()); }

    QTemporaryDir dir;
    Dataset table;
    BoundEdit last;
    BoundMemo memo;
    DateBox date;
};

TEST_F(BoundControlsTest, BoxesFollowTheRecordAndAreReadOnlyUntilItIsEdited) {
    EXPECT_EQ(last.text(), QStringLiteral("Adams"));
    EXPECT_EQ(date.text(), QStringLiteral("02/29/2020"));
    EXPECT_TRUE(last.isReadOnly());
    EXPECT_TRUE(memo.isReadOnly());
    table.next();
    EXPECT_EQ(last.text(), QStringLiteral("Baker"));
    EXPECT_EQ(date.maskedText(), QStringLiteral("  /  /    "));

    ASSERT_TRUE(table.edit());
    EXPECT_FALSE(last.isReadOnly());
    EXPECT_FALSE(date.isReadOnly());
    last.selectAll();
    QTest::keyClicks(&last, QStringLiteral("Becker"));
    memo.setPlainText(QStringLiteral("Met at the fair"));
    ASSERT_TRUE(table.post());
    EXPECT_TRUE(last.isReadOnly());
    EXPECT_EQ(table.text(QStringLiteral("LNAME")), QStringLiteral("Becker"));
    EXPECT_EQ(table.memo(QStringLiteral("MEMO")), QStringLiteral("Met at the fair"));

    // Cancelling puts the record's values back into the boxes.
    ASSERT_TRUE(table.edit());
    last.selectAll();
    QTest::keyClicks(&last, QStringLiteral("Zed"));
    table.cancel();
    EXPECT_EQ(last.text(), QStringLiteral("Becker"));
}

TEST_F(BoundControlsTest, TextTheFileCannotHoldIsRefusedWithANotice) {
    ScriptedPrompts script;
    script.acknowledge(QStringLiteral("The character \"Ł\" cannot be stored in this file"));
    ScopedPrompts scoped(script);
    ASSERT_TRUE(table.edit());
    last.selectAll();
    // Typed as the keyboard sends it; QTest's key helpers know ASCII only.
    QTest::sendKeyEvent(QTest::Click, &last, Qt::Key_unknown, QStringLiteral("Ł"), Qt::NoModifier);
    QTest::keyClicks(&last, QStringLiteral("ukasz"));
    EXPECT_EQ(last.text(), QStringLiteral("Łukasz"));
    EXPECT_FALSE(last.store());
    EXPECT_EQ(table.text(QStringLiteral("LNAME")), QStringLiteral("Adams"));
    table.cancel();
}

TEST_F(BoundControlsTest, TheDateBoxReadsThroughTheFormatAndReportsWhatIsNoDate) {
    setCurrentDateFormat(
        DateFormat{u'.', QStringLiteral("dd.mm.yy"), QStringLiteral("!99.99.99;1;_")});
    date.applyDateFormat();
    EXPECT_EQ(date.text(), QStringLiteral("29.02.20"));
    ASSERT_TRUE(table.edit());
    QSignalSpy invalid(&date, &DateBox::invalidDate);
    date.setCursorPosition(0);
    QTest::keyClicks(&date, QStringLiteral("310297"));  // 31 February
    EXPECT_FALSE(date.store());
    EXPECT_EQ(invalid.count(), 1);
    date.setCursorPosition(0);
    QTest::keyClicks(&date, QStringLiteral("311297"));
    EXPECT_TRUE(date.store());
    ASSERT_TRUE(table.post());
    EXPECT_EQ(table.date(QStringLiteral("DATE")), xb::jdnFromYmd(1997, 12, 31));
    // Emptying the box empties the date.
    ASSERT_TRUE(table.edit());
    date.clear();
    QTest::keyClick(&date, Qt::Key_Space);
    EXPECT_TRUE(date.store());
    ASSERT_TRUE(table.post());
    EXPECT_EQ(table.date(QStringLiteral("DATE")), xb::kEmptyDate);
}

}  // namespace
}  // namespace qb
