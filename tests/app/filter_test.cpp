// The Filter page: the terms built from the boxes, Set Now and Clear on a file, the length
// limit, the date box, values holding quotes, and Count Records with and without a filter.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/filter_builder.h"
#include "app/filter_page.h"
#include "app/main_page.h"
#include "records_fixture.h"
#include "store/contact_file.h"
#include "utilities/bulk_dialogs.h"

namespace qb {
namespace {

using test::Rec;

TEST(FilterTerm, OperatorsAlternativesAndQuotingMakeTheExpectedText) {
    struct Case {
        QString text;
        QString term;
    };
    const std::vector<Case> cases = {
        {"smith", R"(UPPER(F)="SMITH")"},
        {">=m", R"(UPPER(F)>="M")"},
        {">m", R"(UPPER(F)>"M")"},
        {"<=m", R"(UPPER(F)<="M")"},
        {"<m", R"(UPPER(F)<"M")"},
        {"$mit", R"("MIT"$UPPER(F))"},
        {"a;b", R"(((UPPER(F)="A").or.(UPPER(F)="B")))"},
        {"a^b", R"(((UPPER(F)="A").and..not.(UPPER(F)="B")))"},
        // ';' binds loosest, then '+', then '^'; parts keep their blanks.
        {"a;b+c", R"(((UPPER(F)="A").or.(((UPPER(F)="B").and.(UPPER(F)="C")))))"},
        {"a+b^c", R"(((UPPER(F)="A").and.(((UPPER(F)="B").and..not.(UPPER(F)="C")))))"},
        {"x; y", R"(((UPPER(F)="X").or.(UPPER(F)=" Y")))"},
        // A double quote in the value picks another delimiter.
        {R"(O"Brien)", R"(UPPER(F)='O"BRIEN')"},
        {R"($O"Brien's)", R"([O"BRIEN'S]$UPPER(F))"},
    };
    QStringList notices;
    const FilterNotice notice = [&](const QString& t) { notices << t; };
    for (const Case& c : cases)
        EXPECT_EQ(FilterTerm(QStringLiteral("F"), c.text, notice), c.term) << c.text.toStdString();
    EXPECT_TRUE(notices.isEmpty());

