// The Preferences dialog's controls, loading and saving.
#include "app/preferences_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/prompts.h"
#include "labels/imb_mailer_dialog.h"

namespace qb {
namespace {

QCheckBox* check(const char* name, const QString& caption, const QString& help, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setWhatsThis(help);
    return box;
}

}  // namespace

TPreferences::TPreferences(Settings settings, QWidget* parent)
    : QDialog(parent), settings_(std::move(settings)) {
    setObjectName(QStringLiteral("TPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    // A fixed dialog frame with no system buttons besides closing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    tileBackground(this);

    DateFormat_ = new QComboBox(this);
    DateFormat_->setObjectName(QStringLiteral("DateFormat"));
    for (const DateChoice& c : dateChoices())
        DateFormat_->addItem(QLatin1String(c.shortDateFmt));
    DateFormat_->setWhatsThis(
        QStringLiteral("How dates are shown and typed everywhere in the program."));
    auto* dateLabel = new QLabel(QStringLiteral("Date Format"), this);
    dateLabel->setBuddy(DateFormat_);

    auto* adding = new QGroupBox(QStringLiteral(" When adding new records"), this);
    adding->setObjectName(QStringLiteral("AddingPanel"));
    PlugDate_ = check("PlugDate", QStringLiteral("Enter today's date in the date field"),
                      QStringLiteral("A new record gets today's date."), adding);
    PlugCityState_ =
        check("PlugCityState", QStringLiteral("Automatically insert city and state/province"),
              QStringLiteral("After a ZIP code is typed, the city and state of "
                             "another record with that ZIP code are filled in."),
              adding);
    AutoDupCheck_ = check("AutoDupCheck", QStringLiteral("Automatically check for duplicate names"),
                          QStringLiteral("Before a new record is saved, records with the same "
                                         "last and first name are looked for."),
                          adding);
    DefCountry_ = new QLineEdit(adding);
    DefCountry_->setObjectName(QStringLiteral("DefCountry"));
    DefCountry_->setMaxLength(30);
    DefCountry_->setWhatsThis(
        QStringLiteral("The country a new record starts with; leave it "
                       "empty for none."));
    auto* countryLabel = new QLabel(QStringLiteral("Default Country Name"), adding);
    countryLabel->setBuddy(DefCountry_);
    auto* carryLabel = new QLabel(QStringLiteral("Carry forward the following fields:"), adding);
    const QString carryHelp = QStringLiteral(
        "A new record starts with this field copied from the record that was "
        "current when Add was pressed.");
    CarryOrg_ = check("CarryOrg", QStringLiteral("Organization"), carryHelp, adding);
    CarrySA1_ = check("CarrySA1", QStringLiteral("Street Address "), carryHelp, adding);
    CarryCity_ = check("CarryCity", QStringLiteral("City"), carryHelp, adding);
    CarryState_ = check("CarryState", QStringLiteral("State/Province"), carryHelp, adding);
    CarryZip_ = check("CarryZip", QStringLiteral("Zip/Postal Code"), carryHelp, adding);
    CarryCountry_ = check("CarryCountry", QStringLiteral("Country"), carryHelp, adding);

    auto* addingLayout = new QGridLayout(adding);
    addingLayout->addWidget(PlugDate_, 0, 0, 1, 3);
    addingLayout->addWidget(PlugCityState_, 1, 0, 1, 3);
    addingLayout->addWidget(AutoDupCheck_, 2, 0, 1, 3);
    addingLayout->addWidget(countryLabel, 3, 0);
    addingLayout->addWidget(DefCountry_, 3, 1, 1, 2);
    addingLayout->addWidget(carryLabel, 4, 0, 1, 3);
    addingLayout->addWidget(CarryOrg_, 5, 0);
    addingLayout->addWidget(CarrySA1_, 5, 1);
    addingLayout->addWidget(CarryCity_, 5, 2);
    addingLayout->addWidget(CarryState_, 6, 0);
    addingLayout->addWidget(CarryZip_, 6, 1);
    addingLayout->addWidget(CarryCountry_, 6, 2);

    auto* ok = new QPushButton(QStringLiteral("Save"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    auto* pointer = newPointerHelpButton(this);
    auto* imb = new QPushButton(QStringLiteral("Intelligent Mail..."), this);
    imb->setObjectName(QStringLiteral("ImbButton"));
    imb->setWhatsThis(QStringLiteral("The mailer's values the Intelligent Mail barcode carries."));

    auto* top = new QHBoxLayout;
    top->addWidget(dateLabel);
    top->addWidget(DateFormat_);
    top->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(imb);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addWidget(pointer);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(adding);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(DateFormat_, &QComboBox::activated, this, &TPreferences::DateFormatClick);
    connect(ok, &QPushButton::clicked, this, &TPreferences::OKButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { prompts().showHelp(this, 1030); });
    connect(imb, &QPushButton::clicked, this, [this] {
        labels::TImbMailerDialog editor(settings_, this);
        editor.exec();
    });

    LoadPreferences();
    installWhatsThisMenus(this);
}

void TPreferences::LoadPreferences() {
    values_ = Preferences::load(settings_);
    PlugDate_->setChecked(values_.plugDate);
    PlugCityState_->setChecked(values_.plugCityState);
    AutoDupCheck_->setChecked(values_.autoDupCheck);
    DefCountry_->setText(values_.defaultCountry);
    CarryOrg_->setChecked(values_.carryOrg);
    CarrySA1_->setChecked(values_.carrySA1);
    CarryCity_->setChecked(values_.carryCity);
    CarryState_->setChecked(values_.carryState);
    CarryZip_->setChecked(values_.carryZip);
    CarryCountry_->setChecked(values_.carryCountry);
    // Only an exact match selects an entry; a hand-made picture leaves none selected.
    DateFormat_->setCurrentIndex(
        DateFormat_->findText(values_.shortDateFmt, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void TPreferences::DateFormatClick(int index) {
    if (index < 0 || index >= int(dateChoices().size())) return;
    const DateChoice& c = dateChoices()[size_t(index)];
    values_.shortDateFmt = QLatin1String(c.shortDateFmt);
    values_.dateSeparator = QLatin1String(c.dateSeparator);
    values_.dateEditMask = QLatin1String(c.dateEditMask);
}

bool TPreferences::SavePreferences() {
    values_.plugDate = PlugDate_->isChecked();
    values_.plugCityState = PlugCityState_->isChecked();
    values_.autoDupCheck = AutoDupCheck_->isChecked();
    values_.defaultCountry = DefCountry_->text();
    values_.carryOrg = CarryOrg_->isChecked();
    values_.carrySA1 = CarrySA1_->isChecked();
    values_.carryCity = CarryCity_->isChecked();
    values_.carryState = CarryState_->isChecked();
    values_.carryZip = CarryZip_->isChecked();
    values_.carryCountry = CarryCountry_->isChecked();
    return values_.save(settings_);
}

void TPreferences::OKButtonClick() {
    if (!SavePreferences()) {
        prompts().information(
            this, QStringLiteral("The preferences could not be written to ") + settings_.path());
    }
    accept();
}

}  // namespace qb
