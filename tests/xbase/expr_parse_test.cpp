// The language's surface: tokens, precedence, the forms the program sends, and the errors for
// text that does not compile (which must always be an Error, never a crash).
#include <gtest/gtest.h>

#include "expr_fixture.h"

namespace xb {
namespace {

using testing::compileFor;
using testing::contactFields;
using testing::Record;

class ExprParse : public ::testing::Test {
  protected:
    FieldList fields = contactFields();
    Record rec{fields};

    void SetUp() override {
        rec.set("LNAME", "Smith").set("FNAME", "John").set("ORG", "First Bank");
        rec.set("SEQNO", "5").set("BEGIN", "T");
    }
    bool truth(const std::string& text) {
        return compileFor(text, fields).evalLogical(rec.ref(123), {});
    }
};

TEST_F(ExprParse, PrecedenceAndKeywords) {
    struct Row {
        const char* expr;
        bool want;
    };
    const Row rows[] = {
        {"1+2*3=7 and .t.", true},
        {"1+2*3=9", false},
        {".not. 1=2", true},  // NOT is looser than comparison
        {"!1=2", true},
        {"NOT 1=2 AND 2=2", true},
        {"not .f. and .f.", false},  // ... but tighter than AND
        {".T. .or. .F. .and. .F.", true},
        {".F. .and. .T. .or. .T.", true},
        {".F. .and. (.T. .or. .T.)", false},
        {".t..and..not.(1=2)", true},  // dotted keywords may touch
        {".T..AND..NOT..F.", true},
        {"1<2 = .T.", true},  // comparisons run left to right
        {".y. .and. !.n.", true},
        {"1E3 = 1000 .and. 2.5e-1 = .25", true},
        {"\t1 =\r\n1 ", true},
        {"upper(lname)=\"SMITH\"", true},
        {"Upper(LName) = 'SMITH'", true},
        {"UPPER(LNAME)=[SMITH]", true},
        {"contacts->lname = \"Smith\"", true},  // an alias names the table already given
        {"A->LNAME+A->FNAME = \"Smith\"", true},
        {"UPPE(LNAME)=\"SMITH\" .and. SUBS(FNAME,1,2)=\"Jo\" .and. .not. DELE()", true},
        {"Recno()=123", true},
        {"recno() = 124", false},
        {"BEGIN", true},
        {"(((BEGIN)))", true},
        {"\"a\" $ \"cab\" = .T.", true},
        {"-SEQNO = -5 .and. - - SEQNO = 5", true},
        {"SEQNO+1 > 5", true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(truth(row.expr), row.want) << row.expr;
}

// Filters as the program builds them from the filter page and the replace dialog.
TEST_F(ExprParse, FormsTheProgramSends) {
    struct Row {
        const char* expr;
        bool want;
    };
    const Row rows[] = {
        {"UPPER(LNAME)>=\"SM\" and \"BANK\"$UPPER(ORG).and. UPPER(PREFIX)<>\"DELETED\"", true},
        {"((UPPER(LNAME)=\"JO\").or.(UPPER(LNAME)=\"SM\")).and. UPPER(PREFIX)<>\"DELETED\"", true},
        {"((UPPER(LNAME)=\"S\").and.(UPPER(FNAME)=\"J\"))", true},
        {"((UPPER(LNAME)=\"S\").and..not.(UPPER(LNAME)=\"SMI\"))", false},
        {"(((UPPER(LNAME)=\"X\").and..not.(UPPER(LNAME)=\"Y\")).or.(UPPER(LNAME)=\"SM\"))", true},
        {".not.(UPPER(LNAME)>=\"SM\" and UPPER(CITY+STATE)=\"\")", false},
        {"DTOS(DATE)>=\"20260101\" .and. UPPER(PREFIX)<>\"DELETED\"", false},
        {"EMPTY(TITLE)", true},
        {"\"Bank\"$ORG", true},
        {"upper(\"bank\")$upper(ORG)", true},
        {"ORG==\"First Bank\"", false},
        {"upper(ORG)==upper(\"First Bank                    \")", true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(truth(row.expr), row.want) << row.expr;
}

struct ErrorRow {
    std::string expr;
    ErrorCode code;
    std::string says;  // part of the message
};

TEST_F(ExprParse, ErrorsNameTheFault) {
    const ErrorRow rows[] = {
        {"", ErrorCode::Syntax, "empty"},
        {"   ", ErrorCode::Syntax, "empty"},
        {"UPPER(LNAME", ErrorCode::Syntax,
         "column 6: the argument list of UPPER() is never closed"},
        {"(LNAME = \"x\"", ErrorCode::Syntax, "column 1: '(' is never closed"},
        {"UPPER(LNAME))", ErrorCode::Syntax, "column 13: ')' has no matching '('"},
        {"LNAME +", ErrorCode::Syntax, "ends where a value is expected"},
        {"LNAME = \"abc", ErrorCode::Syntax, "column 9: the string has no closing \""},
        {"LNAME = [abc", ErrorCode::Syntax, "no closing ]"},
        {"LNAME = = 'x'", ErrorCode::Syntax, "column 9: a value is expected instead of '='"},
        {".xyz. = 1", ErrorCode::Syntax, "unknown keyword .xyz."},
        {"LNAME @ 1", ErrorCode::Syntax, "column 7: unexpected '@'"},
        {"LNAME = \x01", ErrorCode::Syntax, "unexpected byte 0x01"},
        {"1 2", ErrorCode::Syntax, "column 3: an operator is missing before the number 2"},
        {"f(1,)", ErrorCode::Syntax, "a value is expected instead of ')'"},
        {"()", ErrorCode::Syntax, "nothing between '(' and ')'"},
        {"5.", ErrorCode::Syntax, "a '.' must start"},
        {"12abc", ErrorCode::Syntax, "a number runs into a name"},
        {"1e999 > 0", ErrorCode::Syntax, "out of range"},
        {"A-> = 1", ErrorCode::Syntax, "a field name must follow '->'"},
        {"UPPER(LNAME, FNAME)", ErrorCode::Syntax, "UPPER() takes 1 argument, not 2"},
        {"SUBSTR(LNAME)", ErrorCode::Syntax, "SUBSTR() takes 2 to 3 arguments, not 1"},
        {"DELETED(1)", ErrorCode::Syntax, "takes 0 arguments"},
        {"FOO = 1", ErrorCode::NotFound, "column 1: unknown field FOO"},
        {"LNAME = 'x' .and. NOSUCH", ErrorCode::NotFound, "column 19: unknown field NOSUCH"},
        {"FOO(1)", ErrorCode::NotFound, "unknown function FOO()"},
        {"DELETED", ErrorCode::NotFound, "a function needs parentheses: DELETED()"},
        {"UPPER(3)", ErrorCode::Type,
         "column 7: UPPER() needs a character value as its first argument, not a numeric one"},
        {"LNAME = 3", ErrorCode::Type, "column 7: '=' cannot compare a character and a numeric"},
        {"DATE >= \"20260101\"", ErrorCode::Type, "cannot compare a date and a character"},
        {"LNAME .AND. .T.", ErrorCode::Type, ".AND. needs logical operands, not character"},
        {"BEGIN or SEQNO", ErrorCode::Type, "or needs logical operands"},
        {"LNAME + 1", ErrorCode::Type, "'+' cannot add a character and a numeric value"},
        {"SEQNO - LNAME", ErrorCode::Type, "cannot subtract"},
        {"DATE + DATE", ErrorCode::Type, "cannot add a date and a date"},
        {"SEQNO $ LNAME", ErrorCode::Type, "'$' looks for text in text"},
        {".NOT. LNAME", ErrorCode::Type, ".NOT. needs a logical operand, not a character one"},
        {"!SEQNO", ErrorCode::Type, "needs a logical operand"},
        {"-LNAME", ErrorCode::Type, "a sign needs a numeric operand"},
        {"LNAME * 2", ErrorCode::Type, "'*' needs numeric operands"},
        {"IIF(.T., 1, 'a')", ErrorCode::Type,
         "IIF() needs its second and third arguments of one type"},
        {"IIF(1, 1, 2)", ErrorCode::Type, "IIF() needs a logical value"},
        {"MAX(.T., .F.)", ErrorCode::Type, "numeric, date or character"},
        {"DTOS(LNAME)", ErrorCode::Type, "DTOS() needs a date value"},
        {"STR(SEQNO, 0)", ErrorCode::Argument, "STR() length must be between 1 and 255"},
        {"STR(SEQNO, 10, -1)", ErrorCode::Argument, "decimals"},
        {"SPACE(1E9)", ErrorCode::Argument, "longer than 16 MiB"},
        {"REPLICATE(\"ab\", 1E8) = \"\"", ErrorCode::Argument, "longer than 16 MiB"},
    };
    for (const ErrorRow& row : rows) {
        try {
            compileFor(row.expr, fields);
            ADD_FAILURE() << "compiled: " << row.expr;
        } catch (const Error& e) {
            std::string msg = e.what();
            EXPECT_EQ(e.code(), row.code) << row.expr << ": " << msg;
            EXPECT_NE(msg.find("\"" + row.expr + "\""), std::string::npos) << msg;
            EXPECT_NE(msg.find(row.says), std::string::npos) << row.expr << ": " << msg;
        }
    }
}

// Odd inputs of the kind the fuzzer produces: each compiles to a known value or fails with a
// known code; parse faults are reported before unknown names.
TEST_F(ExprParse, OddInputs) {
    struct Row {
        std::string expr;
        bool compiles;
        ErrorCode code;  // when it does not compile
    };
    const Row rows[] = {
        {"2e", false, ErrorCode::Syntax},
        {"1E+3>0E+", false, ErrorCode::Syntax},
        {"!!;", false, ErrorCode::Syntax},
        {".W.", false, ErrorCode::Syntax},
        {std::string("LNAME\0", 6), false, ErrorCode::Syntax},
        {"O+(E+$", false, ErrorCode::Syntax},
        {"2==2==3", false, ErrorCode::Type},
        {"\"\"-\"\"$VM", false, ErrorCode::NotFound},
        {"A#A#AM#", false, ErrorCode::Syntax},
        {"A#A#AM", false, ErrorCode::NotFound},
        {"0/3/0^0", true, ErrorCode::Syntax},
        {"\"\t\">\"\"", true, ErrorCode::Syntax},
        {"'b#'#'b'", true, ErrorCode::Syntax},
        {"\"\"<MEMO", true, ErrorCode::Syntax},
        {"\"\"$MEMO", true, ErrorCode::Syntax},
        {"1#-PRICE", false, ErrorCode::NotFound},
        {"\xFF\xFE", false, ErrorCode::Syntax},
        {"\"\xFF\xFE\"", true, ErrorCode::Syntax},
    };
    for (const Row& row : rows) {
        try {
            Expression e = compileFor(row.expr, fields);
            EXPECT_TRUE(row.compiles) << row.expr;
            e.evaluate(rec.ref(), {});
        } catch (const Error& e) {
            EXPECT_FALSE(row.compiles) << row.expr << ": " << e.what();
            EXPECT_EQ(e.code(), row.code) << row.expr << ": " << e.what();
        }
    }
}

TEST_F(ExprParse, DeepNestingIsAnErrorNotACrash) {
    auto repeat = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += s;
        return out;
    };
    const std::string deep[] = {
        repeat("(", 100000) + "1" + repeat(")", 100000),
        repeat("(", 100000),
        repeat("-", 100000) + "1",
        repeat(".not.", 50000) + ".t.",
        repeat("!", 100000) + ".t.",
        "1" + repeat("+1", 100000),
        repeat("UPPER(", 100000) + "LNAME" + repeat(")", 100000),
        repeat("IIF(.T.,", 3000) + "1" + repeat(",2)", 3000),
        "LNAME" + repeat("+LNAME", 5000),
        repeat("1+(", 1000) + "1" + repeat(")", 1000),
    };
    for (const std::string& text : deep) {
        try {
            compileFor(text, fields);
            ADD_FAILURE() << "compiled " << text.substr(0, 40);
        } catch (const Error& e) {
            EXPECT_EQ(e.code(), ErrorCode::Syntax);
            EXPECT_NE(std::string(e.what()).find("nested too deeply"), std::string::npos)
                << e.what();
            EXPECT_LT(std::string(e.what()).size(), 400u);  // the quote is shortened
        }
    }
    // Long alias chains are read in a loop, not by recursion.
    EXPECT_EQ(compileFor(repeat("A->", 100000) + "SEQNO", fields).evaluate(rec.ref(), {}).num, 5.0);
    // Nesting within the limit is fine.
    EXPECT_EQ(
        compileFor(repeat("(", 150) + "1" + repeat(")", 150), fields).evaluate(rec.ref(), {}).num,
        1.0);
    EXPECT_EQ(compileFor("1" + repeat("+1", 150), fields).evaluate(rec.ref(), {}).num, 151.0);
}

TEST_F(ExprParse, EvaluationLimitsAndMisuse) {
    // A runaway length that only a record's value reveals fails when evaluated.
    Expression big = compileFor("LEN(SPACE(SEQNO*1E6)) > 0", fields);
    rec.set("SEQNO", "1");
    EXPECT_TRUE(big.evalLogical(rec.ref(), {}));
    rec.set("SEQNO", "99");
    EXPECT_THROW(big.evalLogical(rec.ref(), {}), Error);

    Expression notLogical = compileFor("SEQNO", fields);
    try {
        notLogical.evalLogical(rec.ref(), {});
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.code(), ErrorCode::Type);
        EXPECT_NE(std::string(e.what()).find("\"SEQNO\""), std::string::npos);
    }

    Expression none;
    EXPECT_FALSE(none.valid());
    EXPECT_EQ(none.text(), "");
    EXPECT_EQ(none.keyLength(), 0);
    EXPECT_THROW(none.evaluate(rec.ref(), {}), Error);

    Expression moved = compileFor("UPPER(LNAME)", fields);
    Expression taken = std::move(moved);
    EXPECT_TRUE(taken.valid());
    EXPECT_EQ(taken.text(), "UPPER(LNAME)");
    EXPECT_THROW(taken.evaluate(RecordRef{}, {}), Error);  // no record bytes

    // The compiled form keeps nothing of the field list it was compiled against.
    Expression own;
    {
        FieldList temp = contactFields();
        own = compileFor("UPPER(FNAME)+DTOS(DATE)", temp);
    }
    EXPECT_EQ(own.evaluate(rec.ref(), {}).str, testing::padded("JOHN", 38));
}

}  // namespace
}  // namespace xb
