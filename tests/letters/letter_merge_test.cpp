// Merging a contact into a template: each token's value, the attributes a value takes over,
// and values that look like markup or like tokens.
#include <QTextBlock>
#include <QTextCursor>

#include "letters/letter_merge.h"
#include "letters_fixture.h"
#include "richtext/rtf_writer.h"
#include "store/date_format.h"

namespace {

using namespace letterstest;
namespace letters = qb::letters;
using letters::ContactValues;

ContactValues everyone() {
    ContactValues c;
    c.prefix = "Dr.";
    c.first = "Ann";
    c.middle = "B";
    c.last = "Cole";
    c.title = "Director";
    c.org = "Acme";
    c.street = "9 Oak Rd";
    c.city = "Dover";
    c.state = "DE";
    c.zip = "19901";
    c.country = "USA";
    c.phone = "555-0100";
    c.fax = "555-0101";
    c.email = "ann@acme.test";
    return c;
}

const xb::Jdn kDay = xb::jdnFromYmd(2026, 3, 7);

QString merged(const QByteArray& body, const ContactValues& c) {
    Template t(rtfOf(body));
    letters::ReplaceTokens(t.doc, c, kDay);
    return t.doc.toPlainText();
}

TEST(LetterMerge, EveryTokenTakesItsValue) {
    const ContactValues c = everyone();
    QByteArray body;
    for (const QString& name : letters::tokenNames())
        body += "<[" + name.toLatin1() + "]>";
    EXPECT_EQ(merged(body, c),
              QStringLiteral("<Dr. Ann B. Cole >"
                             "<Dr. Ann B. Cole \nDirector,  Acme\n9 Oak Rd\nDover DE  19901\nUSA\n>"
                             "<Ann><Cole><B><Dr.><Director><Acme><9 Oak Rd><Dover DE 19901>"
                             "<Dover><DE><DE><19901><19901><USA><555-0100><555-0101>"
                             "<ann@acme.test><03/07/2026>"));
}

TEST(LetterMerge, NamesAndAddressLinesLeaveOutWhatIsEmpty) {
    ContactValues c;
    c.first = "Ann";
    c.middle = "B";
    c.last = "Cole";
    EXPECT_EQ(letters::fullName(c), QStringLiteral("Ann B. Cole "));
    c.middle.clear();
    c.first.clear();
    EXPECT_EQ(letters::fullName(c), QStringLiteral("Cole "));
    EXPECT_EQ(letters::fullName(ContactValues{}), QString());

    c.title = "Chair";
    c.city = "Dover";
    c.zip = "19901";
    EXPECT_EQ(letters::nameAndAddress(c), QStringLiteral("Cole \r\nChair\r\nDover  19901\r\n"));
    c.title.clear();
    c.org = "Acme";
    c.zip.clear();
    c.state = "DE";
    EXPECT_EQ(letters::nameAndAddress(c), QStringLiteral("Cole \r\nAcme\r\nDover DE\r\n"));
    EXPECT_EQ(letters::tokenValue(QStringLiteral("City+State+Zip"), c, kDay),
              QStringLiteral("Dover DE"));
    EXPECT_EQ(letters::nameAndAddress(ContactValues{}), QString());
}

TEST(LetterMerge, OnlyExactTokensAreReplacedEachTimeTheyOccur) {
    const ContactValues c = everyone();
    EXPECT_EQ(merged("[First] and [First]; [first] [Frist] [First [Last]]", c),
              QStringLiteral("Ann and Ann; [first] [Frist] [First Cole]"));
    // An empty value takes the token out.
    ContactValues none = c;
    none.middle.clear();
    EXPECT_EQ(merged("A[Middle]B", none), QStringLiteral("AB"));
}

TEST(LetterMerge, ValuesThatLookLikeTokensOrMarkupStayAsTheyAre) {
    ContactValues c = everyone();
    c.first = "[First]";
    c.last = "[Name and Address]";
    c.org = "{\\b Braces} \\par [Org";
    Template t(rtfOf("[First] [Last] [Organization]]"));
    letters::ReplaceTokens(t.doc, c, kDay);
    const QString expected = QStringLiteral("[First] [Name and Address] {\\b Braces} \\par [Org]");
    EXPECT_EQ(t.doc.toPlainText(), expected);
    // And they survive being written out and read again.
    Template again(qb::richtext::writeRtf(t.doc, t.page));
    EXPECT_EQ(again.doc.toPlainText(), expected);

    // One token at a time, a value holding its own token is not replaced again.
    Template one(rtfOf("[First] [First]"));
    EXPECT_EQ(letters::DoMerge(one.doc, QStringLiteral("First"), QStringLiteral("[First]")), 2);
    EXPECT_EQ(one.doc.toPlainText(), QStringLiteral("[First] [First]"));
}

TEST(LetterMerge, AValueKeepsTheLookOfItsToken) {
    // Bold 14-point token, its name split across an italic run; the text around stays plain.
    Template t(rtfOf("x {\\b\\fs28 [Fu{\\i ll} Name]} y [City]"));
    letters::ReplaceTokens(t.doc, everyone(), kDay);
    ASSERT_EQ(t.doc.toPlainText(), QStringLiteral("x Dr. Ann B. Cole  y Dover"));
    const QString text = t.doc.toPlainText();
    auto formatAt = [&t](int position) {
        QTextCursor c(&t.doc);
        c.setPosition(position + 1);
        return c.charFormat();
    };
    for (int i = 2; i < 2 + 16; ++i) {
        EXPECT_EQ(formatAt(i).fontWeight(), QFont::Bold) << i;
        EXPECT_FALSE(formatAt(i).fontItalic()) << i;
        EXPECT_DOUBLE_EQ(formatAt(i).fontPointSize(), 14.0) << i;
    }
    EXPECT_NE(formatAt(int(text.indexOf(u'y'))).fontWeight(), QFont::Bold);
    EXPECT_NE(formatAt(int(text.indexOf(QStringLiteral("Dover")))).fontWeight(), QFont::Bold);
}

TEST(LetterMerge, AddressBlockBecomesParagraphsAndTheDateFollowsTheFormat) {
    Template t(rtfOf("[Name and Address]Dear [First],"));
    letters::ReplaceTokens(t.doc, everyone(), kDay);
    EXPECT_EQ(t.doc.blockCount(), 6);
    EXPECT_EQ(t.doc.lastBlock().text(), QStringLiteral("Dear Ann,"));

    const qb::DateFormat before = qb::currentDateFormat();
    qb::DateFormat dotted;
    dotted.separator = u'.';
    dotted.shortFormat = QStringLiteral("dd.mm.yy");
    qb::setCurrentDateFormat(dotted);
    EXPECT_EQ(merged("[Today's Date]", everyone()), QStringLiteral("07.03.26"));
    qb::setCurrentDateFormat(before);
}

}  // namespace
