// Record entry on the Main page: Add with its dialog, duplicate check, ZIP look-up and carried
// values; Save with the memo rule; Delete, Clone, Cancel; the keys and the date box.
#include <QLabel>
#include <QTest>

#include "app/entry_keys.h"
#include "app/main_page.h"
#include "app/new_record_dialog.h"
#include "app/record_entry.h"
#include "controls/beep.h"
#include "records_fixture.h"

namespace qb {
namespace {

using test::Rec;

class RecordEntryTest : public test::RecordsTest {
  protected:
    MainPage& page() { return *window->mainPage(); }
    // Presses Add; when the New Record dialog opens, fills it and presses OK.
    void addWith(const QString& last, const QString& first, const QString& zip) {
        whenModal<TGetFirstLastZip>([=](TGetFirstLastZip& d) {
            if (!d.LastNAme->isHidden()) d.LastNAme->setText(last);
            if (!d.FirstNAme->isHidden()) d.FirstNAme->setText(first);
            if (!d.ZipCode->isHidden()) d.ZipCode->setText(zip);
            d.OKButton->click();
        });
        page().AddButton->click();
    }
    // The stored record as another program would read it, after the window is gone.
    xb::WorkArea& reopen(uint32_t recno) {
        window.reset();
        stored.close();
        stored.use(path(QStringLiteral("QUILLB1.DBF")).toStdString());
        stored.go(recno);
        return stored;
    }
    xb::WorkArea stored;
};

TEST_F(RecordEntryTest, AddWithBothDialogsOffStartsTheRecordAtOnceAndSaveKeepsIt) {
    TQBMMain& w = startWith({{{{"LNAME", "Adams"}, {"FNAME", "Al"}}}});
    bool sawDialog = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* d = QApplication::activeModalWidget()) {
            sawDialog = true;
            d->close();
        }
    });
    page().AddButton->click();
    QApplication::processEvents();
    EXPECT_FALSE(sawDialog);
    ASSERT_EQ(table().state(), DatasetState::Insert);
    EXPECT_EQ(window->focusWidget(), page().Last);
    EXPECT_FALSE(page().SaveButton->isHidden());
    QTest::keyClicks(page().Last, QStringLiteral("Baker"));
    page().SaveButton->click();
    EXPECT_FALSE(w.editing());
    EXPECT_EQ(table().recCount(), 2u);
    EXPECT_EQ(field("LNAME"), QStringLiteral("Baker"));

    // A new record dropped with Cancel leaves the file as it was.
    page().AddButton->click();
    page().CancelButton->click();
    EXPECT_EQ(table().recCount(), 2u);
    EXPECT_FALSE(page().AddButton->isHidden());
}

TEST_F(RecordEntryTest, TheSameNameAsksAndNoShowsTheRecordFoundWithoutAdding) {
    startWith({{{{"LNAME", "BROWN"},
                 {"FNAME", "ANN"},
                 {"STREET", "1 Elm St"},
                 {"CITY", "Salem"},
                 {"STATE", "OR"},
                 {"ZIP", "97301"}}},
               {{{"LNAME", "Adams"}, {"FNAME", "Al"}}}},
              "[Adding]\nAutoDupCheck=1\n");
    ASSERT_EQ(field("LNAME"), QStringLiteral("Adams"));
    const QString question = QStringLiteral(
        "Possible duplicate: \r\n\r\nANN BROWN\r\n1 Elm St\r\nSalem,OR 97301\r\n\r\n"
        "Continue adding?");
    const int beeps = beepCount();
    script.answerNo(question);
    addWith(QStringLiteral("Brown"), QStringLiteral("Ann"), {});
    EXPECT_EQ(script.asked().back().caption, QStringLiteral("Possible Duplicate"));
    EXPECT_TRUE(script.asked().back().defaultNo);
    EXPECT_EQ(beepCount(), beeps + 1);
    EXPECT_FALSE(table().editing());
    EXPECT_EQ(field("LNAME"), QStringLiteral("BROWN"));
    EXPECT_EQ(table().recCount(), 2u);

    // Yes goes on with the names given; the focus skips the boxes already filled.
    script.answerYes(question);
    addWith(QStringLiteral("Brown"), QStringLiteral("Ann"), {});
    ASSERT_EQ(table().state(), DatasetState::Insert);
    EXPECT_EQ(field("LNAME"), QStringLiteral("Brown"));
    EXPECT_EQ(field("FNAME"), QStringLiteral("Ann"));
    EXPECT_EQ(page().Last->text(), QStringLiteral("Brown"));
    EXPECT_EQ(window->focusWidget(), page().Middle);

    // A name not on file asks nothing.
    page().CancelButton->click();
    addWith(QStringLiteral("Brown"), QStringLiteral("Bea"), {});
    EXPECT_EQ(table().state(), DatasetState::Insert);
    EXPECT_EQ(script.asked().size(), 2);
}

