// Ordering and search: Search by the key of the order chosen (names, city and state, dates),
// and the memo search with Find Next and Cancel.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_page.h"
#include "app/memo_search.h"
#include "app/search_box.h"
#include "controls/beep.h"
#include "records_fixture.h"
#include "store/contact_file.h"

namespace qb {
namespace {

using test::Rec;

class SearchTest : public test::RecordsTest {
  protected:
    MainPage& page() { return *window->mainPage(); }
    // Presses Search and answers the dialog with text; returns its label and date hint.
    QStringList search(const QString& text) {
        QStringList seen;
        whenModal<TSearchBox>([&seen, text](TSearchBox& box) {
            seen << box.SearchForLabel->text()
                 << (box.DateFormatLabel->isHidden() ? QString() : box.DateFormatLabel->text());
            box.SearchForEdit->setText(text);
            box.OKButton->click();
        });
        page().SearchButton->click();
        return seen;
    }
    void order(const char* item) { action(item)->trigger(); }
};

TEST_F(SearchTest, SearchFindsTheFirstKeyThatBeginsWithTheTextOrStaysPut) {
    startWith({{{{"LNAME", "Brown"}}},
               {{{"LNAME", "Adams"}}},
               {{{"LNAME", "Brooks"}}},
               {{{"LNAME", "Broad"}}},
               {{{"LNAME", "Cole"}}}});
    EXPECT_EQ(search(QStringLiteral("bro")), (QStringList{"Search for Last Name", ""}));
    EXPECT_EQ(field("LNAME"), QStringLiteral("Broad"));
    search(QStringLiteral("brow"));
    EXPECT_EQ(field("LNAME"), QStringLiteral("Brown"));
    search(QStringLiteral("zzz"));
    EXPECT_EQ(field("LNAME"), QStringLiteral("Brown"));
    search(QStringLiteral("BA"));  // between Adams and Broad: no key begins with it
    EXPECT_EQ(field("LNAME"), QStringLiteral("Brown"));

    // Cancel and an empty text do nothing.
    whenModal<TSearchBox>([](TSearchBox& box) {
        box.SearchForEdit->setText(QStringLiteral("adams"));
        box.CancelButton->click();
    });
    page().SearchButton->click();
    search(QString());
    EXPECT_EQ(field("LNAME"), QStringLiteral("Brown"));
    EXPECT_FALSE(table().area().exact());
}

TEST_F(SearchTest, AFileOpenedWithoutItsIndexSaysItNeedsRebuildingAndStaysPut) {
    const QString file = fileWith({{{{"LNAME", "Adams"}}}, {{{"LNAME", "Brown"}}}});
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("QUILLB1.CDX"))));
    script.acknowledge(missingIndexMessage(file));
    start();
    table().last();
    // The search box must not even open: there is no key to search by.
    bool boxOpened = false;
    QTimer::singleShot(0, [&boxOpened] {
        if (auto* box = qobject_cast<TSearchBox*>(QApplication::activeModalWidget())) {
            boxOpened = true;
            box->SearchForEdit->setText(QStringLiteral("adams"));
            box->OKButton->click();
        }
    });
    script.acknowledge(missingIndexMessage(file));
    page().SearchButton->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(boxOpened);
    EXPECT_EQ(field("LNAME"), QStringLiteral("Brown"));
}

TEST_F(SearchTest, InCityOrderATextLongerThanTheCityMatchesOnTheState) {
    startWith({{{{"LNAME", "Smith"}, {"CITY", "Springfield"}, {"STATE", "MA"}}},
               {{{"LNAME", "Jones"}, {"CITY", "Springfield"}, {"STATE", "IL"}}},
               {{{"LNAME", "Able"}, {"CITY", "Salem"}, {"STATE", "OR"}}}});
    order("mnuOrderCity");
    EXPECT_EQ(search(QStringLiteral("springfield")).front(), QStringLiteral("Search for City"));
    EXPECT_EQ(field("LNAME"), QStringLiteral("Jones"));
    search(QStringLiteral("Springfield").leftJustified(30, u' ') + QStringLiteral("ma"));
    EXPECT_EQ(field("LNAME"), QStringLiteral("Smith"));
    search(QStringLiteral("Springfield").leftJustified(30, u' ') + QStringLiteral("NY"));
    EXPECT_EQ(field("LNAME"), QStringLiteral("Smith"));
}

TEST_F(SearchTest, InDateOrderTheTextMustBeADateAndOnlyThatDayIsFound) {
    startWith({{{{"LNAME", "Old"}, {"DATE", "19970102"}}},
               {{{"LNAME", "New"}, {"DATE", "20260105"}}},
               {{{"LNAME", "None"}}}});
    order("mnuOrderDate");
    ASSERT_EQ(window->currentOrder(), QStringLiteral("DATE"));
    EXPECT_EQ(search(QStringLiteral("01/05/26")), (QStringList{"Search for Date", "mm/dd/yyyy"}));
    EXPECT_EQ(field("LNAME"), QStringLiteral("New"));
    search(QStringLiteral("1/2/97"));  // two-digit years lie around today
    EXPECT_EQ(field("LNAME"), QStringLiteral("Old"));
    search(QStringLiteral("02/02/2002"));
    EXPECT_EQ(field("LNAME"), QStringLiteral("Old"));
    script.acknowledge(QStringLiteral("Invalid date entered"));
    search(QStringLiteral("13/45/2000"));
    EXPECT_EQ(field("LNAME"), QStringLiteral("Old"));
}

