// The dataset: its states and events, movement inside the selection, reading rows for grids
// without moving, and holding back the display while a run walks the records.
#include <gtest/gtest.h>
#include <QSignalSpy>

#include "store/contact_file.h"
#include "store/dataset.h"
#include "store_test_util.h"
#include "xbase/error.h"

namespace qb {
namespace {

class DatasetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        file = dir.path() + QStringLiteral("/DS.DBF");
        ASSERT_TRUE(CreateContactFile(file, table, notices.sink()));
        table.close();
        test::addPeople(file.toStdString(), {{"Miller", "Ann"},
                                             {"Adams", "Bob"},
                                             {"Young", "Cy", "DELETED"},
                                             {"Baker", "Di"},
                                             {"Zorn", "Ed"}});
        ASSERT_TRUE(OpenContactFile(file, table, notices.sink()));
        ASSERT_TRUE(table.setSelection(QString::fromLatin1(kDeletionExclusion)));
    }
    QStringList walk() {
        QStringList names;
        for (table.first(); !table.eof(); table.next())
            names << table.text(QStringLiteral("LNAME"));
        return names;
    }

    QTemporaryDir dir;
    QString file;
    test::Notices notices;
    Dataset table;
};

TEST_F(DatasetTest, EditingPostingAndCancellingSendTheirEventsInOrder) {
    QStringList events;
    for (auto [signal, name] : {std::pair{&Dataset::beforeInsert, "beforeInsert"},
                                {&Dataset::afterInsert, "afterInsert"},
                                {&Dataset::afterEdit, "afterEdit"},
                                {&Dataset::beforePost, "beforePost"},
                                {&Dataset::afterPost, "afterPost"},
                                {&Dataset::afterCancel, "afterCancel"}}) {
        QObject::connect(&table, signal,
                         [&events, name = QString::fromLatin1(name)] { events << name; });
    }
    ASSERT_TRUE(table.edit());
    EXPECT_EQ(table.state(), DatasetState::Edit);
    table.setText(QStringLiteral("FNAME"), QStringLiteral("Anne"));
    table.cancel();
    EXPECT_EQ(table.text(QStringLiteral("FNAME")), QStringLiteral("Bob"));

    ASSERT_TRUE(table.insert());
    EXPECT_EQ(table.state(), DatasetState::Insert);
    table.setText(QStringLiteral("LNAME"), QStringLiteral("Carter"));
    ASSERT_TRUE(table.post());
    EXPECT_EQ(table.state(), DatasetState::Browse);
    EXPECT_EQ(table.text(QStringLiteral("LNAME")), QStringLiteral("Carter"));
    EXPECT_EQ(events, (QStringList{"afterEdit", "afterCancel", "beforeInsert", "afterInsert",
                                   "beforePost", "afterPost"}));
    EXPECT_EQ(walk(), (QStringList{"Adams", "Baker", "Carter", "Miller", "Zorn"}));

    // Writing outside an edit is refused.
    EXPECT_THROW(table.setText(QStringLiteral("LNAME"), QStringLiteral("X")), xb::Error);
}

TEST_F(DatasetTest, LeavingAnUntouchedNewRecordDropsItAndLeavingAChangedOnePostsIt) {
    table.first();
    ASSERT_TRUE(table.insert());
    ASSERT_TRUE(table.next());
    EXPECT_EQ(table.recCount(), 5u);
    EXPECT_EQ(table.state(), DatasetState::Browse);

    EXPECT_EQ(table.text(QStringLiteral("LNAME")), QStringLiteral("Baker"));

    const uint32_t baker = table.recNo();
    ASSERT_TRUE(table.edit());
    table.setText(QStringLiteral("FNAME"), QStringLiteral("Robert"));
    table.last();
    EXPECT_EQ(table.state(), DatasetState::Browse);
    table.go(baker);
    EXPECT_EQ(table.text(QStringLiteral("FNAME")), QStringLiteral("Robert"));
}

