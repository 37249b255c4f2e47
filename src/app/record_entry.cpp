// The Main page's record commands and the contact table's reactions to them.
#include "app/record_entry.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>

#include "app/filter_builder.h"
#include "app/main_page.h"
#include "app/main_window.h"
#include "app/new_record_dialog.h"
#include "controls/beep.h"
#include "controls/bound_edit.h"
#include "controls/placement.h"
#include "controls/prompts.h"
#include "store/contact_lookup.h"
#include "store/date_format.h"
#include "xbase/error.h"

namespace qb {
namespace {

const QString kMemo = QStringLiteral("MEMO");

// The text fields Clone copies; CARRIER, BEGIN and SEQNO stay behind.
constexpr const char* kClonedText[] = {"LNAME",   "FNAME",  "MIDDLE", "PREFIX", "TITLE",
                                       "ORG",     "STREET", "CITY",   "STATE",  "ZIP",
                                       "COUNTRY", "PHONE",  "EMAIL",  "FAX",    "NOTES"};

}  // namespace

RecordEntry::RecordEntry(TQBMMain& window) : QObject(&window), w_(window) {
    Dataset& table = w_.contactTable();
    connect(&table, &Dataset::beforeInsert, this, &RecordEntry::TableQBWBeforeInsert);
    connect(&table, &Dataset::afterInsert, this, &RecordEntry::TableQBWAfterInsert);
    connect(&table, &Dataset::afterEdit, this, &RecordEntry::TableQBWAfterEdit);
    connect(&table, &Dataset::afterPost, this, &RecordEntry::TableQBWAfterPost);
    connect(&table, &Dataset::afterCancel, this, &RecordEntry::TableQBWAfterCancel);

    MainPage& m = *w_.mainPage();
    connect(m.AddButton, &QPushButton::clicked, this, &RecordEntry::AddButtonClick);
    connect(m.EditButton, &QPushButton::clicked, this, &RecordEntry::EditButtonClick);
    connect(m.SaveButton, &QPushButton::clicked, this, &RecordEntry::SaveButtonClick);
    connect(m.CancelButton, &QPushButton::clicked, this, &RecordEntry::CancelButtonClick);
    connect(m.DeleteButton, &QPushButton::clicked, this, &RecordEntry::DeleteButtonClick);
    connect(w_.menus().clone, &QAction::triggered, this, &RecordEntry::mnuCloneClick);
    for (BoundEdit* box : m.entryBoxes())
        connect(box, &BoundEdit::doubleClicked, this, &RecordEntry::EditFieldClick);
    connect(m.Date, &DateBox::doubleClicked, this, &RecordEntry::EditFieldClick);
    connect(m.Memo, &BoundMemo::doubleClicked, this, &RecordEntry::EditFieldClick);
}

bool RecordEntry::onMainPage() const {
    return w_.currentPage() == 0;
}

// ---- Adding -----------------------------------------------------------------------------

void RecordEntry::rememberLastValues() {
    const Dataset& t = w_.contactTable();
    last_.org = t.text(QStringLiteral("ORG"));
    last_.street = t.text(QStringLiteral("STREET"));
    last_.city = t.text(QStringLiteral("CITY"));
    last_.state = t.text(QStringLiteral("STATE"));
    last_.zip = t.text(QStringLiteral("ZIP"));
    last_.country = t.text(QStringLiteral("COUNTRY"));
}

void RecordEntry::AddButtonClick() {
    Dataset& t = w_.contactTable();
    if (!onMainPage() || !t.isOpen() || t.editing()) return;
    rememberLastValues();
    const Preferences& p = w_.preferences();
    Given given;
    if (p.plugCityState || p.autoDupCheck) {
        TGetFirstLastZip dialog(p.autoDupCheck, p.plugCityState, &w_);
        centreOver(dialog, w_);
        if (dialog.exec() != QDialog::Accepted) return;
        given.zip = dialog.zipCode();
        given.first = dialog.firstName();
        given.last = dialog.lastName();
    }
    if (p.plugCityState && !given.zip.isEmpty()) {
        const CityState found = FillCityState(given.zip);
        given.city = found.city;
        given.state = found.state;
    }
    if (!CheckDupName(given.first, given.last)) return;

    // The insert reaction puts the given and automatic values in before the boxes show them.
    adding_ = given;
    const bool started = t.insert();
    adding_.reset();
    if (!started) return;
    w_.SetButtons();
    MainPage& m = *w_.mainPage();
    if (t.text(QStringLiteral("LNAME")).isEmpty()) {
        m.Last->setFocus();
    } else if (t.text(QStringLiteral("FNAME")).isEmpty()) {
        m.First->setFocus();
    } else {
        m.Middle->setFocus();
    }
}

bool RecordEntry::CheckDupName(const QString& first, const QString& last) {
    if (first.isEmpty() || last.isEmpty()) return true;
    Dataset& t = w_.contactTable();
    const auto found = findSameName(t, last, first);
    if (!found) return true;
    beep();
    const QString text = QStringLiteral("Possible duplicate: \r\n\r\n") + found->first + u' ' +
                         found->last + QStringLiteral("\r\n") + found->street +
                         QStringLiteral("\r\n") + found->city + u',' + found->state + u' ' +
                         found->zip + QStringLiteral("\r\n") + QStringLiteral("\r\n") +
                         QStringLiteral("Continue adding?");
    if (prompts().confirm(&w_, QStringLiteral("Possible Duplicate"), text, Prompts::Default::No))
        return true;
    t.go(found->recno);
    return false;
}

RecordEntry::CityState RecordEntry::FillCityState(const QString& zip) {
    const auto found = findByZip(w_.contactTable(), zip);
    if (!found) return {};
    return {found->city, found->state};
}

void RecordEntry::setField(const char* field, const QString& value) {
    Dataset& t = w_.contactTable();
    const QString name = QLatin1String(field);
    if (const auto bad = t.unholdable(value)) {
        prompts().information(&w_, unholdableMessage(*bad));
        return;
    }
    t.setText(name, value);
}

void RecordEntry::putAutomaticValues(const Given& given) {
    const Preferences& p = w_.preferences();
    Dataset& t = w_.contactTable();
    // What the user gave wins; carried values fill only the fields left without one.
    const struct {
        const char* field;
        const QString& value;
    } givenValues[] = {{"FNAME", given.first},
                       {"LNAME", given.last},
                       {"ZIP", given.zip},
                       {"CITY", given.city},
                       {"STATE", given.state}};
    for (const auto& g : givenValues) {
        if (!g.value.isEmpty()) setField(g.field, g.value);
    }
    if (given.zip.isEmpty() && p.carryZip) setField("ZIP", last_.zip);
    if (given.city.isEmpty() && p.carryCity) setField("CITY", last_.city);
    if (given.state.isEmpty() && p.carryState) setField("STATE", last_.state);
    if (p.carryCountry) setField("COUNTRY", last_.country);
    if (last_.country.isEmpty() && !p.defaultCountry.isEmpty())
        setField("COUNTRY", p.defaultCountry);
    if (p.plugDate) t.setDate(QStringLiteral("DATE"), xb::today());
    if (p.carryOrg) setField("ORG", last_.org);
    // The street is carried too when the user asked for it in the preferences.
    if (p.carrySA1) setField("STREET", last_.street);
}

// ---- Editing ----------------------------------------------------------------------------

void RecordEntry::EditButtonClick() {
    if (!onMainPage()) return;
    w_.contactTable().edit();
}

void RecordEntry::EditFieldClick() {
    MainPage& m = *w_.mainPage();
    if (w_.contactTable().editing() || m.EditButton->isHidden() || !m.EditButton->isEnabled())
        return;
    EditButtonClick();
}

void RecordEntry::SaveButtonClick() {
    Dataset& t = w_.contactTable();
    if (!onMainPage() || !t.editing()) return;
    MainPage& m = *w_.mainPage();
    // A date that is no date keeps the record open for correction instead of being dropped.
    if (!m.Date->store()) {
        prompts().information(&w_, invalidDateMessage(currentDateFormat()));
        m.Date->setFocus();
        return;
    }
    // A memo whose stored length is a multiple of four gets one blank at the end of its last
    // line. The program has always stored memos so, and files it shares with earlier
    // versions keep that one convention.
    QString memo = m.Memo->storedText();
    if (!memo.isEmpty() && memo.size() % 4 == 0) {
        m.Memo->appendToLastLine(QStringLiteral(" "));
        memo = m.Memo->storedText();
    }
    if (const auto bad = t.unholdable(memo)) {
        prompts().information(&w_, unholdableMessage(*bad));
        m.Memo->setFocus();
        return;
    }
    if (memo != t.memo(kMemo)) t.setMemo(kMemo, memo);
    if (t.post() && t.editing()) t.post();
    w_.SetButtons();
}

void RecordEntry::CancelButtonClick() {
    if (!onMainPage()) return;
    w_.contactTable().cancel();
    w_.SetButtons();
}

void RecordEntry::DeleteButtonClick() {
    Dataset& t = w_.contactTable();
    if (!onMainPage() || !t.onRecord() || t.editing()) return;
    if (!prompts().confirm(&w_, QStringLiteral("Confirm"), QStringLiteral("Delete this record?")))
        return;
    // The record must stay current while it is marked, so the hiding waits until the
    // prefix is written too.
    xb::WorkArea& area = t.area();
    area.setDeleted(false);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (t.markDeleted() && t.edit()) {
        t.setText(QStringLiteral("PREFIX"), QStringLiteral("DELETED"));
        t.post();
    }
    area.setDeleted(Dataset::hideMarkedRecords());
    // Show the record that takes its place, or the last one when it was the last.
    t.go(t.recNo());
    if (!t.onRecord()) t.last();
    w_.SetButtons();
}

void RecordEntry::mnuCloneClick() {
    Dataset& t = w_.contactTable();
    if (!t.onRecord() || t.editing()) return;
    if (!onMainPage()) {
        beep();
        return;
    }
    QStringList values;
    for (const char* f : kClonedText)
        values << t.text(QLatin1String(f));
    const xb::Jdn date = t.date(QStringLiteral("DATE"));
    const QString memo = t.memo(kMemo);
    if (!t.insert()) return;
    for (size_t i = 0; i < std::size(kClonedText); ++i)
        t.setText(QLatin1String(kClonedText[i]), values[qsizetype(i)]);
    // An empty date stays empty: the new record holds no date rather than a day zero.
    t.setDate(QStringLiteral("DATE"), date);
    t.setMemo(kMemo, memo);
    t.post();
    w_.SetButtons();
}

// ---- Table reactions --------------------------------------------------------------------

void RecordEntry::TableQBWBeforeInsert() {
    rememberLastValues();
}

void RecordEntry::TableQBWAfterInsert() {
    if (!w_.tableEventsOn() && !adding_) return;
    putAutomaticValues(adding_.value_or(Given{}));
    if (w_.tableEventsOn()) w_.mainPage()->Last->setFocus();
}

void RecordEntry::TableQBWAfterEdit() {
    if (w_.tableEventsOn()) w_.SetButtons();
}

void RecordEntry::TableQBWAfterPost() {
    if (w_.tableEventsOn()) w_.SetButtons();
}

void RecordEntry::TableQBWAfterCancel() {
    w_.SetButtons();
}

}  // namespace qb
