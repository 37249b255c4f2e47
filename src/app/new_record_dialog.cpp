// Laying out the New Record dialog for the boxes it is asked to show.
#include "app/new_record_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/bound_edit.h"

namespace qb {
namespace {

EnterEdit* entry(const char* name, int length, const QString& help, QWidget* parent) {
    auto* box = new EnterEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(length);
    box->setWhatsThis(help);
    return box;
}

}  // namespace

TGetFirstLastZip::TGetFirstLastZip(bool names, bool zip, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TGetFirstLastZip"));
    setWindowTitle(QStringLiteral("New Record"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    tileBackground(this);

    LastNAme = entry("LastNAme", 30,
                     QStringLiteral("The new contact's last name, to look for the same name "
                                    "already on file."),
                     this);
    FirstNAme = entry("FirstNAme", 30, QStringLiteral("The new contact's first name."), this);
    ZipCode = entry("ZipCode", 10,
                    QStringLiteral("The new contact's ZIP or postal code; the city and state of "
                                   "a contact with that code are filled in."),
                    this);
    LastLabel = new QLabel(QStringLiteral("Last Name"), this);
    FirstLabel = new QLabel(QStringLiteral("First Name"), this);
    ZipLabel = new QLabel(QStringLiteral("Zip Code or Postal Code"), this);
    LastLabel->setBuddy(LastNAme);
    FirstLabel->setBuddy(FirstNAme);
    ZipLabel->setBuddy(ZipCode);

    // Shown boxes take the rows from the top, so the ZIP box alone sits where the last name
    // would be.
    auto* grid = new QGridLayout;
    int row = 0;
    auto place = [&](QLabel* label, EnterEdit* box, bool shown) {
        label->setVisible(shown);
        box->setVisible(shown);
        if (!shown) return;
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        ++row;
    };
    place(LastLabel, LastNAme, names);
    place(FirstLabel, FirstNAme, names);
    place(ZipLabel, ZipCode, zip);
    grid->setColumnMinimumWidth(1, fontMetrics().horizontalAdvance(QString(30, u'M')) / 2);

    OKButton = new QPushButton(QStringLiteral("OK [PgDn]"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    // Enter belongs to the boxes (it moves on); PgDn finishes the dialog.
    OKButton->setAutoDefault(false);
    CancelButton->setAutoDefault(false);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(LastNAme, FirstNAme);
    setTabOrder(FirstNAme, ZipCode);
    setTabOrder(ZipCode, OKButton);
}

void TGetFirstLastZip::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageDown && event->modifiers() == Qt::NoModifier) {
        OKButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

QString TGetFirstLastZip::lastName() const {
    return LastNAme->isHidden() ? QString() : LastNAme->text().trimmed();
}

QString TGetFirstLastZip::firstName() const {
    return FirstNAme->isHidden() ? QString() : FirstNAme->text().trimmed();
}

QString TGetFirstLastZip::zipCode() const {
    return ZipCode->isHidden() ? QString() : ZipCode->text().trimmed();
}

}  // namespace qb
