// Comparisons: strings under SET EXACT off and on, '==', the ordering operators, and the
// ordering of numbers, dates and logicals.
#include <gtest/gtest.h>

#include "expr_fixture.h"

namespace xb {
namespace {

using testing::compileFor;
using testing::contactFields;
using testing::Record;

bool evalWith(const std::string& text, bool exact, const FieldList& fields, const Record& rec) {
    Expression e = compileFor(text, fields);
    EvalSettings s;
    s.exact = exact;
    return e.evalLogical(rec.ref(), s);
}

bool evalLiteral(const std::string& text, bool exact) {
    static const FieldList none;
    static const Record rec(none);
    return evalWith(text, exact, none, rec);
}

std::string q(const std::string& s) {
    return "\"" + s + "\"";
}

TEST(ExprCompare, SetExactTable) {
    struct Row {
        const char* l;
        const char* r;
        bool eqOff, eqOn, eqEq;
    };
    const Row rows[] = {
        {"abc", "ab", true, false, false}, {"ab", "abc", false, false, false},
        {"ab", "ab ", false, true, false}, {"ab ", "ab", true, true, false},
        {"ab", "", true, false, false},    {"", "ab", false, false, false},
        {"  ", "", true, true, false},     {"", "   ", false, true, false},
        {"ab", "ab", true, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("L=") + q(row.l) + " R=" + q(row.r));
        std::string l = q(row.l), r = q(row.r);
        EXPECT_EQ(evalLiteral(l + "=" + r, false), row.eqOff);
        EXPECT_EQ(evalLiteral(l + "=" + r, true), row.eqOn);
        for (bool exact : {false, true}) {
            EXPECT_EQ(evalLiteral(l + "==" + r, exact), row.eqEq);
            for (const char* ne : {"<>", "#", "!="})
                EXPECT_EQ(evalLiteral(l + ne + r, exact), !(exact ? row.eqOn : row.eqOff)) << ne;
        }
    }
}

TEST(ExprCompare, OrderingOperators) {
    struct Row {
        const char* l;
        const char* r;
        bool exact;
        bool lt, le, gt, ge;
    };
    const Row rows[] = {
        // Without EXACT only R's length counts when L is longer.
        {"SMITH", "SM", false, false, true, false, true},
        // A shorter L that R begins with is smaller.
        {"SM", "SMITH", false, true, true, false, false},
        {"SMITH", "SM", true, false, false, true, true},
        {"ab", "ab ", true, false, true, false, true},
        {"b", "abc", false, false, false, true, true},
        {"", "", false, false, true, false, true},
        {"abc", "", false, false, true, false, true},
        {"abc", "", true, false, false, true, true},
        {"\xDC", "Z", false, false, false, true, true},  // bytes compare unsigned
        {"A", "a", false, true, true, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("L=") + q(row.l) + " R=" + q(row.r) + (row.exact ? " exact" : ""));
        std::string l = q(row.l), r = q(row.r);
        EXPECT_EQ(evalLiteral(l + "<" + r, row.exact), row.lt);
        EXPECT_EQ(evalLiteral(l + "<=" + r, row.exact), row.le);
        EXPECT_EQ(evalLiteral(l + ">" + r, row.exact), row.gt);
        EXPECT_EQ(evalLiteral(l + ">=" + r, row.exact), row.ge);
    }
}

TEST(ExprCompare, DeletionExclusionOnPrefix) {
    FieldList fields = contactFields();
    struct Row {
        const char* prefix;
        bool kept;
    };
    const Row rows[] = {{"", true},         {"Mr.", true},      {"DELETED", false},
                        {"deleted", false}, {"DeLeTeD", false}, {"DELETEDX", false},
                        {"DELETE", true},   {"UNDELETED", true}};
    Expression e = compileFor("UPPER(PREFIX)<>\"DELETED\"", fields);
    for (const Row& row : rows) {
        Record rec(fields);
        rec.set("PREFIX", row.prefix);
        EXPECT_EQ(e.evalLogical(rec.ref(), {}), row.kept) << row.prefix;
    }
}

TEST(ExprCompare, FilterTermsOnFields) {
    FieldList fields = contactFields();
    Record smith(fields);
    smith.set("LNAME", "Smith").set("ORG", "First Bank of Ohio").set("DATE", "20260315");
    Record adams(fields);
    adams.set("LNAME", "Adams").set("ORG", "Adams & Co");
    struct Row {
        const char* expr;
        bool smith, adams;
    };
    const Row rows[] = {
        {"UPPER(LNAME)>=\"SM\"", true, false},
        {"UPPER(LNAME)=\"SM\"", true, false},
        {"UPPER(LNAME)>\"SM\"", false, false},
        {"UPPER(LNAME)<\"SM\"", false, true},
        {"UPPER(LNAME)<=\"SMITH\"", true, true},
        {"\"BANK\"$UPPER(ORG)", true, false},
        {"DTOS(DATE)>=\"20260101\"", true, false},
        {"DTOS(DATE)=\"\"", true, true},
        {"DATE < DATE()", true, true},
        {"UPPER(LNAME)>=\"M\" .and. UPPER(PREFIX)<>\"DELETED\"", true, false},
    };
    EvalSettings s;
    s.today = jdnFromYmd(2026, 6, 1);
    for (const Row& row : rows) {
        Expression e = compileFor(row.expr, fields);
        EXPECT_EQ(e.evalLogical(smith.ref(), s), row.smith) << row.expr;
        EXPECT_EQ(e.evalLogical(adams.ref(), s), row.adams) << row.expr;
    }
}

TEST(ExprCompare, ExactFlagReachesFieldComparisons) {
    FieldList fields = contactFields();
    Record rec(fields);
    rec.set("ZIP", "90210");
    // The field keeps its blanks: "90210     " begins with "902" but only equals "90210"
    // when blanks at the end do not count.
    EXPECT_TRUE(evalWith("ZIP = \"902\"", false, fields, rec));
    EXPECT_FALSE(evalWith("ZIP = \"902\"", true, fields, rec));
    EXPECT_TRUE(evalWith("ZIP = \"90210\"", true, fields, rec));
    EXPECT_FALSE(evalWith("ZIP == \"90210\"", true, fields, rec));
    EXPECT_TRUE(evalWith("TRIM(ZIP) == \"90210\"", false, fields, rec));
    // Neither side a literal.
    rec.set("STATE", "90").set("CITY", "90210");
    EXPECT_TRUE(evalWith("ZIP = TRIM(STATE)", false, fields, rec));
    EXPECT_FALSE(evalWith("ZIP = TRIM(STATE)", true, fields, rec));
    EXPECT_TRUE(evalWith("TRIM(STATE) < ZIP", false, fields, rec));
    EXPECT_TRUE(evalWith("ZIP = CITY", true, fields, rec));  // widths 10 and 30, blanks after
    EXPECT_FALSE(evalWith("ZIP == CITY", true, fields, rec));
    EXPECT_FALSE(
        evalWith("ZIP = CITY", false, fields, rec));  // the shorter cannot begin with the longer
    EXPECT_TRUE(evalWith("CITY = ZIP", false, fields, rec));
}

// UPPER(field) against a literal has its own node; it must agree with the general path, which
// UPPER(field)+"" takes, for every operator, both EXACT settings and lengths either side.
TEST(ExprCompare, MappedFieldNodeAgreesWithGeneralPath) {
    FieldList fields = contactFields();
    const char* values[] = {"",        "sm",        "smith",        "SMITH",
                            "smi\x01", "m\xfcller", "M\xDCLLER  x", "zzzzzzzzzzzz"};
    const char* literals[] = {"",      "SM",           "SMITH",         "SMITH   ", "SMITHX",
                              "M\xDC", "SMITH       ", "SMITH        ", "\x01",     "SMI"};
    const char* ops[] = {"=", "==", "<>", "#", "!=", "<", "<=", ">", ">="};
    for (const char* op : ops) {
        for (const char* lit : literals) {
            std::string tail = std::string(op) + "\"" + lit + "\"";
            Expression fast = compileFor("UPPER(PREFIX)" + tail, fields);
            Expression general = compileFor("UPPER(PREFIX)+\"\"" + tail, fields);
            for (const char* v : values) {
                Record rec(fields);
                rec.set("PREFIX", v);
                for (bool exact : {false, true}) {
                    EvalSettings s;
                    s.exact = exact;
                    EXPECT_EQ(fast.evalLogical(rec.ref(), s), general.evalLogical(rec.ref(), s))
                        << "UPPER(PREFIX)" << tail << " PREFIX=" << v << " exact=" << exact;
                }
            }
        }
    }
}

TEST(ExprCompare, OtherTypesOrder) {
    FieldList fields = contactFields();
    Record blank(fields);
    Record dated(fields);
    dated.set("DATE", "20000101").set("SEQNO", "-5").set("BEGIN", "T");
    struct Row {
        const char* expr;
        bool blank, dated;
    };
    const Row rows[] = {
        {"SEQNO < 0", false, true},
        {"SEQNO = 0", true, false},
        {"SEQNO >= -5", true, true},
        {"1 < 2 .and. 2.5 > 2 .and. 3 = 3.0 .and. 3 == 3", true, true},
        {".F. < .T.", true, true},
        {".T. = .T. .and. .F. <> .T.", true, true},
        {"BEGIN", false, true},
        {"BEGIN = .T.", false, true},
        {"BEGIN > .F.", false, true},
        // The empty date is smaller than any day.
        {"DATE < DATE()", true, true},
        {"DATE = DATE() - 5000000", true, false},
        {"DATE + 1 > DATE", false, true},
        {"DATE - 1 < DATE", false, true},
    };
    EvalSettings s;
    s.today = jdnFromYmd(2026, 1, 1);
    for (const Row& row : rows) {
        Expression e = compileFor(row.expr, fields);
        EXPECT_EQ(e.evalLogical(blank.ref(), s), row.blank) << row.expr;
        EXPECT_EQ(e.evalLogical(dated.ref(), s), row.dated) << row.expr;
    }
}

}  // namespace
}  // namespace xb
