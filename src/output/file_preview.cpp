// The viewer's zoom rule, its fitted zooms, and the drawing of a page into an image that sits
// inside the scroll box with a blank margin around it.
#include "output/file_preview.h"

#include "output/page_renderer.h"
#include "output/report_error.h"

#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>
#include <cmath>

namespace qb {

// The widget in the scroll box that carries the page image.
class PageCanvas : public QWidget {
  public:
    explicit PageCanvas(QWidget* parent) : QWidget(parent) {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(128, 128, 128));
        setPalette(p);
    }

    void show(const QImage* image, int margin, int shadow) {
        image_ = image;
        margin_ = margin;
        shadow_ = shadow;
        resize(image->width() + 2 * margin, image->height() + 2 * margin);
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (!image_) return;
        QPainter p(this);
        if (shadow_ > 0) {
            p.fillRect(margin_ + shadow_, margin_ + shadow_, image_->width(), image_->height(),
                       Qt::black);
        }
        p.drawImage(margin_, margin_, *image_);
    }

  private:
    const QImage* image_ = nullptr;
    int margin_ = 0;
    int shadow_ = 0;
};

namespace {

// Rounds halves to the even neighbour, as the viewer's sizes are rounded.
int roundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace

TFilePreview::TFilePreview(QObject* owner) : QObject(owner) {}

TFilePreview::~TFilePreview() {
    Finish();
}

int TFilePreview::Pages() const {
    return reader_ ? reader_->header().pageCount : 0;
}

int TFilePreview::FirstPage() const {
    return reader_ ? reader_->header().firstPage : 0;
}

int TFilePreview::LastPage() const {
    return reader_ ? reader_->header().lastPage : 0;
}

double TFilePreview::PageWidthInches() const {
    return reader_ ? reader_->header().pageWidth : 0;
}

double TFilePreview::PageHeightInches() const {
    return reader_ ? reader_->header().pageHeight : 0;
}

double TFilePreview::screenPageWidth() const {
    return PageWidthInches() * (scrollBox_ ? scrollBox_->logicalDpiX() : 96);
}

double TFilePreview::screenPageHeight() const {
    return PageHeightInches() * (scrollBox_ ? scrollBox_->logicalDpiY() : 96);
}

int TFilePreview::PageMargin() const {
    const int atFull = roundEven(screenPageWidth() * marginPercent_ / 100.0);
    if (marginMethod_ == mmFixed) return atFull;
    return roundEven(atFull * zoom_ / 100.0);
}

void TFilePreview::measureScrollBox() {
    QScrollArea& box = *scrollBox_;
    const auto hPolicy = box.horizontalScrollBarPolicy();
    const auto vPolicy = box.verticalScrollBarPolicy();
    if (box.isVisible()) {
        // Switching the bars is laid out at once on a visible box, so the client widths tell
        // the border and the width of a vertical bar exactly.
        box.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        borderWidth_ = box.width() - box.viewport()->width();
        borderHeight_ = box.height() - box.viewport()->height();
        const int clientWidth = box.viewport()->width();
        box.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        scrollBarWidth_ = clientWidth - box.viewport()->width();
    } else {
        borderWidth_ = borderHeight_ = 2 * box.frameWidth();
        scrollBarWidth_ = 0;
    }
    if (scrollBarWidth_ <= 0) {
        scrollBarWidth_ = box.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &box);
    }
    box.setHorizontalScrollBarPolicy(hPolicy);
    box.setVerticalScrollBarPolicy(vPolicy);
}

void TFilePreview::Start() {
    if (!scrollBox_) throw ReportError(report_messages::scrollBoxMissing);
    Finish();
    QIODevice* device = nullptr;
    QString name;
    if (streamMode_ == smUser) {
        if (!stream_) throw ReportError(report_messages::userStreamMissing);
        device = stream_;
        name = QStringLiteral("report stream");
    } else {
        ownFile_ = std::make_unique<QFile>(fileName_);
        device = ownFile_.get();
        name = fileName_;
    }
    reader_ = std::make_unique<ReportFileReader>(*device, name);
    measureScrollBox();
    auto* canvas = new PageCanvas(nullptr);
    scrollBox_->setWidgetResizable(false);
    scrollBox_->setWidget(canvas);  // the scroll box owns the canvas from here
    canvas_ = canvas;
    PrintPage(FirstPage());
}

