// The DBF import's windows.
#include "import/dbf_import_dialog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/event_pace.h"
#include "controls/prompts.h"
#include "import/ascii_import_dialog.h"
#include "xbase/error.h"

namespace qb::import {

namespace {
const QString kNone = QStringLiteral("(none)");
constexpr int kSourceRowsShown = 200;
}  // namespace

// ---- Field picker ----------------------------------------------------------------------------

TGetImportField::TGetImportField(const QStringList& names, const QString& current, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TGetImportField"));
    setWindowTitle(QStringLiteral("Select Import Field"));
    ListOfFields = new QListWidget(this);
    ListOfFields->setObjectName(QStringLiteral("ListOfFields"));
    ListOfFields->addItem(QStringLiteral("(None)"));
    ListOfFields->addItems(names);
    const qsizetype at = names.indexOf(current);
    ListOfFields->setCurrentRow(at < 0 ? 0 : int(at) + 1);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListOfFields, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListOfFields);
    layout->addLayout(buttons);
}

QString TGetImportField::chosen() const {
    const int row = ListOfFields->currentRow();
    return row <= 0 ? QString() : ListOfFields->item(row)->text();
}

// ---- Matching --------------------------------------------------------------------------------

TDBFMatch::TDBFMatch(std::vector<SourceField> fields, const QString& sourcePath, bool automatic,
                     QWidget* parent)
    : QDialog(parent), fields_(std::move(fields)) {
    setObjectName(QStringLiteral("TDBFMatch"));
    setWindowTitle(QStringLiteral("DBF File Import Match Fields"));
    tileBackground(this);
    if (automatic) applyAutomaticMatch(fields_);

    const auto& rows = dbfMatchRows();
    ImportGrid = new QTableWidget(int(rows.size()), 2, this);
    ImportGrid->setObjectName(QStringLiteral("ImportGrid"));
    ImportGrid->setHorizontalHeaderLabels(
        {QStringLiteral("Quillbank Field"),
         QStringLiteral("Import from Field (in ") + QFileInfo(sourcePath).fileName() + u')'});
    ImportGrid->verticalHeader()->hide();
    ImportGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ImportGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    ImportGrid->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < int(rows.size()); ++r) {
        auto* label = new QTableWidgetItem(QLatin1String(rows[size_t(r)].label));
        label->setFlags(Qt::ItemIsEnabled);
        label->setBackground(Qt::lightGray);
        ImportGrid->setItem(r, 0, label);
        QString holder;
        for (const SourceField& f : fields_)
            if (f.match == QLatin1String(rows[size_t(r)].label)) holder = f.name;
        ImportGrid->setItem(r, 1, new QTableWidgetItem(holder));
    }

    SourceGrid = new QTableWidget(this);
    SourceGrid->setObjectName(QStringLiteral("SourceGrid"));
    SourceGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    try {
        xb::WorkArea source;
        source.use(QFile::encodeName(sourcePath).toStdString(), xb::UseMode::ReadOnly);
        source.setDeleted(true);
        SourceGrid->setColumnCount(source.fieldCount());
        for (int c = 1; c <= source.fieldCount(); ++c)
            SourceGrid->setHorizontalHeaderItem(
                c - 1, new QTableWidgetItem(QString::fromStdString(source.fieldName(c))));
        int r = 0;
        for (source.first(); !source.eof() && r < kSourceRowsShown; source.skip(), ++r) {
            SourceGrid->insertRow(r);
            for (int c = 1; c <= source.fieldCount(); ++c)
                SourceGrid->setItem(
                    r, c - 1,
                    new QTableWidgetItem(QString::fromStdString(source.getText(c)).left(100)));
        }
    } catch (const xb::Error&) {
        // The source was readable when chosen; a grid left short does not stop the match.
    }

    SelectFieldButton = new QPushButton(QStringLiteral("Select Field"), this);
    SelectFieldButton->setObjectName(QStringLiteral("SelectFieldButton"));
    ClearCurrentButton = new QPushButton(QStringLiteral("Clear Current"), this);
    ClearCurrentButton->setObjectName(QStringLiteral("ClearCurrentButton"));
    ClearAllButton = new QPushButton(QStringLiteral("Clear All"), this);
    ClearAllButton->setObjectName(QStringLiteral("ClearAllButton"));
    OKButton = new QPushButton(QStringLiteral("Save"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    connect(SelectFieldButton, &QPushButton::clicked, this, &TDBFMatch::SelectField);
    connect(ImportGrid, &QTableWidget::cellDoubleClicked, this, [this] { SelectField(); });
    connect(ClearCurrentButton, &QPushButton::clicked, this, &TDBFMatch::ClearCurrentButtonClick);
    connect(ClearAllButton, &QPushButton::clicked, this, &TDBFMatch::ClearAllButtonClick);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpDbfMatch); });

    auto* grids = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Field Match"), this));
    left->addWidget(ImportGrid);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Import DBF File Browser"), this));
    right->addWidget(SourceGrid);
    grids->addLayout(left);
    grids->addLayout(right);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {SelectFieldButton, ClearCurrentButton, ClearAllButton, OKButton,
                           CancelButton, HelpButton})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grids);
    layout->addLayout(buttons);
    resize(760, 520);
    selectRow(0);
}

