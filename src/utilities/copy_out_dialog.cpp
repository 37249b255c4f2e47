// The Copy Records Out window.
#include "utilities/copy_out_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/event_pace.h"
#include "controls/prompts.h"

namespace qb::utilities {

namespace {
const QString kNone = QStringLiteral("(none)");
}

TCopyOut::TCopyOut(ContactHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("TCopyOut"));
    setWindowTitle(QStringLiteral("Copy Records Out"));
    tileBackground(this);

    SetupPanel = new QWidget(this);
    SetupPanel->setObjectName(QStringLiteral("SetupPanel"));
    ToDBF = new QRadioButton(QStringLiteral("Copy to a DBF file"), SetupPanel);
    ToDBF->setObjectName(QStringLiteral("ToDBF"));
    ToDBF->setChecked(true);
    ToDBF->setWhatsThis(QStringLiteral("Copies into a new table with the memo."));
    ToAscii =
        new QRadioButton(QStringLiteral("Copy to an ASCII file (comma delimited)"), SetupPanel);
    ToAscii->setObjectName(QStringLiteral("ToAscii"));
    ToAscii->setWhatsThis(QStringLiteral("Copies into a text file, one line per contact."));
    Encoding = new QComboBox(SetupPanel);
    Encoding->setObjectName(QStringLiteral("Encoding"));
    Encoding->addItems({QStringLiteral("UTF-8"), QStringLiteral("Windows-1252")});
    Encoding->setEnabled(false);
    Encoding->setWhatsThis(QStringLiteral("How the text file stores accented letters."));
    SaveAsButton = new QPushButton(QStringLiteral("Save As..."), SetupPanel);
    SaveAsButton->setObjectName(QStringLiteral("SaveAsButton"));
    SaveAsButton->setWhatsThis(QStringLiteral("Chooses the file to copy into."));
    FileName = new QLabel(kNone, SetupPanel);
    FileName->setObjectName(QStringLiteral("FileName"));
    auto* setup = new QGridLayout(SetupPanel);
    setup->addWidget(ToDBF, 0, 0, 1, 2);
    setup->addWidget(ToAscii, 1, 0);
    setup->addWidget(Encoding, 1, 1);
    setup->addWidget(SaveAsButton, 2, 0);
    setup->addWidget(FileName, 2, 1);

    ProgressPanel = new QWidget(this);
    ProgressPanel->setObjectName(QStringLiteral("ProgressPanel"));
    WhatAmIDoing = new QLabel(ProgressPanel);
    WhatAmIDoing->setObjectName(QStringLiteral("WhatAmIDoing"));
    Gauge1 = new QProgressBar(ProgressPanel);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    auto* progress = new QVBoxLayout(ProgressPanel);
    progress->addWidget(WhatAmIDoing);
    progress->addWidget(Gauge1);
    ProgressPanel->hide();

    Doit = new QPushButton(QStringLiteral("Copy Now"), this);
    Doit->setObjectName(QStringLiteral("Doit"));
    Doit->setEnabled(false);
    Doit->setWhatsThis(QStringLiteral("Copies the records of the current filter."));
    Cancelbutton = new QPushButton(QStringLiteral("Cancel"), this);
    Cancelbutton->setObjectName(QStringLiteral("Cancelbutton"));
    Cancelbutton->setWhatsThis(QStringLiteral("Closes the window, or stops a copy."));
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    MouseHelpButton = newPointerHelpButton(this);

    connect(ToDBF, &QRadioButton::clicked, this, [this] {
        Encoding->setEnabled(false);
        clearTarget();
    });
    connect(ToAscii, &QRadioButton::clicked, this, [this] {
        Encoding->setEnabled(true);
        clearTarget();
    });
    connect(SaveAsButton, &QPushButton::clicked, this, &TCopyOut::SaveAsButtonClick);
    connect(Doit, &QPushButton::clicked, this, &TCopyOut::DoitClick);
    connect(Cancelbutton, &QPushButton::clicked, this, &TCopyOut::CancelbuttonClick);
    connect(HelpButton, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpCopyOut); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Doit);
    buttons->addWidget(Cancelbutton);
    buttons->addStretch();
    buttons->addWidget(HelpButton);
    buttons->addWidget(MouseHelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SetupPanel);
    layout->addWidget(ProgressPanel);
    layout->addLayout(buttons);
    installWhatsThisMenus(this);
}