TEST_F(RecordEntryTest, AZipOfFiveDigitsFillsCityAndStateFromALongerZipOnFile) {
    startWith(
        {{{{"LNAME", "Smith"}, {"ZIP", "12345-6789"}, {"CITY", "Springfield"}, {"STATE", "IL"}}}},
        "[Adding]\nPlugCityState=1\n");
    addWith({}, {}, QStringLiteral("12345"));
    ASSERT_EQ(table().state(), DatasetState::Insert);
    EXPECT_EQ(field("ZIP"), QStringLiteral("12345"));
    EXPECT_EQ(field("CITY"), QStringLiteral("Springfield"));
    EXPECT_EQ(field("STATE"), QStringLiteral("IL"));
    EXPECT_EQ(page().City->text(), QStringLiteral("Springfield"));
    EXPECT_EQ(window->focusWidget(), page().Last);
    page().CancelButton->click();

    // A ZIP nobody has leaves city and state empty; the record found before stays current.
    addWith({}, {}, QStringLiteral("99999"));
    EXPECT_EQ(field("ZIP"), QStringLiteral("99999"));
    EXPECT_TRUE(field("CITY").isEmpty());
    page().CancelButton->click();
    EXPECT_EQ(field("LNAME"), QStringLiteral("Smith"));
}

TEST_F(RecordEntryTest, TheNewRecordDialogShowsOnlyWhatIsSwitchedOn) {
    TGetFirstLastZip both(true, true);
    TGetFirstLastZip zipOnly(false, true);
    TGetFirstLastZip namesOnly(true, false);
    for (TGetFirstLastZip* d : {&both, &zipOnly, &namesOnly}) {
        d->show();
        QApplication::processEvents();
    }
    EXPECT_FALSE(both.ZipCode->isHidden() || both.LastNAme->isHidden());
    EXPECT_TRUE(zipOnly.LastNAme->isHidden() && zipOnly.FirstNAme->isHidden() &&
                zipOnly.LastLabel->isHidden());
    EXPECT_TRUE(namesOnly.ZipCode->isHidden() && namesOnly.ZipLabel->isHidden());
    // Alone, the ZIP box and its label take the last name's place.
    EXPECT_EQ(zipOnly.ZipCode->geometry(), both.LastNAme->geometry());
    EXPECT_EQ(zipOnly.ZipLabel->y(), both.LastLabel->y());
    EXPECT_EQ(both.LastNAme->maxLength(), 30);
    EXPECT_EQ(both.ZipCode->maxLength(), 10);
    EXPECT_EQ(both.OKButton->text(), QStringLiteral("OK [PgDn]"));
    EXPECT_TRUE(zipOnly.zipCode().isEmpty());
    zipOnly.ZipCode->setText(QStringLiteral(" 02134 "));
    zipOnly.LastNAme->setText(QStringLiteral("hidden"));
    EXPECT_EQ(zipOnly.zipCode(), QStringLiteral("02134"));
    EXPECT_TRUE(zipOnly.lastName().isEmpty());

    // PgDn presses OK; Enter moves to the next box instead.
    both.activateWindow();
    both.LastNAme->setFocus();
    QTest::keyClick(both.LastNAme, Qt::Key_Return);
    EXPECT_FALSE(both.isHidden());
    QTest::keyClick(both.FirstNAme, Qt::Key_PageDown);
    EXPECT_EQ(both.result(), QDialog::Accepted);
}

