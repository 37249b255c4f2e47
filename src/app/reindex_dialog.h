// The Rebuild Indexes dialog: packs the contact file, builds its tags afresh and then rebuilds
// the program's own tables, showing what it is doing and how far it has come.
#pragma once

#include <QDialog>

#include "store/contact_host.h"
#include "store/contact_rebuild.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace qb {

inline constexpr int kHelpRebuildIndexes = 1039;

class TQBReindex : public QDialog {
    Q_OBJECT

  public:
    explicit TQBReindex(ContactHost& host, QWidget* parent = nullptr);

    void DoitClick();
    void CancelbuttonClick();

    QProgressBar* Gauge;
    QLabel* WhatAmIDoing;
    QPushButton *Doit, *Cancelbutton, *HelpButton;
    QToolButton* MouseHelpButton;

  protected:
    void reject() override;

  private:
    // The engine's progress reports, turned into the gauge's position.
    void FormKeyDown(const xb::Progress& progress);
    void say(const QString& text);

    ContactHost& host_;
    ReindexGauge gauge_;
    bool running_ = false;
};

}  // namespace qb
