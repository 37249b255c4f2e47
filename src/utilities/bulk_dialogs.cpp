// The bulk-edit dialogs: their controls, the questions they ask and their runs.
#include "utilities/bulk_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/prompts.h"
#include "store/contact_schema.h"
#include "utilities/bulk_edits.h"
#include "xbase/error.h"

namespace qb::utilities {
namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QRadioButton* radio(QWidget* parent, const char* name, const QString& caption) {
    auto* r = new QRadioButton(caption, parent);
    r->setObjectName(QLatin1String(name));
    return r;
}

const char* const kTargetItems[] = {
    "LastName", "FirstName", "Middle Initial", "Title", "Organization", "Street", "City",
    "State",    "Zip",       "Country",        "Phone", "Email",        "Fax",    "Codes"};

}  // namespace

const QStringList& replaceTargetFields() {
    static const QStringList fields{
        QStringLiteral("LNAME"),   QStringLiteral("FNAME"), QStringLiteral("MIDDLE"),
        QStringLiteral("TITLE"),   QStringLiteral("ORG"),   QStringLiteral("STREET"),
        QStringLiteral("CITY"),    QStringLiteral("STATE"), QStringLiteral("ZIP"),
        QStringLiteral("COUNTRY"), QStringLiteral("PHONE"), QStringLiteral("EMAIL"),
        QStringLiteral("FAX"),     QStringLiteral("NOTES")};
    return fields;
}

// ---- Shared --------------------------------------------------------------------------------

BulkDialog::BulkDialog(Dataset& contacts, const QString& filter, int helpContext, QWidget* parent)
    : QDialog(parent), contacts_(contacts), filter_(filter) {
    tileBackground(this);
    HelpButton = button(this, "HelpButton", QStringLiteral("Help"));
    MouseHelpButton = newPointerHelpButton(this);
    connect(HelpButton, &QPushButton::clicked, this,
            [this, helpContext] { prompts().showHelp(this, helpContext); });
    Gauge = new QProgressBar(this);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setRange(0, 100);
    Gauge->hide();
}

void BulkDialog::reject() {
    if (!busy_) QDialog::reject();
}

bool BulkDialog::step(uint32_t done, uint32_t total) {
    const int p = total ? int(uint64_t(done) * 100 / total) : 0;
    if (Gauge->value() != p) Gauge->setValue(p);
    if (done % 64 == 0) QCoreApplication::processEvents();
    return !cancelRequested_;
}

void BulkDialog::failedRun(const QString& message) {
    contacts_.resync();
    prompts().information(this, message);
}

// ---- Convert To Uppercase -----------------------------------------------------------------

