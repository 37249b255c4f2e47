// The rebuild run, step by step, with its gauge and status texts.
#include "app/reindex_dialog.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/prompts.h"
#include "store/contact_file.h"

namespace qb {

TQBReindex::TQBReindex(ContactHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("TQBReindex"));
    setWindowTitle(QStringLiteral("Rebuild indexes for ") +
                   QFileInfo(host_.currentFileName()).fileName());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    tileBackground(this);

    WhatAmIDoing = new QLabel(this);
    WhatAmIDoing->setObjectName(QStringLiteral("WhatAmIDoing"));
    WhatAmIDoing->setMinimumWidth(
        fontMetrics().horizontalAdvance(QStringLiteral("Rebuilding State/Province File indexes")));
    WhatAmIDoing->hide();
    Gauge = new QProgressBar(this);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    Gauge->hide();
    auto* explain = new QLabel(QStringLiteral("Removes deleted records for good and rebuilds the "
                                              "indexes of\nthis file and of the program's own "
                                              "tables.\nOnce started, it cannot be stopped."),
                               this);

    Doit = new QPushButton(QStringLiteral("Reindex"), this);
    Doit->setObjectName(QStringLiteral("Doit"));
    Doit->setDefault(true);
    Doit->setWhatsThis(QStringLiteral("Starts the rebuild."));
    Cancelbutton = new QPushButton(QStringLiteral("Cancel"), this);
    Cancelbutton->setObjectName(QStringLiteral("Cancelbutton"));
    Cancelbutton->setWhatsThis(QStringLiteral("Closes this window without rebuilding."));
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    MouseHelpButton = newPointerHelpButton(this);
    connect(Doit, &QPushButton::clicked, this, &TQBReindex::DoitClick);
    connect(Cancelbutton, &QPushButton::clicked, this, &TQBReindex::CancelbuttonClick);
    connect(HelpButton, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpRebuildIndexes); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Doit);
    buttons->addWidget(Cancelbutton);
    buttons->addStretch();
    buttons->addWidget(HelpButton);
    buttons->addWidget(MouseHelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explain);
    layout->addWidget(WhatAmIDoing);
    layout->addWidget(Gauge);
    layout->addLayout(buttons);
    setMinimumWidth(380);
    installWhatsThisMenus(this);
}

void TQBReindex::CancelbuttonClick() {
    Gauge->hide();
    QDialog::reject();
}

void TQBReindex::reject() {
    // Once started the run cannot be left half done.
    if (!running_) CancelbuttonClick();
}

void TQBReindex::say(const QString& text) {
    WhatAmIDoing->setText(text);
    WhatAmIDoing->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TQBReindex::FormKeyDown(const xb::Progress& progress) {
    Gauge->setValue(gauge_.report(progress));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TQBReindex::DoitClick() {
    if (running_) return;
    running_ = true;
    Gauge->show();
    Doit->setEnabled(false);
    Cancelbutton->hide();
    HelpButton->hide();
    MouseHelpButton->hide();
    say(QStringLiteral("Cleaning out old deleted records"));

    Dataset& table = host_.contactTable();
    const xb::ProgressFn report = [this](const xb::Progress& p) { FormKeyDown(p); };
    gauge_.setPacking(true);
    Gauge->setValue(0);
    const QString complaint = PackContactFile(table, report);
    if (!complaint.isEmpty()) prompts().information(this, complaint);

    say(QStringLiteral("Rebuilding indexes"));
    gauge_.setPacking(false);
    table.area().setProgress(report);
    BuildContactIndexes(table, [this](const QString& text) { prompts().information(this, text); });
    table.area().setProgress({});
    Gauge->hide();

    const QString folder = host_.programFolder();
    for (const ProgramTableIndex& t : programTableIndexes()) {
        say(QLatin1String(t.status));
        // A missing or unusable table is passed over; the others still get their turn.
        RebuildProgramTable(folder, t);
    }

    Gauge->setValue(0);
    Doit->setEnabled(true);
    Cancelbutton->show();
    gauge_.reset();
    Gauge->hide();
    running_ = false;
    accept();
}

}  // namespace qb
