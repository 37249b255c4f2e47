// The ASCII import's windows.
#include "import/ascii_import_dialog.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/event_pace.h"
#include "controls/prompts.h"
#include "store/contact_file.h"

namespace qb::import {

namespace {

const QString kNone = QStringLiteral("(none)");

QTableWidgetItem* fixedItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

// ---- Matching --------------------------------------------------------------------------------

TAsciiMatch::TAsciiMatch(const AsciiSample& sample, const QStringList& matches, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TAsciiMatch"));
    setWindowTitle(QStringLiteral("ASCII File Import Match Fields"));
    setSizeGripEnabled(true);
    tileBackground(this);

    ASCIIGrid = new QTableWidget(sample.fieldCount, 2, this);
    ASCIIGrid->setObjectName(QStringLiteral("ASCIIGrid"));
    ASCIIGrid->setHorizontalHeaderLabels(
        {QStringLiteral("ASCII Field "), QStringLiteral("Import into QBW Field ")});
    ASCIIGrid->verticalHeader()->hide();
    ASCIIGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ASCIIGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    ASCIIGrid->setColumnWidth(
        0, ASCIIGrid->fontMetrics().horizontalAdvance(QStringLiteral("ASCII Field ")) + 5);
    ASCIIGrid->horizontalHeader()->setStretchLastSection(true);
    for (int n = 0; n < sample.fieldCount; ++n) {
        ASCIIGrid->setItem(n, 0, fixedItem(QStringLiteral("Field %1").arg(n + 1)));
        ASCIIGrid->setItem(n, 1, fixedItem(matches.value(n)));
    }

    auto* panel = new QGroupBox(QStringLiteral("Quillbank Data Fields "), this);
    panel->setObjectName(QStringLiteral("QbPanel"));
    auto* grid = new QGridLayout(panel);
    int i = 0;
    for (const MatchButton& b : asciiMatchButtons()) {
        auto* button = new QPushButton(QLatin1String(b.caption), panel);
        button->setObjectName(QLatin1String(b.objectName));
        const QString caption = QLatin1String(b.caption);
        buttons_[caption] = button;
        // A field already matched is taken; Memo takes any number of values.
        if (caption != u"Memo" && caption != kNone && matches.contains(caption))
            button->setEnabled(false);
        connect(button, &QPushButton::clicked, this,
                [this, caption] { FieldButtonClick(caption); });
        grid->addWidget(button, i / 3, i % 3);
        ++i;
    }

    SG = new QTableWidget(int(sample.lines.size()), sample.fieldCount, this);
    SG->setObjectName(QStringLiteral("SG"));
    SG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int wide = SG->fontMetrics().horizontalAdvance(u'W');
    const int least = SG->fontMetrics().horizontalAdvance(QStringLiteral("Field 12"));
    const int most = int(2 * (screen() ? screen()->logicalDotsPerInchX() : 96));
    for (int c = 0; c < sample.fieldCount; ++c) {
        SG->setHorizontalHeaderItem(c, new QTableWidgetItem(QStringLiteral("Field %1").arg(c + 1)));
        SG->setColumnWidth(
            c, std::clamp(sample.maxLength[size_t(c)] * wide, least, std::max(least, most)));
    }
    for (int r = 0; r < int(sample.lines.size()); ++r)
        for (int c = 0; c < sample.fieldCount; ++c)
            SG->setItem(r, c, fixedItem(sample.lines[size_t(r)].value(c)));

    auto* instruction = new QLabel(
        QStringLiteral("Highlight an ASCII field on the left, then click the Quillbank field it "
                       "goes into. Several ASCII fields may go into Memo."),
        this);
    instruction->setWordWrap(true);
    OKButton = new QPushButton(QStringLiteral("Save"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    Cancelbutton = new QPushButton(QStringLiteral("Cancel"), this);
    Cancelbutton->setObjectName(QStringLiteral("Cancelbutton"));
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancelbutton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpAsciiMatch); });

    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("ASCII File Fields"), this));
    left->addWidget(ASCIIGrid);
    top->addLayout(left);
    top->addWidget(panel);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OKButton);
    buttons->addWidget(Cancelbutton);
    buttons->addStretch();
    buttons->addWidget(HelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(new QLabel(QStringLiteral("Sample ASCII Fields"), this));
    layout->addWidget(SG);
    layout->addWidget(instruction);
    layout->addLayout(buttons);
    if (sample.fieldCount > 0) ASCIIGrid->selectRow(0);
}

