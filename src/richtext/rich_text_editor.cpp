// The letter editor widget.
#include "richtext/rich_text_editor.h"

#include <QTextDocument>

#include "richtext/rtf_writer.h"

namespace qb::richtext {

RichTextEditor::RichTextEditor(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(true);
    setTabChangesFocus(false);  // a tab key types a tab
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    clearText();
}

void RichTextEditor::fitToPage() {
    // Lines wrap as wide as the page's text area at the screen's nominal size, so the letter
    // looks as it will be paged.
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(std::max(1, int(page_.textWidth() / kTwipsPerUnit)));
    QTextOption option = document()->defaultTextOption();
    option.setTabStopDistance(720 / kTwipsPerUnit);
    document()->setDefaultTextOption(option);
}

void RichTextEditor::setPageSettings(const PageSettings& page) {
    page_ = page;
    fitToPage();
}

RtfReadResult RichTextEditor::loadRtf(QByteArrayView bytes) {
    RtfReadResult result = readRtf(bytes, *document(), page_);
    fitToPage();
    moveCursor(QTextCursor::Start);
    return result;
}

QByteArray RichTextEditor::saveRtf() const {
    return writeRtf(*document(), page_);
}

void RichTextEditor::clearText() {
    document()->clear();
    prepareLetterDocument(*document());
    QTextCharFormat start;
    start.setFont(document()->defaultFont());
    setCurrentCharFormat(start);
    fitToPage();
}

void RichTextEditor::copyFrom(const RichTextEditor& other) {
    loadRtf(other.saveRtf());
}

}  // namespace qb::richtext
