// The letters dialog.
#include "letters/qb_letters.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include "controls/placement.h"
#include "controls/prompts.h"
#include "letters/letter_design.h"
#include "letters/letter_print.h"
#include "letters/letter_store.h"
#include "letters/rtf_preview.h"
#include "output/printer_device.h"
#include "output/report_printer.h"
#include "richtext/rich_text_editor.h"

namespace qb::letters {

TqBLetters::TqBLetters(ContactHost& host, QWidget* parent)
    : QDialog(parent), host_(host), printer_(new TReportPrinter(this)) {
    setObjectName(QStringLiteral("TqBLetters"));
    setWindowTitle(QStringLiteral("Print Letters"));
    auto* layout = new QGridLayout(this);
    grid_ = new QTableWidget(0, 1, this);
    grid_->setObjectName(QStringLiteral("LetterGrid"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Letter Description")});
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->hide();
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(grid_, 0, 0, 3, 1);

    auto button = [this](const char* name, const QString& text, auto&& click) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, click);
        return b;
    };
    auto* rowButtons = new QVBoxLayout;
    new_ = button("NewLetter", QStringLiteral("New"), [this] { NewLetterClick(); });
    modify_ = button("ModifyLetter", QStringLiteral("Modify"), [this] { ModifyLetterClick(); });
    delete_ = button("DeleteLetter", QStringLiteral("Delete"), [this] { DeleteLetterClick(); });
    rowButtons->addWidget(new_);
    rowButtons->addWidget(modify_);
    rowButtons->addWidget(delete_);
    rowButtons->addStretch();
    layout->addLayout(rowButtons, 0, 1);

    auto* scope = new QGroupBox(QStringLiteral("What to print"), this);
    auto* scopeLayout = new QVBoxLayout(scope);
    all_ = new QRadioButton(QStringLiteral("All records"), scope);
    all_->setObjectName(QStringLiteral("rbQAll"));
    filter_ = new QRadioButton(QStringLiteral("Records matching filter"), scope);
    filter_->setObjectName(QStringLiteral("rbQFilter"));
    onlyThis_ = new QRadioButton(QStringLiteral("Only current record"), scope);
    onlyThis_->setObjectName(QStringLiteral("rbOnlyThis"));
    onlyThis_->setChecked(true);
    startCurrent_ = new QCheckBox(QStringLiteral("Start from current record"), scope);
    startCurrent_->setObjectName(QStringLiteral("StartCurrentCheck"));
    for (QWidget* w : std::initializer_list<QWidget*>{all_, filter_, onlyThis_, startCurrent_})
        scopeLayout->addWidget(w);
    layout->addWidget(scope, 1, 1);

    auto* copiesRow = new QHBoxLayout;
    copiesRow->addWidget(new QLabel(QStringLiteral("# copies of each letter"), this));
    copies_ = new QSpinBox(this);
    copies_->setObjectName(QStringLiteral("NumberofEachLabel"));
    copies_->setRange(1, 999);
    copies_->setValue(1);
    copiesRow->addWidget(copies_);
    layout->addLayout(copiesRow, 2, 1);

    printerLabel_ = new QLabel(this);
    printerLabel_->setObjectName(QStringLiteral("PrinterLabel"));
    layout->addWidget(printerLabel_, 3, 0, 1, 2);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(
        button("PrinterSetup", QStringLiteral("Printer Setup"), [this] { PrinterSetupClick(); }));
    printNow_ = button("PrintNow", QStringLiteral("Print Now"), [this] { PrintNowClick(); });
    preview_ = button("PreviewButton", QStringLiteral("Preview"), [this] { PreviewClick(); });
    bottom->addWidget(printNow_);
    bottom->addWidget(preview_);
    bottom->addWidget(
        button("HelpButton", QStringLiteral("Help"), [this] { prompts().showHelp(this, 1037); }));
    bottom->addWidget(button("CancelButton", QStringLiteral("Cancel"), [this] { reject(); }));
    layout->addLayout(bottom, 4, 0, 1, 2);

    connect(grid_, &QTableWidget::itemSelectionChanged, this, [this] { rowChosen(); });
    printerLabel_->setText(PrinterDevice::shared().printerName());
}

TqBLetters::~TqBLetters() = default;

bool TqBLetters::OpenLettersTable() {
    if (!openLettersTable(host_.programFolder(), letters_)) return false;
    fillGrid();
    return true;
}

void TqBLetters::DisableFilterChoice() {
    filter_->setEnabled(false);
}

void TqBLetters::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!firstActivation_) return;
    firstActivation_ = false;
    SetButtons();
}

