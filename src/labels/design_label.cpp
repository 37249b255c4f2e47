// The label designer.
#include "labels/design_label.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>

#include "controls/background.h"
#include "controls/beep.h"
#include "controls/context_help.h"
#include "controls/prompts.h"
#include "labels/barcode_kind.h"
#include "labels/label_definition.h"
#include "labels/label_sample.h"
#include "labels/select_label.h"
#include "labels/step_button.h"
#include "store/program_folder.h"
#include "xbase/error.h"

namespace qb::labels {

namespace {

constexpr int kHelpDesigner = 1025;
// The font dialog offers these sizes; the size buttons reach further.
constexpr int kDialogSmallestSize = 8;
constexpr int kDialogLargestSize = 24;

StepButton* stepButton(const char* name, const QString& text, RepeatTiming timing,
                       const QString& help, QWidget* parent) {
    auto* b = new StepButton(text, timing.first, timing.every, parent);
    b->setObjectName(QLatin1String(name));
    b->setWhatsThis(help);
    return b;
}

QPushButton* pushButton(const char* name, const QString& text, const QString& help,
                        QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setWhatsThis(help);
    return b;
}

}  // namespace

TDesignLabel::TDesignLabel(const LabelSetup& setup, ContactHost& host, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      setup_(setup),
      host_(host),
      dpi_(logicalDpiX() > 0 ? logicalDpiX() : 96) {
    setObjectName(QStringLiteral("TDesignLabel"));
    setWindowTitle(QStringLiteral("Label Designer"));
    tileBackground(this);

    description_ = new QLineEdit(this);
    description_->setObjectName(QStringLiteral("LabelSetupDescription"));
    description_->setMaxLength(kDescriptWidth);
    description_->setWhatsThis(QStringLiteral("The name of this label setup."));

    auto* stock = new QGroupBox(QStringLiteral("Label Definition"), this);
    labelDesc_ = new QLabel(stock);
    labelDesc_->setObjectName(QStringLiteral("LabelDesc"));
    auto* choose =
        pushButton("ChooseLabelButton", QStringLiteral("Choose or Define Label"),
                   QStringLiteral("Picks the label stock, or defines new stock."), stock);
    auto* stockLayout = new QVBoxLayout(stock);
    stockLayout->addWidget(labelDesc_);
    stockLayout->addWidget(choose);

    auto* font = new QGroupBox(QStringLiteral("Font"), this);
    fontName_ = new QLabel(font);
    fontName_->setObjectName(QStringLiteral("FontNameLabel"));
    auto* fontButton = pushButton("FontButton", QStringLiteral("Choose Font"),
                                  QStringLiteral("Chooses the font of the label's text."), font);
    auto* smaller =
        stepButton("FontSizeSmallerButton", QStringLiteral("A-"), kFontSizeTiming,
                   QStringLiteral("Makes the text one point smaller (down to 6)."), font);
    auto* bigger = stepButton("FontSizeBiggerButton", QStringLiteral("A+"), kFontSizeTiming,
                              QStringLiteral("Makes the text one point larger (up to 36)."), font);
    auto* fontLayout = new QGridLayout(font);
    fontLayout->addWidget(fontName_, 0, 0, 1, 3);
    fontLayout->addWidget(fontButton, 1, 0);
    fontLayout->addWidget(smaller, 1, 1);
    fontLayout->addWidget(bigger, 1, 2);

    auto* position = new QGroupBox(QStringLiteral("Text Position"), this);
    const QString moveHelp = QStringLiteral("Moves the text on the label.");
    auto* up =
        stepButton("OffsetUpButton", QStringLiteral("Up"), kUpDownTiming, moveHelp, position);
    auto* down =
        stepButton("OffsetDownButton", QStringLiteral("Down"), kUpDownTiming, moveHelp, position);
    auto* left = stepButton("OffsetLeftButton", QStringLiteral("Left"), kLeftRightTiming, moveHelp,
                            position);
    auto* right = stepButton("OffsetRightButton", QStringLiteral("Right"), kLeftRightTiming,
                             moveHelp, position);
    auto* home =
        pushButton("OffsetHomeButton", QStringLiteral("Home"),
                   QStringLiteral("Puts the text back near the top left corner."), position);
    auto* positionLayout = new QGridLayout(position);
    positionLayout->addWidget(up, 0, 1);
    positionLayout->addWidget(left, 1, 0);
    positionLayout->addWidget(home, 1, 1);
    positionLayout->addWidget(right, 1, 2);
    positionLayout->addWidget(down, 2, 1);

    auto* contents = new QGroupBox(QStringLiteral("Label Contents"), this);
    const QString lineHelp = QStringLiteral("Prints this line on every label.");
    name_ = addCheck("NameCheck", QStringLiteral("Name"), lineHelp);
    title_ = addCheck("TitleCheck", QStringLiteral("Title"), lineHelp);
    company_ = addCheck("OrgCheck", QStringLiteral("Organization"), lineHelp);
    street_ = addCheck("StreetCheck", QStringLiteral("Street"), lineHelp);
    cityState_ = addCheck("CityStateCheck", QStringLiteral("City + State"), lineHelp);
    zip_ = addCheck("ZipCheck", QStringLiteral("Zip/Postal code"), lineHelp);
    phone_ = addCheck("PhoneCheck", QStringLiteral("Phone"), lineHelp);
    country_ = addCheck("CountryCheck", QStringLiteral("Country"), lineHelp);
    barcode_ = addCheck("BarcodeCheck", QStringLiteral("US Postnet Barcode"),
                        QStringLiteral("Prints the POSTNET barcode of the ZIP code above the "
                                       "address (labels at least 3 inches wide)."));
    imb_ = addCheck("ImbCheck", QStringLiteral("Intelligent Mail instead"),
                    QStringLiteral("Prints the Intelligent Mail barcode, with the mailer's "
                                   "tracking code from the preferences, in place of POSTNET."));
    upper_ = addCheck("UppercaseCheck", QStringLiteral("Uppercase"),
                      QStringLiteral("Prints every line in capitals."));
    trim_ = addCheck("TrimCheck", QStringLiteral("Trim text to fit label"),
                     QStringLiteral("Cuts lines that would run past the label's edges."));
    const char* zipNames[] = {"rbAfterState", "rbBeforeCity", "rbAfterCountry", "rbBeforeCountry"};
    const char* zipCaptions[] = {"After state", "Before city", "After country", "Before country"};
    auto* zipBox = new QGroupBox(QStringLiteral("Zip placement"), contents);
    auto* zipLayout = new QVBoxLayout(zipBox);
    for (size_t i = 0; i < zipOptions_.size(); ++i) {
        zipOptions_[i] = new QRadioButton(QLatin1String(zipCaptions[i]), zipBox);
        zipOptions_[i]->setObjectName(QLatin1String(zipNames[i]));
        zipOptions_[i]->setWhatsThis(QStringLiteral("Where the ZIP code goes."));
        zipLayout->addWidget(zipOptions_[i]);
        connect(zipOptions_[i], &QRadioButton::clicked, this, &TDesignLabel::ContentsClick);
    }
    auto* contentsLayout = new QGridLayout(contents);
    QCheckBox* column0[] = {name_, title_, company_, street_, cityState_, zip_};
    QCheckBox* column1[] = {phone_, country_, barcode_, upper_, trim_};
    for (int i = 0; i < 6; ++i)
        contentsLayout->addWidget(column0[i], i, 0);
    for (int i = 0; i < 5; ++i)
        contentsLayout->addWidget(column1[i], i, 1);
    contentsLayout->addWidget(imb_, 5, 1);
    contentsLayout->addWidget(zipBox, 0, 2, 6, 1);

    sampleView_ = new QLabel(this);
    sampleView_->setObjectName(QStringLiteral("LabelSample"));
    sampleView_->setAlignment(Qt::AlignCenter);
    sampleView_->setMinimumSize(300, 120);
    sampleView_->setWhatsThis(
        QStringLiteral("The label as it will print, with the current "
                       "contact's address."));

    auto* navigator = new QFrame(this);
    navigator->setObjectName(QStringLiteral("Navigator"));
    auto* navLayout = new QHBoxLayout(navigator);
    navLayout->setContentsMargins(0, 0, 0, 0);
    const char* navNames[] = {"NavFirst", "NavPrior", "NavNext", "NavLast"};
    const char* navText[] = {"|<", "<", ">", ">|"};
    for (int i = 0; i < 4; ++i) {
        auto* b =
            pushButton(navNames[i], QLatin1String(navText[i]),
                       QStringLiteral("Shows another contact on the sample label."), navigator);
        navLayout->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { NavigatorClick(i); });
    }
    navLayout->addStretch();

    auto* ok = pushButton("OkButton", QStringLiteral("Save"),
                          QStringLiteral("Keeps the setup and closes the designer."), this);
    ok->setDefault(true);
    auto* cancel = pushButton("CancelButton", QStringLiteral("Cancel"),
                              QStringLiteral("Closes the designer without changes."), this);
    auto* help = pushButton("HelpButton", QStringLiteral("Help"), QString(), this);
    auto* pointer = newPointerHelpButton(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Description"), this));
    top->addWidget(description_, 1);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(stock);
    boxes->addWidget(font);
    boxes->addWidget(position);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(navigator);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addWidget(pointer);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(boxes);
    layout->addWidget(contents);
    layout->addWidget(sampleView_, 1);
    layout->addLayout(buttons);

    connect(choose, &QPushButton::clicked, this, &TDesignLabel::ChooseLabelButtonClick);
    connect(fontButton, &QPushButton::clicked, this, &TDesignLabel::FontButtonClick);
    connect(smaller, &StepButton::stepped, this, [this] { FontSizeStep(-1); });
    connect(bigger, &StepButton::stepped, this, [this] { FontSizeStep(1); });
    connect(up, &StepButton::stepped, this, &TDesignLabel::OffsetUp);
    connect(down, &StepButton::stepped, this, &TDesignLabel::OffsetDown);
    connect(left, &StepButton::stepped, this, &TDesignLabel::OffsetLeft);
    connect(right, &StepButton::stepped, this, &TDesignLabel::OffsetRight);
    connect(home, &QPushButton::clicked, this, &TDesignLabel::OffsetHome);
    connect(barcode_, &QCheckBox::clicked, this, &TDesignLabel::BarcodeClick);
    connect(ok, &QPushButton::clicked, this, &TDesignLabel::OkButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { prompts().showHelp(this, kHelpDesigner); });
    installWhatsThisMenus(this);
}

TDesignLabel::~TDesignLabel() = default;

QCheckBox* TDesignLabel::addCheck(const char* name, const QString& caption, const QString& help) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QLatin1String(name));
    box->setWhatsThis(help);
    if (std::string_view(name) != "BarcodeCheck")
        connect(box, &QCheckBox::clicked, this, &TDesignLabel::ContentsClick);
    return box;
}

