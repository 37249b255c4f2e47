// The look-ups of record entry: the duplicate-name key and its 30-character cut, the ZIP
// prefix match, and the table left where it was.
#include <gtest/gtest.h>

#include "store/contact_lookup.h"
#include "store_test_util.h"

namespace qb {
namespace {

class ContactLookupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        file = dir.path() + QStringLiteral("/LK.DBF");
        ASSERT_TRUE(CreateContactFile(file, table, notices.sink()));
        table.close();
        xb::WorkArea area;
        area.use(file.toStdString());
        auto add = [&](const char* last, const char* first, const char* zip, const char* city,
                       const char* prefix = "") {
            area.append();
            area.putText("LNAME", last);
            area.putText("FNAME", first);
            area.putText("ZIP", zip);
            area.putText("CITY", city);
            area.putText("STATE", "ST");
            area.putText("PREFIX", prefix);
            area.post();
        };
        add("Brown", "Ann", "12345-6789", "Springfield");
        add(std::string(30, 'W').c_str(), "Al", "54321", "Longtown");
        add("Brownlee", "Ann", "12399", "Elsewhere");
        add("Hidden", "Hal", "77777", "Nowhere", "DELETED");
        add("Adams", "Al", "", "");
        area.close();
        ASSERT_TRUE(OpenContactFile(file, table, notices.sink()));
        ASSERT_TRUE(table.setSelection(QString::fromLatin1(kDeletionExclusion)));
    }

    QTemporaryDir dir;
    QString file;
    test::Notices notices;
    Dataset table;
};

TEST(DuplicateNameKey, EachNameIsCutOrPaddedToThirtyAndUpperCased) {
    EXPECT_EQ(duplicateNameKey(QStringLiteral("Brown"), QStringLiteral("ann")),
              QStringLiteral("BROWN").leftJustified(30) + QStringLiteral("ANN").leftJustified(30));
    const QString longName = QString(30, u'w') + QStringLiteral("xyz");
    EXPECT_EQ(duplicateNameKey(longName, QStringLiteral("Al")),
              QString(30, u'W') + QStringLiteral("AL").leftJustified(30));
}

TEST_F(ContactLookupTest, TheSameNameIsFoundCaseAsideAndOnlyWholeNamesMatch) {
    table.setOrderTag(QStringLiteral("ZIP"));
    ASSERT_TRUE(table.go(3));
    const auto found = findSameName(table, QStringLiteral("BROWN"), QStringLiteral("ann"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->recno, 1u);
    EXPECT_EQ(found->first, QStringLiteral("Ann"));
    EXPECT_EQ(found->street, QString());
    EXPECT_EQ(found->city, QStringLiteral("Springfield"));
    EXPECT_EQ(found->zip, QStringLiteral("12345-6789"));
    // The table is back where it was: record, order and comparison setting.
    EXPECT_EQ(table.recNo(), 3u);
    EXPECT_EQ(table.orderTag(), QStringLiteral("ZIP"));
    EXPECT_FALSE(table.area().exact());

    // A last name longer than the field is cut to it, so the stored name is found.
    EXPECT_TRUE(
        findSameName(table, QString(30, u'w') + QStringLiteral("ozniak"), QStringLiteral("al")));
    EXPECT_FALSE(findSameName(table, QStringLiteral("Brow"), QStringLiteral("Ann")));
    EXPECT_FALSE(findSameName(table, QStringLiteral("Brown"), QStringLiteral("An")));
    EXPECT_FALSE(findSameName(table, QStringLiteral("Brown"), QString()));
    EXPECT_FALSE(findSameName(table, QStringLiteral("Hidden"), QStringLiteral("Hal")));
}

TEST_F(ContactLookupTest, AZipFindsTheFirstContactWhoseZipBeginsWithIt) {
    ASSERT_TRUE(table.go(5));
    const auto found = findByZip(table, QStringLiteral("123"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->city, QStringLiteral("Springfield"));
    EXPECT_EQ(findByZip(table, QStringLiteral("12399"))->city, QStringLiteral("Elsewhere"));
    EXPECT_FALSE(findByZip(table, QStringLiteral("777")));
    EXPECT_FALSE(findByZip(table, QStringLiteral("9")));
    EXPECT_FALSE(findByZip(table, QString()));
    EXPECT_EQ(table.recNo(), 5u);
    EXPECT_EQ(table.orderTag(), QStringLiteral("LNAME"));

    // While editing nothing is looked up, so the record being entered stays put.
    ASSERT_TRUE(table.edit());
    EXPECT_FALSE(findByZip(table, QStringLiteral("123")));
    table.cancel();
}

}  // namespace
}  // namespace qb
