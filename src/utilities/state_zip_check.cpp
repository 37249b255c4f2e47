// The state and ZIP check dialog: its panels, the check run and the state table editor.
#include "utilities/state_zip_check.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/edit_grid.h"
#include "controls/prompts.h"
#include "store/program_tables.h"
#include "utilities/check_walk.h"
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

QFrame* panel(QWidget* parent, const char* name) {
    auto* f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

QLabel* wrapped(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}

QLabel* redHint(QWidget* parent) {
    auto* l = new QLabel(QStringLiteral("Click on field to begin editing"), parent);
    l->setStyleSheet(QStringLiteral("color: red"));
    return l;
}

}  // namespace

QString stateZipFoundText(int count) {
    return QStringLiteral("Found %1 records with questionable state or zipcodes").arg(count);
}

TStateZipCheck::TStateZipCheck(Dataset& contacts, const QString& programFolder, QWidget* parent)
    : QDialog(parent),
      contacts_(contacts),
      folder_(programFolder.endsWith(u'/') ? programFolder : programFolder + u'/'),
      states_(std::make_unique<Dataset>()) {
    setObjectName(QStringLiteral("TStateZipCheck"));
    setWindowTitle(QStringLiteral("Check State and Zip  Codes"));
    tileBackground(this);

    SetupPanel = panel(this, "SetupPanel");
    {
        auto* heading =
            new QLabel(QStringLiteral("Check For State/Province  && Zipcode/Postal Code Anomolies"),
                       SetupPanel);
        heading->setTextFormat(Qt::PlainText);
        QFont f = heading->font();
        f.setBold(true);
        heading->setFont(f);
        auto* v = new QVBoxLayout(SetupPanel);
        v->addWidget(heading);
        v->addWidget(wrapped(
            QStringLiteral("Each contact's state or province is looked up in the "
                           "State/Province file, and its zip or postal code compared with the "
                           "range given there. The records that do not fit are listed so that "
                           "you can correct them."),
            SetupPanel));
        v->addStretch();
    }

    ResultPanel = panel(this, "ResultPanel");
    ResultGrid = new EditGrid(&contacts_,
                              {{QStringLiteral("ZIP"), QStringLiteral("Zip/Postal Code"), 10},
                               {QStringLiteral("STATE"), QStringLiteral("State/Province"), 4},
                               {QStringLiteral("LNAME"), QStringLiteral("Last"), 15},
                               {QStringLiteral("FNAME"), QStringLiteral("First"), 15},
                               {QStringLiteral("ORG"), QStringLiteral("Organization"), 15},
                               {QStringLiteral("STREET"), QStringLiteral("Street Address"), 25},
                               {QStringLiteral("CITY"), QStringLiteral("City"), 15},
                               {QStringLiteral("COUNTRY"), QStringLiteral("Country"), 15}},
                              ResultPanel);
    ResultGrid->setObjectName(QStringLiteral("ResultGrid"));
    NavigatorCreate = new RecordNavigator(&contacts_, ResultPanel);
    NavigatorCreate->setObjectName(QStringLiteral("NavigatorCreate"));
    NavigatorCreate->hide();
    EditQButton = button(ResultPanel, "EditQButton", QStringLiteral("Edit"),
                         QStringLiteral("Starts editing the record of the list."));
    SaveQButton = button(ResultPanel, "SaveQButton", QStringLiteral("Save"),
                         QStringLiteral("Saves the changes to the record."));
    CancelQButton = button(ResultPanel, "CancelQButton", QStringLiteral("Cancel"),
                           QStringLiteral("Forgets the changes to the record."));
    {
        auto* v = new QVBoxLayout(ResultPanel);
        v->addWidget(
            wrapped(QStringLiteral("These records have questionable state/zip or province/postcode "
                                   "combinations. You may edit the contents to make changes. When "
                                   "you are done, press the Close button."),
                    ResultPanel));
        v->addWidget(ResultGrid, 1);
        auto* h = new QHBoxLayout;
        h->addWidget(NavigatorCreate);
        h->addStretch();
        h->addWidget(EditQButton);
        h->addWidget(SaveQButton);
        h->addWidget(CancelQButton);
        v->addLayout(h);
    }
    ResultPanel->hide();

    StateProvPanel = panel(this, "StateProvPanel");
    StateProvGrid =
        new EditGrid(states_.get(),
                     {{QStringLiteral("NAME"), QStringLiteral("State or Province"), 20},
                      {QStringLiteral("STATE"), QStringLiteral("Abbreviation"), 4},
                      {QStringLiteral("LOW_ZIP"), QStringLiteral("Starting Zip/Post"), 10},
                      {QStringLiteral("HIGH_ZIP"), QStringLiteral("Ending Zip/Post"), 10}},
                     StateProvPanel);
    StateProvGrid->setObjectName(QStringLiteral("StateProvGrid"));
    // New states are added in the grid itself: Insert gives a blank row to fill in.
    StateProvGrid->setAllowInsert(true);
    NavigatorStateZip = new RecordNavigator(states_.get(), StateProvPanel);
    NavigatorStateZip->setObjectName(QStringLiteral("NavigatorStateZip"));
    DeleteSZButton = button(StateProvPanel, "DeleteSZButton", QStringLiteral("Delete"),
                            QStringLiteral("Deletes the state or province."));
    SaveSZButton = button(StateProvPanel, "SaveSZButton", QStringLiteral("Save"),
                          QStringLiteral("Saves the changes to the row."));
    CancelSZButton = button(StateProvPanel, "CancelSZButton", QStringLiteral("Undo"),
                            QStringLiteral("Forgets the changes to the row."));
    {
        auto* v = new QVBoxLayout(StateProvPanel);
        v->addWidget(wrapped(
            QStringLiteral("Make changes to the State/Province file to best reflect your country"),
            StateProvPanel));
        v->addWidget(redHint(StateProvPanel));
        v->addWidget(StateProvGrid, 1);
        auto* h = new QHBoxLayout;
        h->addWidget(NavigatorStateZip);
        h->addStretch();
        h->addWidget(DeleteSZButton);
        h->addWidget(SaveSZButton);
        h->addWidget(CancelSZButton);
        v->addLayout(h);
    }
    StateProvPanel->hide();

    CheckBlanks = new QCheckBox(
        QStringLiteral("Include records with blank State/Province or Zip/Postcode entries?"), this);
    CheckBlanks->setObjectName(QStringLiteral("CheckBlanks"));
    CheckBlanks->setWhatsThis(
        QStringLiteral("Also lists records whose state/province or zip/postcode is empty."));
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->hide();
    LabelCount = new QLabel(this);
    LabelCount->setObjectName(QStringLiteral("LabelCount"));

    CheckitButton = button(this, "CheckitButton", QStringLiteral("Perform Check Now"),
                           QStringLiteral("Checks every record against the State/Province file."));
    EditStateProvButton =
        button(this, "EditStateProvButton", QStringLiteral("Edit State/Province File"),
               QStringLiteral("Edits the states or provinces and their zip/postcode ranges."));
    Closebutton =
        button(this, "Closebutton", QStringLiteral("Close"), QStringLiteral("Closes this window."));
    CancelButton =
        button(this, "CancelButton", QStringLiteral("Cancel"), QStringLiteral("Stops the check."));
    CancelButton->hide();
    HelpButton = button(this, "HelpButton", QStringLiteral("Help"), QString());
    MouseHelpButton = newPointerHelpButton(this);

    connect(CheckitButton, &QPushButton::clicked, this, &TStateZipCheck::CheckitButtonClick);
    connect(EditStateProvButton, &QPushButton::clicked, this,
            &TStateZipCheck::EditStateProvButtonClick);
    connect(Closebutton, &QPushButton::clicked, this, &TStateZipCheck::ClosebuttonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TStateZipCheck::CancelButtonClick);
    connect(HelpButton, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpStateZipCheck); });
    connect(EditQButton, &QPushButton::clicked, this, [this] {
        if (contacts_.onRecord() && !contacts_.editing()) contacts_.edit();
    });
    connect(SaveQButton, &QPushButton::clicked, this, [this] { ResultGrid->save(); });
    connect(CancelQButton, &QPushButton::clicked, this, [this] { ResultGrid->undo(); });
    connect(DeleteSZButton, &QPushButton::clicked, this, [this] {
        if (states_->isOpen() && states_->onRecord() &&
            prompts().confirm(this, QStringLiteral("Confirm"), QStringLiteral("Delete record?")))
            states_->markDeleted();
    });
    connect(SaveSZButton, &QPushButton::clicked, this, [this] { StateProvGrid->save(); });
    connect(CancelSZButton, &QPushButton::clicked, this, [this] { StateProvGrid->undo(); });

    auto* panels = new QGridLayout;
    panels->addWidget(SetupPanel, 0, 0);
    panels->addWidget(ResultPanel, 0, 0);
    panels->addWidget(StateProvPanel, 0, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CheckitButton);
    buttons->addWidget(EditStateProvButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    buttons->addWidget(Closebutton);
    buttons->addWidget(HelpButton);
    buttons->addWidget(MouseHelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panels, 1);
    layout->addWidget(CheckBlanks);
    layout->addWidget(Gauge1);
    layout->addWidget(LabelCount);
    layout->addLayout(buttons);
    resize(720, 420);
    installWhatsThisMenus(this);
}