TEST_F(RecordEntryTest, CarriedValuesAndTheDefaultCountryFollowThePreferences) {
    TQBMMain& w = startWith(
        {{{{"LNAME", "Canadian"},
           {"COUNTRY", "Canada"},
           {"ORG", "Maple Co"},
           {"STREET", "1 Bay St"},
           {"CITY", "Toronto"},
           {"STATE", "ON"},
           {"ZIP", "M5J 2N1"}}},
         {{{"LNAME", "Domestic"}, {"CITY", "Boise"}, {"STATE", "ID"}, {"ZIP", "83702"}}}});
    struct Case {
        const char* current;
        QByteArray adding;
        QString given;         // a ZIP typed into the New Record dialog
        QStringList expected;  // COUNTRY, ORG, STREET, CITY, STATE, ZIP
        bool today;
    };
    const std::vector<Case> cases = {
        {"Canadian", "CarryCountry=0\nDefaultCountry=USA\n", {}, {"", "", "", "", "", ""}, false},
        {"Domestic",
         "CarryCountry=0\nDefaultCountry=USA\n",
         {},
         {"USA", "", "", "", "", ""},
         false},
        {"Canadian",
         "CarryCountry=1\nDefaultCountry=USA\n",
         {},
         {"Canada", "", "", "", "", ""},
         false},
        {"Canadian",
         "CarryOrg=1\nCarrySA1=1\nCarryCity=1\nCarryState=1\nCarryZip=1\nPlugDate=1\n",
         {},
         {"", "Maple Co", "1 Bay St", "Toronto", "ON", "M5J 2N1"},
         true},
        // What the user gives and the look-up finds wins over what is carried.
        {"Canadian",
         "PlugCityState=1\nCarryCity=1\nCarryState=1\nCarryZip=1\n",
         QStringLiteral("83702"),
         {"", "", "", "Boise", "ID", "83702"},
         false},
    };
    for (const Case& c : cases) {
        writeSettings("[Adding]\n" + c.adding);
        w.LoadPreferences();
        ASSERT_TRUE(table().first());
        while (field("LNAME") != QLatin1String(c.current))
            ASSERT_TRUE(table().next());
        if (c.given.isEmpty()) {
            page().AddButton->click();
        } else {
            addWith({}, {}, c.given);
        }
        ASSERT_EQ(table().state(), DatasetState::Insert) << c.adding.constData();
        const QStringList got = {field("COUNTRY"), field("ORG"),   field("STREET"),
                                 field("CITY"),    field("STATE"), field("ZIP")};
        EXPECT_EQ(got, c.expected) << c.adding.constData();
        EXPECT_EQ(table().date(QStringLiteral("DATE")), c.today ? xb::today() : xb::kEmptyDate);
        EXPECT_EQ(w.recordEntry().lastValues().country,
                  c.current == std::string("Canadian") ? QStringLiteral("Canada") : QString());
        page().CancelButton->click();
    }
}

