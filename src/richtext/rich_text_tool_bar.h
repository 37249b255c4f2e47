// The tool bar bound to a letter editor: font, size and colour, the character styles,
// alignment, indents and the clipboard.
#pragma once

#include <QToolBar>

class QAction;
class QActionGroup;
class QComboBox;
class QFontComboBox;
class QTextCharFormat;

namespace qb::richtext {

class RichTextEditor;

class RichTextToolBar : public QToolBar {
    Q_OBJECT
  public:
    explicit RichTextToolBar(RichTextEditor* editor, QWidget* parent = nullptr);

    // The sizes the size list offers; any size from 6 up may be typed.
    static QList<int> listedSizes();

  private:
    void applyChars(const QTextCharFormat& format);
    void showFormat(const QTextCharFormat& format);
    void showAlignment();
    void indent(int steps);
    QAction* addToggle(const QString& name, const QString& text, const QString& tip);

    RichTextEditor* editor_;
    QFontComboBox* font_;
    QComboBox* size_;
    QComboBox* color_;
    QAction* bold_;
    QAction* italic_;
    QAction* underline_;
    QActionGroup* alignment_;
};

}  // namespace qb::richtext
