// The Preferences dialog: the date format and the helps for adding records.
#pragma once

#include <QDialog>

#include "app/preferences.h"
#include "store/settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qb {

class TPreferences : public QDialog {
    Q_OBJECT

  public:
    TPreferences(Settings settings, QWidget* parent = nullptr);

    // Reads the "Date" and "Adding" keys into the controls.
    void LoadPreferences();
    // Writes the date values (as loaded, or as last chosen) and the controls' values.
    bool SavePreferences();

  private:
    void DateFormatClick(int index);
    void OKButtonClick();

    Settings settings_;
    Preferences values_;
    QComboBox* DateFormat_;
    QCheckBox* PlugDate_;
    QCheckBox* PlugCityState_;
    QCheckBox* AutoDupCheck_;
    QLineEdit* DefCountry_;
    QCheckBox* CarryOrg_;
    QCheckBox* CarrySA1_;
    QCheckBox* CarryCity_;
    QCheckBox* CarryState_;
    QCheckBox* CarryZip_;
    QCheckBox* CarryCountry_;
};

}  // namespace qb
