// The Main page following the records and the Browse grid: its keys, its lazy rows and its
// link to the current record.
#include <QApplication>
#include <QHeaderView>
#include <QTest>

#include "app/browse_page.h"
#include "app/filter_page.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app_fixture.h"
#include "controls/beep.h"

namespace qb {
namespace {

using test::AppTest;

class PagesTest : public AppTest {
  protected:
    TQBMMain& startWith(const std::vector<test::Contact>& people) {
        contactFile(QStringLiteral("QUILLB1.DBF"), people);
        return start();
    }
    BrowseGrid* grid() { return window->browsePage()->DBGrid1; }
};

TEST_F(PagesTest, TheRecordButtonsStepThroughTheOrderAndBeepAtTheEnds) {
    TQBMMain& w = startWith({{"Cole", "C"}, {"Adams", "A"}, {"Baker", "B"}});
    MainPage& m = *w.mainPage();
    const int beeps = beepCount();
    m.RecordPrev->click();
    EXPECT_EQ(beepCount(), beeps + 1);
    EXPECT_EQ(m.Last->text(), QStringLiteral("Adams"));
    m.RecordNext->click();
    EXPECT_EQ(m.Last->text(), QStringLiteral("Baker"));
    EXPECT_EQ(m.First->text(), QStringLiteral("B"));
    m.RecordNext->click();
    EXPECT_EQ(m.Last->text(), QStringLiteral("Cole"));
    EXPECT_EQ(beepCount(), beeps + 1);
    m.RecordNext->click();
    EXPECT_EQ(beepCount(), beeps + 2);
    // The last record stays on show and every record command stays available.
    EXPECT_EQ(m.Last->text(), QStringLiteral("Cole"));
    EXPECT_FALSE(m.EditButton->isHidden());
    m.RecordPrev->click();
    EXPECT_EQ(m.Last->text(), QStringLiteral("Baker"));
    EXPECT_TRUE(m.RecordNext->autoRepeat());
    EXPECT_EQ(w.browsePage()->RecordNext2->autoRepeatDelay(), 100);
    EXPECT_EQ(w.browsePage()->RecordNext2->autoRepeatInterval(), 25);
}

TEST_F(PagesTest, AtTheDefaultSizeTheShortFieldsBoxesShowTheirValuesWhole) {
    TQBMMain& w = startWith({{"Adams", "A"}});
    QCoreApplication::processEvents();
    // 610 by 450, or larger where the font needs it.
    EXPECT_EQ(w.size(), QSize(610, 450).expandedTo(w.minimumSizeHint()));
    const MainPage& m = *w.mainPage();
    EXPECT_GE(m.Zip->width(), m.Zip->widthFor(QStringLiteral("62704-1234")));
    EXPECT_GE(m.Middle->width(), m.Middle->widthFor(QStringLiteral("W")));
    EXPECT_GE(m.Date->width(), m.Date->widthFor(QStringLiteral("12/31/1997")));
    const int chars = m.First->fontMetrics().averageCharWidth();
    for (const auto& [box, width] : {std::pair{m.First, 30},
                                     {m.City, 30},
                                     {m.State, 20},
                                     {m.Prefix, 12},
                                     {m.Phone, 30},
                                     {m.Email, 30}}) {
        EXPECT_GE(box->width(), box->widthFor(QString()) + width * chars)
            << box->objectName().toStdString();
    }
    // The Filter page's boxes keep lying over their twins.
    w.FilterButtonClick();
    QCoreApplication::processEvents();
    const FilterPage& f = *w.filterPage();
    EXPECT_EQ(f.qZip->geometry(), m.Zip->geometry());
    EXPECT_EQ(f.qLName->geometry(), m.Last->geometry());
}

TEST_F(PagesTest, EnterMovesToTheNextBoxAndTheMiddleInitialIsACapital) {
    TQBMMain& w = startWith({{"Adams", "A"}});
    MainPage& m = *w.mainPage();
    w.activateWindow();
    ASSERT_TRUE(w.contactTable().edit());
    m.Last->setFocus();
    QTest::keyClick(m.Last, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), m.First);
    QTest::keyClick(m.First, Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), m.Middle);
    QTest::keyClicks(m.Middle, QStringLiteral("q"));
    EXPECT_EQ(m.Middle->text(), QStringLiteral("Q"));
    EXPECT_EQ(m.Middle->maxLength(), 1);
    EXPECT_EQ(m.Last->maxLength(), 30);
    // What was typed reaches the record when it is posted.
    ASSERT_TRUE(w.contactTable().post());
    EXPECT_EQ(w.contactTable().text(QStringLiteral("MIDDLE")), QStringLiteral("Q"));
}

