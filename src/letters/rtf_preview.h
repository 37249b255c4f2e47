// "Preview Letters": the letter merged with the main window's current contact, one page at a
// time at a zoom, with page and contact navigation. Pages are those the print run makes: both
// lay the merged letter out with the same paginator.
#pragma once

#include <QDialog>
#include <QList>
#include <QTextDocument>
#include <memory>

#include "richtext/page_settings.h"
#include "richtext/paginator.h"
#include "store/contact_host.h"

class QLabel;
class QScrollArea;

namespace qb::letters {

inline constexpr const char* kPreviewDrawError = "There was an error drawing the preview";

class TRTFPreviewForm : public QDialog {
  public:
    TRTFPreviewForm(ContactHost& host, const QTextDocument& letter,
                    const richtext::PageSettings& page, QWidget* parent = nullptr);
    ~TRTFPreviewForm() override;

    int zoom() const { return zoom_; }
    int pageNumber() const { return pageNumber_; }
    int pageCount() const;
    // The merged letter now shown.
    const QTextDocument& merged() const { return *merged_; }
    // The screen pixels of a length in twips at zoom 100.
    static int screenPixels(int twips);

    void ZoomInClick();
    void ZoomOutClick();
    void PageWidthClick();
    void WholePageClick();
    void NextPageClick();
    void PriorPageClick();
    // Moves the main window's contact table and shows the new contact's letter from page 1.
    void MoveContact(int step);  // -2 first, -1 prior, 1 next, 2 last

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    class PaintBox;
    void remerge();
    void layOut();

    ContactHost& host_;
    std::unique_ptr<QTextDocument> letter_;
    richtext::PageSettings page_;
    std::unique_ptr<QTextDocument> merged_;
    std::unique_ptr<richtext::Paginator> pages_;
    int zoom_ = 100;
    int pageIndex_ = 0;
    int pageNumber_ = 1;
    QList<int> earlierPages_;
    bool activated_ = false;
    QScrollArea* scroll_;
    QWidget* panel_;
    PaintBox* paintBox_;
    QLabel* pageLabel_;
};

}  // namespace qb::letters