QPushButton* TAsciiMatch::button(const QString& objectName) const {
    return findChild<QPushButton*>(objectName);
}

void TAsciiMatch::FieldButtonClick(const QString& caption) {
    const int r = ASCIIGrid->currentRow();
    if (r < 0) return;
    QTableWidgetItem* cell = ASCIIGrid->item(r, 1);
    const QString before = cell->text();
    if (!before.isEmpty() && buttons_.count(before)) buttons_[before]->setEnabled(true);
    if (caption == kNone) {
        cell->setText(QString());
    } else {
        cell->setText(caption);
        if (caption != u"Memo") buttons_[caption]->setEnabled(false);
    }
    if (r + 1 < ASCIIGrid->rowCount()) ASCIIGrid->selectRow(r + 1);
}

QStringList TAsciiMatch::matches() const {
    QStringList m;
    for (int r = 0; r < ASCIIGrid->rowCount(); ++r)
        m << ASCIIGrid->item(r, 1)->text().left(20);
    return m;
}

// ---- The import window -----------------------------------------------------------------------

TAsciiImport::TAsciiImport(Dataset& destination, const QString& folder, QWidget* parent)
    : QDialog(parent), destination_(destination), folder_(folder) {
    setObjectName(QStringLiteral("TAsciiImport"));
    setWindowTitle(QStringLiteral("ASCII File Import"));
    tileBackground(this);

    ButtonPanel = new QWidget(this);
    ButtonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    SelectButton = new QPushButton(QStringLiteral("Select ASCII File"), ButtonPanel);
    SelectButton->setObjectName(QStringLiteral("SelectButton"));
    SelectButton->setWhatsThis(QStringLiteral("Chooses the comma-delimited file to import."));
    MatchButton = new QPushButton(QStringLiteral("Match Fields"), ButtonPanel);
    MatchButton->setObjectName(QStringLiteral("MatchButton"));
    MatchButton->setEnabled(false);
    MatchButton->setWhatsThis(QStringLiteral("Says which contact field each value goes into."));
    ImportButton = new QPushButton(QStringLiteral("Import"), ButtonPanel);
    ImportButton->setObjectName(QStringLiteral("ImportButton"));
    ImportButton->setEnabled(false);
    ImportButton->setWhatsThis(QStringLiteral("Adds a contact for each line of the file."));
    auto* panel = new QHBoxLayout(ButtonPanel);
    panel->addWidget(SelectButton);
    panel->addWidget(MatchButton);
    panel->addWidget(ImportButton);

    AsciiFileName = new QLabel(kNone, this);
    AsciiFileName->setObjectName(QStringLiteral("AsciiFileName"));
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->hide();
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    MouseHelpButton = newPointerHelpButton(this);

    connect(SelectButton, &QPushButton::clicked, this, &TAsciiImport::SelectButtonClick);
    connect(MatchButton, &QPushButton::clicked, this, &TAsciiImport::MatchButtonClick);
    connect(ImportButton, &QPushButton::clicked, this, &TAsciiImport::ImportButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TAsciiImport::CancelButtonClick);
    connect(HelpButton, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpAsciiImport); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    buttons->addWidget(HelpButton);
    buttons->addWidget(MouseHelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ButtonPanel);
    layout->addWidget(AsciiFileName);
    layout->addWidget(StatusLabel);
    layout->addWidget(Gauge1);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    installWhatsThisMenus(this);
}