TEST_F(DatasetTest, TheSelectionDecidesWhatIsVisitedAndTheRecordStaysWhenItCan) {
    EXPECT_EQ(walk(), (QStringList{"Adams", "Baker", "Miller", "Zorn"}));
    EXPECT_EQ(table.selectionRecordCount(), 4u);
    table.first();
    table.next();  // Baker
    ASSERT_TRUE(table.setSelection(QStringLiteral("LNAME<>\"Adams\"")));
    EXPECT_EQ(table.text(QStringLiteral("LNAME")), QStringLiteral("Baker"));
    ASSERT_TRUE(table.setSelection(QStringLiteral("LNAME=\"Z\"")));
    EXPECT_EQ(table.text(QStringLiteral("LNAME")), QStringLiteral("Zorn"));
    // A rejected expression leaves the selection as it was and says why.
    QSignalSpy failed(&table, &Dataset::failed);
    EXPECT_FALSE(table.setSelection(QStringLiteral("LNAME=")));
    EXPECT_EQ(failed.count(), 1);
    EXPECT_EQ(table.selection(), QStringLiteral("LNAME=\"Z\""));
    ASSERT_TRUE(table.setSelection(QStringLiteral("LNAME=\"Q\"")));
    EXPECT_TRUE(table.eof());
    EXPECT_FALSE(table.onRecord());
    EXPECT_EQ(table.selectionCount(), 0u);

    // The selection survives closing and reopening.
    table.close();
    ASSERT_TRUE(OpenContactFile(file, table, notices.sink()));
    EXPECT_EQ(table.selection(), QStringLiteral("LNAME=\"Q\""));
    EXPECT_TRUE(table.eof());
}

TEST_F(DatasetTest, RowsAreReadByPositionWithoutMovingTheCurrentRecord) {
    table.first();
    table.next();
    table.next();  // Miller
    const uint32_t at = table.recNo();
    const auto rows = table.rowValues(1, 10, {QStringLiteral("LNAME"), QStringLiteral("FNAME")});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (QStringList{"Baker", "Di"}));
    EXPECT_EQ(rows[2], (QStringList{"Zorn", "Ed"}));
    EXPECT_EQ(table.recNo(), at);
    EXPECT_EQ(table.position(), 2u);
    EXPECT_TRUE(table.goPosition(3));
    EXPECT_EQ(table.text(QStringLiteral("LNAME")), QStringLiteral("Zorn"));
    EXPECT_TRUE(table.rowValues(4, 1, {QStringLiteral("LNAME")}).empty());
    // At the end of file it stays at the end.
    table.last();
    table.next();
    ASSERT_TRUE(table.eof());
    EXPECT_EQ(table.rowValues(0, 1, {QStringLiteral("LNAME")}).size(), 1u);
    EXPECT_TRUE(table.eof());
}

TEST_F(DatasetTest, DisabledControlsCatchUpOnceWhenEnabledAgain) {
    QSignalSpy record(&table, &Dataset::recordChanged);
    QSignalSpy rows(&table, &Dataset::rowsChanged);
    QSignalSpy posted(&table, &Dataset::afterPost);
    table.disableControls();
    table.disableControls();
    for (int i = 0; i < 3; ++i)
        table.next();
    table.setOrderTag(QStringLiteral("FNAME"));
    ASSERT_TRUE(table.edit());
    table.setText(QStringLiteral("FNAME"), QStringLiteral("Zed"));
    ASSERT_TRUE(table.post());
    EXPECT_EQ(posted.count(), 1);  // table events are not held back
    EXPECT_EQ(record.count(), 0);
    table.enableControls();
    EXPECT_EQ(record.count(), 0);
    table.enableControls();
    EXPECT_EQ(record.count(), 1);
    EXPECT_EQ(rows.count(), 1);
}

TEST_F(DatasetTest, MarkingDeletedHidesTheRecordWhenMarkedRecordsAreHidden) {
    Dataset::setHideMarkedRecords(true);
    table.close();
    ASSERT_TRUE(OpenContactFile(file, table, notices.sink()));
    table.first();  // Adams
    ASSERT_TRUE(table.markDeleted());
    EXPECT_EQ(table.text(QStringLiteral("LNAME")), QStringLiteral("Baker"));
    EXPECT_EQ(walk(), (QStringList{"Baker", "Miller", "Zorn"}));
    Dataset::setHideMarkedRecords(false);
}

TEST_F(DatasetTest, TextTheFilesCodePageCannotHoldIsNamedAndRefused) {
    EXPECT_FALSE(table.unholdable(QStringLiteral("Müller – café €")));
    const auto bad = table.unholdable(QStringLiteral("Łukasz"));
    ASSERT_TRUE(bad);
    EXPECT_EQ(*bad, QChar(u'Ł'));
    ASSERT_TRUE(table.edit());
    EXPECT_THROW(table.setText(QStringLiteral("LNAME"), QStringLiteral("Łukasz")), xb::Error);
    table.setText(QStringLiteral("LNAME"), QStringLiteral("Müller"));
    ASSERT_TRUE(table.post());
    EXPECT_EQ(table.text(QStringLiteral("LNAME")), QStringLiteral("Müller"));
}

}  // namespace
}  // namespace qb
