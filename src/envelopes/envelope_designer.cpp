// The envelope designer.
#include "envelopes/envelope_designer.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/context_help.h"
#include "controls/placement.h"
#include "controls/prompts.h"
#include "controls/stretch_handle.h"
#include "envelopes/envelope_geometry.h"
#include "envelopes/select_envelope.h"
#include "labels/bar_figure.h"
#include "labels/bar_painter.h"
#include "labels/label_lines.h"
#include "labels/table_grid.h"
#include "xbase/error.h"

namespace qb::envelopes {

namespace {

constexpr int kHelpDesigner = 1019;
constexpr int kHelpGetMemo = 1040;
constexpr int kBorder = 12;  // grey around the envelope on every side

QCheckBox* checkBox(const char* name, const QString& text, QWidget* parent) {
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QLatin1String(name));
    return c;
}

QRadioButton* radio(const char* name, const QString& text, QWidget* parent) {
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(QLatin1String(name));
    return r;
}

QPushButton* pushButton(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

}  // namespace

// ---- TGetMemo ---------------------------------------------------------------------------

TGetMemo::TGetMemo(const QStringList& lines, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TGetMemo"));
    setWindowTitle(QStringLiteral("Return Address"));
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo"));
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setPlainText(lines.join(u'\n'));
    lastGood_ = memo_->toPlainText();
    memo_->setWhatsThis(QStringLiteral("Up to five lines of up to 40 characters each."));
    auto* save = pushButton("OKButton", QStringLiteral("Save"), this);
    save->setDefault(false);
    auto* cancel = pushButton("CancelButton", QStringLiteral("Cancel"), this);
    auto* help = pushButton("HelpButton", QStringLiteral("Help"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo_);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { prompts().showHelp(this, kHelpGetMemo); });
    connect(memo_, &QPlainTextEdit::textChanged, this, &TGetMemo::keepFitting);
}

bool TGetMemo::fits(const QString& text) {
    const QStringList lines = text.split(u'\n');
    if (lines.size() > kReturnLineCount) return false;
    for (const QString& l : lines)
        if (l.size() > kReturnLineWidth) return false;
    return true;
}

void TGetMemo::keepFitting() {
    const QString now = memo_->toPlainText();
    if (fits(now)) {
        lastGood_ = now;
        return;
    }
    // What was typed past the limits is refused at once, as the printed envelope would
    // otherwise differ from what the box shows.
    const int cursor = memo_->textCursor().position() - int(now.size() - lastGood_.size());
    const QSignalBlocker block(memo_);
    memo_->setPlainText(lastGood_);
    QTextCursor c = memo_->textCursor();
    c.setPosition(std::clamp(cursor, 0, int(lastGood_.size())));
    memo_->setTextCursor(c);
    QApplication::beep();
}

QStringList TGetMemo::Lines() const {
    QStringList lines = memo_->toPlainText().split(u'\n');
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

// ---- TEnvelopeDesigner ----------------------------------------------------------------------

TEnvelopeDesigner::TEnvelopeDesigner(const EnvelopeSetup& setup, ContactHost& host, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      host_(host),
      record_(setup) {
    setObjectName(QStringLiteral("TEnvelopeDesigner"));
    setWindowTitle(QStringLiteral("Envelope Designer"));
    tileBackground(this);
    if (const QScreen* screen = this->screen()) ppi_ = int(screen->logicalDotsPerInch());
    if (ppi_ <= 0) ppi_ = 96;

    description_ = new QLineEdit(this);
    description_->setObjectName(QStringLiteral("EnvelopeSetupDescription"));
    description_->setMaxLength(kDescriptWidth);
    description_->setWhatsThis(QStringLiteral("The name of this setup in the list."));

    pages_ = new QTabWidget(this);
    pages_->addTab(buildDesignPage(), QStringLiteral("Envelope Design"));
    pages_->addTab(buildOptionsPage(), QStringLiteral("Envelope Options"));

    auto* navigator = new QFrame(this);
    navigator->setObjectName(QStringLiteral("Navigator"));
    auto* navLayout = new QHBoxLayout(navigator);
    navLayout->addWidget(new QLabel(QStringLiteral("Record"), navigator));
    const char* navNames[] = {"NavFirst", "NavPrior", "NavNext", "NavLast"};
    const char* navTexts[] = {"|<", "<", ">", ">|"};
    for (int i = 0; i < 4; ++i) {
        auto* b = pushButton(navNames[i], QLatin1String(navTexts[i]), navigator);
        b->setWhatsThis(QStringLiteral("Shows another contact in the delivery address."));
        connect(b, &QPushButton::clicked, this, [this, i] { NavigatorClick(i); });
        navLayout->addWidget(b);
    }
    auto* ok = pushButton("OkButton", QStringLiteral("Save"), this);
    ok->setDefault(true);
    auto* cancel = pushButton("CancelButton", QStringLiteral("Cancel"), this);
    auto* help = pushButton("HelpButton", QStringLiteral("Help"), this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Envelope Setup Description"), this));
    top->addWidget(description_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ok);
    bottom->addWidget(navigator);
    bottom->addStretch();
    bottom->addWidget(help);
    bottom->addWidget(newPointerHelpButton(this));
    bottom->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pages_, 1);
    layout->addLayout(bottom);

    connect(ok, &QPushButton::clicked, this, &TEnvelopeDesigner::OkButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { prompts().showHelp(this, kHelpDesigner); });
    installWhatsThisMenus(this);
}

TEnvelopeDesigner::~TEnvelopeDesigner() = default;

QWidget* TEnvelopeDesigner::buildDesignPage() {
    auto* page = new QWidget(this);
    chkReturn_ = checkBox("chkReturn", QStringLiteral("Return Address"), page);
    chkReturn_->setChecked(true);
    chkMessage_ = checkBox("chkMessage", QStringLiteral("Message"), page);
    chkMessage_->setChecked(true);
    chkBarcode_ = checkBox("chkBarcode", QStringLiteral("Barcode"), page);
    chkImb_ = checkBox("chkImb", QStringLiteral("Intelligent Mail"), page);
    chkImb_->setWhatsThis(
        QStringLiteral("Prints the Intelligent Mail barcode, with the mailer's "
                       "values from the preferences, instead of POSTNET."));
    showOutlines_ = checkBox("ShowOutlines", QStringLiteral("Show outlines"), page);
    showOutlines_->setChecked(true);
    percChoice_ = new QComboBox(page);
    percChoice_->setObjectName(QStringLiteral("PercChoice"));
    for (int z : kZoomChoices)
        percChoice_->addItem(QStringLiteral("%1%").arg(z), z);
    auto* hint = new QLabel(QStringLiteral("Use the mouse to move and resize envelope items. Click "
                                           "the right mouse button on an item to set font or "
                                           "text."),
                            page);
    hint->setStyleSheet(QStringLiteral("color: red"));
    hint->setWordWrap(true);

    auto* scroll = new QScrollArea(page);
    background_ = new QWidget;
    background_->setObjectName(QStringLiteral("EnvelopeBackground"));
    background_->setAutoFillBackground(true);
    QPalette grey = background_->palette();
    grey.setColor(QPalette::Window, Qt::gray);
    background_->setPalette(grey);
    envelope_ = new QWidget(background_);
    envelope_->setObjectName(QStringLiteral("theEnvelope"));
    envelope_->setAutoFillBackground(true);
    QPalette white = envelope_->palette();
    white.setColor(QPalette::Window, Qt::white);
    envelope_->setPalette(white);
    envelope_->move(kBorder, kBorder);
    envelope_->installEventFilter(this);
    scroll->setWidget(background_);
    scroll->setMinimumSize(560, 300);

    auto block = [this](const char* name) {
        auto* b = new QLabel(envelope_);
        b->setObjectName(QLatin1String(name));
        b->installEventFilter(this);
        return b;
    };
    retBlock_ = block("ReturnBlock");
    messBlock_ = block("MessageBlock");
    delBlock_ = block("DeliveryBlock");
    barcode_ = block("BarcodePicture");
    handle_ = new TStretchHandle(envelope_);
    connect(handle_, &TStretchHandle::dragFinished, this, [this] {
        Repaint();
        RememberPositions();
    });

    auto* checks = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{chkReturn_, chkMessage_, chkBarcode_, chkImb_,
                                                      showOutlines_, percChoice_})
        checks->addWidget(w);
    checks->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(checks);
    layout->addWidget(hint);
    layout->addWidget(scroll, 1);

    for (QCheckBox* c : {chkReturn_, chkMessage_, chkBarcode_, chkImb_, showOutlines_})
        connect(c, &QCheckBox::toggled, this, [this] { Repaint(); });
    connect(chkBarcode_, &QCheckBox::toggled, chkImb_, &QCheckBox::setEnabled);
    connect(percChoice_, &QComboBox::activated, this,
            [this](int index) { PercChoiceClick(percChoice_->itemData(index).toInt()); });
    return page;
}

QWidget* TEnvelopeDesigner::buildOptionsPage() {
    auto* page = new QWidget(this);
    auto* contents = new QGroupBox(QStringLiteral("Delivery address contents"), page);
    name_ = checkBox("Namecheck", QStringLiteral("Name"), contents);
    title_ = checkBox("TitleCheck", QStringLiteral("Title"), contents);
    company_ = checkBox("CompanyCheck", QStringLiteral("Organization"), contents);
    street_ = checkBox("StreetCheck", QStringLiteral("Street"), contents);
    cityState_ = checkBox("CityStateCheck", QStringLiteral("City + State"), contents);
    zip_ = checkBox("ZipCheck", QStringLiteral("Zip/Postal code"), contents);
    phone_ = checkBox("PhoneCheck", QStringLiteral("Phone"), contents);
    country_ = checkBox("CountryCheck", QStringLiteral("Country"), contents);
    afterState_ = radio("rAfterState", QStringLiteral("After state"), contents);
    beforeCity_ = radio("rBeforecity", QStringLiteral("Before city"), contents);
    afterCountry_ = radio("rAftercountry", QStringLiteral("After country"), contents);
    beforeCountry_ = radio("rBeforecountry", QStringLiteral("Before country"), contents);
    upperCase_ = checkBox("Uppercasecheck", QStringLiteral("Print in Uppercase"), contents);
    auto* grid = new QGridLayout(contents);
    int row = 0;
    for (QCheckBox* c : {name_, title_, company_, street_, cityState_, zip_, phone_, country_})
        grid->addWidget(c, row++, 0);
    row = 0;
    for (QRadioButton* r : {afterState_, beforeCity_, afterCountry_, beforeCountry_})
        grid->addWidget(r, row++, 1);
    grid->addWidget(upperCase_, row, 1);
    for (QCheckBox* c :
         {name_, title_, company_, street_, cityState_, zip_, phone_, country_, upperCase_})
        connect(c, &QCheckBox::clicked, this, &TEnvelopeDesigner::AddressContentsClick);
    for (QRadioButton* r : {afterState_, beforeCity_, afterCountry_, beforeCountry_})
        connect(r, &QRadioButton::clicked, this, &TEnvelopeDesigner::AddressContentsClick);

    auto* size = new QGroupBox(QStringLiteral("Envelope size"), page);
    envelopeDesc_ = new QLabel(size);
    envelopeDesc_->setObjectName(QStringLiteral("EnvelopeDesc"));
    auto* choose =
        pushButton("ChooseEnvelopeButton", QStringLiteral("Choose or Define  Envelope"), size);
    auto* sizeLayout = new QVBoxLayout(size);
    sizeLayout->addWidget(envelopeDesc_);
    sizeLayout->addWidget(choose);
    connect(choose, &QPushButton::clicked, this, &TEnvelopeDesigner::ChooseEnvelopeButtonClick);

    auto* feed = new QGroupBox(QStringLiteral("Feed"), page);
    auto* intro = new QLabel(QStringLiteral("Please indicate how you normally feed envelopes into "
                                            "your printer (this will help us determine how to "
                                            "print it):"),
                             feed);
    intro->setWordWrap(true);
    auto* note = new QLabel(QStringLiteral("(note: there are many printers and many ways to feed "
                                           "envelopes - this may take some experimenting)"),
                            feed);
    note->setWordWrap(true);
    auto group = [feed](const QString& title, std::initializer_list<QRadioButton*> buttons) {
        auto* box = new QGroupBox(title, feed);
        auto* l = new QVBoxLayout(box);
        auto* g = new QButtonGroup(box);
        for (QRadioButton* b : buttons) {
            b->setParent(box);
            l->addWidget(b);
            g->addButton(b);
        }
        return box;
    };
    posLeft_ = radio("PosLeft", QStringLiteral("Left"), feed);
    posRight_ = radio("PosRight", QStringLiteral("Right"), feed);
    posCenter_ = radio("PosCenter", QStringLiteral("Center"), feed);
    rotNone_ = radio("RotNone", QStringLiteral("Portrait"), feed);
    rotRight_ = radio("RotRight", QStringLiteral("Landscape"), feed);
    faceUp_ = radio("FaceUp", QStringLiteral("Up"), feed);
    faceDown_ = radio("FaceDown", QStringLiteral("Down"), feed);
    clockwise_ = checkBox("bClockWiseRotate", QStringLiteral("Clockwise Rotation"), feed);
    clockwise_->setWhatsThis(QStringLiteral(
        "For printers that turn landscape output the other way round, so that the envelope "
        "lands on the other side of the feed."));
    feedPicture_ = new QLabel(feed);
    feedPicture_->setObjectName(QStringLiteral("FeedPicture"));
    auto* feedGrid = new QGridLayout(feed);
    feedGrid->addWidget(intro, 0, 0, 1, 4);
    feedGrid->addWidget(group(QStringLiteral("Position"), {posLeft_, posRight_, posCenter_}), 1, 0);
    feedGrid->addWidget(group(QStringLiteral("Orientation"), {rotNone_, rotRight_}), 1, 1);
    feedGrid->addWidget(group(QStringLiteral("Facing"), {faceUp_, faceDown_}), 1, 2);
    feedGrid->addWidget(feedPicture_, 1, 3);
    feedGrid->addWidget(clockwise_, 2, 1);
    feedGrid->addWidget(note, 3, 0, 1, 4);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             posLeft_, posRight_, posCenter_, rotNone_, rotRight_, faceUp_, faceDown_, clockwise_})
        connect(b, &QAbstractButton::clicked, this, [this] {
            clockwise_->setVisible(rotRight_->isChecked());
            drawFeedPicture();
        });

