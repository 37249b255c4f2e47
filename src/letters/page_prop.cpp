// The page properties dialog.
#include "letters/page_prop.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>

#include "controls/prompts.h"

namespace qb::letters {

namespace {

constexpr double kTwipsPerCm = 566.929;

double factor(PageUnit unit) {
    switch (unit) {
        case PageUnit::Inch:
            return 1440;
        case PageUnit::Cm:
            return kTwipsPerCm;
        case PageUnit::Twips:
            break;
    }
    return 1;
}

}  // namespace

QString showTwips(int twips, PageUnit unit) {
    if (unit == PageUnit::Twips) return QString::number(twips);
    return QString::number(twips / factor(unit), 'f', 2);
}

std::optional<int> readTwips(const QString& text, PageUnit unit) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return 0;
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value * factor(unit)) > 1e9) return std::nullopt;
    return int(std::lround(value * factor(unit)));
}

TPageProp::TPageProp(const richtext::PageSettings& page, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TPageProp"));
    setWindowTitle(QStringLiteral("Page Properties"));
    twips_ = {page.paperWidth,   page.paperHeight, page.marginTop,
              page.marginBottom, page.marginLeft,  page.marginRight};
    auto* layout = new QVBoxLayout(this);
    units_ = new QComboBox(this);
    units_->setObjectName(QStringLiteral("Units"));
    units_->addItems({QStringLiteral("Inch"), QStringLiteral("Cm"), QStringLiteral("Twips")});
    layout->addWidget(units_);
    static const char* const names[6] = {"PaperWidth",   "PaperHeight", "TopMargin",
                                         "BottomMargin", "LeftMargin",  "RightMargin"};
    static const char* const labels[6] = {"Width", "Height", "Top", "Bottom", "Left", "Right"};
    QFormLayout* forms[2] = {new QFormLayout, new QFormLayout};
    for (int i = 0; i < 6; ++i) {
        boxes_[i] = new QLineEdit(this);
        boxes_[i]->setObjectName(QLatin1String(names[i]));
        forms[i < 2 ? 0 : 1]->addRow(QLatin1String(labels[i]), boxes_[i]);
        connect(boxes_[i], &QLineEdit::textEdited, this, [this, i] { boxEdited(i); });
    }
    auto* paper = new QGroupBox(QStringLiteral(" Paper Size "), this);
    paper->setLayout(forms[0]);
    auto* margins = new QGroupBox(QStringLiteral(" Margins "), this);
    margins->setLayout(forms[1]);
    layout->addWidget(paper);
    layout->addWidget(margins);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(units_, &QComboBox::currentIndexChanged, this,
            [this](int index) { setUnit(PageUnit(index)); });
    showAll();
}

richtext::PageSettings TPageProp::result() const {
    richtext::PageSettings page;
    page.paperWidth = twips_[0];
    page.paperHeight = twips_[1];
    page.marginTop = twips_[2];
    page.marginBottom = twips_[3];
    page.marginLeft = twips_[4];
    page.marginRight = twips_[5];
    return page;
}

void TPageProp::setUnit(PageUnit unit) {
    unit_ = unit;
    if (units_->currentIndex() != int(unit)) units_->setCurrentIndex(int(unit));
    showAll();
}

void TPageProp::showAll() {
    for (int i = 0; i < 6; ++i)
        boxes_[i]->setText(showTwips(twips_[i], unit_));
}

void TPageProp::boxEdited(int index) {
    const QString text = boxes_[index]->text();
    if (const auto value = readTwips(text, unit_)) {
        twips_[index] = *value;
        return;
    }
    // The value held stays as it was.
    prompts().error(this, QStringLiteral("'%1' is not a valid number.").arg(text));
}

}  // namespace qb::letters
