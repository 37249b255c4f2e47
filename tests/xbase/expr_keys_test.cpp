// Index keys: the contact file's 21 tag expressions byte for byte, key lengths, padding and
// cutting, the numeric/date/logical key forms, code-page case mapping and dependencies.
#include <gtest/gtest.h>

#include "expr_fixture.h"
#include "xbase/keys.h"

namespace xb {
namespace {

using testing::compileFor;
using testing::contactFields;
using testing::keyOf;
using testing::padded;
using testing::Record;

std::string numericKey(double v) {
    std::string k(8, '\0');
    encodeNumericKey(v, reinterpret_cast<uint8_t*>(k.data()));
    return k;
}

Record sampleContact(const FieldList& fields) {
    Record r(fields);
    r.set("LNAME", "Smith")
        .set("FNAME", "John")
        .set("MIDDLE", "q")
        .set("TITLE", "Director")
        .set("ORG", "Acme Widgets")
        .set("STREET", "12 Main St")
        .set("CITY", "Beverly Hills")
        .set("STATE", "ca")
        .set("ZIP", "90210")
        .set("COUNTRY", "USA")
        .set("PHONE", "555-1234")
        .set("EMAIL", "john@acme.com")
        .set("FAX", "555-9999")
        .set("NOTES", "vip")
        .set("PREFIX", "Mr.")
        .set("DATE", "20260315")
        .set("SEQNO", "-964")
        .set("MEMO", "8");
    return r;
}

struct Tag {
    const char* name;
    const char* expr;
    ValueType type;
    int keyLen;
    std::string key;
};

std::vector<Tag> contactTags(int stateWidth) {
    size_t sw = size_t(stateWidth);
    std::string state = padded("ca", sw);
    std::string stateUp = padded("CA", sw);
    return {
        {"NAME", "UPPER(LNAME-FNAME)", ValueType::Character, 60, padded("SMITHJOHN", 60)},
        {"LNAME", "UPPER(LNAME)+UPPER(FNAME)", ValueType::Character, 60,
         padded("SMITH", 30) + padded("JOHN", 30)},
        {"FNAME", "UPPER(FNAME)", ValueType::Character, 30, padded("JOHN", 30)},
        {"TITLE", "UPPER(TITLE)", ValueType::Character, 30, padded("DIRECTOR", 30)},
        {"ORG", "UPPER(ORG)", ValueType::Character, 30, padded("ACME WIDGETS", 30)},
        {"STREET", "UPPER(STREET)", ValueType::Character, 30, padded("12 MAIN ST", 30)},
        {"CITY", "UPPER(CITY+STATE)", ValueType::Character, 30 + stateWidth,
         padded("BEVERLY HILLS", 30) + stateUp},
        {"STATE", "UPPER(STATE)", ValueType::Character, stateWidth, stateUp},
        {"ZIP", "UPPER(ZIP)", ValueType::Character, 10, padded("90210", 10)},
        {"COUNTRY", "UPPER(COUNTRY)", ValueType::Character, 30, padded("USA", 30)},
        {"PHONE", "UPPER(PHONE)", ValueType::Character, 30, padded("555-1234", 30)},
        {"EMAIL", "UPPER(EMAIL)", ValueType::Character, 30, padded("JOHN@ACME.COM", 30)},
        {"FAX", "UPPER(FAX)", ValueType::Character, 30, padded("555-9999", 30)},
        {"DATE", "DTOS(DATE)", ValueType::Character, 8, "20260315"},
        {"NOTES", "UPPER(NOTES)", ValueType::Character, 30, padded("VIP", 30)},
        {"PREFIX", "UPPER(PREFIX)", ValueType::Character, 12, padded("MR.", 12)},
        {"MIDDLE", "UPPER(MIDDLE)", ValueType::Character, 1, "Q"},
        {"DELETED", "DELETED()", ValueType::Logical, 1, "F"},
        {"JUSTSEQNO", "SEQNO", ValueType::Numeric, 8, numericKey(-964)},
        {"SEQNO", "STR(SEQNO,6,0)+STATE+ZIP", ValueType::Character, 16 + stateWidth,
         "  -964" + state + padded("90210", 10)},
        {"STATEZIP", "UPPER(STATE-ZIP)", ValueType::Character, 10 + stateWidth,
         padded("CA90210", 10 + sw)},
    };
}

TEST(ExprKeys, ContactTagsOnASampleRecord) {
    for (int stateWidth : {20, 4}) {
        FieldList fields = contactFields(stateWidth);
        Record rec = sampleContact(fields);
        for (const Tag& tag : contactTags(stateWidth)) {
            SCOPED_TRACE(std::string(tag.name) + " STATE width " + std::to_string(stateWidth));
            Expression e = compileFor(tag.expr, fields);
            EXPECT_EQ(e.type(), tag.type);
            EXPECT_EQ(e.keyLength(), tag.keyLen);
            EXPECT_EQ(keyOf(e, rec.ref()), tag.key);
            // The value path and the key path agree.
            Value v = e.evaluate(rec.ref(), {});
            if (tag.type == ValueType::Character) {
                EXPECT_EQ(v.str, tag.key);
            }
        }
    }
}

TEST(ExprKeys, ContactTagsOnABlankRecord) {
    FieldList fields = contactFields();
    Record blank(fields);
    for (const Tag& tag : contactTags(20)) {
        SCOPED_TRACE(tag.name);
        Expression e = compileFor(tag.expr, fields);
        std::string want;
        if (tag.type == ValueType::Numeric)
            want = numericKey(0);
        else if (tag.type == ValueType::Logical)
            want = "F";
        else if (std::string(tag.name) == "SEQNO")
            want = padded("     0", 36);  // a blank number reads as 0
        else
            want = std::string(size_t(tag.keyLen), ' ');  // DTOS of the empty date included
        EXPECT_EQ(keyOf(e, blank.ref()), want);
    }
}

TEST(ExprKeys, MinusMovesTrailingBlanks) {
    FieldList fields = contactFields();
    struct Row {
        std::string lname;
        std::string fname;
        std::string name;
    };
    const Row rows[] = {
        {"SMITH", "JOHN", padded("SMITHJOHN", 60)},
        {"", "JOHN", padded("JOHN", 60)},
        {"SMITH", "", padded("SMITH", 60)},
        {"VAN DER BERG", "ANN MARIE", padded("VAN DER BERGANN MARIE", 60)},
        {std::string(30, 'L'), "X", std::string(30, 'L') + padded("X", 30)},
    };
    Expression e = compileFor("UPPER(LNAME-FNAME)", fields);
    // The same through the variable-length path (a slice with bounds known only when run).
    Expression generic = compileFor("UPPER(SUBSTR(LNAME,1,LEN(LNAME))-FNAME)", fields);
    for (const Row& row : rows) {
        Record rec(fields);
        rec.set("LNAME", row.lname).set("FNAME", row.fname);
        EXPECT_EQ(keyOf(e, rec.ref()), row.name) << row.lname;
        EXPECT_EQ(generic.evaluate(rec.ref(), {}).str, row.name) << row.lname;
    }
}

TEST(ExprKeys, KeyLengthOtherThanTheExpressions) {
    FieldList fields = contactFields();
    Record rec = sampleContact(fields);
    Expression upper = compileFor("UPPER(ZIP)", fields);
    EXPECT_EQ(keyOf(upper, rec.ref(), 12), "90210       ");
    EXPECT_EQ(keyOf(upper, rec.ref(), 3), "902");
    Expression trimmed = compileFor("TRIM(LNAME)", fields);  // variable length
    EXPECT_EQ(keyOf(trimmed, rec.ref(), 7), "Smith  ");
    EXPECT_EQ(keyOf(trimmed, rec.ref(), 3), "Smi");
    Expression seq = compileFor("SEQNO", fields);
    EXPECT_EQ(keyOf(seq, rec.ref(), 10), numericKey(-964) + std::string(2, '\0'));
    EXPECT_EQ(keyOf(seq, rec.ref(), 4), numericKey(-964).substr(0, 4));
    Expression del = compileFor("DELETED()", fields);
    EXPECT_EQ(keyOf(del, rec.ref(), 3), "F  ");
    EXPECT_EQ(keyOf(upper, rec.ref(), 0), "");
    // A memo read without a memo file is empty text, keyed as blanks.
    EXPECT_EQ(keyOf(compileFor("MEMO", fields), rec.ref(), 4), "    ");
}

TEST(ExprKeys, KeyLengthComesFromTheBlankRecord) {
    FieldList fields = contactFields();
    struct Row {
        const char* expr;
        int keyLength, blankLength;
    };
    const Row rows[] = {
        {"TRIM(LNAME)", 1, 0},
        {"LNAME+FNAME", 60, 60},
        {"LNAME+FNAME+TITLE+ORG+STREET+CITY+COUNTRY+PHONE+EMAIL", 240, 270},
        {"MEMO", 1, 0},
        {"STR(SEQNO)", 10, 10},
        {"SUBSTR(LNAME,3,5)", 5, 5},
        {"LEFT(ZIP,5)+RIGHT(LNAME,2)", 7, 7},
        {"DATE", 8, 8},
        {"SEQNO*2", 8, 8},
        {"BEGIN", 1, 1},
        {"IIF(BEGIN, LNAME, ZIP)", 10, 10},
    };
    for (const Row& row : rows) {
        Expression e = compileFor(row.expr, fields);
        EXPECT_EQ(e.keyLength(), row.keyLength) << row.expr;
        EXPECT_EQ(e.blankLength(), row.blankLength) << row.expr;
    }
}

TEST(ExprKeys, NumericDateAndLogicalKeyForms) {
    FieldList fields = contactFields();
    struct Row {
        const char* seqno;
        std::string key;
    };
    const Row rows[] = {
        {"", std::string("\x80\0\0\0\0\0\0\0", 8)},
        {"1", std::string("\xBF\xF0\0\0\0\0\0\0", 8)},
        {"-1", std::string("\x40\x0F\xFF\xFF\xFF\xFF\xFF\xFF", 8)},
        {"42", std::string("\xC0\x45\0\0\0\0\0\0", 8)},
        {"-964", std::string("\x3F\x71\xDF\xFF\xFF\xFF\xFF\xFF", 8)},
        {"99999", std::string("\xC0\xF8\x69\xF0\0\0\0\0", 8)},
        {"-0", std::string("\x80\0\0\0\0\0\0\0", 8)},
    };
    Expression seq = compileFor("SEQNO", fields);
    for (const Row& row : rows) {
        Record rec(fields);
        rec.set("SEQNO", row.seqno);
        EXPECT_EQ(keyOf(seq, rec.ref()), row.key) << row.seqno;
    }
    Expression date = compileFor("DATE", fields);
    Record rec(fields);
    EXPECT_EQ(keyOf(date, rec.ref()), std::string("\x80\0\0\0\0\0\0\0", 8));
    rec.set("DATE", "20000101");
    EXPECT_EQ(keyOf(date, rec.ref()), std::string("\xC1\x42\xB4\x2C\x80\0\0\0", 8));
    Expression del = compileFor("DELETED()", fields);
    EXPECT_EQ(keyOf(del, rec.ref()), "F");
    rec.deleted(true);
    EXPECT_EQ(keyOf(del, rec.ref()), "T");
}

TEST(ExprKeys, UpperAndLowerFollowTheCodePage) {
    FieldList fields = contactFields();
    Record rec(fields);
    rec.set("LNAME", "M\xFCller-\xFF\x9A\xE9t\xDF");  // Windows-1252: ü ÿ š é ß
    Expression up = compileFor("UPPER(LNAME)", fields);
    EXPECT_EQ(keyOf(up, rec.ref()), padded("M\xDCLLER-\x9F\x8A\xC9T\xDF", 30));
    Expression down = compileFor("LOWER(UPPER(LNAME))", fields);
    EXPECT_EQ(down.evaluate(rec.ref(), {}).str, padded("m\xFCller-\xFF\x9A\xE9t\xDF", 30));

    // The same bytes mean other letters under a DOS page: 0x81 is ü there.
    const CodePage& dos = CodePage::get(CodePageId::Cp437);
    Record dosRec(fields);
    dosRec.set("LNAME", "M\x81ller");
    Expression dosUp = compileFor("UPPER(LNAME)", fields, dos);
    EXPECT_EQ(keyOf(dosUp, dosRec.ref()), padded("M\x9ALLER", 30));

    // Without a table only ASCII letters change.
    CompileContext ascii;
    ascii.fields = &fields;
    Expression plain = Expression::compile("UPPER(LNAME)", ascii);
    EXPECT_EQ(keyOf(plain, rec.ref()), padded("M\xFCLLER-\xFF\x9A\xE9T\xDF", 30));
}

TEST(ExprKeys, DependenciesAreReported) {
    FieldList fields = contactFields();
    const int lname = 0, fname = 1, prefix = 14, memo = 19;
    Expression name = compileFor("UPPER(LNAME-FNAME)", fields);
    EXPECT_TRUE(name.usesField(lname));
    EXPECT_TRUE(name.usesField(fname));
    EXPECT_FALSE(name.usesField(prefix));
    EXPECT_FALSE(name.usesField(-1));
    EXPECT_FALSE(name.usesField(99));
    EXPECT_FALSE(name.usesDeleted() || name.usesRecno() || name.usesMemo() || name.usesToday());

    Expression del = compileFor("DELETED()", fields);
    EXPECT_TRUE(del.usesDeleted());
    EXPECT_FALSE(del.usesField(lname));
    EXPECT_TRUE(compileFor("Recno()=123", fields).usesRecno());
    Expression memoTerm = compileFor("\"X\"$UPPER(MEMO)", fields);
    EXPECT_TRUE(memoTerm.usesMemo());
    EXPECT_TRUE(memoTerm.usesField(memo));
    EXPECT_TRUE(compileFor("DATE > DATE() - 30", fields).usesToday());
}

// Fixed-length nodes write keys without intermediate copies; the general path must agree.
TEST(ExprKeys, KeyPathAndValuePathAgree) {
    FieldList fields = contactFields();
    Record rec = sampleContact(fields);
    const char* exprs[] = {
        "UPPER(LNAME-FNAME)",
        "LOWER(LNAME)+UPPER(SUBSTR(FNAME,2,3))",
        "IIF(BEGIN, UPPER(LNAME), LOWER(LNAME))",
        "DTOS(DATE)+DTOS(DATE+1)+STR(SEQNO,8,2)",
        "CITY-STATE-ZIP",
        "UPPER(CITY-(STATE+ZIP))",
        "LEFT(LNAME,2)+RIGHT(FNAME,29)+CHR(65)",
        "UPPER(TRIM(LNAME)-FNAME)",
    };
    for (const char* text : exprs) {
        Expression e = compileFor(text, fields);
        Value v = e.evaluate(rec.ref(), {});
        int len = int(v.str.size());
        EXPECT_EQ(keyOf(e, rec.ref(), len), v.str) << text;
        EXPECT_EQ(keyOf(e, rec.ref(), len + 3), v.str + "   ") << text;
    }
}

}  // namespace
}  // namespace xb