void TqBLetters::SetButtons() {
    const bool on = letters_.isOpen() && letters_.onRecord();
    for (QWidget* w : std::initializer_list<QWidget*>{modify_, printNow_, preview_, delete_, grid_})
        w->setEnabled(on);
}

void TqBLetters::fillGrid() {
    const uint32_t current = letters_.onRecord() ? letters_.recNo() : 0;
    QSignalBlocker quiet(grid_);
    grid_->setRowCount(0);
    int currentRow = -1;
    for (letters_.first(); letters_.onRecord() && !letters_.eof(); letters_.next()) {
        const int row = grid_->rowCount();
        grid_->insertRow(row);
        auto* item = new QTableWidgetItem(letters_.text(QStringLiteral("DESCRIPT")));
        item->setData(Qt::UserRole, letters_.recNo());
        grid_->setItem(row, 0, item);
        if (letters_.recNo() == current) currentRow = row;
    }
    if (current > 0 && currentRow >= 0) {
        letters_.go(current);
    } else {
        letters_.first();
        currentRow = grid_->rowCount() > 0 ? 0 : -1;
    }
    if (currentRow >= 0) grid_->selectRow(currentRow);
}

void TqBLetters::rowChosen() {
    const QList<QTableWidgetItem*> items = grid_->selectedItems();
    if (!items.isEmpty()) letters_.go(items.front()->data(Qt::UserRole).toUInt());
}

void TqBLetters::design(bool append) {
    TLetterDesign designer(
        host_,
        append ? QString::fromLatin1(kUntitledLetter) : letters_.text(QStringLiteral("DESCRIPT")),
        this);
    if (!append) {
        richtext::PageSettings page;
        const QString notice = LoadRichText(letters_, *designer.editor().document(), page);
        designer.editor().setPageSettings(page);
        if (!notice.isEmpty()) prompts().information(this, notice);
    }
    designer.onSave = [this, append](TLetterDesign& d) {
        QString why;
        if (saveLetter(letters_, append, d.description(), *d.editor().document(),
                       d.editor().pageSettings(), &why))
            return true;
        prompts().error(&d, QStringLiteral("The letter could not be saved:\n") + why);
        return false;
    };
    if (host_.hostWindow()) centreOver(designer, *host_.hostWindow());
    designer.exec();
    fillGrid();
    SetButtons();
}

void TqBLetters::NewLetterClick() {
    design(true);
}

void TqBLetters::ModifyLetterClick() {
    if (letters_.onRecord()) design(false);
}

void TqBLetters::DeleteLetterClick() {
    if (!letters_.onRecord()) return;
    if (!prompts().confirm(this, QStringLiteral("Confirm"), QStringLiteral("Delete this record?")))
        return;
    letters_.markDeleted();
    fillGrid();
    SetButtons();
}

void TqBLetters::PrinterSetupClick() {
    printer_->ShowPrinterSetupDialog();
    printerLabel_->setText(PrinterDevice::shared().printerName());
}

ScopeChoice TqBLetters::scopeChoice() const {
    if (all_->isChecked()) return ScopeChoice::AllRecords;
    if (filter_->isChecked()) return ScopeChoice::MatchingFilter;
    return ScopeChoice::OnlyCurrent;
}

void TqBLetters::PrintNowClick() {
    if (!letters_.onRecord()) return;
    if (!printer_->ShowPrintDialog()) return;
    QTextDocument letter;
    LetterPrintRequest request;
    LoadRichText(letters_, letter, request.job.page);
    request.job.letter = &letter;
    request.job.copies = copies_->value();
    request.scope = scopeChoice();
    request.startFromCurrent = startCurrent_->isChecked();
    QWidget* over = host_.hostWindow() ? host_.hostWindow() : this;
    DoPrintLetters(host_.contactTable(), request, over, true);
}

void TqBLetters::PreviewClick() {
    if (!letters_.onRecord()) return;
    QTextDocument letter;
    richtext::PageSettings page;
    const QString notice = LoadRichText(letters_, letter, page);
    if (!notice.isEmpty()) prompts().information(this, notice);
    TRTFPreviewForm preview(host_, letter, page, this);
    preview.exec();
}

}  // namespace qb::letters