void TDesignLabel::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TDesignLabel::FormActivate() {
    if (!firstActivation_) return;
    firstActivation_ = false;
    setWindowTitle(QStringLiteral("Label Setup "));
    loading_ = true;
    description_->setText(setup_.descript);
    labelDesc_->setText(setup_.userLabelName);
    const AddressContents& c = setup_.contents;
    name_->setChecked(c.name);
    title_->setChecked(c.title);
    company_->setChecked(c.company);
    street_->setChecked(c.street);
    cityState_->setChecked(c.cityState);
    zip_->setChecked(c.zip);
    phone_->setChecked(c.phone);
    country_->setChecked(c.country);
    upper_->setChecked(c.upperCase);
    trim_->setChecked(setup_.trimText);
    barcode_->setChecked(setup_.barcode);
    imb_->setChecked(savedBarcodeKind(host_.settings(), kLabelBarcodeSection, setup_.descript,
                                      true) == BarcodeKind::Imb);
    for (size_t i = 0; i < zipOptions_.size(); ++i)
        zipOptions_[i]->setChecked(c.zipOption == int(i) + 1);
    offsets_ = {inchesToPixels(setup_.xOffset, dpi_), inchesToPixels(setup_.yOffset, dpi_)};
    updateFontName();
    updateBarcodeBox();
    updateZipOptions();
    loading_ = false;
    DrawLabel();
}

