// The letter preview window.
#include "letters/rtf_preview.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <cmath>

#include "controls/prompts.h"
#include "letters/letter_merge.h"

namespace qb::letters {

class TRTFPreviewForm::PaintBox : public QWidget {
  public:
    PaintBox(TRTFPreviewForm& form, QWidget* parent) : QWidget(parent), form_(form) {
        setObjectName(QStringLiteral("PaintBox"));
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (!form_.pages_ || form_.pageIndex_ >= form_.pages_->pageCount()) return;
        QPainter painter(this);
        const double scale = form_.zoom_ / 100.0 * screenDpi() / 1440.0;
        // The box starts at the margins; the paginator draws from the paper's corner.
        painter.translate(-form_.page_.marginLeft * scale, -form_.page_.marginTop * scale);
        painter.scale(scale, scale);
        try {
            form_.pages_->drawPage(painter, form_.pageIndex_);
        } catch (const std::exception&) {
            prompts().information(this, QString::fromLatin1(kPreviewDrawError));
        }
    }

  private:
    static double screenDpi() {
        const QScreen* screen = QApplication::primaryScreen();
        return screen ? screen->logicalDotsPerInch() : 96;
    }
    TRTFPreviewForm& form_;
};

int TRTFPreviewForm::screenPixels(int twips) {
    const QScreen* screen = QApplication::primaryScreen();
    const int dpi = screen ? int(screen->logicalDotsPerInch()) : 96;
    return twips * dpi / 1440;
}

TRTFPreviewForm::TRTFPreviewForm(ContactHost& host, const QTextDocument& letter,
                                 const richtext::PageSettings& page, QWidget* parent)
    : QDialog(parent), host_(host), letter_(letter.clone()), page_(page), merged_(letter.clone()) {
    setObjectName(QStringLiteral("TRTFPreviewForm"));
    setWindowTitle(QStringLiteral("Preview Letters"));
    resize(608, 424);
    auto* layout = new QVBoxLayout(this);
    scroll_ = new QScrollArea(this);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setStyleSheet(QStringLiteral("QScrollArea { background: grey; }"));
    panel_ = new QWidget;
    panel_->setObjectName(QStringLiteral("PagePanel"));
    panel_->setAutoFillBackground(true);
    QPalette white = panel_->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel_->setPalette(white);
    paintBox_ = new PaintBox(*this, panel_);
    scroll_->setWidget(panel_);
    layout->addWidget(scroll_, 1);

    auto* bar = new QHBoxLayout;
    auto button = [this, bar](const char* name, const QString& text, const QString& help,
                              auto&& click) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setWhatsThis(help);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, click);
        bar->addWidget(b);
        return b;
    };
    button("ZoomIn", QStringLiteral("+"), QStringLiteral("Shows the page larger."),
           [this] { ZoomInClick(); });
    button("ZoomOut", QStringLiteral("-"), QStringLiteral("Shows the page smaller."),
           [this] { ZoomOutClick(); });
    button("PageWidth", QStringLiteral("Width"), QStringLiteral("Fits the page's width."),
           [this] { PageWidthClick(); });
    button("WholePage", QStringLiteral("Page"), QStringLiteral("Fits the whole page."),
           [this] { WholePageClick(); });
    button("PriorPage", QStringLiteral("<"), QStringLiteral("The previous page."),
           [this] { PriorPageClick(); });
    button("NextPage", QStringLiteral(">"), QStringLiteral("The next page."),
           [this] { NextPageClick(); });
    button("FirstContact", QStringLiteral("|<<"), QStringLiteral("The first contact's letter."),
           [this] { MoveContact(-2); });
    button("PriorContact", QStringLiteral("<<"), QStringLiteral("The previous contact's letter."),
           [this] { MoveContact(-1); });
    button("NextContact", QStringLiteral(">>"), QStringLiteral("The next contact's letter."),
           [this] { MoveContact(1); });
    button("LastContact", QStringLiteral(">>|"), QStringLiteral("The last contact's letter."),
           [this] { MoveContact(2); });
    pageLabel_ = new QLabel(QStringLiteral("Page 1 "), this);
    pageLabel_->setObjectName(QStringLiteral("PageLabel"));
    bar->addWidget(pageLabel_);
    bar->addStretch();
    button("HelpButton", QStringLiteral("Help"), QStringLiteral("Help on the letter preview."),
           [this] { prompts().showHelp(this, 1033); });
    button("WhatsThis", QStringLiteral("?"), QStringLiteral("Click, then click a control."),
           [] { QWhatsThis::enterWhatsThisMode(); });
    QPushButton* close = button("CloseButton", QStringLiteral("Close"),
                                QStringLiteral("Closes the preview."), [this] { accept(); });
    close->setDefault(true);
    layout->addLayout(bar);

    // Fit to width at the start.
    PageWidthClick();
}

