// The letter designer.
#include "letters/letter_design.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/prompts.h"
#include "letters/letter_merge.h"
#include "letters/page_prop.h"
#include "letters/rtf_preview.h"
#include "richtext/rich_text_editor.h"
#include "richtext/rich_text_tool_bar.h"

namespace qb::letters {

TLetterDesign::TLetterDesign(ContactHost& host, const QString& description, QWidget* parent)
    : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("TLetterDesign"));
    setWindowTitle(QStringLiteral("Letter Designer"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Description"), this));
    description_ = new QLineEdit(description, this);
    description_->setObjectName(QStringLiteral("Description"));
    description_->setMaxLength(50);
    top->addWidget(description_, 1);
    top->addWidget(new QLabel(QStringLiteral("Insert field"), this));
    fields_ = new QComboBox(this);
    fields_->setObjectName(QStringLiteral("InsertFieldCombo"));
    fields_->addItems(tokenNames());
    fields_->setCurrentIndex(0);
    top->addWidget(fields_);
    layout->addLayout(top);

    editor_ = new richtext::RichTextEditor(this);
    editor_->setObjectName(QStringLiteral("Editor"));
    editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setTabChangesFocus(false);
    layout->addWidget(new richtext::RichTextToolBar(editor_, this));
    layout->addWidget(editor_, 1);

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* name, const QString& text, auto&& click) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QPushButton::clicked, this, click);
        buttons->addWidget(b);
        return b;
    };
    button("SaveButton", QStringLiteral("Save"), [this] { SaveClick(); })->setDefault(true);
    button("HelpButton", QStringLiteral("Help"), [this] { prompts().showHelp(this, 1026); });
    button("PageSetupButton", QStringLiteral("Page Setup"), [this] { PageSetupClick(); });
    button("PreviewButton", QStringLiteral("Preview"), [this] { PreviewClick(); });
    button("CancelButton", QStringLiteral("Cancel"), [this] { reject(); });
    layout->addLayout(buttons);
    // Choosing an entry, even the one shown, inserts its token.
    connect(fields_, &QComboBox::activated, this, [this](int index) { FieldClick(index); });
    resize(640, 480);
}

QString TLetterDesign::description() const {
    return description_->text();
}

void TLetterDesign::FieldClick(int index) {
    editor_->insertPlainText(u'[' + fields_->itemText(index) + u']');
    editor_->setFocus();
    QApplication::processEvents();
}

void TLetterDesign::SaveClick() {
    if (onSave && !onSave(*this)) return;
    saved_ = true;
    accept();
}

void TLetterDesign::closeEvent(QCloseEvent* event) {
    // The close box saves, as Save does; a failed save keeps the window.
    if (saved_) {
        QDialog::closeEvent(event);
        return;
    }
    if (onSave && !onSave(*this)) {
        event->ignore();
        return;
    }
    saved_ = true;
    event->accept();
    accept();
}

void TLetterDesign::PageSetupClick() {
    TPageProp dialog(editor_->pageSettings(), this);
    if (dialog.exec() == QDialog::Accepted) editor_->setPageSettings(dialog.result());
}

void TLetterDesign::PreviewClick() {
    TRTFPreviewForm preview(host_, *editor_->document(), editor_->pageSettings(), this);
    preview.exec();
}

}  // namespace qb::letters
