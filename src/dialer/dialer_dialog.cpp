// The Dial Phone Number window.
#include "dialer/dialer_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/prompts.h"
#include "dialer/dialer.h"

namespace qb::dialer {

namespace {

constexpr int kHelpContext = 1018;

QGroupBox* choiceGroup(const char* name, const QString& caption, const QStringList& items,
                       int columns, QButtonGroup*& group, const QString& help, QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setWhatsThis(help);
    group = new QButtonGroup(box);
    auto* grid = new QGridLayout(box);
    const int rows = int((items.size() + columns - 1) / columns);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        radio->setWhatsThis(help);
        group->addButton(radio, i);
        // Filled column by column, as a two-column radio group lists its items.
        grid->addWidget(radio, i % rows, i / rows);
    }
    group->button(0)->setChecked(true);
    return box;
}

}  // namespace

TQBDialer::TQBDialer(Settings settings, const QString& number, QWidget* parent)
    : QDialog(parent), settings_(std::move(settings)) {
    setObjectName(QStringLiteral("TQBDialer"));
    setWindowTitle(QStringLiteral("Dial Phone Number"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    tileBackground(this);

    QStringList ports;
    for (int i = 0; i < kPortCount; ++i)
        ports << QStringLiteral("COM %1").arg(i + 1);
    auto* portBox = choiceGroup("Port", QStringLiteral("Port"), ports, 2, Port_,
                                QStringLiteral("The serial port the modem is connected to."), this);
    auto* methodBox =
        choiceGroup("ToneOrPulse", QStringLiteral("Method"),
                    {QStringLiteral("Tone"), QStringLiteral("Pulse")}, 1, ToneOrPulse_,
                    QStringLiteral("How the telephone line takes a number: tone dialling on "
                                   "nearly every line, pulse on old exchanges."),
                    this);

    Number_ = new QLineEdit(number, this);
    Number_->setObjectName(QStringLiteral("Number"));
    Number_->setWhatsThis(QStringLiteral("The number the modem dials, as typed."));
    auto* numberLabel = new QLabel(QStringLiteral("Number to Dial"), this);
    numberLabel->setBuddy(Number_);
    prefix_ = new QLineEdit(this);
    prefix_->setObjectName(QStringLiteral("prefix"));
    prefix_->setWhatsThis(QStringLiteral(
        "Dialled before every number, such as the code for an outside line; kept for next time."));
    auto* prefixLabel = new QLabel(QStringLiteral("Prefix"), this);
    prefixLabel->setBuddy(prefix_);

    auto* dial = new QPushButton(QStringLiteral("Dial"), this);
    dial->setObjectName(QStringLiteral("DialButton"));
    dial->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    HelpButton_ = new QPushButton(QStringLiteral("Help"), this);
    HelpButton_->setObjectName(QStringLiteral("HelpButton"));
    MouseHelpButton_ = newPointerHelpButton(this);

    auto* choices = new QHBoxLayout;
    choices->addWidget(portBox);
    choices->addWidget(methodBox);
    auto* entries = new QGridLayout;
    entries->addWidget(numberLabel, 0, 0);
    entries->addWidget(Number_, 0, 1);
    entries->addWidget(prefixLabel, 1, 0);
    entries->addWidget(prefix_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(dial);
    buttons->addWidget(cancel);
    buttons->addWidget(HelpButton_);
    buttons->addWidget(MouseHelpButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(entries);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(dial, &QPushButton::clicked, this, &TQBDialer::DialButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton_, &QPushButton::clicked, this,
            [this] { prompts().showHelp(this, kHelpContext); });
    installWhatsThisMenus(this);
}

int TQBDialer::portIndex() const {
    return Port_->checkedId();
}

int TQBDialer::methodIndex() const {
    return ToneOrPulse_->checkedId();
}

void TQBDialer::showEvent(QShowEvent* event) {
    // Read on the first activation only: a choice changed and not dialled stays on screen.
    if (!activated_) {
        activated_ = true;
        LoadSettings();
    }
    QDialog::showEvent(event);
}

void TQBDialer::LoadSettings() {
    const int method = settings_.read(setting::DialMethod);
    ToneOrPulse_->button(method == dmPulse ? dmPulse : dmTone)->setChecked(true);
    Port_->button(clampPort(settings_.read(setting::DialPort)))->setChecked(true);
    prefix_->setText(settings_.read(setting::DialPrefix));
}

void TQBDialer::DialButtonClick() {
    HelpButton_->hide();
    MouseHelpButton_->hide();
    // Refused before the settings are written: a line break in the prefix would also break
    // the settings file.
    for (const auto& [text, what] :
         {std::pair{prefix_->text(), QStringLiteral("prefix")},
          std::pair{Number_->text(), QStringLiteral("number to dial")}}) {
        const QString why = refusal(text, what);
        if (!why.isEmpty()) {
            prompts().error(this, why);
            return;
        }
    }
    settings_.write(setting::DialPrefix, prefix_->text());
    settings_.write(setting::DialPort, portIndex());
    settings_.write(setting::DialMethod, methodIndex());

    TDialer dialer(settings_);
    dialer.NumberToDial = prefix_->text() + Number_->text();
    dialer.Method = methodIndex() == dmPulse ? dmPulse : dmTone;
    dialer.ComPort = portIndex();
    dialer.setWriteBudgetMs(writeBudgetMs_);
    dialer.Dial(this);
}

}  // namespace qb::dialer