void TDBFMatch::selectRow(int row) {
    ImportGrid->setCurrentCell(row, 1);
}

QString TDBFMatch::rowField(int row) const {
    return ImportGrid->item(row, 1)->text();
}

void TDBFMatch::SelectField() {
    const int row = ImportGrid->currentRow();
    if (row < 0) return;
    const QStringList names = offeredFields(fields_, row);
    std::optional<QString> picked;
    if (pickField) {
        picked = pickField(names, rowField(row));
    } else {
        TGetImportField picker(names, rowField(row), this);
        if (picker.exec() == QDialog::Accepted) picked = picker.chosen();
    }
    if (!picked) return;
    if (!picked->isEmpty()) {
        // A field goes into one row only: taking it here takes it from elsewhere.
        for (int r = 0; r < ImportGrid->rowCount(); ++r)
            if (rowField(r) == *picked) ImportGrid->item(r, 1)->setText(QString());
    }
    ImportGrid->item(row, 1)->setText(*picked);
}

void TDBFMatch::ClearCurrentButtonClick() {
    const int row = ImportGrid->currentRow();
    if (row >= 0) ImportGrid->item(row, 1)->setText(QString());
}

void TDBFMatch::ClearAllButtonClick() {
    for (int r = 0; r < ImportGrid->rowCount(); ++r)
        ImportGrid->item(r, 1)->setText(QString());
}

std::vector<SourceField> TDBFMatch::fields() const {
    std::vector<SourceField> out = fields_;
    for (SourceField& f : out) {
        f.match.clear();
        for (int r = 0; r < ImportGrid->rowCount(); ++r)
            if (rowField(r) == f.name) f.match = QLatin1String(dbfMatchRows()[size_t(r)].label);
    }
    return out;
}

// ---- The import window -----------------------------------------------------------------------