TEST_F(RecordEntryTest, SaveGivesAMemoWhoseLengthIsAMultipleOfFourATrailingBlank) {
    startWith({{{{"LNAME", "Adams"}}}});
    struct Case {
        QString typed;
        QString stored;
    };
    // Lines are stored with a carriage return and a line feed, which count for the length.
    const std::vector<Case> cases = {{"12345678", "12345678 "},
                                     {"1234567", "1234567"},
                                     {"abcd\nef", "abcd\r\nef "},
                                     {"abc\nde", "abc\r\nde"},
                                     {"", ""}};
    for (const Case& c : cases) {
        page().EditButton->click();
        ASSERT_TRUE(table().editing());
        page().Memo->setPlainText(c.typed);
        page().SaveButton->click();
        EXPECT_FALSE(table().editing());
        EXPECT_EQ(table().memo(QStringLiteral("MEMO")), c.stored) << c.typed.toStdString();
    }
    EXPECT_EQ(reopen(1).getMemo("MEMO"), "");
}

TEST_F(RecordEntryTest, DeleteAsksThenMarksAndPrefixesTheRecordAndShowsTheNextOne) {
    TQBMMain& w =
        startWith({{{{"LNAME", "Adams"}}}, {{{"LNAME", "Baker"}}}, {{{"LNAME", "Cole"}}}});
    script.answerNo(QStringLiteral("Delete this record?"));
    page().DeleteButton->click();
    EXPECT_EQ(visible(), 3u);

    script.answerYes(QStringLiteral("Delete this record?"));
    page().DeleteButton->click();
    EXPECT_EQ(field("LNAME"), QStringLiteral("Baker"));
    EXPECT_EQ(visible(), 2u);
    EXPECT_FALSE(w.editing());

    // Deleting the last record of the order shows the one before it.
    ASSERT_TRUE(table().last());
    script.answerYes(QStringLiteral("Delete this record?"));
    page().DeleteButton->click();
    EXPECT_EQ(field("LNAME"), QStringLiteral("Baker"));
    EXPECT_EQ(visible(), 1u);

    xb::WorkArea& a = reopen(1);
    EXPECT_TRUE(a.deleted());
    EXPECT_EQ(a.getText("PREFIX"), "DELETED");
    a.go(2);
    EXPECT_FALSE(a.deleted());
    EXPECT_EQ(a.getText("PREFIX"), "");
}

TEST_F(RecordEntryTest, CloneCopiesEveryFieldButTheReservedOnesAndPostsAtOnce) {
    const std::vector<std::pair<std::string, std::string>> text = {
        {"LNAME", "Adams"}, {"FNAME", "Al"},     {"MIDDLE", "Q"},      {"PREFIX", "Dr."},
        {"TITLE", "Chair"}, {"ORG", "Acme"},     {"STREET", "1 Main"}, {"CITY", "Salem"},
        {"STATE", "OR"},    {"ZIP", "97301"},    {"COUNTRY", "USA"},   {"PHONE", "555-0100"},
        {"EMAIL", "a@b.c"}, {"FAX", "555-0101"}, {"NOTES", "VIP"}};
    Rec full{text};
    full.fields.insert(full.fields.end(), {{"CARRIER", "C001"},
                                           {"BEGIN", "T"},
                                           {"SEQNO", "42"},
                                           {"DATE", "19970102"},
                                           {"MEMO", "Met at the fair"}});
    TQBMMain& w = startWith({full, {{{"LNAME", "Zed"}}}}, "[Adding]\nPlugDate=1\nCarryOrg=1\n");
    action("mnuClone")->trigger();
    EXPECT_FALSE(w.editing());
    EXPECT_EQ(table().recCount(), 3u);
    EXPECT_EQ(table().recNo(), 3u);
    for (const auto& [name, value] : text)
        EXPECT_EQ(field(name.c_str()).toStdString(), value) << name;
    EXPECT_EQ(formatDate(table().date(QStringLiteral("DATE"))), QStringLiteral("01/02/1997"));
    EXPECT_EQ(table().memo(QStringLiteral("MEMO")), QStringLiteral("Met at the fair"));

    // A record without a date clones to one without a date, whatever PlugDate says.
    ASSERT_TRUE(table().last());
    ASSERT_EQ(field("LNAME"), QStringLiteral("Zed"));
    action("mnuClone")->trigger();
    EXPECT_EQ(table().recNo(), 4u);
    EXPECT_EQ(table().date(QStringLiteral("DATE")), xb::kEmptyDate);

    // Only on the Main page.
    const int beeps = beepCount();
    w.BrowseButtonClick();
    action("mnuClone")->trigger();
    EXPECT_EQ(beepCount(), beeps + 1);
    EXPECT_EQ(table().recCount(), 4u);

    xb::WorkArea& a = reopen(3);
    EXPECT_EQ(a.getText("CARRIER"), "");
    EXPECT_EQ(a.getText("SEQNO"), "");
    EXPECT_NE(a.getText("BEGIN"), "T");
    EXPECT_EQ(a.getText("DATE"), "19970102");
    EXPECT_EQ(a.getRaw("DATE"), "19970102");
    a.go(4);
    EXPECT_EQ(a.getRaw("DATE"), "        ");
}

