// The envelope size list.
#include "envelopes/select_envelope.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/prompts.h"
#include "labels/table_grid.h"

namespace qb::envelopes {

namespace {

constexpr int kHelpSelectEnvelope = 1041;

QPushButton* button(const char* name, const QString& caption, const QString& help,
                    QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setWhatsThis(help);
    return b;
}

}  // namespace

TSelectEnvelope::TSelectEnvelope(Dataset& sizes, QString envName, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      sizes_(sizes),
      envName_(std::move(envName)) {
    setObjectName(QStringLiteral("TSelectEnvelope"));
    setWindowTitle(QStringLiteral("Select Envelope Size"));
    tileBackground(this);

    grid_ = new labels::TableGrid(&sizes_,
                                  {{QStringLiteral("NAME"), QStringLiteral("Name"), 16},
                                   {QStringLiteral("DESC"), QStringLiteral("Size"), 20},
                                   {QStringLiteral("WIDTH"), QStringLiteral("WIDTH"), 8},
                                   {QStringLiteral("HEIGHT"), QStringLiteral("HEIGHT"), 8}},
                                  this);
    grid_->setObjectName(QStringLiteral("EnvelopeGrid"));
    grid_->setWhatsThis(QStringLiteral("The envelope sizes; the highlighted one is chosen."));
    grid_->setMinimumSize(460, 260);

    auto* add = button("NewEnvelope", QStringLiteral("New"),
                       QStringLiteral("Adds an envelope size of your own."), this);
    edit_ = button("EditEnvelope", QStringLiteral("Edit"),
                   QStringLiteral("Changes the highlighted size, if it is one of your own."), this);
    delete_ =
        button("DeleteEnvelope", QStringLiteral("Delete"),
               QStringLiteral("Removes the highlighted size, if it is one of your own."), this);
    ok_ = button("OKButton", QStringLiteral("OK"),
                 QStringLiteral("Uses the highlighted size for the setup."), this);
    ok_->setDefault(true);
    auto* cancel = button("CancelButton", QStringLiteral("Cancel"),
                          QStringLiteral("Keeps the setup's envelope size."), this);
    auto* help = button("HelpButton", QStringLiteral("Help"), QString(), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(edit_);
    buttons->addWidget(delete_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addWidget(newPointerHelpButton(this));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);

    connect(add, &QPushButton::clicked, this, &TSelectEnvelope::NewEnvelopeClick);
    connect(edit_, &QPushButton::clicked, this, &TSelectEnvelope::EditEnvelopeClick);
    connect(delete_, &QPushButton::clicked, this, &TSelectEnvelope::DeleteEnvelopeClick);
    connect(ok_, &QPushButton::clicked, this, &TSelectEnvelope::OKButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpSelectEnvelope); });
    connect(grid_, &BrowseGrid::leaveRequested, this, &TSelectEnvelope::OKButtonClick);
    connect(&sizes_, &Dataset::rowsChanged, this, &TSelectEnvelope::setButtons);
    installWhatsThisMenus(this);
}

TSelectEnvelope::~TSelectEnvelope() = default;

void TSelectEnvelope::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TSelectEnvelope::FormActivate() {
    if (!firstActivation_) return;
    firstActivation_ = false;
    sizes_.disableControls();
    sizes_.first();
    while (!sizes_.eof() && sizes_.text(QStringLiteral("NAME")) != envName_)
        sizes_.next();
    // Without a match the walk ends on the last size (the dataset never steps onto an empty
    // row past the end), so OK never hands a zero-size envelope to the designer.
    sizes_.enableControls();
    setButtons();
}

void TSelectEnvelope::setButtons() {
    const bool on = sizes_.onRecord();
    ok_->setEnabled(on);
    edit_->setEnabled(on);
    delete_->setEnabled(on);
}

void TSelectEnvelope::NewEnvelopeClick() {
    TEnvelopeEdit editor(QStringLiteral("Add New Envelope Size"), this);
    if (editor.exec() != QDialog::Accepted) return;
    if (!sizes_.insert()) return;
    writeEnvelopeSize(sizes_.area(), editor.Result(), true);
    sizes_.post();
    setButtons();
}

void TSelectEnvelope::EditEnvelopeClick() {
    if (!sizes_.onRecord()) return;
    const EnvelopeSize current = Chosen();
    if (!current.userDefined) {
        prompts().information(this, QStringLiteral("You may only edit User Defined envelopes"));
        return;
    }
    TEnvelopeEdit editor(QStringLiteral("Edit Envelope Size"), this);
    editor.Load(current);
    if (editor.exec() != QDialog::Accepted || !sizes_.edit()) return;
    writeEnvelopeSize(sizes_.area(), editor.Result(), false);
    sizes_.post();
}

void TSelectEnvelope::DeleteEnvelopeClick() {
    if (!sizes_.onRecord()) return;
    if (!Chosen().userDefined) {
        prompts().information(this, QStringLiteral("You may only delete User Defined envelopes"));
        return;
    }
    if (!prompts().confirm(this, QStringLiteral("Confirm"),
                           QStringLiteral("Delete this envelope?")))
        return;
    sizes_.markDeleted();
    setButtons();
}

void TSelectEnvelope::OKButtonClick() {
    if (sizes_.onRecord()) accept();
}

}  // namespace qb::envelopes
