// The duplicate check dialog: the kinds, the check run, and deleting one of a pair.
#include "utilities/dup_check.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/edit_grid.h"
#include "controls/prompts.h"
#include "utilities/record_navigator.h"
#include "xbase/error.h"

namespace qb::utilities {
namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QString& whatsThis) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setWhatsThis(whatsThis);
    return b;
}

constexpr int kStreetColumn = 6;

}  // namespace

QString dupFoundText(int count) {
    return QStringLiteral("Found %1 possible duplicates").arg(count);
}

TDupCheck::TDupCheck(Dataset& contacts, const QString& programFolder, QWidget* parent)
    : QDialog(parent),
      contacts_(contacts),
      folder_(programFolder.endsWith(u'/') ? programFolder : programFolder + u'/') {
    setObjectName(QStringLiteral("TDupCheck"));
    setWindowTitle(QStringLiteral("Check and Repair Duplicates"));
    tileBackground(this);

    SetupPanel = new QFrame(this);
    SetupPanel->setObjectName(QStringLiteral("SetupPanel"));
    SetupPanel->setFrameShape(QFrame::StyledPanel);
    KindofCheck = new QGroupBox(QStringLiteral("What to check:"), SetupPanel);
    KindofCheck->setObjectName(QStringLiteral("KindofCheck"));
    KindofCheck->setWhatsThis(QStringLiteral("Which values of neighbouring records are compared."));
    kinds = new QButtonGroup(this);
    {
        auto* g = new QGridLayout(KindofCheck);
        const QString texts[] = {QStringLiteral("Last + First"),
                                 QStringLiteral("Last + First Initial"),
                                 QStringLiteral("Street Address")};
        for (int i = 0; i < 3; ++i) {
            auto* r = new QRadioButton(texts[i], KindofCheck);
            r->setObjectName(QStringLiteral("KindofCheck%1").arg(i));
            kinds->addButton(r, i);
            g->addWidget(r, i % 2, i / 2);
        }
        kinds->button(0)->setChecked(true);
    }
    AddressChars = new QSpinBox(SetupPanel);
    AddressChars->setObjectName(QStringLiteral("AddressChars"));
    AddressChars->setRange(1, 30);
    AddressChars->setValue(30);
    AddressChars->setWhatsThis(
        QStringLiteral("How many leading characters of the street address are compared."));
    AddressCharsLabel = new QLabel(
        QStringLiteral("Check how many characters of street address (max 30)"), SetupPanel);
    {
        auto* heading = new QLabel(QStringLiteral("Duplicate Record Check Setup"), SetupPanel);
        QFont f = heading->font();
        f.setBold(true);
        heading->setFont(f);
        auto* v = new QVBoxLayout(SetupPanel);
        v->addWidget(heading);
        v->addWidget(KindofCheck);
        auto* h = new QHBoxLayout;
        h->addWidget(AddressCharsLabel);
        h->addWidget(AddressChars);
        h->addStretch();
        v->addLayout(h);
        v->addStretch();
    }
    connect(kinds, &QButtonGroup::idClicked, this, [this] { KindofCheckClick(); });
    KindofCheckClick();

    GridPanel = new QFrame(this);
    GridPanel->setObjectName(QStringLiteral("GridPanel"));
    const auto col = [](const char* f, const char* t, int w) {
        return GridColumn{QLatin1String(f), QLatin1String(t), w};
    };
    ChkDupsGrid = new EditGrid(
        &contacts_,
        {col("LNAME", "Last", 15), col("FNAME", "First", 15), col("MIDDLE", "Mi.", 0),
         col("PREFIX", "Prefix", 3), col("TITLE", "Title", 15), col("ORG", "Organization", 15),
         col("STREET", "Street", 25), col("CITY", "City", 15), col("STATE", "State/Prov", 0),
         col("ZIP", "Zip/Postal", 0), col("COUNTRY", "Country", 15), col("PHONE", "Phone", 15),
         col("EMAIL", "E-mail", 15), col("FAX", "Fax", 15), col("NOTES", "Codes", 15)},
        GridPanel);
    ChkDupsGrid->setObjectName(QStringLiteral("ChkDupsGrid"));
    NavigatorChkDup = new RecordNavigator(&contacts_, GridPanel);
    NavigatorChkDup->setObjectName(QStringLiteral("NavigatorChkDup"));
    NavigatorChkDup->hide();
    DeleteButton = button(GridPanel, "DeleteButton", QStringLiteral("Delete"),
                          QStringLiteral("Deletes the record of the list."));
    SaveButton = button(GridPanel, "SaveButton", QStringLiteral("Save"),
                        QStringLiteral("Saves the changes to the record."));
    UndoButton = button(GridPanel, "UndoButton", QStringLiteral("Undo"),
                        QStringLiteral("Forgets the changes to the record."));
    {
        auto* hint = new QLabel(QStringLiteral("Click on field to begin editing"), GridPanel);
        hint->setStyleSheet(QStringLiteral("color: red"));
        auto* v = new QVBoxLayout(GridPanel);
        v->addWidget(hint);
        v->addWidget(ChkDupsGrid, 1);
        auto* h = new QHBoxLayout;
        h->addWidget(NavigatorChkDup);
        h->addStretch();
        h->addWidget(DeleteButton);
        h->addWidget(SaveButton);
        h->addWidget(UndoButton);
        v->addLayout(h);
    }
    GridPanel->hide();

    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->hide();
    LabelCount = new QLabel(this);
    LabelCount->setObjectName(QStringLiteral("LabelCount"));
    CheckitButton = button(this, "CheckitButton", QStringLiteral("Perform Duplicate Check Now"),
                           QStringLiteral("Looks for neighbouring records that look alike."));
    CloseButton =
        button(this, "CloseButton", QStringLiteral("Close"), QStringLiteral("Closes this window."));
    CancelButton =
        button(this, "CancelButton", QStringLiteral("Cancel"), QStringLiteral("Stops the check."));
    CancelButton->hide();
    HelpButton = button(this, "HelpButton", QStringLiteral("Help"), QString());
    MouseHelpButton = newPointerHelpButton(this);

    connect(CheckitButton, &QPushButton::clicked, this, &TDupCheck::CheckitButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TDupCheck::DeleteButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, [this] { ChkDupsGrid->save(); });
    connect(UndoButton, &QPushButton::clicked, this, [this] { ChkDupsGrid->undo(); });
    connect(CloseButton, &QPushButton::clicked, this, &TDupCheck::CloseButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TDupCheck::CancelButtonClick);
    connect(HelpButton, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpDupCheck); });

    auto* panels = new QGridLayout;
    panels->addWidget(SetupPanel, 0, 0);
    panels->addWidget(GridPanel, 0, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CheckitButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    buttons->addWidget(HelpButton);
    buttons->addWidget(MouseHelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panels, 1);
    layout->addWidget(Gauge1);
    layout->addWidget(LabelCount);
    layout->addLayout(buttons);
    resize(760, 440);
    installWhatsThisMenus(this);
}