TEST_F(RecordEntryTest, KeysTypeOverMoveBetweenRecordsAndAskBeforeSavingOrCancelling) {
    TQBMMain& w = startWith({{{{"LNAME", "Adams"}, {"MEMO", "Note"}}}, {{{"LNAME", "Baker"}}}});
    MainPage& m = page();
    QTest::keyClick(m.Last, Qt::Key_PageDown);
    EXPECT_EQ(field("LNAME"), QStringLiteral("Baker"));
    QTest::keyClick(m.Last, Qt::Key_PageUp);
    EXPECT_EQ(field("LNAME"), QStringLiteral("Adams"));

    // Typing replaces the character at the caret until Insert is pressed.
    m.EditButton->click();
    m.Last->setFocus();
    m.Last->setCursorPosition(0);
    QTest::keyClick(m.Last, 'X');
    EXPECT_EQ(m.Last->text(), QStringLiteral("Xdams"));
    QTest::keyClick(m.Last, Qt::Key_Insert);
    EXPECT_TRUE(w.entryKeys().insertMode());
    QTest::keyClick(m.Last, 'Y');
    EXPECT_EQ(m.Last->text(), QStringLiteral("XYdams"));
    QTest::keyClick(m.Last, Qt::Key_Insert);
    QTest::keyClick(m.Last, Qt::Key_Backspace);  // never typed over
    EXPECT_EQ(m.Last->text(), QStringLiteral("Xdams"));

    // PgDn asks before saving; Escape before cancelling.
    script.answerYes(QStringLiteral("Save changes?"));
    QTest::keyClick(m.Last, Qt::Key_PageDown);
    EXPECT_FALSE(w.editing());
    EXPECT_EQ(field("LNAME"), QStringLiteral("Xdams"));
    m.EditButton->click();
    QTest::keyClick(m.Last, 'Z');
    script.answerNo(QStringLiteral("Cancel changes?"));
    QTest::keyClick(m.Last, Qt::Key_Escape);
    EXPECT_TRUE(w.editing());
    script.answerYes(QStringLiteral("Cancel changes?"));
    QTest::keyClick(m.Last, Qt::Key_Escape);
    EXPECT_FALSE(w.editing());
    EXPECT_EQ(m.Last->text(), QStringLiteral("Xdams"));

    // Typing into the memo of a record being browsed starts editing, over the first letter.
    m.Memo->moveCursor(QTextCursor::Start);
    QTest::keyClick(m.Memo, 'B');
    EXPECT_TRUE(w.editing());
    // The save above gave the four-letter memo its trailing blank.
    EXPECT_EQ(m.Memo->toPlainText(), QStringLiteral("Bote "));
    m.CancelButton->click();
    EXPECT_EQ(m.Memo->toPlainText(), QStringLiteral("Note "));

    // A double click on a box starts editing too, but not where nothing can be edited.
    QTest::mouseDClick(m.City, Qt::LeftButton);
    EXPECT_TRUE(w.editing());
    m.CancelButton->click();
    w.FilterButtonClick();
    QTest::keyClick(w.mainPage()->Last, Qt::Key_PageDown);
    EXPECT_EQ(field("LNAME"), QStringLiteral("Xdams"));
}