CopyKind TCopyOut::kind() const {
    return ToDBF->isChecked() ? CopyKind::Dbf : CopyKind::Text;
}

TextEncoding TCopyOut::encoding() const {
    return Encoding->currentIndex() == 1 ? TextEncoding::Windows1252 : TextEncoding::Utf8;
}

void TCopyOut::clearTarget() {
    FileName->setText(kNone);
    Doit->setEnabled(false);
}

void TCopyOut::SaveAsButtonClick() {
    const QString ext = kind() == CopyKind::Dbf ? QStringLiteral("DBF") : QStringLiteral("TXT");
    if (folder_.isEmpty()) folder_ = host_.programFolder();
    FileDialogRequest request;
    request.caption = QStringLiteral("Save As");
    request.directory = folder_;
    request.fileName = QStringLiteral("MYCOPY.") + ext;
    request.filter = kind() == CopyKind::Dbf ? QStringLiteral("DBF files|*.DBF|All files|*.*")
                                             : QStringLiteral("Text files|*.TXT|All files|*.*");
    request.defaultSuffix = ext;
    request.mustExist = false;
    const std::optional<QString> chosen = prompts().saveFile(this, request);
    clearTarget();
    if (!chosen || chosen->isEmpty()) return;
    const QString name = QFileInfo(*chosen).absoluteFilePath();
    folder_ = QFileInfo(name).absolutePath();
    const QString problem = copyTargetProblem(host_.currentFileName(), name, kind());
    if (!problem.isEmpty()) {
        prompts().information(this, problem);
        return;
    }
    if (QFileInfo::exists(name) &&
        !prompts().confirm(this, QStringLiteral("Warning!"), overwriteQuestion(name),
                           Prompts::Default::No))
        return;
    FileName->setText(name);
    Doit->setEnabled(true);
}

void TCopyOut::DoitClick() {
    if (copying_ || FileName->text() == kNone) return;
    SetupPanel->hide();
    HelpButton->hide();
    MouseHelpButton->hide();
    ProgressPanel->show();
    Doit->setEnabled(false);
    copying_ = true;
    cancelRequested_ = false;
    WhatAmIDoing->setText(QStringLiteral("Copying to ") + FileName->text());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CopyReport report;
    report.gauge = [this](int percent) { Gauge1->setValue(percent); };
    EventPace pace;
    report.cancelRequested = [this, &pace] {
        pace.handleEvents();
        return cancelRequested_;
    };
    const CopyResult result =
        copyRecordsOut(host_.contactTable(), kind(), FileName->text(), encoding(), report);
    QApplication::restoreOverrideCursor();
    copying_ = false;
    if (!result.error.isEmpty()) prompts().information(this, result.error);
    accept();
}

void TCopyOut::CancelbuttonClick() {
    if (!copying_) {
        QDialog::reject();
        return;
    }
    if (prompts().confirm(this, QStringLiteral("Cancel"), QString::fromLatin1(kCancelCopy),
                          Prompts::Default::No))
        cancelRequested_ = true;
}

void TCopyOut::reject() {
    CancelbuttonClick();
}

void CopyRecordsOut1Click(ContactHost& host) {
    Dataset& table = host.contactTable();
    if (!table.isOpen() || table.selectionRecordCount() == 0) {
        prompts().information(host.hostWindow(), QString::fromLatin1(kNothingToCopy));
        return;
    }
    host.setTableEventsOn(false);
    host.suspendRecordDisplay();
    const uint32_t record = table.recNo();
    {
        TCopyOut dialog(host, host.hostWindow());
        dialog.exec();
    }
    table.go(record);
    host.resumeRecordDisplay();
    host.setTableEventsOn(true);
}

}  // namespace qb::utilities
