// Record entry on the Main page: Add with its New Record dialog and automatic values, Edit,
// Save, Cancel, Delete and Clone, and the contact table's reactions to inserts, edits and posts.
#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "xbase/date.h"

namespace qb {

class TQBMMain;

class RecordEntry : public QObject {
    Q_OBJECT

  public:
    explicit RecordEntry(TQBMMain& window);

    void AddButtonClick();
    void EditButtonClick();
    void SaveButtonClick();
    void CancelButtonClick();
    void DeleteButtonClick();
    void mnuCloneClick();
    // A double click on an entry box, the date box or the memo box.
    void EditFieldClick();

    // Whether adding should go on: asks when a contact of that name is on file. On No that
    // contact is current and the answer is false.
    bool CheckDupName(const QString& first, const QString& last);
    struct CityState {
        QString city, state;
    };
    // The city and state of a contact already on file with that ZIP; empty when none.
    CityState FillCityState(const QString& zip);

    // The values taken from the record that was current when adding began.
    struct LastValues {
        QString org, street, city, state, zip, country;
    };
    const LastValues& lastValues() const { return last_; }

  private:
    // What the user gave in the New Record dialog and what the ZIP look-up found.
    struct Given {
        QString first, last, zip, city, state;
    };

    void TableQBWBeforeInsert();
    void TableQBWAfterInsert();
    void TableQBWAfterEdit();
    void TableQBWAfterPost();
    void TableQBWAfterCancel();
    void rememberLastValues();
    void putAutomaticValues(const Given& given);
    void setField(const char* field, const QString& value);
    bool onMainPage() const;

    TQBMMain& w_;
    LastValues last_;
    // Set while Add starts its record, so that the insert reaction fills the given values in.
    std::optional<Given> adding_;
};

}  // namespace qb