TEST_F(PagesTest, TheDateBoxTakesDatesInTheChosenFormat) {
    writeSettings("[Date]\nDateSeparator=.\nShortDateFmt=dd.mm.yy\nDateEditMask=!99.99.99;1;_\n");
    TQBMMain& w = startWith({{"Adams", "A"}});
    DateBox* date = w.mainPage()->Date;
    EXPECT_EQ(date->maskedText(), QStringLiteral("  .  .  "));
    EXPECT_EQ(date->maskedText(), w.blankDateText());
    ASSERT_TRUE(w.contactTable().edit());
    date->setFocus();
    date->setCursorPosition(0);
    QTest::keyClicks(date, QStringLiteral("311297"));
    EXPECT_EQ(date->maskedText(), QStringLiteral("31.12.97"));
    ASSERT_TRUE(w.contactTable().post());
    EXPECT_EQ(w.contactTable().date(QStringLiteral("DATE")), xb::jdnFromYmd(1997, 12, 31));
    // The grid shows it with dots too.
    w.BrowseButtonClick();
    const auto* model = grid()->model();
    EXPECT_EQ(model->headerData(15, Qt::Horizontal).toString(), QStringLiteral("DATE"));
    EXPECT_EQ(model->index(0, 15).data().toString(), QStringLiteral("31.12.97"));
}

TEST_F(PagesTest, TheGridHasTheContactColumnsAndFollowsTheRecordBothWays) {
    TQBMMain& w =
        startWith({{"Cole", "C"}, {"Adams", "A"}, {"Baker", "B"}, {"Dead", "D", "DELETED"}});
    w.BrowseButtonClick();
    const auto* model = grid()->model();
    ASSERT_EQ(model->rowCount(), 3);
    QStringList titles;
    for (int c = 0; c < model->columnCount(); ++c)
        titles << model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{"Last Name", "First Name", "Middle", "Organization", "City",
                                   "Zip/Postal Code", "Street Address", "PREFIX", "State", "Title",
                                   "Country", "Phone", "Codes", "Email", "Fax", "DATE"}));
    // Display widths in characters: Email (30) is wider than Middle (1).
    EXPECT_GT(grid()->columnWidth(13), grid()->columnWidth(4));
    EXPECT_GT(grid()->columnWidth(0), grid()->columnWidth(2));
    // Every title shows whole, and a ZIP+4 and a telephone number fit their columns.
    for (int c = 0; c < model->columnCount(); ++c)
        EXPECT_GE(grid()->columnWidth(c), grid()->horizontalHeader()->sectionSizeHint(c)) << c;
    const QFontMetrics cells = grid()->fontMetrics();
    EXPECT_GT(grid()->columnWidth(5), cells.horizontalAdvance(QStringLiteral("62704-1234")) + 4);
    EXPECT_GT(grid()->columnWidth(11),
              cells.horizontalAdvance(QStringLiteral("(217) 555-0142")) + 4);

    // Moving in the grid moves the record ...
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Down);
    EXPECT_EQ(w.contactTable().text(QStringLiteral("LNAME")), QStringLiteral("Baker"));
    QTest::keyClick(grid(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(w.contactTable().text(QStringLiteral("LNAME")), QStringLiteral("Cole"));
    EXPECT_EQ(grid()->currentIndex().row(), 2);
    // ... and moving the record moves the grid, with the indicator on its row.
    w.contactTable().first();
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    EXPECT_FALSE(model->headerData(0, Qt::Vertical).toString().isEmpty());
    EXPECT_TRUE(model->headerData(1, Qt::Vertical).toString().isEmpty());
}

TEST_F(PagesTest, EnterEscapeAndDoubleClickReturnToMainAndInsertAddsNothing) {
    TQBMMain& w = startWith({{"Adams", "A"}, {"Baker", "B"}});
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        w.BrowseButtonClick();
        ASSERT_EQ(w.currentPage(), 1);
        QTest::keyClick(grid(), key);
        EXPECT_EQ(w.currentPage(), 0) << key;
    }
    w.BrowseButtonClick();
    QTest::keyClick(grid(), Qt::Key_Insert);
    EXPECT_EQ(w.currentPage(), 1);
    EXPECT_EQ(w.contactTable().recCount(), 2u);
    EXPECT_FALSE(w.contactTable().editing());
    const QRect second = grid()->visualRect(grid()->model()->index(1, 0));
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(w.currentPage(), 0);
    EXPECT_EQ(w.mainPage()->Last->text(), QStringLiteral("Baker"));
}