TStateZipCheck::~TStateZipCheck() {
    states_->close();
}

QString TStateZipCheck::statePath() const {
    return folder_ + QLatin1String(qb::stateTable().fileName);
}

void TStateZipCheck::showRunning(bool running) {
    HelpButton->setVisible(!running);
    MouseHelpButton->setVisible(!running);
    Closebutton->setVisible(!running);
    EditStateProvButton->setVisible(!running);
    CancelButton->setVisible(running);
    CheckitButton->setEnabled(!running && !checked_);
    CheckBlanks->setEnabled(!running && !checked_);
}

void TStateZipCheck::CheckitButtonClick() {
    if (busy_ || checked_) return;
    SetupPanel->hide();
    showRunning(true);
    const bool blanks = CheckBlanks->isChecked();
    busy_ = true;
    cancelRequested_ = false;

    StateRanges ranges;
    try {
        ranges = StateRanges::read(statePath().toStdString());
    } catch (const xb::Error&) {
        prompts().information(this, QString::fromLatin1(kUnableToOpenStates));
        busy_ = false;
        SetupPanel->show();
        showRunning(false);
        return;
    }

    found_ = 0;
    Gauge1->setValue(0);
    QCoreApplication::processEvents();
    Gauge1->show();
    QString failure;
    std::vector<uint32_t> records;
    contacts_.disableControls();
    try {
        records = findQuestionable(contacts_.area(), ranges, blanks,
                                   [this](uint32_t done, uint32_t total, int found) {
                                       walkStepShown(done, total, Gauge1);
                                       if (found != found_ || done % 64 == 0) {
                                           found_ = found;
                                           LabelCount->setText(stateZipFoundText(found));
                                       }
                                       return !cancelRequested_;
                                   });
        found_ = int(records.size());
        fillCheckIndex(contacts_.area(), (folder_ + QLatin1String(kStateZipIndex)).toStdString(),
                       kStateZipIndexKey, records);
        contacts_.area().first();
    } catch (const xb::Error& e) {
        failure = QString::fromUtf8(e.what());
    }
    contacts_.resync();
    contacts_.enableControls();
    Gauge1->hide();
    busy_ = false;
    if (!failure.isEmpty()) {
        // The file is left as it was; only the list could not be made.
        prompts().information(this, failure);
        SetupPanel->show();
        showRunning(false);
        return;
    }
    checked_ = true;
    ResultPanel->show();
    NavigatorCreate->show();
    LabelCount->setText(stateZipFoundText(found_));
    showRunning(false);
    LabelCount->hide();
}

