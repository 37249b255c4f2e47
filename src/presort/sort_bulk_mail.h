// The "Bulk Mail Presorting" window: runs the presort over the contact table's selection as
// soon as it is first activated, shows its progress, offers Cancel, and closes itself when
// the run ends.
#pragma once

#include <QDialog>
#include <QString>

#include "presort/bulk_mail_presort.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace qb::presort {

class TSortBulkMail : public QDialog, private PresortObserver {
  public:
    // The window's own close request, posted so it arrives after the activation handler.
    static constexpr int kCloseMessage = 42;

    TSortBulkMail(xb::WorkArea& contacts, QString programFolder, QWidget* parent = nullptr);
    ~TSortBulkMail() override;

    // Whether the last run completed (a hidden check box, as the caller reads it).
    bool Done() const;

    void DoTheSort();
    void CancelButtonClick();

    QLabel* Label1() const { return label1_; }
    QPushButton* CancelButton() const { return cancelButton_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void reject() override;

  private:
    void FormActivate();
    void showProgress(const QString& text) override;
    void letPendingEventsRun() override;
    bool cancelRequested() override { return cancelled_; }
    void postClose();

    xb::WorkArea& contacts_;
    QString folder_;
    QLabel* label1_;
    QPushButton* cancelButton_;
    QCheckBox* doneCheck_;
    bool firstActivation_ = true;
    bool running_ = false;
    bool cancelled_ = false;
};

}  // namespace qb::presort