TDBFImport::TDBFImport(Dataset& destination, const QString& folder, QWidget* parent)
    : QDialog(parent), destination_(destination), folder_(folder) {
    setObjectName(QStringLiteral("TDBFImport"));
    setWindowTitle(QStringLiteral("DBF File Import"));
    tileBackground(this);

    ButtonPanel = new QWidget(this);
    ButtonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    SelectButton = new QPushButton(QStringLiteral("Select DBF File"), ButtonPanel);
    SelectButton->setObjectName(QStringLiteral("SelectButton"));
    SelectButton->setWhatsThis(QStringLiteral("Chooses the table to import."));
    MatchButton = new QPushButton(QStringLiteral("Match Fields"), ButtonPanel);
    MatchButton->setObjectName(QStringLiteral("MatchButton"));
    MatchButton->setEnabled(false);
    MatchButton->setWhatsThis(
        QStringLiteral("Says which field of the table fills each contact "
                       "field."));
    ImportButton = new QPushButton(QStringLiteral("Import"), ButtonPanel);
    ImportButton->setObjectName(QStringLiteral("ImportButton"));
    ImportButton->setEnabled(false);
    ImportButton->setWhatsThis(QStringLiteral("Adds a contact for each record of the table."));
    auto* panel = new QHBoxLayout(ButtonPanel);
    panel->addWidget(SelectButton);
    panel->addWidget(MatchButton);
    panel->addWidget(ImportButton);
    DBFFileName = new QLabel(kNone, this);
    DBFFileName->setObjectName(QStringLiteral("DBFFileName"));
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
    connect(SelectButton, &QPushButton::clicked, this, &TDBFImport::SelectButtonClick);
    connect(MatchButton, &QPushButton::clicked, this, &TDBFImport::MatchButtonClick);
    connect(ImportButton, &QPushButton::clicked, this, &TDBFImport::ImportButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TDBFImport::CancelButtonClick);
    connect(HelpButton, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpDbfImport); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    buttons->addWidget(HelpButton);
    buttons->addWidget(MouseHelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ButtonPanel);
    layout->addWidget(DBFFileName);
    layout->addWidget(StatusLabel);
    layout->addWidget(Gauge1);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    installWhatsThisMenus(this);
}

void TDBFImport::clearSource() {
    fileName_.clear();
    fields_.clear();
    DBFFileName->setText(kNone);
    MatchButton->setEnabled(false);
    ImportButton->setEnabled(false);
}

void TDBFImport::SelectButtonClick() {
    FileDialogRequest request;
    request.caption = QStringLiteral("Select DBF File");
    request.directory = fileName_.isEmpty() ? folder_ : QFileInfo(fileName_).absolutePath();
    request.fileName = QStringLiteral("*.dbf");
    request.filter = QStringLiteral("DBF files|*.DBF|All files|*.*");
    request.defaultSuffix = QStringLiteral("dbf");
    const std::optional<QString> chosen = prompts().openFile(this, request);
    const QString name = chosen ? *chosen : fileName_;
    clearSource();
    matched_ = false;
    if (name.isEmpty()) return;
    DBFFileName->setText(name);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const DbfSource source = readDbfSource(name);
    StatusLabel->clear();
    if (!source.problem.isEmpty()) {
        prompts().information(this, source.problem);
        clearSource();
        return;
    }
    fileName_ = name;
    fields_ = source.fields;
    MatchButton->setEnabled(true);
}

void TDBFImport::MatchButtonClick() {
    TDBFMatch match(fields_, fileName_, !matched_, this);
    const bool saved = runMatch ? runMatch(match) : match.exec() == QDialog::Accepted;
    if (!saved) return;
    matched_ = true;
    fields_ = match.fields();
    bool any = false;
    for (const SourceField& f : fields_)
        any = any || !f.match.isEmpty();
    ImportButton->setEnabled(any);
}

void TDBFImport::ImportButtonClick() {
    if (importing_ || rebuilding_) return;
    HelpButton->hide();
    MouseHelpButton->hide();
    importing_ = true;
    cancelRequested_ = false;
    Gauge1->show();
    ButtonPanel->hide();
    StatusLabel->clear();

    ImportObserver observer;
    observer.status = [this](const QString& s) {
        StatusLabel->setText(s);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
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
    const ImportResult result = importDbfFile(destination_.area(), fileName_, fields_, observer);
    destination_.enableControls();
    importing_ = false;
    StatusLabel->clear();
    if (!result.error.isEmpty())
        prompts().information(this, QString::fromLatin1(kUnknownImportError));
    if (result.indexDropped) {
        prompts().information(this, importOutcomeMessage(result));
        StatusLabel->setText(QStringLiteral("Rebuilding Indexes "));
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

void TDBFImport::CancelButtonClick() {
    if (rebuilding_) return;
    if (importing_) {
        cancelRequested_ = true;
        return;
    }
    QDialog::reject();
}

void TDBFImport::reject() {
    CancelButtonClick();
}

}  // namespace qb::import
