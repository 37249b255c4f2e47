// The preview window's controls and handlers. It settles at page-width zoom on its first
// activation and keeps the view's scroll position across page and zoom changes.
#include "reports/preview_form.h"

#include "controls/prompts.h"
#include "output/report_error.h"
#include "reports/preview_icons.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QWhatsThis>

namespace qb {
namespace {

constexpr int ClientWidth = 608;
constexpr int ClientHeight = 424;
constexpr int PanelHeight = 41;

}  // namespace

TPreviewForm::TPreviewForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TPreviewForm"));
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    setFont(font);

    scrollBox_ = new QScrollArea(this);
    scrollBox_->setObjectName(QStringLiteral("ScrollBox1"));
    scrollBox_->setGeometry(0, 0, ClientWidth, ClientHeight - PanelHeight);
    scrollBox_->setFocusPolicy(Qt::NoFocus);
    scrollBox_->setWhatsThis(QStringLiteral("This is the page being previewed."));

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel_->setGeometry(0, ClientHeight - PanelHeight, ClientWidth, PanelHeight);

    addPageButton("sbZoomIn", 0, int(PreviewGlyph::ZoomIn), "Click here to Zoom in.",
                  &TPreviewForm::SBZoomInClick);
    addPageButton("sbZoomOut", 1, int(PreviewGlyph::ZoomOut), "Click here to Zoom out.",
                  &TPreviewForm::SBZoomOutClick);
    addPageButton("sbZoomPageWidth", 2, int(PreviewGlyph::PageWidth),
                  "Click here to make the width of the page fit into the preview.",
                  &TPreviewForm::SBZoomPageWidthClick);
    addPageButton("sbZoomPage", 3, int(PreviewGlyph::WholePage), "Click here to see the full page.",
                  &TPreviewForm::SBZoomPageClick);
    addPageButton("sbFirstPage", 4, int(PreviewGlyph::First), "Click here to see the first page",
                  &TPreviewForm::sbFirstPageClick);
    sbPrevPage_ =
        addPageButton("sbPrevPage", 5, int(PreviewGlyph::Previous),
                      "Click here to see the previous page.", &TPreviewForm::SBPrevPageClick);
    sbNextPage_ = addPageButton("sbNextPage", 6, int(PreviewGlyph::Next),
                                "Click here to see the next page.", &TPreviewForm::SBNextPageClick);
    addPageButton("sbLastPage", 7, int(PreviewGlyph::Last), "Click here to see the last page",
                  &TPreviewForm::sbLastPageClick);

    pageLabel_ = new QLabel(QStringLiteral("Page 1 of 1"), panel_);
    pageLabel_->setObjectName(QStringLiteral("PageLabel"));
    QFont bold = font;
    bold.setBold(true);
    pageLabel_->setFont(bold);
    pageLabel_->setGeometry(232, 12, 170, 17);
    pageLabel_->setWhatsThis(QStringLiteral("Shows the page you are looking at."));
    addWhatsThisMenu(pageLabel_);

    helpButton_ = new QPushButton(QStringLiteral("Help"), panel_);
    helpButton_->setObjectName(QStringLiteral("HelpButton"));
    helpButton_->setGeometry(408, 8, 64, 25);
    helpButton_->setWhatsThis(QStringLiteral("Click here for help on the preview."));
    connect(helpButton_, &QPushButton::clicked, this, [this] { HelpButtonClick(); });
    addWhatsThisMenu(helpButton_);

    mouseHelpButton_ = new QPushButton(QStringLiteral("?"), panel_);
    mouseHelpButton_->setObjectName(QStringLiteral("MouseHelpButton"));
    mouseHelpButton_->setGeometry(478, 8, 25, 25);
    mouseHelpButton_->setWhatsThis(
        QStringLiteral("Click here, then click on an item to see what it is for."));
    connect(mouseHelpButton_, &QPushButton::clicked, this,
            [] { QWhatsThis::enterWhatsThisMode(); });
    addWhatsThisMenu(mouseHelpButton_);

    closeButton_ = new QPushButton(QStringLiteral("Close"), panel_);
    closeButton_->setObjectName(QStringLiteral("CloseButton"));
    closeButton_->setGeometry(520, 8, 80, 25);
    closeButton_->setDefault(true);
    closeButton_->setWhatsThis(QStringLiteral("Click here to close this window."));
    connect(closeButton_, &QPushButton::clicked, this, [this] { CloseButtonClick(); });
    addWhatsThisMenu(closeButton_);

    filePreview_ = new TFilePreview(this);
    filePreview_->setObjectName(QStringLiteral("FilePreview1"));
    filePreview_->SetScrollBox(scrollBox_);
    filePreview_->SetZoomFactor(100.0);
    filePreview_->SetZoomInc(10);
    filePreview_->SetMarginPercent(2.5);
    filePreview_->SetMarginMethod(mmFixed);
    filePreview_->SetShadowDepth(0);
    filePreview_->SetRulerType(rtNone);
    filePreview_->SetStreamMode(smUser);
    filePreview_->OnPageChange = [this](TFilePreview&) { FilePreview1PageChange(); };
    filePreview_->OnZoomChange = [this](TFilePreview&) { FilePreview1ZoomChange(); };

    // Up and Down scroll the page whichever button has the focus.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    FormCreate();
}