TEST_F(RecordEntryTest, TheStatusBarShowsTypingOverOrInsertingAndCapsLock) {
    startWith({{{{"LNAME", "Adams"}}}});
    MainPage& m = page();
    auto* mode = find<QLabel>("InsertPanel");
    auto* caps = find<QLabel>("CapsPanel");
    EXPECT_EQ(mode->text(), QStringLiteral("OVR"));
    EXPECT_TRUE(caps->text().isEmpty());
    QTest::keyClick(m.Last, Qt::Key_Insert);
    EXPECT_EQ(mode->text(), QStringLiteral("INS"));
    QTest::keyClick(m.Last, Qt::Key_Insert);
    EXPECT_EQ(mode->text(), QStringLiteral("OVR"));
    QTest::keyClick(m.Last, Qt::Key_CapsLock);
    EXPECT_EQ(caps->text(), QStringLiteral("CAPS"));
    // A small letter typed without Shift shows that Caps Lock is off after all.
    QTest::keyClick(m.Last, Qt::Key_A, Qt::NoModifier);
    EXPECT_TRUE(caps->text().isEmpty());
}

TEST_F(RecordEntryTest, TheDateBoxUndoesToTheDateAtEntryAndAnEmptiedBoxStoresNoDate) {
    TQBMMain& w = startWith({{{{"LNAME", "Adams"}, {"DATE", "19970102"}}},
                             {{{"LNAME", "Baker"}, {"DATE", "20010203"}}}});
    MainPage& m = page();
    // An edit started by a double click in the date box remembers that record's date.
    m.Date->setFocus();
    QTest::keyClick(m.Date, Qt::Key_PageDown);
    QTest::mouseDClick(m.Date, Qt::LeftButton);
    ASSERT_TRUE(w.editing());
    EXPECT_EQ(formatDate(w.entryKeys().dateAtEntry()), QStringLiteral("02/03/2001"));
    m.CancelButton->click();
    QTest::keyClick(m.Date, Qt::Key_PageUp);

    m.EditButton->click();
    m.Date->setFocus();
    EXPECT_EQ(formatDate(w.entryKeys().dateAtEntry()), QStringLiteral("01/02/1997"));
    m.Date->setCursorPosition(0);
    QTest::keyClicks(m.Date, QStringLiteral("03042005"));
    EXPECT_EQ(m.Date->text(), QStringLiteral("03/04/2005"));
    ASSERT_TRUE(m.Date->store());
    QTest::keyClick(m.Date, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m.Date->text(), QStringLiteral("01/02/1997"));
    EXPECT_EQ(formatDate(table().date(QStringLiteral("DATE"))), QStringLiteral("01/02/1997"));

    // A date that is no date keeps the record open and says so.
    m.Date->setCursorPosition(0);
    QTest::keyClicks(m.Date, QStringLiteral("13452005"));
    script.acknowledge(QStringLiteral("Invalid date. Must be in the format:mm/dd/yyyy"));
    m.SaveButton->click();
    EXPECT_TRUE(w.editing());

    // Emptied back to its mask, the box leaves the record without a date.
    m.Date->selectAll();
    QTest::keyClick(m.Date, Qt::Key_Delete);
    EXPECT_EQ(m.Date->maskedText(), w.blankDateText());
    EXPECT_EQ(table().date(QStringLiteral("DATE")), xb::kEmptyDate);
    m.SaveButton->click();
    EXPECT_FALSE(w.editing());
    EXPECT_EQ(reopen(1).getRaw("DATE"), "        ");
}

}  // namespace
}  // namespace qb