TConvertToUpper::TConvertToUpper(Dataset& contacts, const QString& filter, QWidget* parent)
    : BulkDialog(contacts, filter, 1011, parent) {
    setObjectName(QStringLiteral("TConvertToUpper"));
    setWindowTitle(QStringLiteral("Convert To Uppercase"));
    OptionsPanel = new QFrame(this);
    OptionsPanel->setObjectName(QStringLiteral("OptionsPanel"));
    const char* const boxes[][2] = {{"cLast", "Last"},
                                    {"cFirst", "First"},
                                    {"cMiddle", "Middle"},
                                    {"ctitle", "Title"},
                                    {"cOrganization", "Organization"},
                                    {"cStreet", "Street"},
                                    {"cCity", "City"},
                                    {"cState", "State/Province"},
                                    {"cZip", "Zip/Postal Code"},
                                    {"cCountry", "Country"},
                                    {"cPrefix", "Prefix"}};
    auto* grid = new QGridLayout;
    int i = 0;
    for (const auto& b : boxes) {
        auto* c = new QCheckBox(QLatin1String(b[1]), OptionsPanel);
        c->setObjectName(QLatin1String(b[0]));
        c->setChecked(true);
        fieldBoxes.push_back(c);
        grid->addWidget(c, i % 6, i / 6);
        ++i;
    }
    cAll = new QCheckBox(QStringLiteral("All"), OptionsPanel);
    cAll->setObjectName(QStringLiteral("cAll"));
    cAll->setChecked(true);
    grid->addWidget(cAll, 5, 1);
    connect(cAll, &QCheckBox::clicked, this, [this](bool on) {
        for (QCheckBox* c : fieldBoxes)
            c->setChecked(on);
    });
    rCurrentRecord = radio(OptionsPanel, "rCurrentRecord", QStringLiteral("Current Record Only"));
    rAllRecords = radio(OptionsPanel, "rAllRecords", QStringLiteral("All Records"));
    rFilterRecords =
        radio(OptionsPanel, "rFilterRecords", QStringLiteral("All Records Matching Filter"));
    rCurrentRecord->setChecked(true);
    rFilterRecords->setEnabled(!filter_.isEmpty());
    auto* scopes = new QVBoxLayout;
    scopes->addWidget(rCurrentRecord);
    scopes->addWidget(rAllRecords);
    scopes->addWidget(rFilterRecords);
    auto* panel = new QHBoxLayout(OptionsPanel);
    panel->addLayout(grid);
    panel->addLayout(scopes);

    ConvertButton = button(this, "ConvertButton", QStringLiteral("Convert"));
    CancelButton = button(this, "CancelButton", QStringLiteral("Cancel"));
    connect(ConvertButton, &QPushButton::clicked, this, &TConvertToUpper::ConvertButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TConvertToUpper::CancelButtonClick);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ConvertButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    buttons->addWidget(HelpButton);
    buttons->addWidget(MouseHelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(OptionsPanel);
    layout->addWidget(Gauge);
    layout->addLayout(buttons);
    installWhatsThisMenus(this);
}

void TConvertToUpper::ConvertButtonClick() {
    if (busy_) return;
    QStringList fields;
    static const char* const names[] = {"LNAME", "FNAME", "MIDDLE", "TITLE",   "ORG",   "STREET",
                                        "CITY",  "STATE", "ZIP",    "COUNTRY", "PREFIX"};
    for (size_t i = 0; i < fieldBoxes.size(); ++i)
        if (fieldBoxes[i]->isChecked()) fields << QLatin1String(names[i]);
    if (fields.isEmpty()) {
        prompts().information(this, QString::fromLatin1(kNoFieldsChecked));
        return;
    }
    HelpButton->hide();
    MouseHelpButton->hide();
    xb::WorkArea& area = contacts_.area();
    const std::string selection = area.dbFilter();
    const uint32_t record = contacts_.onRecord() ? contacts_.recNo() : 0;
    busy_ = true;
    OptionsPanel->hide();
    if (rAllRecords->isChecked()) Gauge->show();
    contacts_.disableControls();
    try {
        std::vector<uint32_t> records;
        if (rCurrentRecord->isChecked()) {
            if (record) records.push_back(record);
        } else {
            if (rAllRecords->isChecked()) area.query(kDeletionExclusion);
            records = selectedRecords(area);
        }
        convertToUpper(area, records, fields,
                       [this](uint32_t done, uint32_t total, int) { return step(done, total); });
        area.query(selection);
    } catch (const xb::Error& e) {
        area.query(selection);
        busy_ = false;
        if (record) area.go(record);
        contacts_.enableControls();
        failedRun(QString::fromUtf8(e.what()));
        done(QDialog::Rejected);
        return;
    }
    if (record) area.go(record);
    contacts_.resync();
    contacts_.enableControls();
    Gauge->hide();
    busy_ = false;
    done(QDialog::Accepted);
}

void TConvertToUpper::CancelButtonClick() {
    if (!busy_) {
        QDialog::reject();
        return;
    }
    if (prompts().confirm(this, QStringLiteral("Confirm"),
                          QStringLiteral("Cancel case conversion?")))
        cancelRequested_ = true;
}

// ---- Search and Replace --------------------------------------------------------------------

TSearchAndReplace::TSearchAndReplace(Dataset& contacts, const QString& filter, QWidget* parent)
    : BulkDialog(contacts, filter, 4570, parent) {
    setObjectName(QStringLiteral("TSearchAndReplace"));
    setWindowTitle(QStringLiteral("Search and Replace"));
    ValuePanel = new QFrame(this);
    ValuePanel->setObjectName(QStringLiteral("ValuePanel"));
    TargetField = new QComboBox(ValuePanel);
    TargetField->setObjectName(QStringLiteral("TargetField"));
    for (const char* item : kTargetItems)
        TargetField->addItem(QLatin1String(item));
    FindExact = radio(ValuePanel, "FindExact",
                      QStringLiteral("Is exactly equal to  (leave empty for blank)"));
    FindPartial = radio(ValuePanel, "FindPartial", QStringLiteral("Contains"));
    FindExact->setChecked(true);
    auto* findGroup = new QButtonGroup(this);
    findGroup->addButton(FindExact);
    findGroup->addButton(FindPartial);
    FindValue = new QLineEdit(ValuePanel);
    FindValue->setObjectName(QStringLiteral("FindValue"));
    CaseSensitive = new QCheckBox(QStringLiteral("Case sensitive"), ValuePanel);
    CaseSensitive->setObjectName(QStringLiteral("CaseSensitive"));
    CaseSensitive->setChecked(true);
    ReplaceWhole =
        radio(ValuePanel, "ReplaceWhole", QStringLiteral("Replace the whole field with"));
    ReplacePartial =
        radio(ValuePanel, "ReplacePartial", QStringLiteral("Replace only the matching text with"));
    ReplaceWhole->setChecked(true);
    auto* actionGroup = new QButtonGroup(this);
    actionGroup->addButton(ReplaceWhole);
    actionGroup->addButton(ReplacePartial);
    ReplaceValue = new QLineEdit(ValuePanel);
    ReplaceValue->setObjectName(QStringLiteral("ReplaceValue"));
    ReplaceAll = radio(ValuePanel, "ReplaceAll", QStringLiteral("All Records"));
    ReplaceFilter =
        radio(ValuePanel, "ReplaceFilter", QStringLiteral("Records matching current Filter"));
    ReplaceAll->setChecked(true);
    ReplaceFilter->setEnabled(!filter_.isEmpty());
    auto* scopeGroup = new QButtonGroup(this);
    scopeGroup->addButton(ReplaceAll);
    scopeGroup->addButton(ReplaceFilter);
    auto* v = new QVBoxLayout(ValuePanel);
    for (QWidget* w : std::initializer_list<QWidget*>{
             TargetField, FindExact, FindPartial, FindValue, CaseSensitive, ReplaceWhole,
             ReplacePartial, ReplaceValue, ReplaceAll, ReplaceFilter})
        v->addWidget(w);
    connect(TargetField, &QComboBox::currentIndexChanged, this,
            &TSearchAndReplace::TargetFieldClick);
    TargetFieldClick();

    Doit = button(this, "Doit", QStringLiteral("Replace Now"));
    CancelButton = button(this, "CancelButton", QStringLiteral("Cancel"));
    connect(Doit, &QPushButton::clicked, this, &TSearchAndReplace::DoitClick);
    connect(CancelButton, &QPushButton::clicked, this, [this] { reject(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Doit);
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    buttons->addWidget(HelpButton);
    buttons->addWidget(MouseHelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ValuePanel);
    layout->addWidget(Gauge);
    layout->addLayout(buttons);
    installWhatsThisMenus(this);
}

void TSearchAndReplace::TargetFieldClick() {
    const QString field = replaceTargetFields().value(TargetField->currentIndex());
    const int width = contacts_.isOpen() ? contacts_.fieldWidth(field) : 0;
    if (width <= 0) return;
    for (QLineEdit* e : {FindValue, ReplaceValue}) {
        e->setMaxLength(width);
        e->setText(e->text().left(width));
    }
}

QString TSearchAndReplace::describe() const {
    const QString find = FindValue->text();
    const QString replace = ReplaceValue->text();
    QString condition;
    if (find.isEmpty()) {
        condition = QStringLiteral("is empty ");
    } else {
        condition = (FindExact->isChecked() ? QStringLiteral("exactly matches: ")
                                            : QStringLiteral("contains: ")) +
                    u'"' + find + u'"' +
                    (CaseSensitive->isChecked() ? QStringLiteral("  (case sensitive)")
                                                : QStringLiteral(" (not case sensitive)"));
    }
    QString action;
    if (!replace.isEmpty()) {
        action = (ReplaceWhole->isChecked()
                      ? QStringLiteral("and replace the entire field with ")
                      : QStringLiteral("and replace only the matching text with ")) +
                 u'"' + replace + u'"';
    } else {
        action = ReplaceWhole->isChecked() ? QStringLiteral("and delete the entire field ")
                                           : QStringLiteral("and delete the matching text ");
    }
    return QStringLiteral("Find records where field ") + TargetField->currentText() + u'\r' +
           condition + u'\r' + action;
}

void TSearchAndReplace::DoitClick() {
    if (busy_) return;
    if (!prompts().confirm(this, QStringLiteral("Replace"), describe())) return;
    HelpButton->hide();
    MouseHelpButton->hide();
    ReplaceRequest request{replaceTargetFields().value(TargetField->currentIndex()),
                           FindValue->text(),
                           FindExact->isChecked(),
                           CaseSensitive->isChecked(),
                           ReplaceWhole->isChecked(),
                           ReplaceValue->text()};
    xb::WorkArea& area = contacts_.area();
    const std::string selection = area.dbFilter();
    busy_ = true;
    ValuePanel->hide();
    Doit->setEnabled(false);
    CancelButton->hide();
    Gauge->show();
    contacts_.disableControls();
    int changed = 0;
    try {
        if (!filter_.isEmpty() && ReplaceAll->isChecked()) area.query("");
        area.setDeleted(false);
        const std::vector<uint32_t> records = selectedRecords(area);
        changed = searchAndReplace(
            area, records, request,
            [this](uint32_t done, uint32_t total, int) { return step(done, total); });
    } catch (const xb::Error& e) {
        area.setDeleted(Dataset::hideMarkedRecords());
        area.query(selection);
        busy_ = false;
        contacts_.enableControls();
        failedRun(QString::fromUtf8(e.what()));
        done(QDialog::Rejected);
        return;
    }
    area.setDeleted(Dataset::hideMarkedRecords());
    area.query(selection);
    contacts_.resync();
    contacts_.enableControls();
    busy_ = false;
    prompts().information(this, QStringLiteral("Replaced %1 records").arg(changed));
    done(QDialog::Accepted);
    prompts().information(parentWidget(), QStringLiteral("Replacement done"));
}

// ---- Delete Records ------------------------------------------------------------------------

TDeleteRecords::TDeleteRecords(Dataset& contacts, const QString& filter, QWidget* parent)
    : BulkDialog(contacts, filter, 1017, parent) {
    setObjectName(QStringLiteral("TDeleteRecords"));
    setWindowTitle(QStringLiteral("Delete Records"));
    SetupPanel = new QFrame(this);
    SetupPanel->setObjectName(QStringLiteral("SetupPanel"));
    DeleteAll = radio(SetupPanel, "DeleteAll", QStringLiteral("Delete All Records"));
    DeleteFilter =
        radio(SetupPanel, "DeleteFilter", QStringLiteral("Delete Records matching current Filter"));
    DeleteNotFilter = radio(SetupPanel, "DeleteNotFilter",
                            QStringLiteral("Delete Records which do NOT match current Filter"));
    DeleteFilter->setEnabled(!filter_.isEmpty());
    DeleteNotFilter->setEnabled(!filter_.isEmpty());
    auto* v = new QVBoxLayout(SetupPanel);
    v->addWidget(DeleteAll);
    v->addWidget(DeleteFilter);
    v->addWidget(DeleteNotFilter);
    Doit = button(this, "Doit", QStringLiteral("Delete Now"));
    CancelButton = button(this, "CancelButton", QStringLiteral("Cancel"));
    connect(Doit, &QPushButton::clicked, this, &TDeleteRecords::DoitClick);
    connect(CancelButton, &QPushButton::clicked, this, [this] { reject(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Doit);
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    buttons->addWidget(HelpButton);
    buttons->addWidget(MouseHelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SetupPanel);
    layout->addWidget(Gauge);
    layout->addLayout(buttons);
    installWhatsThisMenus(this);
}

void TDeleteRecords::DoitClick() {
    if (busy_) return;
    HelpButton->hide();
    MouseHelpButton->hide();
    xb::WorkArea& area = contacts_.area();
    const std::string selection = area.dbFilter();
    const bool chosen =
        DeleteAll->isChecked() || DeleteFilter->isChecked() || DeleteNotFilter->isChecked();
    bool applies = true;
    std::string scope = selection;
    if (!filter_.isEmpty()) {
        if (DeleteAll->isChecked()) {
            scope.clear();
        } else if (DeleteNotFilter->isChecked()) {
            scope = ".not.(" + filter_.toStdString() + ")";
        } else if (!DeleteFilter->isChecked()) {
            applies = false;
        }
    }
    int deleted = 0;
    try {
        area.query(scope);
        area.setDeleted(false);
        const std::vector<uint32_t> records =
            applies ? selectedRecords(area) : std::vector<uint32_t>{};
        // With no filter and no choice made every record would go: that is asked first.
        if (applies && filter_.isEmpty() && !chosen &&
            !prompts().confirm(this, QStringLiteral("Confirm"),
                               QStringLiteral("Delete %1 records?").arg(records.size()),
                               Prompts::Default::No))
            applies = false;
        if (applies) {
            busy_ = true;
            SetupPanel->hide();
            Doit->setEnabled(false);
            CancelButton->hide();
            Gauge->show();
            contacts_.disableControls();
            deleted = deleteRecords(area, records, [this](uint32_t done, uint32_t total, int) {
                return step(done, total);
            });
            contacts_.enableControls();
        }
    } catch (const xb::Error& e) {
        area.setDeleted(Dataset::hideMarkedRecords());
        area.query(selection);
        if (busy_) contacts_.enableControls();
        busy_ = false;
        failedRun(QString::fromUtf8(e.what()));
        done(QDialog::Rejected);
        return;
    }
    area.setDeleted(Dataset::hideMarkedRecords());
    area.query(selection);
    contacts_.resync();
    busy_ = false;
    if (applies) prompts().information(this, QStringLiteral("Deleted %1 records").arg(deleted));
    prompts().information(this, QString::fromLatin1(kSpaceUsage));
    done(QDialog::Accepted);
}

}  // namespace qb::utilities
