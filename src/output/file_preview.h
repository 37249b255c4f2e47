// The page viewer: shows the pages of a report file in a scroll box, one at a time, at a zoom
// in percent of the page's true size on the screen.
#pragma once

#include "output/report_file.h"
#include "output/report_types.h"

#include <QFile>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QIODevice;
class QScrollArea;

namespace qb {

class PageCanvas;
class TFilePreview;
using TPreviewEvent = std::function<void(TFilePreview&)>;

class TFilePreview : public QObject {
  public:
    explicit TFilePreview(QObject* owner = nullptr);
    ~TFilePreview() override;

    QScrollArea* ScrollBox() const { return scrollBox_; }
    void SetScrollBox(QScrollArea* box) { scrollBox_ = box; }
    TStreamMode StreamMode() const { return streamMode_; }
    void SetStreamMode(TStreamMode mode) { streamMode_ = mode; }
    QIODevice* Stream() const { return stream_; }
    void SetStream(QIODevice* stream) { stream_ = stream; }
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& name) { fileName_ = name; }
    double ZoomInc() const { return zoomInc_; }
    void SetZoomInc(double inc) { zoomInc_ = inc; }
    double MarginPercent() const { return marginPercent_; }
    void SetMarginPercent(double percent) { marginPercent_ = percent; }
    TMarginMethod MarginMethod() const { return marginMethod_; }
    void SetMarginMethod(TMarginMethod method) { marginMethod_ = method; }
    int ShadowDepth() const { return shadowDepth_; }
    void SetShadowDepth(int depth) { shadowDepth_ = std::max(0, depth); }
    TRulerType RulerType() const { return rulerType_; }
    void SetRulerType(TRulerType type) { rulerType_ = type; }

    TPreviewEvent OnPageChange;
    TPreviewEvent OnZoomChange;

    // Opens the report, measures the scroll box and shows the first stored page.
    void Start();
    // Frees the page image; the report stays with its owner.
    void Finish();
    bool Active() const { return reader_ != nullptr; }

    int Pages() const;
    int FirstPage() const;
    int LastPage() const;
    int CurrentPage() const { return currentPage_; }
    double PageWidthInches() const;
    double PageHeightInches() const;

    void PrintPage(int page);
    void NextPage();
    void PrevPage();
    void RedrawPage();

    double ZoomFactor() const { return zoom_; }
    void SetZoomFactor(double zoom);
    void ZoomIn() { SetZoomFactor(zoom_ + zoomInc_); }
    void ZoomOut() { SetZoomFactor(zoom_ - zoomInc_); }
    double ZoomPageWidthFactor() const;
    double ZoomPageFactor() const;

    // What is on screen: the page image and its blank margin in pixels.
    const QImage& PageImage() const { return image_; }
    int PageMargin() const;

  private:
    double screenPageWidth() const;
    double screenPageHeight() const;
    void measureScrollBox();

    QPointer<QScrollArea> scrollBox_;
    TStreamMode streamMode_ = smUser;
    QPointer<QIODevice> stream_;
    QString fileName_;
    double zoom_ = 100.0;
    double zoomInc_ = 10.0;
    double marginPercent_ = 0.0;
    TMarginMethod marginMethod_ = mmScaled;
    int shadowDepth_ = 0;
    TRulerType rulerType_ = rtNone;

    std::unique_ptr<QFile> ownFile_;
    std::unique_ptr<ReportFileReader> reader_;
    QPointer<PageCanvas> canvas_;
    QImage image_;
    int currentPage_ = 0;
    int borderWidth_ = 0;
    int borderHeight_ = 0;
    int scrollBarWidth_ = 0;
};

}  // namespace qb