DupKind TDupCheck::kind() const {
    return DupKind(std::max(0, kinds->checkedId()));
}

void TDupCheck::setKind(DupKind kind) {
    kinds->button(int(kind))->setChecked(true);
    KindofCheckClick();
}

void TDupCheck::KindofCheckClick() {
    const bool street = kind() == DupKind::Street;
    AddressChars->setVisible(street);
    AddressCharsLabel->setVisible(street);
}

void TDupCheck::showRunning(bool running) {
    HelpButton->setVisible(!running);
    MouseHelpButton->setVisible(!running);
    CloseButton->setVisible(!running);
    CancelButton->setVisible(running);
    CheckitButton->setEnabled(!running && !checked_);
}

void TDupCheck::CheckitButtonClick() {
    if (busy_ || checked_) return;
    busy_ = true;
    cancelRequested_ = false;
    SetupPanel->hide();
    showRunning(true);
    const DupKind k = kind();
    const int chars = AddressChars->value();
    found_ = 0;
    Gauge1->setValue(0);
    QCoreApplication::processEvents();
    Gauge1->show();
    QString failure;
    contacts_.disableControls();
    try {
        const DupFindings findings = findDuplicates(contacts_.area(), k, chars,
                                                    [this](uint32_t done, uint32_t total, int n) {
                                                        walkStepShown(done, total, Gauge1);
                                                        if (n != found_ || done % 64 == 0) {
                                                            found_ = n;
                                                            LabelCount->setText(dupFoundText(n));
                                                        }
                                                        return !cancelRequested_;
                                                    });
        found_ = findings.pairs;
        fillCheckIndex(contacts_.area(), (folder_ + QLatin1String(kDupIndex)).toStdString(),
                       dupIndexKey(k), findings.records);
        contacts_.area().first();
    } catch (const xb::Error& e) {
        failure = QString::fromUtf8(e.what());
    }
    contacts_.resync();
    contacts_.enableControls();
    Gauge1->hide();
    busy_ = false;
    if (!failure.isEmpty()) {
        prompts().information(this, failure);
        SetupPanel->show();
        showRunning(false);
        return;
    }
    checked_ = true;
    QHeaderView* header = ChkDupsGrid->horizontalHeader();
    if (k == DupKind::Street) header->moveSection(header->visualIndex(kStreetColumn), 0);
    GridPanel->show();
    NavigatorChkDup->show();
    showRunning(false);
    LabelCount->setText(dupFoundText(found_));
}

void TDupCheck::DeleteButtonClick() {
    if (busy_ || !contacts_.isOpen() || !contacts_.onRecord()) return;
    if (!prompts().confirm(this, QStringLiteral("Confirm"), QStringLiteral("Delete this record?")))
        return;
    if (contacts_.editing()) contacts_.cancel();
    xb::WorkArea& area = contacts_.area();
    const uint32_t record = contacts_.recNo();
    try {
        // Marked and soft-deleted both: the record stays out of every list and goes at the
        // next pack.
        area.setDeleted(false);
        area.go(record);
        area.deleteRecord();
        area.putText("PREFIX", "DELETED");
        area.post();
    } catch (const xb::Error& e) {
        prompts().information(this, QString::fromUtf8(e.what()));
    }
    area.setDeleted(Dataset::hideMarkedRecords());
    area.go(record);
    contacts_.resync();
}

void TDupCheck::CloseButtonClick() {
    if (busy_) return;
    if (contacts_.editing()) contacts_.post();
    done(QDialog::Rejected);
}

void TDupCheck::CancelButtonClick() {
    if (!busy_) return;
    if (prompts().confirm(this, QStringLiteral("Confirm"), QStringLiteral("Cancel operation?")))
        cancelRequested_ = true;
}

void TDupCheck::reject() {
    if (busy_) {
        CancelButtonClick();
    } else {
        CloseButtonClick();
    }
}

}  // namespace qb::utilities
