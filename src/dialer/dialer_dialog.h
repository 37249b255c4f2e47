// TQBDialer, the "Dial Phone Number" window: port, method, number and prefix, and Dial.
#pragma once

#include <QDialog>

#include "store/settings.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace qb::dialer {

class TQBDialer : public QDialog {
    Q_OBJECT

  public:
    TQBDialer(Settings settings, const QString& number, QWidget* parent = nullptr);

    int portIndex() const;
    int methodIndex() const;
    // How long each modem command may take to leave before the dial fails.
    void setWriteBudgetMs(int ms) { writeBudgetMs_ = ms; }

  public slots:
    void DialButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void LoadSettings();

    Settings settings_;
    QButtonGroup* Port_;
    QButtonGroup* ToneOrPulse_;
    QLineEdit* Number_;
    QLineEdit* prefix_;
    QPushButton* HelpButton_;
    QToolButton* MouseHelpButton_;
    bool activated_ = false;
    int writeBudgetMs_ = 3000;
};

}  // namespace qb::dialer
