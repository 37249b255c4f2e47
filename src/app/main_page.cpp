// Building the Main page and binding its boxes to the contact table.
#include "app/main_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QStackedLayout>
#include <QVBoxLayout>

#include "app/field_grid.h"

namespace qb {

MainPage::MainPage(Dataset* table, QWidget* parent) : QWidget(parent), table_(table) {
    setObjectName(QStringLiteral("MainPage"));
    content = new QWidget(this);
    content->setObjectName(QStringLiteral("MainContent"));

    Last = box("Last", "LNAME",
               QStringLiteral("The contact's last name; the default order "
                              "sorts by it, then by first name."));
    First = box("First", "FNAME", QStringLiteral("The contact's first name."));
    Middle = box("Middle", "MIDDLE", QStringLiteral("The middle initial, always a capital."));
    Middle->setForceUpper(true);
    Middle->setFixedWidth(Middle->widthFor(QStringLiteral("W")));
    Prefix = box("Prefix", "PREFIX",
                 QStringLiteral("A name prefix such as Dr. or Ms. A record whose prefix is "
                                "DELETED counts as deleted and is never shown."));
    Title = box("Title", "TITLE", QStringLiteral("The contact's job title."));
    Org = box("Org", "ORG", QStringLiteral("The organization the contact belongs to."));
    Street = box("Street", "STREET", QStringLiteral("The street address line."));
    City = box("City", "CITY", QStringLiteral("The city."));
    State = box("State", "STATE",
                QStringLiteral("The state or province, usually its "
                               "abbreviation."));
    Zip = box("Zip", "ZIP", QStringLiteral("The ZIP or postal code."));
    Country = box("Country", "COUNTRY",
                  QStringLiteral("The country; leave it empty for "
                                 "domestic mail."));
    Phone = box("Phone", "PHONE",
                QStringLiteral("The telephone number; Dial calls it through "
                               "the modem."));
    Fax = box("Fax", "FAX", QStringLiteral("The fax number."));
    Email = box("Email", "EMAIL", QStringLiteral("The e-mail address."));
    Codes = box("Codes", "NOTES",
                QStringLiteral("Your own codes for grouping contacts; the "
                               "Filter page can select by them."));

    Date = new DateBox(content);
    Date->setObjectName(QStringLiteral("Date"));
    Date->setWhatsThis(
        QStringLiteral("A date of your choosing, typed in the date format of "
                       "the preferences shown beside the box."));
    Date->setFixedWidth(Date->widthFor(kWidestDate));
    Date->bind(table, QStringLiteral("DATE"));
    DateFormatLabel = new QLabel(content);
    DateFormatLabel->setObjectName(QStringLiteral("DateFormatLabel"));
    auto* dateCell = new QWidget(content);
    auto* dateRow = new QHBoxLayout(dateCell);
    dateRow->setContentsMargins(0, 0, 0, 0);
    dateRow->addWidget(Date);
    dateRow->addWidget(DateFormatLabel);
    dateRow->addStretch();

    Memo = new BoundMemo(content);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setWhatsThis(QStringLiteral("Free notes about the contact, as long as you like."));
    Memo->bind(table, QStringLiteral("MEMO"));

    DialButton = button("DialButton", QStringLiteral("Dial"),
                        QStringLiteral("Dials the contact's phone number through the modem."));
    SearchMemoButton = button("SearchMemoButton", QStringLiteral("Search Memo"),
                              QStringLiteral("Finds the first record whose memo holds a text."));
    SearchMemoNextButton =
        button("SearchMemoNextButton", QStringLiteral("Find Next"),
               QStringLiteral("Finds the next record whose memo holds the same text."));
    SearchMemoNextButton->hide();
    auto* memoButtons = new QVBoxLayout;
    memoButtons->addWidget(DialButton);
    memoButtons->addWidget(SearchMemoButton);
    memoButtons->addWidget(SearchMemoNextButton);
    memoButtons->addStretch();
    auto* memoCell = new QWidget(content);
    auto* memoRow = new QHBoxLayout(memoCell);
    memoRow->setContentsMargins(0, 0, 0, 0);
    memoRow->addWidget(Memo, 1);
    memoRow->addLayout(memoButtons);

    using namespace slot;
    QGridLayout* grid = makeFieldGrid(
        {
            {kNameRow, 0, 1, label(QStringLiteral("Last"), Last), Last},
            {kNameRow, 1, 1, label(QStringLiteral("First"), First), First},
            {kNameRow, 2, 1, label(QStringLiteral("Middle"), Middle), Middle},
            {kTitleRow, 0, 1, label(QStringLiteral("Prefix"), Prefix), Prefix},
            {kTitleRow, 1, 2, label(QStringLiteral("Title"), Title), Title},
            {kOrgRow, 0, 3, label(QStringLiteral("Organization"), Org), Org},
            {kStreetRow, 0, 3, label(QStringLiteral("Street"), Street), Street},
            {kCityRow, 0, 1, label(QStringLiteral("City"), City), City},
            {kCityRow, 1, 1, label(QStringLiteral("State/Prov"), State), State},
            {kCityRow, 2, 1, label(QStringLiteral("Zip/Postal"), Zip), Zip},
            {kCountryRow, 0, 1, label(QStringLiteral("Country"), Country), Country},
            {kCountryRow, 1, 2, label(QStringLiteral("Phone"), Phone), Phone},
            {kEmailRow, 0, 1, label(QStringLiteral("Email"), Email), Email},
            {kEmailRow, 1, 2, label(QStringLiteral("Fax"), Fax), Fax},
            {kDateRow, 0, 1, label(QStringLiteral("Date"), Date), dateCell},
            {kDateRow, 1, 2, label(QStringLiteral("Codes"), Codes), Codes},
            {kMemoRow, 0, 3, label(QStringLiteral("Memo"), Memo), memoCell},
        },
        content);
    // Field labels carry no access keys: the menus and the buttons own those letters.
    grid->setRowStretch(kMemoRow, 1);
    grid->itemAtPosition(kMemoRow, 0)->setAlignment(Qt::AlignRight | Qt::AlignTop);

    AddButton = button("AddButton", QStringLiteral("&Add"), QStringLiteral("Adds a new contact."));
    EditButton =
        button("EditButton", QStringLiteral("&Edit"), QStringLiteral("Changes the contact shown."));
    DeleteButton = button("DeleteButton", QStringLiteral("&Delete"),
                          QStringLiteral("Deletes the contact shown, after asking."));
    SearchButton = button("SearchButton", QStringLiteral("Searc&h"),
                          QStringLiteral("Finds a contact by the key of the current order."));
    SaveButton = button("SaveButton", QStringLiteral("&Save"),
                        QStringLiteral("Keeps the changes to this contact."));
    CancelButton = button("CancelButton", QStringLiteral("&Cancel"),
                          QStringLiteral("Drops the changes to this contact."));
    SaveButton->hide();
    CancelButton->hide();
    RecordPrev = new RepeatButton(QStringLiteral("\u25C0"), 300, content);
    RecordPrev->setObjectName(QStringLiteral("RecordPrev"));
    RecordPrev->setWhatsThis(
        QStringLiteral("Shows the previous contact; hold it down to move "
                       "quickly."));
    RecordNext = new RepeatButton(QStringLiteral("\u25B6"), 300, content);
    RecordNext->setObjectName(QStringLiteral("RecordNext"));
    RecordNext->setWhatsThis(
        QStringLiteral("Shows the next contact; hold it down to move "
                       "quickly."));
    // Save lies over Add and Cancel over Edit: only one of each pair is ever shown.
    QGridLayout* bar = makeButtonBar(
        {{AddButton, SaveButton}, {EditButton, CancelButton}, {DeleteButton}, {SearchButton}},
        content);
    auto* buttons = new QHBoxLayout;
    buttons->addLayout(bar, 1);
    buttons->addWidget(RecordPrev);
    buttons->addWidget(RecordNext);

    auto* page = new QVBoxLayout(content);
    page->setContentsMargins(8, 8, 8, 6);
    page->addLayout(grid, 1);
    page->addLayout(buttons);

    NoData = noDataPanel(this);
    NoData->setObjectName(QStringLiteral("NoData"));

    // Enter and Tab visit the boxes in reading order.
    const QList<QWidget*> chain = {Last, First,   Middle, Prefix, Title, Org,  Street, City, State,
                                   Zip,  Country, Phone,  Email,  Fax,   Date, Codes,  Memo};
    for (int i = 0; i + 1 < chain.size(); ++i)
        setTabOrder(chain[i], chain[i + 1]);

    auto* stack = new QStackedLayout(this);
    stack->setStackingMode(QStackedLayout::StackAll);
    stack->addWidget(content);
    stack->addWidget(NoData);
    showNoData(false);
}

BoundEdit* MainPage::box(const char* name, const char* field, const QString& help) {
    auto* edit = new BoundEdit(content);
    edit->setObjectName(QLatin1String(name));
    edit->setWhatsThis(help);
    edit->bind(table_, QLatin1String(field));
    holdField(edit, field);
    return edit;
}

QLabel* MainPage::label(const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text, content);
    l->setBuddy(buddy);
    return l;
}

QPushButton* MainPage::button(const char* name, const QString& caption, const QString& help) {
    auto* b = new QPushButton(caption, content);
    b->setObjectName(QLatin1String(name));
    b->setWhatsThis(help);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

QList<BoundEdit*> MainPage::entryBoxes() const {
    return {Last,  First, Middle,  Prefix, Title, Org, Street, City,
            State, Zip,   Country, Phone,  Email, Fax, Codes};
}

bool MainPage::isEntryBox(const QWidget* w) const {
    if (w == Date || w == Memo || (w && w->parentWidget() == Memo)) return true;
    for (const BoundEdit* b : entryBoxes()) {
        if (b == w) return true;
    }
    return false;
}

void MainPage::showNoData(bool show) {
    NoData->setVisible(show);
    if (show) NoData->raise();
    content->setEnabled(!show);
}

}  // namespace qb
