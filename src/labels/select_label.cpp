// The label definition list.
#include "labels/select_label.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/prompts.h"
#include "labels/label_edit.h"
#include "labels/table_grid.h"

namespace qb::labels {

namespace {

constexpr int kHelpSelectLabel = 1042;

QPushButton* button(const char* name, const QString& caption, const QString& help,
                    QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setWhatsThis(help);
    return b;
}

std::vector<GridColumn> stockColumns() {
    return {{QStringLiteral("USERDESC"), QStringLiteral("Label"), 30},
            {QStringLiteral("LBLHEIGHT"), QStringLiteral("Height in."), 8},
            {QStringLiteral("LBLWIDTH"), QStringLiteral("Width in."), 8},
            {QStringLiteral("NBRACROSS"), QStringLiteral("# Across"), 6},
            {QStringLiteral("NBRDOWN"), QStringLiteral("# Down"), 6},
            {QStringLiteral("TOPMARG"), QStringLiteral("Top Margin"), 8},
            {QStringLiteral("LEFTMARG"), QStringLiteral("Left Margin"), 8},
            {QStringLiteral("SHEETWIDTH"), QStringLiteral("Page Width"), 8},
            {QStringLiteral("SHEETDEPTH"), QStringLiteral("Page Height"), 8},
            {QStringLiteral("PAPERSIZE"), QStringLiteral("Paper Size"), 6}};
}

}  // namespace

QString TSelectLabel::printerFilter(const QString& type) {
    return u'"' + type + QStringLiteral("\"$printer");
}

TSelectLabel::TSelectLabel(Dataset& stock, QString description, QString printerType,
                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      stock_(stock),
      description_(std::move(description)),
      printerType_(std::move(printerType)) {
    setObjectName(QStringLiteral("TSelectLabel"));
    setWindowTitle(QStringLiteral("Select Label Definition"));
    tileBackground(this);

    auto* types = new QGroupBox(QStringLiteral("Printer Type"), this);
    laser_ = new QRadioButton(QStringLiteral("Laser or Inkjet"), types);
    laser_->setObjectName(QStringLiteral("rbLaser"));
    dotMatrix_ = new QRadioButton(QStringLiteral("Dot Matrix"), types);
    dotMatrix_->setObjectName(QStringLiteral("rbDotMatrix"));
    types->setWhatsThis(QStringLiteral("Shows the label stock of one kind of printer."));
    auto* typeLayout = new QHBoxLayout(types);
    typeLayout->addWidget(laser_);
    typeLayout->addWidget(dotMatrix_);

    grid_ = new TableGrid(&stock_, stockColumns(), this);
    grid_->setObjectName(QStringLiteral("LabelGrid"));
    grid_->setWhatsThis(QStringLiteral("The label stock; the highlighted row is the one chosen."));
    grid_->setMinimumSize(620, 260);

    auto* add = button("NewLabel", QStringLiteral("New"),
                       QStringLiteral("Defines new label stock, starting from the highlighted "
                                      "one."),
                       this);
    edit_ = button("EditLabel", QStringLiteral("Edit"),
                   QStringLiteral("Changes the highlighted label stock."), this);
    delete_ = button("DeleteLabel", QStringLiteral("Delete"),
                     QStringLiteral("Removes the highlighted label stock."), this);
    ok_ = button("OKButton", QStringLiteral("OK"),
                 QStringLiteral("Uses the highlighted label stock for the setup."), this);
    ok_->setDefault(true);
    auto* cancel = button("CancelButton", QStringLiteral("Cancel"),
                          QStringLiteral("Leaves the setup's label stock as it was."), this);
    auto* help = button("HelpButton", QStringLiteral("Help"), QString(), this);
    auto* pointer = newPointerHelpButton(this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(edit_);
    buttons->addWidget(delete_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addWidget(pointer);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(types);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);

    connect(laser_, &QRadioButton::clicked, this,
            [this] { PrinterTypeClick(QStringLiteral("LJ")); });
    connect(dotMatrix_, &QRadioButton::clicked, this,
            [this] { PrinterTypeClick(QStringLiteral("DM")); });
    connect(add, &QPushButton::clicked, this, &TSelectLabel::NewLabelClick);
    connect(edit_, &QPushButton::clicked, this, &TSelectLabel::EditLabelClick);
    connect(delete_, &QPushButton::clicked, this, &TSelectLabel::DeleteLabelClick);
    connect(ok_, &QPushButton::clicked, this, &TSelectLabel::OKButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpSelectLabel); });
    connect(grid_, &BrowseGrid::leaveRequested, this, &TSelectLabel::OKButtonClick);
    connect(&stock_, &Dataset::rowsChanged, this, &TSelectLabel::setButtons);
    installWhatsThisMenus(this);
}

TSelectLabel::~TSelectLabel() = default;

void TSelectLabel::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TSelectLabel::FormActivate() {
    if (!firstActivation_) return;
    firstActivation_ = false;
    const QString type = printerType_ == u"LJ" ? QStringLiteral("LJ") : QStringLiteral("DM");
    laser_->setChecked(type == u"LJ");
    dotMatrix_->setChecked(type != u"LJ");
    stock_.setSelection(printerFilter(type));
    // Walk to the setup's stock; without a match the walk stops on the last row.
    stock_.disableControls();
    stock_.first();
    while (!stock_.eof() && stock_.text(QStringLiteral("USERDESC")) != description_)
        stock_.next();
    stock_.enableControls();
    setButtons();
}

void TSelectLabel::PrinterTypeClick(const QString& type) {
    stock_.setSelection(printerFilter(type));
    stock_.first();
    setButtons();
}

void TSelectLabel::setButtons() {
    const bool on = stock_.onRecord();
    ok_->setEnabled(on);
    edit_->setEnabled(on);
    delete_->setEnabled(on);
}

std::optional<LabelDefinition> TSelectLabel::runEditor(const QString& caption,
                                                       const LabelDefinition& d) {
    TLabelEdit editor(caption, d, this);
    if (editor.exec() != QDialog::Accepted) return std::nullopt;
    return editor.Result();
}

void TSelectLabel::NewLabelClick() {
    LabelDefinition d = Chosen();
    d.description = QStringLiteral("[New] ") + d.description;
    const auto saved = runEditor(QStringLiteral("Add Label Definition"), d);
    if (!saved) return;
    LabelDefinition row = *saved;
    row.userDefined = true;
    if (!stock_.insert()) return;
    writeLabelDefinition(stock_.area(), row, true);
    stock_.post();
    setButtons();
}

void TSelectLabel::EditLabelClick() {
    if (!stock_.onRecord()) return;
    const LabelDefinition current = Chosen();
    if (!current.userDefined &&
        !prompts().confirm(this, QStringLiteral("Confirm"),
                           QStringLiteral("This is a predefined Avery label.\rChanging it may "
                                          "result in incorrect output.\rAre you sure you wish "
                                          "to modify it?")))
        return;
    const auto saved = runEditor(QStringLiteral("Edit Label Definition"), current);
    if (!saved || !stock_.edit()) return;
    writeLabelDefinition(stock_.area(), *saved, false);
    stock_.post();
}

void TSelectLabel::DeleteLabelClick() {
    if (!stock_.onRecord()) return;
    const QString question = Chosen().userDefined
                                 ? QStringLiteral("Are you sure you wish to delete this label?")
                                 : QStringLiteral(
                                       "This is a predefined Avery label. Are you sure you wish to "
                                       "delete it?");
    if (!prompts().confirm(this, QStringLiteral("Confirm"), question)) return;
    stock_.markDeleted();
    setButtons();
}

void TSelectLabel::OKButtonClick() {
    if (stock_.onRecord()) accept();
}

}  // namespace qb::labels