    EXPECT_EQ(FilterTerm(QStringLiteral("F"), QString(120, u'q'), notice),
              QStringLiteral("UPPER(F)=\"") + QString(99, u'Q') + u'"');
    EXPECT_TRUE(FilterTerm(QStringLiteral("F"), QStringLiteral("a;b\"'c]"), notice).isEmpty());
    EXPECT_EQ(notices, QStringList{unquotableMessage(QStringLiteral("b\"'c]"))});
}

TEST(FilterTerm, TheDateBoxTakesADateInTheFormatWithAnOptionalComparison) {
    DateFormat mdy;
    DateFormat dmy{u'.', QStringLiteral("dd.mm.yy"), QStringLiteral("!99.99.99;1;_")};
    QStringList notices;
    const FilterNotice notice = [&](const QString& t) { notices << t; };
    EXPECT_EQ(DateTerm(QStringLiteral("$01/02/1997"), mdy, notice), R"(DTOS(DATE)="19970102")");
    EXPECT_EQ(DateTerm(QStringLiteral("$=1/2/97"), mdy, notice), R"(DTOS(DATE)="19970102")");
    EXPECT_EQ(DateTerm(QStringLiteral("<=12/31/26"), mdy, notice), R"(DTOS(DATE)<="20261231")");
    EXPECT_EQ(DateTerm(QStringLiteral(">31.12.97"), dmy, notice), R"(DTOS(DATE)>"19971231")");
    EXPECT_EQ(DateTerm(QStringLiteral("5/6/2001"), mdy, notice), R"(DTOS(DATE)="20010506")");
    EXPECT_TRUE(notices.isEmpty());
    EXPECT_TRUE(DateTerm(QStringLiteral("31/12/1997"), mdy, notice).isEmpty());
    EXPECT_TRUE(DateTerm(QStringLiteral("<"), mdy, notice).isEmpty());
    EXPECT_EQ(notices,
              QStringList(2, QStringLiteral("Invalid date. Must be in the format:mm/dd/yyyy")));

    // Boxes in build order, blanks skipped, the invalid date left out, joined by " and ".
    QStringList boxes(14);
    boxes[0] = QStringLiteral("a");
    boxes[1] = QStringLiteral("   ");
    boxes[6] = QStringLiteral("$ville");
    boxes[kDateBox] = QStringLiteral("99/99/99");
    boxes[13] = QStringLiteral("vip");
    notices.clear();
    EXPECT_EQ(BuildFilterExpression(boxes, mdy, notice),
              R"(UPPER(LNAME)="A" and "VILLE"$UPPER(CITY+STATE) and UPPER(NOTES)="VIP")");
    EXPECT_EQ(notices.size(), 1);
    EXPECT_TRUE(BuildFilterExpression(QStringList(14), mdy, notice).isEmpty());
}

class FilterTest : public test::RecordsTest {
  protected:
    void SetUp() override {
        RecordsTest::SetUp();
        auto person = [](const char* last, const char* org, const char* date = "") {
            Rec r{{{"LNAME", last}, {"ORG", org}}};
            if (*date) r.fields.push_back({"DATE", date});
            return r;
        };
        startWith({person("Adams", "First Bank", "19970102"), person("Baker", "Bank of Salem"),
                   person("Cole", "Riverbank Trust"), person("Dunn", "Bankers Club"),
                   person("Evans", "Acme", "19970103"), person("Jones", ""), person("Smith", ""),
                   person(" Smith", ""), person("Smithers", ""), person("O\"Brien", ""),
                   Rec{{{"LNAME", "Gone"}, {"PREFIX", "Deleted"}}}});
        window->FilterButtonClick();
    }
    FilterPage& page() { return *window->filterPage(); }
    // Fills the boxes named (all others emptied) and presses Set Now.
    QString setNow(const std::vector<std::pair<EnterEdit*, QString>>& boxes) {
        for (EnterEdit* b : page().queryBoxes())
            b->clear();
        for (const auto& [box, text] : boxes)
            box->setText(text);
        page().qSetFilterButton->click();
        return page().qMatchCount->text();
    }
    bool filterShown() { return !find<QLabel>("FilterStatus")->isHidden(); }
};

TEST_F(FilterTest, SetNowShowsTheMatchesAndTheFilterImageOnlyWhileAFilterIsInForce) {
    EXPECT_EQ(setNow({}), QStringLiteral("10 matches (all records)"));
    EXPECT_FALSE(filterShown());
    EXPECT_TRUE(window->currentFilter().isEmpty());

    EXPECT_EQ(setNow({{page().qOrg, QStringLiteral("$bank")}}), QStringLiteral("4 matches"));
    EXPECT_EQ(window->currentFilter(), QStringLiteral("\"BANK\"$UPPER(ORG)"));
    EXPECT_TRUE(filterShown());
    EXPECT_EQ(visible(), 4u);
    EXPECT_EQ(field("LNAME"), QStringLiteral("Adams"));  // the first record of the view

    EXPECT_EQ(setNow({{page().qOrg, QStringLiteral("bank")}}), QStringLiteral("2 matches"));
    EXPECT_EQ(setNow({{page().qOrg, QStringLiteral("$bank^bank")}}), QStringLiteral("2 matches"));
    // The second alternative keeps its leading blank, so only " Smith" answers to it.
    EXPECT_EQ(setNow({{page().qLName, QStringLiteral("jones; smith")}}),
              QStringLiteral("2 matches"));
    EXPECT_EQ(setNow({{page().qLName, QStringLiteral("jones;smith")}}),
              QStringLiteral("3 matches"));
    EXPECT_EQ(setNow({{page().qLName, QStringLiteral("o\"brien")}}), QStringLiteral("1 match"));
    EXPECT_EQ(setNow({{page().qDate, QStringLiteral("$01/02/1997")}}), QStringLiteral("1 match"));
    EXPECT_EQ(field("LNAME"), QStringLiteral("Adams"));
    EXPECT_EQ(
        setNow({{page().qDate, QStringLiteral(">=1/2/97")}, {page().qOrg, QStringLiteral("a")}}),
        QStringLiteral("1 match"));
    EXPECT_EQ(field("LNAME"), QStringLiteral("Evans"));
}

TEST_F(FilterTest, AFailedOpenLeavesNeitherTheCountNorTheFilterOfTheFileBefore) {
    setNow({{page().qOrg, QStringLiteral("$bank")}});
    const QString missing = path(QStringLiteral("MISSING.DBF"));
    script.acknowledge().acknowledge(unableToOpenMessage(missing));
    window->OpenQBWDBF(missing);
    EXPECT_TRUE(find<QLabel>("FilterNoData")->isVisible());
    EXPECT_TRUE(page().qMatchCount->text().isEmpty());
    EXPECT_TRUE(window->currentFilter().isEmpty());
    EXPECT_FALSE(filterShown());
    window->OpenQBWDBF(path(QStringLiteral("QUILLB1.DBF")));
    EXPECT_FALSE(find<QLabel>("FilterNoData")->isVisible());
}

TEST_F(FilterTest, AltLClearsEveryTimeRatherThanReachingTheLabelsMenu) {
    window->activateWindow();
    for (int press = 0; press < 2; ++press) {
        page().qLName->setText(QStringLiteral("adams"));
        // Whatever dialog the key might wrongly open is closed again, so the test goes on.
        QTimer::singleShot(0, [] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "a dialog opened: " << dialog->objectName().toStdString();
                dialog->close();
            }
        });
        QTest::keyClick(page().qLName, Qt::Key_L, Qt::AltModifier);
        EXPECT_TRUE(page().qLName->text().isEmpty()) << press;
        EXPECT_EQ(page().qMatchCount->text(), QStringLiteral("10 matches (all records)"));
    }
}