LabelSetup TDesignLabel::current() const {
    LabelSetup s = setup_;
    s.descript = description_->text().left(kDescriptWidth);
    s.xOffset = float(pixelsToInches(offsets_.x, dpi_));
    s.yOffset = float(pixelsToInches(offsets_.y, dpi_));
    AddressContents& c = s.contents;
    c.name = name_->isChecked();
    c.title = title_->isChecked();
    c.company = company_->isChecked();
    c.street = street_->isChecked();
    c.cityState = cityState_->isChecked();
    c.zip = zip_->isChecked();
    c.phone = phone_->isChecked();
    c.country = country_->isChecked();
    c.upperCase = upper_->isChecked();
    for (size_t i = 0; i < zipOptions_.size(); ++i)
        if (zipOptions_[i]->isChecked()) c.zipOption = int(i) + 1;
    s.barcode = barcode_->isChecked();
    s.barcodeKind = imb_->isChecked() ? BarcodeKind::Imb : BarcodeKind::Postnet;
    s.trimText = trim_->isChecked();
    return s;
}

void TDesignLabel::updateFontName() {
    QString text =
        setup_.fontName + u',' + QString::number(setup_.fontSize) + QStringLiteral(" pt.");
    if (setup_.fontBold) text += QStringLiteral(", Bold");
    if (setup_.fontItalic) text += QStringLiteral(", Italic");
    fontName_->setText(text);
}

