// The presort window.
#include "presort/sort_bulk_mail.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/prompts.h"
#include "presort/presort_file.h"
#include "xbase/error.h"

namespace qb::presort {

namespace {

const QEvent::Type CloseEventType = QEvent::Type(QEvent::User + TSortBulkMail::kCloseMessage);

}  // namespace

TSortBulkMail::TSortBulkMail(xb::WorkArea& contacts, QString programFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      contacts_(contacts),
      folder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("TSortBulkMail"));
    setWindowTitle(QStringLiteral("Bulk Mail Presorting"));
    setModal(true);
    tileBackground(this);

    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setMinimumWidth(280);
    QFont bold = label1_->font();
    bold.setBold(true);
    label1_->setFont(bold);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("CancelButton"));
    doneCheck_ = new QCheckBox(this);
    doneCheck_->setObjectName(QStringLiteral("DoneCheck"));
    doneCheck_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1_);
    layout->addWidget(cancelButton_, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(cancelButton_, &QPushButton::clicked, this, &TSortBulkMail::CancelButtonClick);
}

TSortBulkMail::~TSortBulkMail() = default;

bool TSortBulkMail::Done() const {
    return doneCheck_->isChecked();
}

void TSortBulkMail::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TSortBulkMail::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TSortBulkMail::FormActivate() {
    if (!firstActivation_) return;
    firstActivation_ = false;
    // Once the window is on screen, so the progress texts can be seen.
    QTimer::singleShot(0, this, &TSortBulkMail::DoTheSort);
}

void TSortBulkMail::DoTheSort() {
    running_ = true;
    bool completed = false;
    try {
        BulkMailPresort run(*this);
        completed = run.run(contacts_, folder_);
    } catch (const PresortFileError& e) {
        prompts().error(this, QString::fromUtf8(e.what()));
    } catch (const xb::Error& e) {
        prompts().error(this, QString::fromUtf8(e.what()));
    }
    running_ = false;
    doneCheck_->setChecked(completed);
    postClose();
}

void TSortBulkMail::showProgress(const QString& text) {
    label1_->setText(text);
}

void TSortBulkMail::letPendingEventsRun() {
    QCoreApplication::processEvents();
}

void TSortBulkMail::CancelButtonClick() {
    if (!running_ || cancelled_) return;
    if (prompts().confirm(this, QStringLiteral("Confirm"), QString::fromLatin1(kCancelQuestion)))
        cancelled_ = true;
}

void TSortBulkMail::postClose() {
    QCoreApplication::postEvent(this, new QEvent(CloseEventType));
}

bool TSortBulkMail::event(QEvent* event) {
    if (event->type() == CloseEventType) {
        done(Done() ? QDialog::Accepted : QDialog::Rejected);
        return true;
    }
    return QDialog::event(event);
}

void TSortBulkMail::reject() {
    // Escape and the close box ask like the Cancel button; the window closes itself.
    if (running_) CancelButtonClick();
}

}  // namespace qb::presort