TEST_F(FilterTest, AFilterMatchingNothingLeavesAnEmptyViewAndNoFilterAndClearBringsAllBack) {
    EXPECT_EQ(setNow({{page().qLName, QStringLiteral("nobody")}}), QStringLiteral("0 matches"));
    EXPECT_TRUE(window->currentFilter().isEmpty());
    EXPECT_FALSE(filterShown());
    EXPECT_FALSE(table().onRecord());
    EXPECT_TRUE(window->mainPage()->EditButton->isHidden());

    page().qFName->setText(QStringLiteral("x"));
    page().qClearButton->click();
    for (EnterEdit* b : page().queryBoxes())
        EXPECT_TRUE(b->text().isEmpty());
    EXPECT_EQ(page().qMatchCount->text(), QStringLiteral("10 matches (all records)"));
    EXPECT_TRUE(table().onRecord());

    // Only the Filter page's buttons set or clear the filter.
    page().qLName->setText(QStringLiteral("adams"));
    window->MainButtonClick();
    window->qSetFilterButtonClick();
    EXPECT_EQ(visible(), 10u);
}

TEST_F(FilterTest, TheFilterMayHold225CharactersAnd226AreTooMany) {
    auto lessThan = [](int n) { return u'<' + QString(n, u'Z'); };
    // 15 + 95 + " and " + 15 + 95 = 225 characters.
    EXPECT_EQ(setNow({{page().qLName, lessThan(95)}, {page().qFName, lessThan(95)}}),
              QStringLiteral("10 matches"));
    EXPECT_EQ(window->currentFilter().size(), 225);
    EXPECT_TRUE(filterShown());

    script.acknowledge(QStringLiteral("Sorry - filter is too complex.Please simplify it."));
    EXPECT_EQ(setNow({{page().qLName, lessThan(95)}, {page().qFName, lessThan(96)}}),
              QStringLiteral("10 matches (all records)"));
    EXPECT_FALSE(filterShown());
    EXPECT_EQ(table().selection(), QString::fromLatin1(kDeletionExclusion));
}

TEST_F(FilterTest, AnInvalidDateIsReportedAndLeftOut) {
    script.acknowledge(QStringLiteral("Invalid date. Must be in the format:mm/dd/yyyy"));
    EXPECT_EQ(
        setNow({{page().qDate, QStringLiteral("2/30/1997")}, {page().qOrg, QStringLiteral("b")}}),
        QStringLiteral("2 matches"));
    EXPECT_EQ(window->currentFilter(), QStringLiteral("UPPER(ORG)=\"B\""));
}

TEST_F(FilterTest, CountRecordsCountsTheSelectionAndSaysWhetherAFilterIsInForce) {
    window->MainButtonClick();
    script.acknowledge(QStringLiteral("There are 10 records"));
    action("mnuCountRecords")->trigger();
    window->FilterButtonClick();
    setNow({{page().qOrg, QStringLiteral("$bank+$ban")}});
    window->MainButtonClick();
    script.acknowledge(QStringLiteral("There are 4 records which match the current filter"));
    action("mnuCountRecords")->trigger();
    window->FilterButtonClick();
    setNow({{page().qLName, QStringLiteral("o\"brien")}});
    window->MainButtonClick();
    script.acknowledge(QStringLiteral("There is 1 record which matches the current filter"));
    action("mnuCountRecords")->trigger();
}

}  // namespace

TEST_F(FilterTest, DeletingTheFilteredRecordsLeavesTheWindowOnWhatTheFilterNowSelects) {
    setNow({{page().qOrg, QStringLiteral("$bank")}});
    window->MainButtonClick();
    whenModal<utilities::TDeleteRecords>([&](utilities::TDeleteRecords& d) {
        d.DeleteNotFilter->setChecked(true);
        script.acknowledge(QStringLiteral("Deleted 7 records"));
        script.acknowledge(QString::fromLatin1(utilities::kSpaceUsage));
        d.Doit->click();
    });
    action("mnuDeleteRecords")->trigger();
    EXPECT_EQ(table().selection(), window->currentFilter() + QStringLiteral(".and. ") +
                                       QString::fromLatin1(kDeletionExclusion));
    EXPECT_EQ(visible(), 4u);
    EXPECT_EQ(field("LNAME"), QStringLiteral("Adams"));
    EXPECT_TRUE(filterShown());
    EXPECT_FALSE(window->mainPage()->EditButton->isHidden());

    whenModal<utilities::TDeleteRecords>([&](utilities::TDeleteRecords& d) {
        d.DeleteFilter->setChecked(true);
        script.acknowledge(QStringLiteral("Deleted 4 records"));
        script.acknowledge(QString::fromLatin1(utilities::kSpaceUsage));
        d.Doit->click();
    });
    action("mnuDeleteRecords")->trigger();
    EXPECT_EQ(visible(), 0u);
    EXPECT_FALSE(table().onRecord());
    EXPECT_TRUE(window->mainPage()->EditButton->isHidden());
    EXPECT_TRUE(window->mainPage()->DeleteButton->isHidden());
    prompts.verify();
}

}  // namespace qb
