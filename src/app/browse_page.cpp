// The Browse page's grid and buttons.
#include "app/browse_page.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/field_grid.h"

namespace qb {

std::vector<GridColumn> contactGridColumns() {
    return {
        {QStringLiteral("LNAME"), QStringLiteral("Last Name"), 20},
        {QStringLiteral("FNAME"), QStringLiteral("First Name"), 15},
        {QStringLiteral("MIDDLE"), QStringLiteral("Middle"), 1},
        {QStringLiteral("ORG"), QStringLiteral("Organization"), 20},
        {QStringLiteral("CITY"), QStringLiteral("City"), 15},
        {QStringLiteral("ZIP"), QStringLiteral("Zip/Postal Code"), 4},
        {QStringLiteral("STREET"), QStringLiteral("Street Address"), 20},
        {QStringLiteral("PREFIX"), QStringLiteral("PREFIX"), 4},
        {QStringLiteral("STATE"), QStringLiteral("State"), 20},
        {QStringLiteral("TITLE"), QStringLiteral("Title"), 20},
        {QStringLiteral("COUNTRY"), QStringLiteral("Country"), 15},
        {QStringLiteral("PHONE"), QStringLiteral("Phone"), 15},
        {QStringLiteral("NOTES"), QStringLiteral("Codes"), 15},
        {QStringLiteral("EMAIL"), QStringLiteral("Email"), 30},
        {QStringLiteral("FAX"), QStringLiteral("Fax"), 30},
        // A date takes as many characters as its longest picture.
        {QStringLiteral("DATE"), QStringLiteral("DATE"), 10},
    };
}

BrowsePage::BrowsePage(Dataset* table, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("BrowsePage"));
    DBGrid1 = new BrowseGrid(table, contactGridColumns(), this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setWhatsThis(QStringLiteral(
        "All contacts of the current filter in the current order. Double-click a row or press "
        "Enter to see it on the Main page; Ctrl+Delete deletes it after asking."));
    RecordPrev2 = new RepeatButton(QStringLiteral("\u25C0"), 100, this);
    RecordPrev2->setObjectName(QStringLiteral("RecordPrev2"));
    RecordPrev2->setWhatsThis(QStringLiteral("Moves to the previous contact."));
    RecordNext2 = new RepeatButton(QStringLiteral("\u25B6"), 100, this);
    RecordNext2->setObjectName(QStringLiteral("RecordNext2"));
    RecordNext2->setWhatsThis(QStringLiteral("Moves to the next contact."));

    // The same bar as the Main page, so the record buttons sit where the Main page's do.
    QGridLayout* bar = makeButtonBar({{nullptr}, {nullptr}, {nullptr}, {nullptr}}, this);
    auto* buttons = new QHBoxLayout;
    buttons->addLayout(bar, 1);
    buttons->addWidget(RecordPrev2);
    buttons->addWidget(RecordNext2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 6);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
}

}  // namespace qb
