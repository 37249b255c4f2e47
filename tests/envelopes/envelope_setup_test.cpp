// Envelope setups in QBMESU.DBF: the default of an empty table, and writing with rounding to
// thousandths read back unchanged.
#include "envelopes/envelope_setup.h"
#include "envelopes_fixture.h"

namespace {

using namespace qb::envelopes;

class EnvelopeSetups : public envtest::EnvelopesTest {};

TEST_F(EnvelopeSetups, AnEmptyTableGivesTheDefaultSetup) {
    xb::WorkArea a;
    a.use(path(kEnvelopeSetupFileName).toStdString());
    ASSERT_EQ(a.recCount(), 0u);
    const EnvelopeSetup d = ReadEnvelopeSetup(a);
    EXPECT_EQ(d.descript, QStringLiteral("Default Envelope Setup"));
    EXPECT_EQ(d.envName, QStringLiteral("Envelope #10"));
    EXPECT_TRUE(d.useReturn);
    EXPECT_FALSE(d.useMessage || d.barcode || d.contents.phone || d.contents.country ||
                 d.contents.upperCase);
    EXPECT_TRUE(d.contents.name && d.contents.title && d.contents.company && d.contents.street &&
                d.contents.cityState && d.contents.zip);
    EXPECT_EQ(d.retFont, (BlockFont{QStringLiteral("Arial"), 8, false, false}));
    EXPECT_EQ(d.messFont, (BlockFont{QStringLiteral("Arial"), 10, true, true}));
    EXPECT_EQ(d.delFont, (BlockFont{QStringLiteral("Arial"), 10, true, false}));
    EXPECT_EQ(d.retLines[2], QStringLiteral("LA, CA  90024"));
    EXPECT_TRUE(d.retLines[3].isEmpty() && d.retLines[4].isEmpty());
    EXPECT_DOUBLE_EQ(d.messTop, d.envHeight - 1);
    EXPECT_DOUBLE_EQ(d.delTop, d.envHeight / 2);
    EXPECT_DOUBLE_EQ(d.delLeft, d.envWidth / 3);
    EXPECT_EQ(d.orient, 1);
    EXPECT_EQ(d.facing, 1);
    EXPECT_EQ(d.position, 2);
}

TEST_F(EnvelopeSetups, WritingRoundsToThousandthsAndReadsBackEveryField) {
    xb::WorkArea a;
    a.use(path(kEnvelopeSetupFileName).toStdString());
    EnvelopeSetup s;
    s.descript = QStringLiteral("Office");
    s.envName = QStringLiteral("Envelope #9");
    s.useMessage = true;
    s.barcode = true;
    s.retLines = {QStringLiteral("A"), QString(), QStringLiteral("C"), QString(),
                  QStringLiteral("E")};
    s.retFont = {QStringLiteral("Times New Roman"), 12, true, true};
    s.contents.zipOption = 3;
    s.contents.upperCase = true;
    s.delTop = 2.5;
    s.envWidth = 8.875;
    s.envHeight = 3.875;
    s.position = 11;
    s.orient = 0;
    s.facing = 0;
    a.append();
    WriteEnvelopeSetup(a, s);
    a.post();
    a.first();
    EnvelopeSetup back = ReadEnvelopeSetup(a);
    EXPECT_DOUBLE_EQ(back.delLeft, 3.167);
    back.delLeft = s.delLeft;
    EXPECT_EQ(back, s);
}

}  // namespace
namespace qb::envelopes {
void PrintTo(const EnvelopeSetup& s, std::ostream* os) {
    *os << qPrintable(s.descript) << '|' << qPrintable(s.envName) << '|' << s.useReturn
        << s.useMessage << s.barcode << '|' << s.retTop << ',' << s.retLeft << ',' << s.messTop
        << ',' << s.messLeft << ',' << s.delTop << ',' << s.delLeft << '|'
        << qPrintable(s.retFont.name) << s.retFont.size << s.retFont.bold << s.retFont.italic << '|'
        << qPrintable(s.retLines[0] + u'/' + s.retLines[1] + u'/' + s.retLines[2] + u'/' +
                      s.retLines[3] + u'/' + s.retLines[4])
        << '|' << qPrintable(s.messText) << '|' << s.contents.zipOption << s.contents.upperCase
        << s.contents.title << '|' << s.envWidth << 'x' << s.envHeight << '|' << s.orient
        << s.facing << s.position;
}
}  // namespace qb::envelopes
