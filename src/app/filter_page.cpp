// Building the Filter page on the same grid as the Main page.
#include "app/filter_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QStackedLayout>
#include <QVBoxLayout>

#include "app/field_grid.h"

namespace qb {

FilterPage::FilterPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FilterPage"));
    const QString how = QStringLiteral(
        " A value selects the records whose field begins with it; $value those that contain it; "
        "<, <=, > and >= compare. Join alternatives with ; (or), + (and) and ^ (and not).");
    qLName = box("qLName", "LNAME", QStringLiteral("Selects by last name.") + how);
    qFName = box("qFName", "FNAME", QStringLiteral("Selects by first name.") + how);
    qTitle = box("qTitle", "TITLE", QStringLiteral("Selects by title.") + how);
    qOrg = box("qOrg", "ORG", QStringLiteral("Selects by organization.") + how);
    qStreet = box("qStreet", "STREET", QStringLiteral("Selects by street.") + how);
    qZip = box("qZip", "ZIP", QStringLiteral("Selects by ZIP or postal code.") + how);
    qCity = box("qCity", "CITY", QStringLiteral("Selects by city and state.") + how);
    qState = box("qState", "STATE", QStringLiteral("Selects by state or province.") + how);
    qCountry = box("qCountry", "COUNTRY", QStringLiteral("Selects by country.") + how);
    qPhone = box("qPhone", "PHONE", QStringLiteral("Selects by phone number.") + how);
    qFax = box("qFax", "FAX", QStringLiteral("Selects by fax number.") + how);
    qEmail = box("qEmail", "EMAIL", QStringLiteral("Selects by e-mail address.") + how);
    qDate = box("qDate", nullptr,
                QStringLiteral("Selects by date, typed in the date format of the "
                               "preferences; start with <, <=, > or >= to compare."));
    qCodes = box("qCodes", "NOTES", QStringLiteral("Selects by your codes.") + how);

    // The date box has the Main page date box's width, so the two line up.
    qDate->setFixedWidth(qDate->widthFor(kWidestDate));
    auto* dateCell = new QWidget(this);
    auto* dateRow = new QHBoxLayout(dateCell);
    dateRow->setContentsMargins(0, 0, 0, 0);
    dateRow->addWidget(qDate);
    dateRow->addStretch();

    qMatchCount = new QLabel(this);
    qMatchCount->setObjectName(QStringLiteral("qMatchCount"));
    qMatchCount->setWhatsThis(QStringLiteral("How many contacts the filter selects."));
    auto* hint = new QLabel(QStringLiteral("Fill in the boxes that the contacts must match, then "
                                           "press Set Now.") +
                                how,
                            this);
    hint->setObjectName(QStringLiteral("FilterHint"));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto label = [this](const char* text) { return new QLabel(QLatin1String(text), this); };
    using namespace slot;
    QGridLayout* grid = makeFieldGrid(
        {
            {kNameRow, 0, 1, label("Last"), qLName},
            {kNameRow, 1, 1, label("First"), qFName},
            {kTitleRow, 1, 2, label("Title"), qTitle},
            {kOrgRow, 0, 3, label("Org"), qOrg},
            {kStreetRow, 0, 3, label("Street"), qStreet},
            {kCityRow, 0, 1, label("City"), qCity},
            {kCityRow, 1, 1, label("State or Prov"), qState},
            {kCityRow, 2, 1, label("Zip or Postal"), qZip},
            {kCountryRow, 0, 1, label("Country"), qCountry},
            {kCountryRow, 1, 2, label("Phone"), qPhone},
            {kEmailRow, 0, 1, label("E-mail"), qEmail},
            {kEmailRow, 1, 2, label("Fax"), qFax},
            {kDateRow, 0, 1, label("Date"), dateCell},
            {kDateRow, 1, 2, label("Codes"), qCodes},
            {kMemoRow, 0, 3, nullptr, hint},
        },
        this);
    grid->setRowStretch(kMemoRow, 1);

    qSetFilterButton = new QPushButton(QStringLiteral("Set &Now"), this);
    qSetFilterButton->setObjectName(QStringLiteral("qSetFilterButton"));
    qSetFilterButton->setWhatsThis(QStringLiteral("Shows only the contacts that match the boxes."));
    qClearButton = new QPushButton(QStringLiteral("C&lear"), this);
    qClearButton->setObjectName(QStringLiteral("qClearButton"));
    qClearButton->setWhatsThis(QStringLiteral("Empties the boxes and shows every contact again."));
    // Set Now lies where Add is on the Main page, Clear where Delete is.
    QGridLayout* bar = makeButtonBar({{qSetFilterButton}, {nullptr}, {qClearButton}}, this);
    auto* buttons = new QHBoxLayout;
    buttons->addLayout(bar);
    buttons->addWidget(qMatchCount, 1);

    // The widgets above move into the content widget with its layout.
    content = new QWidget(this);
    content->setObjectName(QStringLiteral("FilterContent"));
    auto* page = new QVBoxLayout(content);
    page->setContentsMargins(8, 8, 8, 6);
    page->addLayout(grid, 1);
    page->addLayout(buttons);

    NoData = noDataPanel(this);
    NoData->setObjectName(QStringLiteral("FilterNoData"));
    auto* stack = new QStackedLayout(this);
    stack->setStackingMode(QStackedLayout::StackAll);
    stack->addWidget(content);
    stack->addWidget(NoData);
    showNoData(false);
}

void FilterPage::showNoData(bool show) {
    NoData->setVisible(show);
    if (show) {
        NoData->raise();
        qMatchCount->clear();
    }
    content->setEnabled(!show);
}

EnterEdit* FilterPage::box(const char* name, const char* field, const QString& help) {
    auto* edit = new EnterEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setWhatsThis(help);
    // As wide as its Main page twin, so the two pages line up.
    if (field) holdField(edit, field);
    return edit;
}

QList<EnterEdit*> FilterPage::queryBoxes() const {
    return {qLName, qFName,   qTitle, qOrg, qStreet, qZip,  qCity,
            qState, qCountry, qPhone, qFax, qEmail,  qDate, qCodes};
}

}  // namespace qb
