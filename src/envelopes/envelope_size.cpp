// Envelope sizes and their editor.
#include "envelopes/envelope_size.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/prompts.h"
#include "envelopes/envelope_geometry.h"
#include "labels/label_setup.h"

namespace qb::envelopes {

namespace {
constexpr int kHelpEnvelopeEdit = 1000;
constexpr double kMillimetresPerInch = 25.4;
}  // namespace

EnvelopeSize readEnvelopeSize(const xb::WorkArea& t) {
    EnvelopeSize s;
    if (!t.isOpen() || t.eof()) return s;
    s.name = QString::fromStdString(t.getText("NAME")).left(kSizeNameWidth);
    s.desc = QString::fromStdString(t.getText("DESC")).left(kSizeDescWidth);
    s.width = t.getNumber("WIDTH");
    s.height = t.getNumber("HEIGHT");
    s.userDefined = t.getLogical("USERDEF");
    return s;
}

void writeEnvelopeSize(xb::WorkArea& t, const EnvelopeSize& s, bool withUserDef) {
    t.putText("NAME", s.name.left(kSizeNameWidth).toStdString());
    t.putText("DESC", s.desc.left(kSizeDescWidth).toStdString());
    t.putNumber("WIDTH", labels::roundToThousandths(s.width));
    t.putNumber("HEIGHT", labels::roundToThousandths(s.height));
    if (withUserDef) t.putLogical("USERDEF", s.userDefined);
}

TEnvelopeEdit::TEnvelopeEdit(const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TEnvelopeEdit"));
    setWindowTitle(caption);
    tileBackground(this);

    auto edit = [this](const char* name, const QString& help) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setWhatsThis(help);
        return e;
    };
    name_ = edit("NameEdit", QStringLiteral("The name the size is chosen by; setups copy it."));
    name_->setMaxLength(kSizeNameWidth);
    name_->setText(QStringLiteral("[enter new name]"));
    desc_ = edit("DescEdit", QStringLiteral("How the size is described in the list."));
    desc_->setMaxLength(kSizeDescWidth);
    desc_->setText(QStringLiteral("[enter description]"));
    width_ = edit("WidthEdit", QStringLiteral("The envelope's width, at least 2 inches."));
    height_ = edit("HeightEdit", QStringLiteral("The envelope's height, at least 2 inches."));
    width_->setMaximumWidth(80);
    height_->setMaximumWidth(80);

    auto* units = new QGroupBox(QStringLiteral("Units"), this);
    inches_ = new QRadioButton(QStringLiteral("In inches"), units);
    inches_->setObjectName(QStringLiteral("Inchesbutton"));
    inches_->setChecked(true);
    millimetres_ = new QRadioButton(QStringLiteral("In Millimeters"), units);
    millimetres_->setObjectName(QStringLiteral("MMButton"));
    auto* unitLayout = new QVBoxLayout(units);
    unitLayout->addWidget(inches_);
    unitLayout->addWidget(millimetres_);
    units->setWhatsThis(QStringLiteral("The unit the width and height are typed in."));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name"), name_);
    form->addRow(QStringLiteral("Description"), desc_);
    form->addRow(QStringLiteral("Width"), width_);
    form->addRow(QStringLiteral("Height"), height_);

    auto* ok = new QPushButton(QStringLiteral("Save"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addWidget(newPointerHelpButton(this));
    auto* middle = new QHBoxLayout;
    middle->addLayout(form);
    middle->addWidget(units);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(middle);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    applyMask();

    connect(ok, &QPushButton::clicked, this, &TEnvelopeEdit::OKButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpEnvelopeEdit); });
    connect(inches_, &QRadioButton::clicked, this, &TEnvelopeEdit::InchesbuttonClick);
    connect(millimetres_, &QRadioButton::clicked, this, &TEnvelopeEdit::MMButtonClick);
    installWhatsThisMenus(this);
}

TEnvelopeEdit::~TEnvelopeEdit() = default;

void TEnvelopeEdit::Load(const EnvelopeSize& s) {
    name_->setText(s.name);
    desc_->setText(s.desc);
    origWidth_ = s.width;
    origHeight_ = s.height;
}

void TEnvelopeEdit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TEnvelopeEdit::FormActivate() {
    if (!firstActivation_) return;
    firstActivation_ = false;
    show(width_, origWidth_);
    show(height_, origHeight_);
}

double TEnvelopeEdit::shown(QLineEdit* edit) const {
    return edit->text().trimmed().toDouble();
}

void TEnvelopeEdit::show(QLineEdit* edit, double value) {
    edit->setText(QString::number(value, 'f', unit_ == Unit::Inches ? 2 : 0));
}

void TEnvelopeEdit::applyMask() {
    // Inches take two whole digits and up to three decimals; millimetres three whole digits.
    static const QRegularExpression inchesMask(QStringLiteral("\\d{0,2}(\\.\\d{0,3})?"));
    static const QRegularExpression mmMask(QStringLiteral("\\d{0,3}"));
    for (QLineEdit* e : {width_, height_})
        e->setValidator(
            new QRegularExpressionValidator(unit_ == Unit::Inches ? inchesMask : mmMask, e));
}

void TEnvelopeEdit::MMButtonClick() {
    millimetres_->setChecked(true);
    if (unit_ == Unit::Millimetres) return;
    origHeight_ = shown(height_);
    origWidth_ = shown(width_);
    unit_ = Unit::Millimetres;
    for (QLineEdit* e : {width_, height_}) {
        e->setValidator(nullptr);
        e->clear();
    }
    applyMask();
    show(width_, origWidth_ * kMillimetresPerInch);
    show(height_, origHeight_ * kMillimetresPerInch);
}

void TEnvelopeEdit::InchesbuttonClick() {
    inches_->setChecked(true);
    if (unit_ == Unit::Inches) return;
    origHeight_ = shown(height_) * kInchesPerMillimetre;
    origWidth_ = shown(width_) * kInchesPerMillimetre;
    unit_ = Unit::Inches;
    for (QLineEdit* e : {width_, height_}) {
        e->setValidator(nullptr);
        e->clear();
    }
    applyMask();
    show(width_, origWidth_);
    show(height_, origHeight_);
}

void TEnvelopeEdit::OKButtonClick() {
    const double factor = unit_ == Unit::Inches ? 1.0 : kInchesPerMillimetre;
    // A size shown rounded and left as it was keeps its exact value (4.125 shows as 4.13).
    auto take = [&](QLineEdit* e, double& inches) {
        if (unit_ == Unit::Inches && e->text() == QString::number(inches, 'f', 2)) return;
        inches = shown(e) * factor;
    };
    take(height_, origHeight_);
    take(width_, origWidth_);
    QString fault = envelopeSizeFault(origWidth_, origHeight_);
    if (fault.isEmpty() && name_->text().isEmpty())
        fault = QStringLiteral("A Unique Name is required");
    if (fault.isEmpty() && desc_->text().isEmpty())
        fault = QStringLiteral("A Description is required");
    if (!fault.isEmpty()) {
        prompts().information(this, fault);
        return;
    }
    accept();
}

EnvelopeSize TEnvelopeEdit::Result() const {
    EnvelopeSize s;
    s.name = name_->text();
    s.desc = desc_->text();
    s.width = origWidth_;
    s.height = origHeight_;
    s.userDefined = true;
    return s;
}

}  // namespace qb::envelopes