TEST_F(SearchTest, MemoSearchFindsInOrderAndFindNextGoesOnFromTheRecordAfter) {
    TQBMMain& w = startWith({{{{"LNAME", "Cole"}, {"MEMO", "Fair weather friend"}}},
                             {{{"LNAME", "Adams"}, {"MEMO", "Met at the FAIR"}}},
                             {{{"LNAME", "Baker"}}},
                             {{{"LNAME", "Dunn"}, {"MEMO", "nothing special"}}}});
    QPushButton* next = page().SearchMemoNextButton;
    ASSERT_TRUE(table().last());  // the search starts from the first record all the same
    script.answerInput(QStringLiteral("fair"));
    page().SearchMemoButton->click();
    EXPECT_EQ(script.asked().back().caption, QStringLiteral("Memo Search"));
    EXPECT_EQ(script.asked().back().text, QStringLiteral("Search For"));
    EXPECT_EQ(field("LNAME"), QStringLiteral("Adams"));
    EXPECT_TRUE(w.memoFound());
    EXPECT_FALSE(next->isHidden());
    next->click();
    EXPECT_EQ(field("LNAME"), QStringLiteral("Cole"));
    EXPECT_FALSE(next->isHidden());

    // Nothing after Cole: back to Cole with a beep, and Find Next goes away.
    const int beeps = beepCount();
    next->click();
    EXPECT_EQ(field("LNAME"), QStringLiteral("Cole"));
    EXPECT_EQ(beepCount(), beeps + 1);
    EXPECT_FALSE(w.memoFound());
    EXPECT_TRUE(next->isHidden());

    // A text only the current record holds is not found again by Find Next.
    script.answerInput(QStringLiteral("WEATHER"));
    page().SearchMemoButton->click();
    ASSERT_EQ(field("LNAME"), QStringLiteral("Cole"));
    next->click();
    EXPECT_EQ(field("LNAME"), QStringLiteral("Cole"));
    EXPECT_EQ(beepCount(), beeps + 2);
    EXPECT_TRUE(next->isHidden());
    // An empty text is in no memo.
    script.answerInput(QString());
    page().SearchMemoButton->click();
    EXPECT_EQ(field("LNAME"), QStringLiteral("Cole"));
    EXPECT_TRUE(next->isHidden());

    // Editing hides Find Next; opening a file forgets the search.
    script.answerInput(QStringLiteral("fair"));
    page().SearchMemoButton->click();
    page().EditButton->click();
    EXPECT_TRUE(next->isHidden());
    page().CancelButton->click();
    w.OpenQBWDBF(w.currentFileName());
    EXPECT_FALSE(w.memoFound());
}

TEST_F(SearchTest, CancelInTheSearchingWindowReturnsToTheRememberedRecord) {
    TQBMMain& w = startWith({{{{"LNAME", "Adams"}}}, {{{"LNAME", "Zorn"}, {"MEMO", "needle"}}}});
    QString label, caption;
    whenModal<TQBWSearching>([&](TQBWSearching& s) {
        label = s.SearchingFor->text();
        caption = s.windowTitle();
        s.CancelButton->click();
    });
    const int beeps = beepCount();
    script.answerInput(QStringLiteral("needle"));
    page().SearchMemoButton->click();
    EXPECT_EQ(label, QStringLiteral("Searching for: needle"));
    EXPECT_EQ(caption, QStringLiteral("Searching"));
    EXPECT_EQ(field("LNAME"), QStringLiteral("Adams"));
    EXPECT_FALSE(w.memoFound());
    EXPECT_EQ(beepCount(), beeps + 1);
    EXPECT_FALSE(table().controlsDisabled());

    // Left alone, the same search finds it.
    script.answerInput(QStringLiteral("needle"));
    page().SearchMemoButton->click();
    EXPECT_EQ(field("LNAME"), QStringLiteral("Zorn"));
}

TEST(MemoContains, LooksAtTheFirst32767CharactersCaseAside) {
    const QString head(kMemoSearchReach - 6, u'x');
    EXPECT_TRUE(memoContains(head + QStringLiteral("Needle"), QStringLiteral("nEEDLE")));
    EXPECT_FALSE(memoContains(head + QStringLiteral("xNeedle"), QStringLiteral("needle")));
    EXPECT_FALSE(memoContains(QString(), QString()));
    EXPECT_FALSE(memoContains(QStringLiteral("Note"), QString()));
    EXPECT_TRUE(memoContains(QStringLiteral("Café"), QStringLiteral("CAFÉ")));
}

}  // namespace
}  // namespace qb