void TFilePreview::Finish() {
    if (scrollBox_ && canvas_ && scrollBox_->widget() == canvas_) {
        delete scrollBox_->takeWidget();
    }
    canvas_.clear();
    image_ = QImage();
    reader_.reset();
    ownFile_.reset();
    currentPage_ = 0;
}

void TFilePreview::PrintPage(int page) {
    if (!reader_ || Pages() == 0) return;
    if (page < FirstPage() || page > LastPage()) return;
    QScrollBar* h = scrollBox_->horizontalScrollBar();
    QScrollBar* v = scrollBox_->verticalScrollBar();
    const int keepH = h->value();
    const int keepV = v->value();
    h->setValue(0);
    v->setValue(0);

    const PageOps ops = reader_->readPage(page);
    const double scale = zoom_ / 100.0;
    const int width = std::max(1, roundEven(screenPageWidth() * scale));
    const int height = std::max(1, roundEven(screenPageHeight() * scale));
    image_ = QImage(width, height, QImage::Format_RGB32);
    image_.fill(Qt::white);
    {
        QPainter painter(&image_);
        RenderTarget target;
        target.pixelsPerInchX = scrollBox_->logicalDpiX() * scale;
        target.pixelsPerInchY = scrollBox_->logicalDpiY() * scale;
        target.fitTextWidths = reader_->header().positioning;
        renderPage(painter, ops, target);
    }
    currentPage_ = page;
    if (canvas_) canvas_->show(&image_, PageMargin(), shadowDepth_);
    h->setValue(keepH);
    v->setValue(keepV);
    if (OnPageChange) OnPageChange(*this);
}

void TFilePreview::NextPage() {
    if (currentPage_ < LastPage()) PrintPage(currentPage_ + 1);
}

void TFilePreview::PrevPage() {
    if (currentPage_ > FirstPage()) PrintPage(currentPage_ - 1);
}

void TFilePreview::RedrawPage() {
    if (Active()) PrintPage(currentPage_);
}

void TFilePreview::SetZoomFactor(double zoom) {
    if (zoom <= -1.9) {
        zoom_ = ZoomPageWidthFactor();
    } else if (zoom < 0) {
        zoom_ = ZoomPageFactor();
    } else {
        zoom_ = std::clamp(zoom, 10.0, 200.0);
    }
    if (OnZoomChange) {
        OnZoomChange(*this);
    } else {
        RedrawPage();
    }
}

double TFilePreview::ZoomPageWidthFactor() const {
    const double w = screenPageWidth();
    const double h = screenPageHeight();
    if (!scrollBox_ || w <= 0 || h <= 0) return zoom_;
    const int m = roundEven(w * marginPercent_ / 100.0);
    double z = (scrollBox_->width() - borderWidth_ - 2 * m) / w;
    if (scrollBox_->height() - borderHeight_ < z * h + 2 * m) {
        z = (scrollBox_->width() - borderWidth_ - 2 * m - scrollBarWidth_) / w;
    }
    return 100.0 * z;
}

double TFilePreview::ZoomPageFactor() const {
    const double w = screenPageWidth();
    const double h = screenPageHeight();
    if (!scrollBox_ || w <= 0 || h <= 0) return zoom_;
    const int m = roundEven(w * marginPercent_ / 100.0);
    const double zw = (scrollBox_->width() - 4 - 2 * m) / w;
    const double zh = (scrollBox_->height() - 4 - 2 * m) / h;
    return 100.0 * std::min(zw, zh);
}

}  // namespace qb