void TDesignLabel::updateBarcodeBox() {
    const bool room = setup_.lblWidth >= kPostnetMinLabelWidth;
    if (!room) barcode_->setChecked(false);
    barcode_->setEnabled(room);
    imb_->setEnabled(barcode_->isChecked());
}

void TDesignLabel::updateZipOptions() {
    for (QRadioButton* b : zipOptions_)
        b->setEnabled(zip_->isChecked());
}

void TDesignLabel::DrawLabel() {
    if (loading_) return;
    Dataset& contacts = host_.contactTable();
    AddressFields fields;
    if (contacts.onRecord()) fields = readAddressFields(contacts.area());
    const LabelSetup s = current();
    const xb::CodePage& page =
        contacts.isOpen() ? contacts.area().codePage() : xb::CodePage::windows1252();
    sample_ = labels::DrawLabel(s, composeAddressLines(fields, s.contents, page),
                                QPoint(offsets_.x, offsets_.y), dpi_);
    sampleView_->setMinimumSize(sample_.size() + QSize(8, 8));
    sampleView_->setPixmap(QPixmap::fromImage(sample_));
}

void TDesignLabel::ContentsClick() {
    updateZipOptions();
    DrawLabel();
}

void TDesignLabel::BarcodeClick() {
    if (barcode_->isChecked()) offsets_ = offsetForBarcode(offsets_, dpi_);
    imb_->setEnabled(barcode_->isChecked());
    DrawLabel();
}

void TDesignLabel::FontSizeStep(int delta) {
    const int next = setup_.fontSize + delta;
    if (next < kSmallestFontSize || next > kLargestFontSize) {
        beep();
        return;
    }
    setup_.fontSize = next;
    updateFontName();
    DrawLabel();
}

void TDesignLabel::FontButtonClick() {
    QFont initial(setup_.fontName, setup_.fontSize);
    initial.setBold(setup_.fontBold);
    initial.setItalic(setup_.fontItalic);
    const std::optional<QFont> chosen = prompts().chooseFont(this, initial, QStringLiteral("Font"));
    if (!chosen) return;
    // The dialog shows a family known by another name (a metric-compatible stand-in) under the
    // name of the font that serves it; kept, it stays under the setup's own name.
    if (chosen->family() != QFontInfo(initial).family())
        setup_.fontName = chosen->family().left(kFontNameWidth);
    setup_.fontSize = std::clamp(chosen->pointSize(), kDialogSmallestSize, kDialogLargestSize);
    setup_.fontBold = chosen->bold();
    setup_.fontItalic = chosen->italic();
    updateFontName();
    DrawLabel();
}

void TDesignLabel::OffsetUp(bool) {
    offsets_ = offsetUp(offsets_, barcode_->isChecked(), dpi_);
    DrawLabel();
}

void TDesignLabel::OffsetDown(bool) {
    offsets_ = offsetDown(offsets_);
    DrawLabel();
}

void TDesignLabel::OffsetLeft(bool repeating) {
    offsets_ = offsetLeft(offsets_, repeating);
    DrawLabel();
}

void TDesignLabel::OffsetRight(bool repeating) {
    offsets_ = offsetRight(offsets_, repeating);
    DrawLabel();
}

void TDesignLabel::OffsetHome() {
    offsets_ = offsetHome(barcode_->isChecked(), dpi_);
    DrawLabel();
}

void TDesignLabel::NavigatorClick(int which) {
    Dataset& contacts = host_.contactTable();
    switch (which) {
        case 0:
            contacts.first();
            break;
        case 1:
            contacts.prior();
            break;
        case 2:
            contacts.next();
            break;
        default:
            contacts.last();
    }
    DrawLabel();
}

void TDesignLabel::ChooseLabelButtonClick() {
    Dataset stock;
    try {
        stock.open(host_.programFolder() + QLatin1String(kLabelStockFileName));
    } catch (const xb::Error&) {
        prompts().information(this, QString::fromLatin1(kUnableToOpenStock));
        return;
    }
    TSelectLabel select(stock, setup_.userLabelName, setup_.printerType, this);
    if (select.exec() != QDialog::Accepted) return;
    copyDefinitionIntoSetup(select.Chosen(), setup_);
    labelDesc_->setText(setup_.userLabelName);
    updateBarcodeBox();
    DrawLabel();
}

void TDesignLabel::OkButtonClick() {
    if (description_->text().trimmed().isEmpty()) {
        prompts().information(this, QString::fromLatin1(kDescriptionMissing));
        return;
    }
    setup_ = current();
    accept();
}

}  // namespace qb::labels
