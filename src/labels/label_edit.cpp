// The label definition editor.
#include "labels/label_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/prompts.h"

namespace qb::labels {

namespace {

constexpr int kHelpLabelEdit = 1001;

QSpinBox* spin(const char* name, int max, int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(1, max);
    box->setValue(std::clamp(value, 1, max));
    return box;
}

}  // namespace

TLabelEdit::TLabelEdit(const QString& caption, const LabelDefinition& initial, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      result_(initial) {
    setObjectName(QStringLiteral("TLabelEdit"));
    setWindowTitle(caption);
    tileBackground(this);

    description_ = new QLineEdit(this);
    description_->setObjectName(QStringLiteral("Description"));
    description_->setMaxLength(kUserDescWidth);
    description_->setText(QStringLiteral("[enter description]"));
    description_->setWhatsThis(
        QStringLiteral("The name of this label stock as the lists show it."));

    auto* sizes = new QGroupBox(QStringLiteral("Label"), this);
    auto* sizeForm = new QFormLayout(sizes);
    const QString along = QStringLiteral(
        " from the left edge of one label to the left edge of "
        "the next across.");
    sizeForm->addRow(QStringLiteral("Label Width"),
                     addLength(Width, "LabelWidth", QStringLiteral("The width of one label.")));
    sizeForm->addRow(QStringLiteral("Label Height"),
                     addLength(Height, "LabelHeight", QStringLiteral("The height of one label.")));
    sizeForm->addRow(QStringLiteral("Horizontal Pitch"),
                     addLength(HPitch, "HorizPitch", QStringLiteral("The step") + along));
    sizeForm->addRow(QStringLiteral("Vertical Pitch"),
                     addLength(VPitch, "VertPitch",
                               QStringLiteral("The step from the top edge of one label to the "
                                              "top edge of the next down.")));
    across_ = spin("NbrAcross", kMostAcross, initial.across, sizes);
    across_->setWhatsThis(QStringLiteral("How many labels stand side by side."));
    down_ = spin("NbrDown", kMostDown, initial.down, sizes);
    down_->setWhatsThis(QStringLiteral("How many rows of labels a sheet holds."));
    sizeForm->addRow(QStringLiteral("Number Across"), across_);
    sizeForm->addRow(QStringLiteral("Number Down"), down_);
    sizeForm->addRow(QStringLiteral("Left Margin"),
                     addLength(Left, "LeftMargin",
                               QStringLiteral("From the sheet's left edge to the first column.")));
    sizeForm->addRow(
        QStringLiteral("Top Margin"),
        addLength(Top, "TopMargin", QStringLiteral("From the sheet's top edge to the first row.")));

    auto* paper = new QGroupBox(QStringLiteral("Paper"), this);
    auto* paperForm = new QFormLayout(paper);
    paperList_ = new QComboBox(paper);
    paperList_->setObjectName(QStringLiteral("PaperSizeList"));
    for (const PaperEntry& e : paperEntries())
        paperList_->addItem(QString::fromUtf8(e.caption));
    paperList_->setCurrentIndex(paperEntryForCode(initial.paperSize));
    paperList_->setWhatsThis(QStringLiteral("The paper the labels come on."));
    paperForm->addRow(QStringLiteral("Paper Size"), paperList_);
    paperForm->addRow(QStringLiteral("Page Width"),
                      addLength(PaperW, "PaperWidth", QStringLiteral("The width of the sheet.")));
    paperForm->addRow(QStringLiteral("Page Height"),
                      addLength(PaperH, "PaperHeight", QStringLiteral("The height of the sheet.")));
    tractorFed_ = new QCheckBox(QStringLiteral("Tractor Fed (Dot Matrix)"), paper);
    tractorFed_->setObjectName(QStringLiteral("TractorFed"));
    tractorFed_->setChecked(initial.printer != u"LJ");
    tractorFed_->setWhatsThis(QStringLiteral("Continuous forms for dot-matrix printers."));
    paperForm->addRow(tractorFed_);

    auto* units = new QGroupBox(QStringLiteral("Units"), this);
    inches_ = new QRadioButton(QStringLiteral("In 1000's of an inch"), units);
    inches_->setObjectName(QStringLiteral("rbInches"));
    inches_->setChecked(true);
    millimetres_ = new QRadioButton(QStringLiteral("In Millimeters"), units);
    millimetres_->setObjectName(QStringLiteral("rbMillimeters"));
    auto* unitLayout = new QVBoxLayout(units);
    unitLayout->addWidget(inches_);
    unitLayout->addWidget(millimetres_);
    units->setWhatsThis(QStringLiteral("The unit the lengths are typed in."));

    auto* ok = new QPushButton(QStringLiteral("Save"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    auto* pointer = newPointerHelpButton(this);

    auto* descRow = new QHBoxLayout;
    descRow->addWidget(new QLabel(QStringLiteral("Description"), this));
    descRow->addWidget(description_, 1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(sizes);
    auto* right = new QVBoxLayout;
    right->addWidget(paper);
    right->addWidget(units);
    right->addStretch();
    middle->addLayout(right);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addWidget(pointer);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(descRow);
    layout->addLayout(middle);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (!initial.description.isEmpty()) description_->setText(initial.description);
    applyUnitMask();
    showLength(Width, initial.width);
    showLength(Height, initial.height);
    showLength(HPitch, initial.horizPitch);
    showLength(VPitch, initial.vertPitch);
    showLength(Left, initial.leftMargin);
    showLength(Top, initial.topMargin);
    showLength(PaperW, initial.sheetWidth);
    showLength(PaperH, initial.sheetDepth);

    connect(ok, &QPushButton::clicked, this, &TLabelEdit::OKButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpLabelEdit); });
    connect(inches_, &QRadioButton::clicked, this, [this] { UnitClick(LengthUnit::Inches); });
    connect(millimetres_, &QRadioButton::clicked, this,
            [this] { UnitClick(LengthUnit::Millimetres); });
    connect(lengths_[Width], &QLineEdit::editingFinished, this, &TLabelEdit::LabelWidthExit);
    connect(lengths_[Height], &QLineEdit::editingFinished, this, &TLabelEdit::LabelHeightExit);
    connect(paperList_, &QComboBox::activated, this, &TLabelEdit::PaperSizeClick);
    installWhatsThisMenus(this);
}

TLabelEdit::~TLabelEdit() = default;

QLineEdit* TLabelEdit::addLength(Length which, const char* name, const QString& help) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setWhatsThis(help);
    edit->setMaximumWidth(80);
    lengths_[which] = edit;
    return edit;
}

double TLabelEdit::shown(Length which) const {
    return lengths_[which]->text().trimmed().toDouble();
}

void TLabelEdit::showLength(Length which, double value) {
    lengths_[which]->setText(formatLength(value, unit_));
}

void TLabelEdit::applyUnitMask() {
    // Inches take two whole digits and three decimals; millimetres three whole digits.
    static const QRegularExpression inchesMask(QStringLiteral("\\d{0,2}(\\.\\d{0,3})?"));
    static const QRegularExpression mmMask(QStringLiteral("\\d{0,3}"));
    for (QLineEdit* edit : lengths_) {
        auto* validator = new QRegularExpressionValidator(
            unit_ == LengthUnit::Inches ? inchesMask : mmMask, edit);
        edit->setValidator(validator);
    }
}

void TLabelEdit::UnitClick(LengthUnit unit) {
    if (unit == unit_) return;
    std::array<double, LengthCount> values{};
    for (int i = 0; i < LengthCount; ++i)
        values[size_t(i)] = convertShown(shown(Length(i)), unit_, unit);
    unit_ = unit;
    inches_->setChecked(unit == LengthUnit::Inches);
    millimetres_->setChecked(unit == LengthUnit::Millimetres);
    // Drop the old mask first: the converted texts would not pass it.
    for (QLineEdit* edit : lengths_)
        edit->setValidator(nullptr);
    for (int i = 0; i < LengthCount; ++i)
        showLength(Length(i), values[size_t(i)]);
    applyUnitMask();
}

void TLabelEdit::LabelWidthExit() {
    if (shown(Width) > shown(HPitch)) lengths_[HPitch]->setText(lengths_[Width]->text());
}

void TLabelEdit::LabelHeightExit() {
    if (shown(Height) > shown(VPitch)) lengths_[VPitch]->setText(lengths_[Height]->text());
}

void TLabelEdit::PaperSizeClick(int index) {
    const auto entries = paperEntries();
    if (index < 0 || size_t(index) >= entries.size()) return;
    const PaperEntry& e = entries[size_t(index)];
    if (e.userDefined()) return;
    showLength(PaperW, convertShown(e.width, LengthUnit::Inches, unit_));
    showLength(PaperH, convertShown(e.height, LengthUnit::Inches, unit_));
}

void TLabelEdit::OKButtonClick() {
    LabelDefinition d = result_;
    d.description = description_->text();
    d.down = down_->value();
    d.across = across_->value();
    d.width = shownToInches(shown(Width), unit_);
    d.height = shownToInches(shown(Height), unit_);
    d.horizPitch = shownToInches(shown(HPitch), unit_);
    d.vertPitch = shownToInches(shown(VPitch), unit_);
    d.leftMargin = shownToInches(shown(Left), unit_);
    d.topMargin = shownToInches(shown(Top), unit_);
    d.sheetWidth = shownToInches(shown(PaperW), unit_);
    d.sheetDepth = shownToInches(shown(PaperH), unit_);
    d.printer = tractorFed_->isChecked() ? QStringLiteral("DM") : QStringLiteral("LJ");
    const int paper = paperList_->currentIndex();
    if (paper >= 0) d.paperSize = QString::fromLatin1(paperEntries()[size_t(paper)].code);
    const QString fault = ValidLabel(d);
    if (!fault.isEmpty()) {
        prompts().information(this, fault);
        return;
    }
    result_ = d;
    accept();
}

}  // namespace qb::labels