TRTFPreviewForm::~TRTFPreviewForm() = default;

int TRTFPreviewForm::pageCount() const {
    return pages_ ? pages_->pageCount() : 0;
}

void TRTFPreviewForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_) return;
    activated_ = true;
    QApplication::processEvents();
    layOut();
    // The first merge once the window is on screen.
    QTimer::singleShot(1, this, [this] { remerge(); });
}

void TRTFPreviewForm::remerge() {
    merged_.reset(letter_->clone());
    Dataset& contacts = host_.contactTable();
    if (contacts.isOpen() && contacts.onRecord())
        ReplaceTokens(*merged_, contactValues(contacts), xb::today());
    pages_ = std::make_unique<richtext::Paginator>(*merged_, page_);
    pageIndex_ = 0;
    pageNumber_ = 1;
    earlierPages_.clear();
    pageLabel_->setText(QStringLiteral("Page 1"));
    paintBox_->update();
}

void TRTFPreviewForm::layOut() {
    const int z = zoom_;
    const int w = screenPixels(page_.paperWidth) * z / 100;
    const int h = screenPixels(page_.paperHeight) * z / 100;
    auto margin = [z](int twips) { return int(std::lround(screenPixels(twips) * z / 100.0)); };
    const int left = margin(page_.marginLeft), top = margin(page_.marginTop);
    panel_->resize(w, h);
    paintBox_->setGeometry(left, top, w - left - margin(page_.marginRight),
                           h - top - margin(page_.marginBottom));
    panel_->show();
    paintBox_->update();
}

void TRTFPreviewForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layOut();
}

void TRTFPreviewForm::ZoomInClick() {
    if (zoom_ >= 150) return;
    zoom_ = int(zoom_ * 1.25);
    layOut();
}

void TRTFPreviewForm::ZoomOutClick() {
    if (zoom_ <= 50) return;
    zoom_ = int(zoom_ * 0.75);
    layOut();
}

void TRTFPreviewForm::PageWidthClick() {
    const int page = screenPixels(page_.paperWidth);
    if (page > 0) zoom_ = frameGeometry().width() * 100 / page;
    layOut();
}

void TRTFPreviewForm::WholePageClick() {
    const int page = screenPixels(page_.paperHeight);
    if (page > 0) zoom_ = frameGeometry().height() * 100 / page;
    layOut();
}

void TRTFPreviewForm::NextPageClick() {
    if (!pages_ || pageIndex_ + 1 >= pages_->pageCount()) return;
    earlierPages_.push_back(pageIndex_);
    ++pageIndex_;
    ++pageNumber_;
    pageLabel_->setText(QStringLiteral("Page ") + QString::number(pageNumber_));
    paintBox_->update();
}

void TRTFPreviewForm::PriorPageClick() {
    if (earlierPages_.isEmpty()) return;
    --pageNumber_;
    pageIndex_ = earlierPages_.takeLast();
    pageLabel_->setText(QStringLiteral("Page ") + QString::number(pageNumber_));
    paintBox_->update();
}

void TRTFPreviewForm::MoveContact(int step) {
    Dataset& contacts = host_.contactTable();
    if (!contacts.isOpen()) return;
    switch (step) {
        case -2:
            contacts.first();
            break;
        case -1:
            contacts.prior();
            break;
        case 1:
            contacts.next();
            break;
        default:
            contacts.last();
            break;
    }
    remerge();
}

void TRTFPreviewForm::keyPressEvent(QKeyEvent* event) {
    QScrollBar* bar = scroll_->verticalScrollBar();
    if (event->key() == Qt::Key_Up) {
        bar->setValue(std::max(0, bar->value() - bar->singleStep()));
        return;
    }
    if (event->key() == Qt::Key_Down) {
        bar->setValue(std::min(bar->maximum(), bar->value() + bar->singleStep()));
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace qb::letters