TPreviewForm::~TPreviewForm() = default;

QToolButton* TPreviewForm::addPageButton(const char* name, int index, int glyph, const char* help,
                                         void (TPreviewForm::*handler)()) {
    auto* button = new QToolButton(panel_);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(6 + index * 27, 8, 25, 25);
    button->setIcon(previewIcon(static_cast<PreviewGlyph>(glyph)));
    button->setWhatsThis(QLatin1String(help));
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
    addWhatsThisMenu(button);
    return button;
}

void TPreviewForm::addWhatsThisMenu(QWidget* widget) {
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, widget, [widget](const QPoint& at) {
        QMenu menu(widget);
        QAction* action = menu.addAction(QStringLiteral("What's this?"));
        if (menu.exec(widget->mapToGlobal(at)) == action) {
            QWhatsThis::showText(widget->mapToGlobal(at), widget->whatsThis(), widget);
        }
    });
}

QPoint TPreviewForm::CentredOver(const QRect& mainWindow, const QSize& window) {
    // Integer halves, truncated toward zero whichever window is the larger.
    return {mainWindow.left() + (mainWindow.width() - window.width()) / 2,
            mainWindow.top() + (mainWindow.height() - window.height()) / 2};
}

void TPreviewForm::ShowPreview(QWidget* mainWindow, const QString& caption, QIODevice* stream) {
    TPreviewForm form(mainWindow);
    if (mainWindow) form.move(CentredOver(mainWindow->geometry(), form.size()));
    form.setWindowTitle(caption);
    form.FilePreview1().SetStream(stream);
    form.exec();
}

int TPreviewForm::HelpContextFor(const QString& caption) {
    if (caption == QLatin1String("Preview Envelope")) return 1031;
    if (caption == QLatin1String("Preview Labels")) return 1032;
    if (caption == QLatin1String("Preview Report")) return 1034;
    if (caption == QLatin1String("Preview Zipcode Count")) return 4572;
    return 0;
}

void TPreviewForm::FormCreate() {
    firstActivate_ = true;
}

void TPreviewForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Some window systems never activate a window shown without focus; the queued call makes
    // sure the viewer starts all the same, after the window is laid out.
    QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TPreviewForm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TPreviewForm::FormActivate() {
    if (!firstActivate_) return;
    firstActivate_ = false;
    try {
        filePreview_->Start();
    } catch (const ReportError& e) {
        // A report that cannot be read leaves nothing to show; say why and close.
        prompts().error(this, e.message());
        QTimer::singleShot(0, this, [this] { done(QDialog::Rejected); });
        return;
    }
    if (filePreview_->Pages() < 2) {
        sbPrevPage_->hide();
        sbNextPage_->hide();
    }
    filePreview_->SetZoomFactor(filePreview_->ZoomPageWidthFactor());
}

void TPreviewForm::SBZoomInClick() {
    filePreview_->SetZoomFactor(filePreview_->ZoomFactor() + filePreview_->ZoomInc());
}

void TPreviewForm::SBZoomOutClick() {
    filePreview_->SetZoomFactor(filePreview_->ZoomFactor() - filePreview_->ZoomInc());
}

void TPreviewForm::SBZoomPageWidthClick() {
    filePreview_->SetZoomFactor(filePreview_->ZoomPageWidthFactor());
}

void TPreviewForm::SBZoomPageClick() {
    filePreview_->SetZoomFactor(filePreview_->ZoomPageFactor());
}

void TPreviewForm::sbFirstPageClick() {
    filePreview_->PrintPage(filePreview_->FirstPage());
}

void TPreviewForm::SBPrevPageClick() {
    filePreview_->PrevPage();
}

void TPreviewForm::SBNextPageClick() {
    filePreview_->NextPage();
}

void TPreviewForm::sbLastPageClick() {
    filePreview_->PrintPage(filePreview_->LastPage());
}

void TPreviewForm::FilePreview1PageChange() {
    pageLabel_->setText(QStringLiteral("Page %1 of %2")
                            .arg(filePreview_->CurrentPage() - filePreview_->FirstPage() + 1)
                            .arg(filePreview_->Pages()));
}

void TPreviewForm::FilePreview1ZoomChange() {
    filePreview_->RedrawPage();
}

void TPreviewForm::FormKeyDown(int key) {
    QScrollBar* bar = scrollBox_->verticalScrollBar();
    const int step = bar->singleStep();
    if (key == Qt::Key_Up) {
        bar->setValue(std::max(0, bar->value() - step));
    } else if (key == Qt::Key_Down) {
        // The scroll range is the whole height of the page image with its margins.
        const int range = scrollBox_->widget() ? scrollBox_->widget()->height() : 0;
        const int wanted = bar->value() + step;
        bar->setValue(wanted >= range ? range - 1 : wanted);
    }
}

void TPreviewForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        FormKeyDown(event->key());
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            FormKeyDown(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TPreviewForm::HelpButtonClick() {
    const int context = HelpContextFor(windowTitle());
    if (context != 0) prompts().showHelp(this, context);
}

void TPreviewForm::CloseButtonClick() {
    accept();
}

void TPreviewForm::FormClose() {
    if (filePreview_->Active()) filePreview_->Finish();
}

void TPreviewForm::done(int result) {
    FormClose();
    QDialog::done(result);
}

}  // namespace qb