    auto* layout = new QGridLayout(page);
    layout->addWidget(contents, 0, 0);
    layout->addWidget(size, 0, 1);
    layout->addWidget(feed, 1, 0, 1, 2);
    return page;
}

void TEnvelopeDesigner::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TEnvelopeDesigner::FormActivate() {
    if (!firstActivation_) return;
    pages_->setCurrentIndex(0);
    zoom_ = 100;
    const EnvelopeSetup& r = record_;
    description_->setText(r.descript);
    envPx_ = {inchesToPixels(r.envWidth, ppi_), inchesToPixels(r.envHeight, ppi_)};
    lastEnvPx_ = envPx_;
    chkReturn_->setChecked(r.useReturn);
    chkMessage_->setChecked(r.useMessage);
    retAt_ = {inchesToPixels(r.retLeft, ppi_), inchesToPixels(r.retTop, ppi_)};
    messAt_ = {inchesToPixels(r.messLeft, ppi_), inchesToPixels(r.messTop, ppi_)};
    delAt_ = {inchesToPixels(r.delLeft, ppi_), inchesToPixels(r.delTop, ppi_)};
    retFont_ = r.retFont;
    messFont_ = r.messFont;
    delFont_ = r.delFont;
    retLines_.clear();
    for (const QString& line : r.retLines)
        if (!line.isEmpty()) retLines_ << line;
    message_ = r.messText;
    chkBarcode_->setChecked(r.barcode);
    chkImb_->setChecked(labels::savedBarcodeKind(host_.settings(), labels::kEnvelopeBarcodeSection,
                                                 r.descript, true) == labels::BarcodeKind::Imb);
    chkImb_->setEnabled(r.barcode);
    name_->setChecked(r.contents.name);
    title_->setChecked(r.contents.title);
    company_->setChecked(r.contents.company);
    street_->setChecked(r.contents.street);
    cityState_->setChecked(r.contents.cityState);
    zip_->setChecked(r.contents.zip);
    phone_->setChecked(r.contents.phone);
    country_->setChecked(r.contents.country);
    QRadioButton* placements[] = {afterState_, beforeCity_, afterCountry_, beforeCountry_};
    if (r.contents.zipOption >= 1 && r.contents.zipOption <= 4)
        placements[r.contents.zipOption - 1]->setChecked(true);
    upperCase_->setChecked(r.contents.upperCase);
    for (QRadioButton* p : placements)
        p->setEnabled(zip_->isChecked());
    const Feed feed = decodeStoredPosition(r.position);
    posLeft_->setChecked(feed.position == PosLeft);
    posRight_->setChecked(feed.position == PosRight);
    posCenter_->setChecked(feed.position == PosCentre);
    clockwise_->setChecked(feed.clockwise);
    rotNone_->setChecked(r.orient == Portrait);
    rotRight_->setChecked(r.orient == Landscape);
    clockwise_->setVisible(r.orient == Landscape);
    faceUp_->setChecked(r.facing == FaceUp);
    faceDown_->setChecked(r.facing == FaceDown);
    // The designer always opens at half size.
    percChoice_->setCurrentIndex(percChoice_->findData(50));
    PercChoiceClick(50);
    drawFeedPicture();
    firstActivation_ = false;
}