TEST_F(PagesTest, CtrlDeleteSetsOnlyTheDeletionMarkAfterAsking) {
    TQBMMain& w = startWith({{"Adams", "A"}, {"Baker", "B"}});
    w.BrowseButtonClick();
    script.answerNo(QStringLiteral("Delete record?"));
    QTest::keyClick(grid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid()->model()->rowCount(), 2);

    script.answerYes(QStringLiteral("Delete record?"));
    QTest::keyClick(grid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid()->model()->rowCount(), 1);
    EXPECT_EQ(w.contactTable().text(QStringLiteral("LNAME")), QStringLiteral("Baker"));
    // The record is only marked: its prefix is untouched and it is still in the file.
    EXPECT_EQ(w.contactTable().recCount(), 2u);
    xb::WorkArea& area = w.contactTable().area();
    area.setDeleted(false);
    area.go(1);
    EXPECT_TRUE(area.deleted());
    EXPECT_EQ(area.getText("PREFIX"), "");
    area.setDeleted(true);
}

TEST_F(PagesTest, AMillionRowGridReadsOnlyTheRowsItShows) {
    // Not a million here: enough rows that reading them all would show in the count.
    std::vector<test::Contact> many;
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i)
        names.push_back("Name" + std::to_string(100000 + i));
    for (const auto& n : names)
        many.push_back({n.c_str(), "x"});
    TQBMMain& w = startWith(many);
    w.BrowseButtonClick();
    QApplication::processEvents();
    const auto* model = grid()->datasetModel();
    EXPECT_EQ(model->rowCount(), 3000);
    EXPECT_LE(model->blocksRead(), 2);
    QTest::keyClick(grid(), Qt::Key_End, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(w.contactTable().text(QStringLiteral("LNAME")), QStringLiteral("Name102999"));
    EXPECT_LE(model->blocksRead(), 5);
    EXPECT_EQ(model->index(2999, 0).data().toString(), QStringLiteral("Name102999"));
}

TEST_F(PagesTest, ARecordThatCannotBeReadIsReportedOnceAfterThePaintNotDuringIt) {
    std::vector<std::string> names;
    for (int i = 0; i < 200; ++i)
        names.push_back("Name" + std::to_string(1000 + i));
    std::vector<test::Contact> many;
    for (const auto& n : names)
        many.push_back({n.c_str(), "x"});
    TQBMMain& w = startWith(many);
    // Cut the table short behind the engine's back: most rows can no longer be read.
    QFile table(path(QStringLiteral("QUILLB1.DBF")));
    ASSERT_TRUE(table.resize(table.size() / 4));
    script.acknowledge();
    w.BrowseButtonClick();
    grid()->repaint();  // paints now, reading the first rows
    EXPECT_FALSE(grid()->model()->index(150, 0).data().isValid());
    EXPECT_EQ(script.asked().size(), 0);  // nothing modal while the grid paints
    QApplication::processEvents();
    ASSERT_EQ(script.asked().size(), 1);
    EXPECT_TRUE(script.asked()[0].text.contains(QStringLiteral("QUILLB1.DBF")))
        << script.asked()[0].text.toStdString();
}

}  // namespace
}  // namespace qb
