// The letter editor: a text edit over the document model that knows its page settings, loads
// and saves RTF, and shows lines as wide as the page's text area.
#pragma once

#include <QTextEdit>

#include "richtext/page_settings.h"
#include "richtext/rtf_reader.h"

namespace qb::richtext {

class RichTextEditor : public QTextEdit {
    Q_OBJECT
  public:
    explicit RichTextEditor(QWidget* parent = nullptr);

    const PageSettings& pageSettings() const { return page_; }
    void setPageSettings(const PageSettings& page);

    // Replaces text and page settings; the result's notice is for the caller to show.
    RtfReadResult loadRtf(QByteArrayView bytes);
    QByteArray saveRtf() const;
    // An empty letter: Times New Roman 12, the page kept.
    void clearText();
    // The other editor's whole letter and page, as it would be stored.
    void copyFrom(const RichTextEditor& other);

  private:
    void fitToPage();
    PageSettings page_;
};

}  // namespace qb::richtext