void TStateZipCheck::EditStateProvButtonClick() {
    if (EditStateProvButton->text() == QLatin1String("Edit State/Province File")) {
        StartEditStatePRov();
    } else {
        EndEditStatePRov();
    }
}

void TStateZipCheck::StartEditStatePRov() {
    try {
        states_->open(statePath(), xb::UseMode::Exclusive);
        if (states_->area().tagArea("STATE") == 0)
            states_->area().indexTag("", {"STATE", "UPPER(STATE)", "", false, false});
        states_->setOrderTag(QStringLiteral("STATE"));
        // A deleted row leaves the list at once, as the check no longer reads it.
        states_->area().setDeleted(true);
        states_->resync();
        states_->first();
    } catch (const xb::Error&) {
        states_->close();
        prompts().information(this, QString::fromLatin1(kUnableToOpenStates));
        return;
    }
    (checked_ ? ResultPanel : SetupPanel)->hide();
    CancelButton->setEnabled(false);
    editingStates_ = true;
    EditStateProvButton->setText(QStringLiteral("Stop Editing"));
    StateProvPanel->show();
}

void TStateZipCheck::EndEditStatePRov() {
    if (states_->editing()) states_->post();
    states_->close();
    StateProvPanel->hide();
    editingStates_ = false;
    EditStateProvButton->setText(QStringLiteral("Edit State/Province File"));
    CancelButton->setEnabled(true);
    (checked_ ? ResultPanel : SetupPanel)->show();
}

void TStateZipCheck::ClosebuttonClick() {
    if (busy_) return;
    if (editingStates_) EndEditStatePRov();
    if (contacts_.editing()) contacts_.post();
    done(QDialog::Rejected);
}

void TStateZipCheck::CancelButtonClick() {
    if (!busy_) return;
    if (prompts().confirm(this, QStringLiteral("Confirm"), QStringLiteral("Cancel operation?")))
        cancelRequested_ = true;
}

void TStateZipCheck::reject() {
    // Escape is the Cancel button while a check runs, and Close otherwise.
    if (busy_) {
        CancelButtonClick();
    } else {
        ClosebuttonClick();
    }
}

}  // namespace qb::utilities
