// Building the Filter page on the same grid as the Main page.
#include "app/filter_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/field_grid.h"

namespace qb {

FilterPage::FilterPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FilterPage"));
    const QString how = QStringLiteral(
        " A value selects the records whose field begins with it; $value those that contain it; "
        "<, <=, > and >= compare. Join alternatives with ; (or), + (and) and ^ (and not).");
    qLName = box("qLName", QStringLiteral("Selects by last name.") + how);
    qFName = box("qFName", QStringLiteral("Selects by first name.") + how);
    qTitle = box("qTitle", QStringLiteral("Selects by title.") + how);
    qOrg = box("qOrg", QStringLiteral("Selects by organization.") + how);
    qStreet = box("qStreet", QStringLiteral("Selects by street.") + how);
    qZip = box("qZip", QStringLiteral("Selects by ZIP or postal code.") + how);
    qCity = box("qCity", QStringLiteral("Selects by city and state.") + how);
    qState = box("qState", QStringLiteral("Selects by state or province.") + how);
    qCountry = box("qCountry", QStringLiteral("Selects by country.") + how);
    qPhone = box("qPhone", QStringLiteral("Selects by phone number.") + how);
    qFax = box("qFax", QStringLiteral("Selects by fax number.") + how);
    qEmail = box("qEmail", QStringLiteral("Selects by e-mail address.") + how);
    qDate = box("qDate", QStringLiteral("Selects by date, typed in the date format of the "
                                        "preferences; start with <, <=, > or >= to compare."));
    qCodes = box("qCodes", QStringLiteral("Selects by your codes.") + how);

    // The date box has the Main page date box's width, so the two line up.
    qDate->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00")) + 20);
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

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(8, 8, 8, 6);
    page->addLayout(grid, 1);
    page->addLayout(buttons);
}

EnterEdit* FilterPage::box(const char* name, const QString& help) {
    auto* edit = new EnterEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setWhatsThis(help);
    return edit;
}

QList<EnterEdit*> FilterPage::queryBoxes() const {
    return {qLName, qFName,   qTitle, qOrg, qStreet, qZip,  qCity,
            qState, qCountry, qPhone, qFax, qEmail,  qDate, qCodes};
}

}  // namespace qb