void TEnvelopeDesigner::sizePanels() {
    const QSize shown(zoomed(envPx_.width(), zoom_), zoomed(envPx_.height(), zoom_));
    envelope_->resize(shown);
    background_->resize(shown + QSize(2 * kBorder, 2 * kBorder));
}

void TEnvelopeDesigner::placeBlocks() {
    auto at = [this](QPoint p) { return QPoint(zoomed(p.x(), zoom_), zoomed(p.y(), zoom_)); };
    retBlock_->move(at(retAt_));
    messBlock_->move(at(messAt_));
    delBlock_->move(at(delAt_));
}

void TEnvelopeDesigner::PercChoiceClick(int zoom) {
    if (zoom <= 0) return;
    zoom_ = zoom;
    sizePanels();
    placeBlocks();
    postDetach();
    Repaint();
}

void TEnvelopeDesigner::postDetach() {
    QCoreApplication::postEvent(this, new QEvent(QEvent::Type(QEvent::User + kDetachEvent)));
}

bool TEnvelopeDesigner::event(QEvent* e) {
    if (e->type() == QEvent::Type(QEvent::User + kDetachEvent)) {
        handle_->Detach();
        Repaint();
        return true;
    }
    return QDialog::event(e);
}

bool TEnvelopeDesigner::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::MouseButtonPress) return QDialog::eventFilter(watched, e);
    auto* me = static_cast<QMouseEvent*>(e);
    if (watched == envelope_) {
        postDetach();
        return true;
    }
    auto* block = qobject_cast<QWidget*>(watched);
    if (block == retBlock_ || block == messBlock_ || block == delBlock_) {
        if (me->button() == Qt::RightButton) {
            postDetach();
            showBlockMenu(block, me->globalPosition().toPoint());
        } else {
            handle_->Detach();
            Repaint();
            handle_->Attach(block);
        }
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TEnvelopeDesigner::showBlockMenu(QWidget* block, QPoint global) {
    QMenu menu(this);
    QAction* font = menu.addAction(QStringLiteral("Font"));
    QAction* text = menu.addAction(QStringLiteral("Text"));
    text->setEnabled(block != delBlock_);
    QAction* chosen = menu.exec(global);
    if (chosen == font) pMenuFontClick(block);
    if (chosen == text) pMenuTextClick(block);
}

void TEnvelopeDesigner::pMenuFontClick(QWidget* block) {
    BlockFont& f = block == retBlock_ ? retFont_ : block == messBlock_ ? messFont_ : delFont_;
    QFont initial(f.name, f.size);
    initial.setBold(f.bold);
    initial.setItalic(f.italic);
    if (const std::optional<QFont> chosen =
            prompts().chooseFont(this, initial, QStringLiteral("Font"))) {
        f.name = chosen->family().left(kFontNameWidth);
        f.size = chosen->pointSize() > 0 ? chosen->pointSize() : f.size;
        f.bold = chosen->bold();
        f.italic = chosen->italic();
    }
    Repaint();
}

void TEnvelopeDesigner::pMenuTextClick(QWidget* block) {
    if (block == retBlock_) {
        TGetMemo memo(retLines_, this);
        centreOver(memo, host_.hostWindow());
        if (memo.exec() == QDialog::Accepted) retLines_ = memo.Lines();
    } else if (block == messBlock_) {
        const std::optional<QString> text = prompts().inputText(
            this, QStringLiteral("Message"), QStringLiteral("Message Text"), message_);
        if (text && text->size() > kMessageWidth) {
            prompts().information(this, QStringLiteral("The message holds at most %1 characters; "
                                                       "it was left as it was.")
                                            .arg(kMessageWidth));
        } else if (text) {
            message_ = *text;
        }
    }
    Repaint();
}

QFont TEnvelopeDesigner::shownFont(const BlockFont& f) const {
    QFont font(f.name);
    font.setPointSize(std::max(1, f.size * zoom_ / 100));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    return font;
}

void TEnvelopeDesigner::paintBlock(QLabel* block, const QStringList& lines, const BlockFont& f) {
    const QFont font = shownFont(f);
    const QFontMetrics fm(font);
    const int lineHeight = fm.boundingRect(QStringLiteral("W")).height();
    int width = 0;
    for (const QString& l : lines)
        width = std::max(width, fm.horizontalAdvance(l));
    const QSize size(std::max(width, 1), std::max(int(lines.size()) * lineHeight, 1));
    QPixmap image(size);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QRect(0, i * lineHeight, size.width(), lineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    if (showOutlines_->isChecked()) {
        p.setPen(QPen(QColor(192, 192, 192), 1, Qt::DotLine));
        p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    }
    p.end();
    block->setPixmap(image);
    block->resize(size);
}

labels::AddressContents TEnvelopeDesigner::contents() const {
    labels::AddressContents c;
    c.name = name_->isChecked();
    c.title = title_->isChecked();
    c.company = company_->isChecked();
    c.street = street_->isChecked();
    c.cityState = cityState_->isChecked();
    c.zip = zip_->isChecked();
    c.phone = phone_->isChecked();
    c.country = country_->isChecked();
    c.zipOption = afterState_->isChecked()      ? 1
                  : beforeCity_->isChecked()    ? 2
                  : afterCountry_->isChecked()  ? 3
                  : beforeCountry_->isChecked() ? 4
                                                : record_.contents.zipOption;
    c.upperCase = upperCase_->isChecked();
    return c;
}

void TEnvelopeDesigner::Repaint() {
    retBlock_->setVisible(chkReturn_->isChecked());
    if (chkReturn_->isChecked()) paintBlock(retBlock_, retLines_, retFont_);
    QStringList delivery;
    Dataset& contacts = host_.contactTable();
    if (contacts.isOpen() && contacts.onRecord())
        delivery = labels::composeAddressLines(labels::readAddressFields(contacts.area()),
                                               contents(), contacts.area().codePage());
    paintBlock(delBlock_, delivery, delFont_);
    delBlock_->show();
    barcode_->setVisible(chkBarcode_->isChecked());
    if (chkBarcode_->isChecked()) {
        const labels::BarFigure figure =
            chkImb_->isChecked() ? labels::designerImbPicture() : labels::designerBarcodePicture();
        const QSize size(std::max(1, int(figure.width) * zoom_ / 100),
                         std::max(1, int(figure.height) * zoom_ / 100));
        QPixmap picture(size);
        picture.fill(Qt::white);
        QPainter p(&picture);
        labels::paintBarFigure(p, figure, QPointF(0, 0), zoom_ / 100.0);
        p.end();
        barcode_->setPixmap(picture);
        barcode_->resize(size);
        const int rise = int(ppi_ * labels::kBarcodeRise * zoom_ / 100);
        barcode_->move(delBlock_->x(), delBlock_->y() - rise);
    }
    messBlock_->setVisible(chkMessage_->isChecked());
    if (chkMessage_->isChecked()) paintBlock(messBlock_, {message_}, messFont_);
    envelopeDesc_->setText(record_.envName);
    handle_->raise();
}

void TEnvelopeDesigner::RememberPositions() {
    retAt_ = {unzoomed(retBlock_->x(), retAt_.x(), zoom_),
              unzoomed(retBlock_->y(), retAt_.y(), zoom_)};
    messAt_ = {unzoomed(messBlock_->x(), messAt_.x(), zoom_),
               unzoomed(messBlock_->y(), messAt_.y(), zoom_)};
    delAt_ = {unzoomed(delBlock_->x(), delAt_.x(), zoom_),
              unzoomed(delBlock_->y(), delAt_.y(), zoom_)};
}

void TEnvelopeDesigner::blocksToDefaults() {
    record_.retLeft = record_.retTop = 0.25;
    record_.messLeft = 0.25;
    record_.messTop = record_.envHeight - 0.5;
    retAt_ = {inchesToPixels(0.25, ppi_), inchesToPixels(0.25, ppi_)};
    messAt_ = {inchesToPixels(0.25, ppi_), inchesToPixels(record_.envHeight - 0.5, ppi_)};
    delAt_ = {envPx_.width() / 3, envPx_.height() / 2};
    placeBlocks();
}

void TEnvelopeDesigner::ChooseEnvelopeButtonClick() {
    Dataset sizes;
    try {
        sizes.open(host_.programFolder() + QLatin1String(kEnvelopeSizeFileName));
    } catch (const xb::Error&) {
        prompts().information(this, QString::fromLatin1(kUnableToOpenSizes));
        return;
    }
    sizes.setOrderTag(QStringLiteral("NAME"));
    TSelectEnvelope dialog(sizes, record_.envName, this);
    centreOver(dialog, host_.hostWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    const EnvelopeSize chosen = dialog.Chosen();
    if (chosen.name == record_.envName) return;
    record_.envName = chosen.name.left(kEnvNameWidth);
    record_.envWidth = chosen.width;
    record_.envHeight = chosen.height;
    envPx_ = {inchesToPixels(chosen.width, ppi_), inchesToPixels(chosen.height, ppi_)};
    sizePanels();
    if (envPx_ != lastEnvPx_) {
        blocksToDefaults();
        lastEnvPx_ = envPx_;
    }
    Repaint();
}

void TEnvelopeDesigner::AddressContentsClick() {
    for (QRadioButton* p : {afterState_, beforeCity_, afterCountry_, beforeCountry_})
        p->setEnabled(zip_->isChecked());
    if (!firstActivation_) record_.contents = contents();
    Repaint();
}

void TEnvelopeDesigner::NavigatorClick(int which) {
    Dataset& contacts = host_.contactTable();
    if (!contacts.isOpen()) return;
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
    Repaint();
}

void TEnvelopeDesigner::drawFeedPicture() {
    // The printer's paper, and on it the envelope as it goes in: tall in portrait, wide in
    // landscape, its stamp corner showing when fed face up and the flap when face down.
    constexpr int pageW = 64, pageH = 84;
    const bool landscape = rotRight_->isChecked();
    const bool up = faceUp_->isChecked();
    const bool turned = landscape && clockwise_->isChecked();
    const QSize env = landscape ? QSize(30, 58) : QSize(58, 30);
    QPixmap pic(pageW, pageH);
    pic.fill(Qt::transparent);
    QPainter p(&pic);
    p.setPen(Qt::black);
    p.fillRect(0, 0, pageW - 1, pageH - 1, Qt::white);
    p.drawRect(0, 0, pageW - 1, pageH - 1);
    int x = (pageW - env.width()) / 2;
    if (posLeft_->isChecked()) x = 2;
    if (posRight_->isChecked()) x = pageW - env.width() - 2;
    const QRect e(QPoint(x, 2), env);
    p.fillRect(e, QColor(250, 240, 200));
    p.drawRect(e.adjusted(0, 0, -1, -1));
    if (up) {
        // The stamp's corner: top right of the envelope as read, turned with the feed.
        QRect stamp(0, 0, 8, 8);
        if (!landscape)
            stamp.moveTopRight(e.topRight() + QPoint(-2, 2));
        else if (turned)
            stamp.moveBottomRight(e.bottomRight() + QPoint(-2, -2));
        else
            stamp.moveTopLeft(e.topLeft() + QPoint(2, 2)), stamp.translate(0, e.height() - 12);
        p.fillRect(stamp, Qt::red);
    } else {
        // The flap's fold lines meet in the middle of the back.
        const QPoint mid = e.center();
        const bool flapTop = landscape ? !turned : true;
        if (landscape) {
            const int edge = flapTop ? e.left() : e.right();
            p.drawLine(edge, e.top(), mid.x(), mid.y());
            p.drawLine(edge, e.bottom(), mid.x(), mid.y());
        } else {
            p.drawLine(e.left(), e.top(), mid.x(), mid.y());
            p.drawLine(e.right(), e.top(), mid.x(), mid.y());
        }
    }
    p.end();
    feedPicture_->setPixmap(pic);
}

void TEnvelopeDesigner::UpDateEnvelopeSetupRecord() {
    EnvelopeSetup& r = record_;
    r.descript = description_->text().left(kDescriptWidth);
    r.envWidth = pixelsToInches(envPx_.width(), r.envWidth, ppi_);
    r.envHeight = pixelsToInches(envPx_.height(), r.envHeight, ppi_);
    r.useReturn = chkReturn_->isChecked();
    r.useMessage = chkMessage_->isChecked();
    r.retTop = pixelsToInches(retAt_.y(), r.retTop, ppi_);
    r.retLeft = pixelsToInches(retAt_.x(), r.retLeft, ppi_);
    r.messTop = pixelsToInches(messAt_.y(), r.messTop, ppi_);
    r.messLeft = pixelsToInches(messAt_.x(), r.messLeft, ppi_);
    r.delTop = pixelsToInches(delAt_.y(), r.delTop, ppi_);
    r.delLeft = pixelsToInches(delAt_.x(), r.delLeft, ppi_);
    auto limited = [](BlockFont f) {
        f.name = f.name.left(kFontNameWidth);
        return f;
    };
    r.retFont = limited(retFont_);
    r.messFont = limited(messFont_);
    r.delFont = limited(delFont_);
    for (int i = 0; i < kReturnLineCount; ++i)
        r.retLines[size_t(i)] =
            i < retLines_.size() ? retLines_[i].left(kReturnLineWidth) : QString();
    r.messText = message_.left(kMessageWidth);
    r.barcode = chkBarcode_->isChecked();
    r.barcodeKind = chkImb_->isChecked() ? labels::BarcodeKind::Imb : labels::BarcodeKind::Postnet;
    r.contents = contents();
    r.orient = rotRight_->isChecked() ? Landscape : Portrait;
    r.facing = faceDown_->isChecked() ? FaceDown : FaceUp;
    Feed feed;
    feed.position = posLeft_->isChecked() ? PosLeft : posRight_->isChecked() ? PosRight : PosCentre;
    feed.clockwise = clockwise_->isChecked();
    r.position = encodePosition(feed);
}

void TEnvelopeDesigner::OkButtonClick() {
    if (const QString fault = setupDescriptionFault(description_->text()); !fault.isEmpty()) {
        prompts().information(this, fault);
        return;
    }
    UpDateEnvelopeSetupRecord();
    accept();
}

}  // namespace qb::envelopes
