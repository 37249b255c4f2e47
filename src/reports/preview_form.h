// The print preview window: pages through and zooms the report file of a finished preview
// pass. It has no print command; printing is a separate pass started by the caller.
#pragma once

#include "output/file_preview.h"

#include <QDialog>

class QFrame;
class QIODevice;
class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace qb {

class TPreviewForm : public QDialog {
  public:
    explicit TPreviewForm(QWidget* parent = nullptr);
    ~TPreviewForm() override;

    // Centres a preview window over `mainWindow`, shows the report in `stream` modally under
    // `caption`, and frees the window; the stream stays the caller's.
    static void ShowPreview(QWidget* mainWindow, const QString& caption, QIODevice* stream);
    // Help topic of a caption; 0 for captions that have none.
    static int HelpContextFor(const QString& caption);
    // Where the window goes to sit centred over `mainWindow`.
    static QPoint CentredOver(const QRect& mainWindow, const QSize& window);

    TFilePreview& FilePreview1() { return *filePreview_; }
    QScrollArea* ScrollBox1() const { return scrollBox_; }
    QLabel* PageLabel() const { return pageLabel_; }

    void FormCreate();
    void FormActivate();
    void SBZoomInClick();
    void SBZoomOutClick();
    void SBZoomPageWidthClick();
    void SBZoomPageClick();
    void sbFirstPageClick();
    void SBPrevPageClick();
    void SBNextPageClick();
    void sbLastPageClick();
    void FilePreview1PageChange();
    void FilePreview1ZoomChange();
    void FormKeyDown(int key);
    void HelpButtonClick();
    void CloseButtonClick();
    void FormClose();

    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QToolButton* addPageButton(const char* name, int index, int glyph, const char* help,
                               void (TPreviewForm::*handler)());
    void addWhatsThisMenu(QWidget* widget);

    TFilePreview* filePreview_;
    QScrollArea* scrollBox_;
    QFrame* panel_;
    QToolButton* sbPrevPage_ = nullptr;
    QToolButton* sbNextPage_ = nullptr;
    QLabel* pageLabel_;
    QPushButton* helpButton_;
    QPushButton* mouseHelpButton_;
    QPushButton* closeButton_;
    bool firstActivate_ = false;
};

}  // namespace qb
