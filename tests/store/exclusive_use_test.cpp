// A utility having the contact file alone, and the window getting it back.
#include <gtest/gtest.h>

#include <QFile>

#include "fake_host.h"
#include "store/csv_writer.h"
#include "store/exclusive_use.h"
#include "store_test_util.h"
#include "xbase/error.h"

namespace qb::test {
namespace {

struct ExclusiveUseFixture : ::testing::Test {
    QTemporaryDir dir;
    std::string path = pathIn(dir, "PEOPLE.DBF");
    FakeHost host{dir.path() + u'/'};
    Notices notices;
    QString checkIndex = dir.path() + QStringLiteral("/_check.idx");

    void SetUp() override {
        Dataset made;
        ASSERT_TRUE(CreateContactFile(QString::fromStdString(path), made, notices.sink()));
        made.close();
        addPeople(path, {{"Ames", "Al"}, {"Bell", "Bo"}, {"Cole", "Cy"}});
        host.table.open(QString::fromStdString(path));
        host.table.go(2);
        QFile(checkIndex).open(QIODevice::WriteOnly);
    }
};

TEST_F(ExclusiveUseFixture, UtilityHasTheFileAloneAndTheHostReturnsToItsRecord) {
    {
        ExclusiveUse use(host);
        use.removeAtEnd(checkIndex);
        EXPECT_FALSE(host.table.isOpen());
        ASSERT_TRUE(use.open(notices.sink()));
        EXPECT_EQ(use.table().recCount(), 3u);
        // Nobody else gets in while the utility holds it.
        EXPECT_THROW(xb::WorkArea().use(path, xb::UseMode::Exclusive), xb::Error);
    }
    EXPECT_TRUE(notices.texts.isEmpty());
    ASSERT_TRUE(host.table.isOpen());
    EXPECT_EQ(host.table.recNo(), 2u);
    EXPECT_FALSE(QFile::exists(checkIndex));
}

TEST_F(ExclusiveUseFixture, FileHeldElsewhereIsToldAndTheHostStillGetsItBack) {
    {
        ExclusiveUse use(host);
        use.removeAtEnd(checkIndex);
        xb::WorkArea other;
        other.use(path, xb::UseMode::Exclusive);
        EXPECT_FALSE(use.open(notices.sink()));
        EXPECT_FALSE(use.table().isOpen());
    }
    EXPECT_EQ(notices.texts, QStringList{QString::fromLatin1(kExclusiveOpenFailed)});
    EXPECT_TRUE(host.table.isOpen());
    EXPECT_EQ(host.reclaimedAt, 2u);
    EXPECT_FALSE(QFile::exists(checkIndex));
}

TEST(CsvWriter, QuotesDoubledAndOnlyNeededValuesQuotedWhenAsked) {
    const QStringList values{QStringLiteral("5\" Main St, Apt 2"), QString(),
                             QStringLiteral("plain"), QStringLiteral("two\r\nlines")};
    EXPECT_EQ(csvLine(values, CsvQuoting::Always),
              QStringLiteral("\"5\"\" Main St, Apt 2\",\"\",\"plain\",\"two\r\nlines\""));
    EXPECT_EQ(csvLine(values, CsvQuoting::WhenNeeded),
              QStringLiteral("\"5\"\" Main St, Apt 2\",,plain,\"two\r\nlines\""));
}

}  // namespace
}  // namespace qb::test