void TAsciiImport::say(const QString& text) {
    StatusLabel->setText(text);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TAsciiImport::setMatches(const QStringList& matches) {
    matches_ = matches;
    bool any = false;
    for (const QString& m : matches_)
        any = any || !m.isEmpty();
    ImportButton->setEnabled(any);
}

void TAsciiImport::SelectButtonClick() {
    FileDialogRequest request;
    request.caption = QStringLiteral("Select ASCII File");
    request.directory = fileName_.isEmpty() ? folder_ : QFileInfo(fileName_).absolutePath();
    request.fileName = QStringLiteral("*.txt");
    request.filter = QStringLiteral("Text files|*.TXT|All files|*.*");
    request.defaultSuffix = QStringLiteral("prn");
    if (const std::optional<QString> chosen = prompts().openFile(this, request))
        fileName_ = *chosen;
    sample_ = AsciiSample{};
    setMatches({});
    MatchButton->setEnabled(false);
    if (fileName_.isEmpty()) {
        AsciiFileName->setText(kNone);
        return;
    }
    AsciiFileName->setText(fileName_);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sample_ = sampleAsciiFile(fileName_, TextEncoding::Auto);
    StatusLabel->clear();
    if (!sample_.problem.isEmpty()) {
        prompts().information(this, sample_.problem);
        sample_ = AsciiSample{};
        return;
    }
    MatchButton->setEnabled(true);
}

void TAsciiImport::MatchButtonClick() {
    TAsciiMatch match(sample_, matches_, this);
    if (match.exec() == QDialog::Accepted) setMatches(match.matches());
}

void rebuildAfterImport(Dataset& destination, ReindexGauge& gauge, QProgressBar* bar,
                        const Notify& notify) {
    gauge.reset();
    destination.area().setProgress([&](const xb::Progress& p) {
        bar->setValue(gauge.report(p));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    BuildContactIndexes(destination, notify);
    destination.area().setProgress({});
    gauge.reset();
    bar->setValue(0);
}

void TAsciiImport::ImportButtonClick() {
    if (importing_ || rebuilding_) return;
    importing_ = true;
    cancelRequested_ = false;
    Gauge1->show();
    ButtonPanel->hide();
    HelpButton->hide();
    MouseHelpButton->hide();
    StatusLabel->clear();

    ImportObserver observer;
    observer.status = [this](const QString& s) { say(s); };
    observer.gauge = [this](int percent) { Gauge1->setValue(percent); };
    EventPace pace;
    observer.cancelRequested = [this, &pace] {
        pace.handleEvents();
        return cancelRequested_;
    };
    observer.replaceUnholdable = [this](const QString& question) {
        return prompts().confirm(this, QStringLiteral("Information"), question,
                                 Prompts::Default::No);
    };
    destination_.disableControls();
    const ImportResult result =
        importAsciiFile(destination_.area(), fileName_, sample_.encoding, matches_, observer);
    destination_.enableControls();
    importing_ = false;
    StatusLabel->clear();
    if (!result.error.isEmpty()) prompts().information(this, result.error);
    if (result.indexDropped) {
        prompts().information(this, importOutcomeMessage(result));
        say(QStringLiteral("Rebuilding Indexes "));
        CancelButton->hide();
        rebuilding_ = true;
        rebuildAfterImport(destination_, rebuildGauge_, Gauge1,
                           [this](const QString& text) { prompts().information(this, text); });
        rebuilding_ = false;
        CancelButton->show();
    }
    Gauge1->hide();
    accept();
}

void TAsciiImport::CancelButtonClick() {
    if (rebuilding_) return;
    if (importing_) {
        cancelRequested_ = true;
        return;
    }
    QDialog::reject();
}

void TAsciiImport::reject() {
    CancelButtonClick();
}

}  // namespace qb::import
