// The Intelligent Mail values editor.
#include "labels/imb_mailer_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/prompts.h"
#include "labels/imb_mailer.h"

namespace qb::labels {

namespace {

QLineEdit* digitsBox(const char* name, int maxDigits, const QString& help, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(maxDigits);
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    box->setWhatsThis(help);
    return box;
}

}  // namespace

TImbMailerDialog::TImbMailerDialog(Settings settings, QWidget* parent)
    : QDialog(parent), settings_(std::move(settings)) {
    setObjectName(QStringLiteral("TImbMailerDialog"));
    setWindowTitle(QStringLiteral("Intelligent Mail Barcode"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    tileBackground(this);

    BarcodeId_ = digitsBox("BarcodeId", 2,
                           QStringLiteral("Two digits the postal service assigns; 00 for most "
                                          "mail."),
                           this);
    ServiceType_ = digitsBox("ServiceType", 3,
                             QStringLiteral("The three-digit code of the mail class and the "
                                            "services asked for."),
                             this);
    MailerId_ = digitsBox("MailerId", 9,
                          QStringLiteral("The mailer identifier the postal service gave you: six "
                                         "digits, or nine starting with 9."),
                          this);
    NextSerial_ = digitsBox("NextSerial", 9,
                            QStringLiteral("The serial number the next printed piece gets; each "
                                           "piece takes the next one."),
                            this);
    const ImbMailer m = ImbMailer::load(settings_);
    BarcodeId_->setText(m.barcodeId);
    ServiceType_->setText(m.serviceType);
    MailerId_->setText(m.mailerId);
    NextSerial_->setText(QString::number(m.nextSerial));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Barcode identifier"), BarcodeId_);
    form->addRow(QStringLiteral("Service type"), ServiceType_);
    form->addRow(QStringLiteral("Mailer identifier"), MailerId_);
    form->addRow(QStringLiteral("Next serial number"), NextSerial_);
    auto* save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("OKButton"));
    save->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    buttons->addWidget(newPointerHelpButton(this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(save, &QPushButton::clicked, this, &TImbMailerDialog::SaveButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    installWhatsThisMenus(this);
}

void TImbMailerDialog::SaveButtonClick() {
    ImbMailer m;
    m.barcodeId = BarcodeId_->text();
    m.serviceType = ServiceType_->text();
    m.mailerId = MailerId_->text();
    bool ok = false;
    m.nextSerial = NextSerial_->text().toLongLong(&ok);
    if (!ok) m.nextSerial = -1;
    if (const QString why = m.refusal(); !why.isEmpty()) {
        prompts().information(this, why);
        return;
    }
    if (!m.save(settings_)) {
        prompts().information(this, QStringLiteral("The Intelligent Mail values could not be "
                                                   "written to ") +
                                        settings_.path());
        return;
    }
    accept();
}

}  // namespace qb::labels
