// Functions and operators by value: STR(), EMPTY(), '$', the record functions, dates,
// character functions, arithmetic, and how field bytes read as values.
#include <gtest/gtest.h>

#include <cstring>

#include "expr_fixture.h"
#include "xbase/bytes.h"

namespace xb {
namespace {

using testing::compileFor;
using testing::contactFields;
using testing::FakeMemos;
using testing::keyOf;
using testing::padded;
using testing::Record;

Value eval(const std::string& text, const Record& rec, const FieldList& fields,
           const MemoSource* memos = nullptr, uint32_t recno = 1) {
    EvalSettings s;
    s.today = jdnFromYmd(2026, 3, 15);
    return compileFor(text, fields).evaluate(rec.ref(recno, memos), s);
}

class ExprFunctions : public ::testing::Test {
  protected:
    FieldList fields = contactFields();
    Record rec{fields};

    std::string str(const std::string& text) { return eval(text, rec, fields).str; }
    double num(const std::string& text) { return eval(text, rec, fields).num; }
    bool log(const std::string& text) { return eval(text, rec, fields).log; }
};

TEST_F(ExprFunctions, StrFormatting) {
    struct Row {
        const char* seqno;  // the field's text; "" is a blank field
        const char* expr;
        const char* want;
    };
    const Row rows[] = {
        {"", "STR(SEQNO,6,0)", "     0"},
        {"-964", "STR(SEQNO,6,0)", "  -964"},
        {"999999", "STR(SEQNO,6,0)", "999999"},
        {"-99999", "STR(SEQNO,6,0)", "-99999"},
        {"42", "STR(SEQNO)", "        42"},
        {"42", "STR(SEQNO,2)", "42"},
        {"123", "STR(SEQNO,2)", "**"},
        {"-12", "STR(SEQNO,2)", "**"},
        {"", "STR(2.5)", "         3"},  // half away from zero
        {"", "STR(-2.5)", "        -3"},
        {"", "STR(2.4,3)", "  2"},
        {"", "STR(3.14159,6,2)", "  3.14"},
        {"", "STR(2.675,5,2)", " 2.68"},    // rounds the decimal form, not the binary one
        {"", "STR(-0.004,5,2)", " 0.00"},   // no "-0.00"
        {"", "STR(123.456,5,2)", "123.5"},  // decimals give way before the integer part
        {"", "STR(123.456,3,2)", "123"},
        {"", "STR(1234.5,3)", "***"},
        {"", "STR(9.96,3,1)", " 10"},
        {"", "STR(5,6,2)", "  5.00"},
        {"", "STR(1E300*1E10,4)", "****"},
        {"", "STR(0.5,1)", "1"},
        {"7", "STR(SEQNO, 2+2, SEQNO-7)", "   7"},  // length and decimals computed per record
    };
    for (const Row& row : rows) {
        rec.set("SEQNO", row.seqno);
        EXPECT_EQ(str(row.expr), row.want) << row.expr << " SEQNO=" << row.seqno;
    }
}

TEST_F(ExprFunctions, EmptyOnEachType) {
    FakeMemos memos;
    struct Row {
        const char* expr;
        bool onBlank, onFilled;
    };
    const Row rows[] = {
        {"EMPTY(LNAME)", true, false},
        {"EMPTY(SEQNO)", true, false},
        {"EMPTY(DATE)", true, false},
        {"EMPTY(BEGIN)", true, false},
        {"EMPTY(MEMO)", true, false},
        {"EMPTY(\"\")", true, true},
        {"EMPTY(0)", true, true},
        {"EMPTY(.T.)", false, false},
        {"EMPTY(TRIM(LNAME)+\" \")", true, false},
    };
    Record filled(fields);
    filled.set("LNAME", "X").set("SEQNO", "3").set("DATE", "19991231").set("BEGIN", "Y");
    filled.set("MEMO", "5");
    memos.text = "text";
    for (const Row& row : rows) {
        EXPECT_EQ(eval(row.expr, rec, fields, &memos).log, row.onBlank) << row.expr;
        EXPECT_EQ(eval(row.expr, filled, fields, &memos).log, row.onFilled) << row.expr;
    }
    // A memo holding only line ends and blanks counts as empty.
    memos.text = " \r\n\t";
    EXPECT_TRUE(eval("EMPTY(MEMO)", filled, fields, &memos).log);
    // A zero written as text is still zero.
    filled.set("SEQNO", "0.00");
    EXPECT_TRUE(eval("EMPTY(SEQNO)", filled, fields).log);
}

TEST_F(ExprFunctions, ContainmentIncludingEmptyAndMemo) {
    FakeMemos memos;
    memos.text = "Called about the Bank loan";
    rec.set("ORG", "First Bank").set("MEMO", "12");
    struct Row {
        const char* expr;
        bool want;
    };
    const Row rows[] = {
        {"\"Bank\"$ORG", true},
        {"\"BANK\"$ORG", false},  // case counts
        {"\"BANK\"$UPPER(ORG)", true},
        {"upper(\"bank\")$upper(ORG)", true},
        {"\"\"$ORG", false},  // an empty needle is found nowhere
        {"\"\"$UPPER(ORG)", false},
        {"\"\"$\"\"", false},
        {"\"loan\"$MEMO", true},
        {"\"LOAN\"$UPPER(MEMO)", true},
        {"\"fee\"$MEMO", false},
        {"\"Bank\"$MEMO .and. \"Bank\"$ORG", true},
        {"LEFT(MEMO,6)$\"Called out\"", true},  // memo on the left
        {"ORG$\"First Bank\"", false},          // the field keeps its blanks
        {"TRIM(ORG)$\"First Bank\"", true},
        {"\"First Bank\"$ORG", true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(eval(row.expr, rec, fields, &memos).log, row.want) << row.expr;
    // Without a memo source memo fields read as empty.
    EXPECT_FALSE(eval("\"loan\"$MEMO", rec, fields).log);
    EXPECT_EQ(eval("LEN(MEMO)", rec, fields, &memos).num, double(memos.text.size()));
}

TEST_F(ExprFunctions, RecordFunctions) {
    EXPECT_FALSE(eval("DELETED()", rec, fields).log);
    rec.deleted(true);
    EXPECT_TRUE(eval("DELETED()", rec, fields).log);
    EXPECT_TRUE(eval(".NOT. DELETED() = .F.", rec, fields).log);
    EXPECT_TRUE(eval("Recno()=123", rec, fields, nullptr, 123).log);
    EXPECT_FALSE(eval("Recno()=123", rec, fields, nullptr, 124).log);
    EXPECT_EQ(eval("RECNO()", rec, fields, nullptr, 4000000000u).num, 4000000000.0);
    EXPECT_TRUE(eval("recno() > 5", rec, fields, nullptr, 6).log);
}

TEST_F(ExprFunctions, Dates) {
    EXPECT_EQ(str("DTOS(DATE)"), "        ");
    rec.set("DATE", "20240228");
    EXPECT_EQ(str("DTOS(DATE)"), "20240228");
    EXPECT_EQ(str("DTOS(DATE+1)"), "20240229");
    EXPECT_EQ(str("DTOS(DATE+2)"), "20240301");
    EXPECT_EQ(str("DTOS(1+DATE)"), "20240229");
    EXPECT_EQ(str("DTOS(DATE-59)"), "20231231");
    EXPECT_EQ(str("DTOS(DATE+1.9)"), "20240229");                     // whole days only
    double days = jdnFromYmd(2026, 3, 15) - jdnFromYmd(2024, 2, 28);  // DATE() in these tests
    EXPECT_EQ(num("DATE() - DATE"), days);
    EXPECT_EQ(num("DATE - DATE()"), -days);
    EXPECT_EQ(num("YEAR(DATE)*10000 + MONTH(DATE)*100 + DAY(DATE)"), 20240228.0);
    EXPECT_EQ(str("DTOS(DATE())"), "20260315");
    EXPECT_TRUE(log("DATE < DATE()"));
    EXPECT_TRUE(log("DTOS(DATE)>=\"20240101\" .and. DTOS(DATE)<\"20250101\""));
    // Damaged or empty dates.
    for (const char* bad : {"20241301", "20230229", "2024-1-1", "00000000", "        "}) {
        rec.set("DATE", bad);
        EXPECT_EQ(str("DTOS(DATE)"), "        ") << bad;
        EXPECT_TRUE(log("EMPTY(DATE)")) << bad;
        EXPECT_EQ(num("YEAR(DATE)"), 0.0) << bad;
        EXPECT_EQ(num("DATE() - DATE"), 0.0) << bad;  // no days between a day and no day
        EXPECT_TRUE(log("EMPTY(DATE + 1)")) << bad;
    }
    // Moving past the calendar gives the empty date rather than a wrapped one.
    rec.set("DATE", "99991231");
    EXPECT_EQ(str("DTOS(DATE+1)"), "        ");
    EXPECT_EQ(str("DTOS(DATE-1E300)"), "        ");
}

TEST_F(ExprFunctions, CharacterFunctions) {
    rec.set("LNAME", "  Smith").set("FNAME", "John");
    struct Row {
        const char* expr;
        std::string want;
    };
    const Row rows[] = {
        {"TRIM(LNAME)", "  Smith"},
        {"RTRIM(LNAME)", "  Smith"},
        {"LTRIM(LNAME)", padded("Smith", 28)},
        {"ALLTRIM(LNAME)", "Smith"},
        {"SUBSTR(FNAME,2,2)", "oh"},
        {"SUBSTR(FNAME,3)", padded("hn", 28)},
        {"SUBSTR(FNAME,0,2)", "Jo"},
        {"SUBSTR(FNAME,31)", ""},
        {"SUBSTR(FNAME,2,-1)", ""},
        {"SUBSTR(\"abc\",2,99)", "bc"},
        {"SUBSTR(TRIM(FNAME),SEQNO+2,2)", "oh"},
        {"LEFT(FNAME,3)", "Joh"},
        {"LEFT(FNAME,-3)", ""},
        {"RIGHT(TRIM(FNAME),2)", "hn"},
        {"RIGHT(\"abc\",9)", "abc"},
        {"SPACE(3)+\"x\"", "   x"},
        {"SPACE(-3)", ""},
        {"REPLICATE(\"ab\",3)", "ababab"},
        {"UPPER(\"m\xfcller\")", "M\xDCLLER"},
        {"LOWER(\"ABC\")", "abc"},
        {"CHR(65)+CHR(321)", "AA"},
        {"IIF(LEN(TRIM(LNAME))>5, \"long\", \"short\")", "long"},
        {"MAX(\"abc\",\"abd\")+MIN(\"b\",\"a\")", "abda"},
        {"\"x\"+[y]+'z'", "xyz"},
        {"\"a\"-\"b\"", "ab"},
        {"\"a  \"-\"b\"", "ab  "},
    };
    for (const Row& row : rows)
        EXPECT_EQ(str(row.expr), row.want) << row.expr;
    EXPECT_EQ(num("LEN(LNAME)"), 30.0);
    EXPECT_EQ(num("LEN(ALLTRIM(LNAME))"), 5.0);
    EXPECT_EQ(num("AT(\"it\",LNAME)"), 5.0);
    EXPECT_EQ(num("AT(\"xx\",LNAME)"), 0.0);
    EXPECT_EQ(num("AT(\"\",LNAME)"), 0.0);
    EXPECT_EQ(num("ASC(FNAME)"), double('J'));
    EXPECT_EQ(num("ASC(\"\")"), 0.0);
    EXPECT_EQ(num("ASC(\"\xFC\")"), 252.0);
}

TEST_F(ExprFunctions, Arithmetic) {
    struct Row {
        const char* expr;
        double want;
    };
    const Row rows[] = {
        {"1+2*3", 7},
        {"(1+2)*3", 9},
        {"2^3", 8},
        {"2**3**2", 64},
        {"-2^2", 4},
        {"2^-1", 0.5},
        {"7%3", 1},
        {"-7%3", 2},
        {"7%-3", -2},
        {"MOD(-7,3)", 2},
        {"10/4", 2.5},
        {"1/0", 0},
        {"5%0", 0},
        {"0/0", 0},
        {"(-8)^(1/3)", 0},
        {"ABS(-3.5)", 3.5},
        {"INT(-3.7)", -3},
        {"INT(3.7)", 3},
        {"ROUND(2.5,0)", 3},
        {"ROUND(-2.5,0)", -3},
        {"ROUND(1234.5678,2)", 1234.57},
        {"ROUND(1250,-2)", 1300},
        {"ROUND(2.675,2)", 2.68},
        {"MAX(3,-1)", 3},
        {"MIN(3,-1)", -1},
        {"VAL(\" 12.5abc\")", 12.5},
        {"VAL(\"-3\")", -3},
        {"VAL(\"abc\")", 0},
        {"VAL(\"1e3\")", 1000},
        {"VAL(\".5\")", 0.5},
        {"+5", 5},
        {"--5", 5},
        {"3-2-1", 0},
        {"12/2/3", 2},
        {"1.5*.5", 0.75},
        {"LEN(\"abc\")*2", 6},
    };
    for (const Row& row : rows)
        EXPECT_DOUBLE_EQ(num(row.expr), row.want) << row.expr;
}

TEST_F(ExprFunctions, FieldBytesReadAsValues) {
    struct Row {
        const char* seqno;
        double want;
    };
    // Junk that is not a number reads as 0 rather than failing a filter or an index build.
    const Row rows[] = {
        {"", 0},       {"12", 12}, {"-12", -12},  {"+7", 7},  {"1.25", 1.25}, {"-.5", -0.5},
        {"1e3", 1000}, {"12x", 0}, {"******", 0}, {"1 2", 0}, {"-", 0},       {".", 0},
        {"0.1", 0.1},  {"inf", 0}, {"nan", 0},    {"1,5", 0},
    };
    for (const Row& row : rows) {
        rec.set("SEQNO", row.seqno);
        EXPECT_DOUBLE_EQ(num("SEQNO"), row.want) << '"' << row.seqno << '"';
    }
    rec.setRaw("SEQNO", "\0\0\0\0\x34\x32", 6);  // NUL padding reads like blanks
    EXPECT_EQ(num("SEQNO"), 42.0);

    // Logical fields: T/t/Y/y are true, anything else false.
    for (const char* b : {"T", "t", "Y", "y"}) {
        rec.set("BEGIN", b);
        EXPECT_TRUE(log("BEGIN")) << b;
    }
    for (const char* b : {"F", "f", "N", "n", "?", " ", "1"}) {
        rec.set("BEGIN", b);
        EXPECT_FALSE(log("BEGIN")) << b;
    }
}

TEST(ExprFieldTypes, BinaryFieldsOfLaterFormats) {
    std::vector<FieldInfo> defs;
    auto add = [&](const char* name, char type, int width) {
        FieldInfo f;
        f.name = name;
        f.type = type;
        f.width = width;
        f.offset = defs.empty() ? 1 : defs.back().offset + defs.back().width;
        f.index = int(defs.size());
        defs.push_back(f);
    };
    add("I", 'I', 4);
    add("Y", 'Y', 8);
    add("B", 'B', 8);
    add("T", 'T', 8);
    add("V", 'V', 6);
    add("G", 'G', 4);
    add("F", 'F', 8);
    FieldList fields(defs);
    std::vector<uint8_t> bytes(size_t(fields.recordLength()), ' ');
    auto at = [&](int i) { return bytes.data() + defs[size_t(i)].offset; };
    putLE32(at(0), uint32_t(-7));
    putLE64(at(1), 0x2BF20);  // 18.0000
    double d = -2.25;
    std::memcpy(at(2), &d, 8);
    putLE32(at(3), uint32_t(jdnFromYmd(2001, 2, 3)));
    putLE32(at(3) + 4, 3600000);
    std::memcpy(at(4), "abc\0\0\x03", 6);
    std::memcpy(at(6), "  -1.5e2", 8);
    RecordRef r;
    r.data = bytes.data();
    auto value = [&](const char* text) { return compileFor(text, fields).evaluate(r, {}); };
    EXPECT_EQ(value("I").num, -7.0);
    EXPECT_EQ(value("Y").num, 18.0);
    EXPECT_EQ(value("B").num, -2.25);
    EXPECT_EQ(value("DTOS(T)").str, "20010203");
    EXPECT_EQ(value("V").str, std::string("abc\0\0\x03", 6));
    EXPECT_EQ(value("G").type, ValueType::Character);  // a memo pointer
    EXPECT_EQ(value("G").str, "");
    // An empty general field keys as blanks (its value has no bytes to copy at all).
    EXPECT_EQ(keyOf(compileFor("G", fields), r, 6), std::string(6, ' '));
    EXPECT_EQ(value("F").num, -150.0);
    EXPECT_EQ(value("I+Y+B").num, 8.75);
    // A datetime outside the calendar, and a double that is not a number, read as empty / 0.
    putLE32(at(3), 7);
    uint64_t nan = 0x7FF8000000000000ull;
    std::memcpy(at(2), &nan, 8);
    EXPECT_TRUE(value("EMPTY(T) .and. B = 0").log);
}

}  // namespace
}  // namespace xb
