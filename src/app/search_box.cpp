// Laying out the Search dialog.
#include "app/search_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/background.h"

namespace qb {

TSearchBox::TSearchBox(const QString& orderCaption, const QString& dateFormat, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TSearchBox"));
    setWindowTitle(QStringLiteral("Search"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    tileBackground(this);

    SearchForLabel = new QLabel(QStringLiteral("Search for ") + orderCaption, this);
    SearchForLabel->setObjectName(QStringLiteral("SearchForLabel"));
    DateFormatLabel = new QLabel(dateFormat, this);
    DateFormatLabel->setObjectName(QStringLiteral("DateFormatLabel"));
    DateFormatLabel->setVisible(orderCaption.toUpper() == QLatin1String("DATE"));
    SearchForEdit = new QLineEdit(this);
    SearchForEdit->setObjectName(QStringLiteral("SearchForEdit"));
    SearchForEdit->setWhatsThis(
        QStringLiteral("The beginning of what to find; case does not matter. The first "
                       "contact in the current order that begins with it is shown."));
    SearchForLabel->setBuddy(SearchForEdit);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* labels = new QHBoxLayout;
    labels->addWidget(SearchForLabel);
    labels->addStretch();
    labels->addWidget(DateFormatLabel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(labels);
    layout->addWidget(SearchForEdit);
    layout->addLayout(buttons);
    setMinimumWidth(320);
}

QString TSearchBox::text() const {
    return SearchForEdit->text();
}

}  // namespace qb
