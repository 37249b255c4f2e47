// The letter editor, its tool bar and the finder the merge uses.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QTextBlock>
#include <QTextDocument>

#include "richtext/rich_text_editor.h"
#include "richtext/rich_text_tool_bar.h"
#include "richtext/text_finder.h"

using namespace qb::richtext;

namespace {

struct EditorWithBar {
    RichTextEditor editor;
    RichTextToolBar bar{&editor};
    QAction* action(const char* name) { return bar.findChild<QAction*>(QLatin1String(name)); }
    QComboBox* combo(const char* name) { return bar.findChild<QComboBox*>(QLatin1String(name)); }
    void select(int from, int to) {
        QTextCursor c(editor.document());
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        editor.setTextCursor(c);
    }
    QTextCharFormat charsAt(int position) {
        QTextCursor c(editor.document());
        c.setPosition(position + 1);
        return c.charFormat();
    }
};

TEST(RichTextToolBar, FormatsTheSelectionAndShowsTheFormatAtTheCaret) {
    EditorWithBar e;
    e.editor.insertPlainText(QStringLiteral("Dear friend\nsecond"));
    e.select(5, 11);  // "friend"
    e.action("StyleBold")->trigger();
    e.action("StyleUnderline")->trigger();
    e.combo("FontSize")->setEditText(QStringLiteral("18"));
    emit e.combo("FontSize")->textActivated(QStringLiteral("18"));
    emit e.combo("FontColor")->activated(e.combo("FontColor")->findText(QStringLiteral("Red")));
    e.action("AlignCenter")->trigger();
    e.action("IndentMore")->trigger();

    const QTextCharFormat friendChars = e.charsAt(6);
    EXPECT_EQ(friendChars.fontWeight(), QFont::Bold);
    EXPECT_TRUE(friendChars.fontUnderline());
    EXPECT_EQ(friendChars.fontPointSize(), 18.0);
    EXPECT_EQ(friendChars.foreground().color(), QColor(Qt::red));
    EXPECT_NE(e.charsAt(1).fontWeight(), QFont::Bold) << "only the selection changes";
    const QTextBlock first = e.editor.document()->firstBlock();
    EXPECT_EQ(first.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(unitsToTwips(first.blockFormat().leftMargin()), 720);
    EXPECT_EQ(unitsToTwips(first.next().blockFormat().leftMargin()), 0);

    // The bar follows the caret.
    e.select(1, 1);
    EXPECT_FALSE(e.action("StyleBold")->isChecked());
    EXPECT_EQ(e.combo("FontSize")->currentText(), QStringLiteral("12"));
    e.select(7, 7);
    EXPECT_TRUE(e.action("StyleBold")->isChecked());
    EXPECT_TRUE(e.action("AlignCenter")->isChecked());
    EXPECT_EQ(e.combo("FontSize")->currentText(), QStringLiteral("18"));
    EXPECT_EQ(e.combo("FontColor")->currentText(), QStringLiteral("Red"));

    // Normal clears the styles; sizes below 6 are not taken.
    e.select(5, 11);
    emit e.combo("FontSize")->textActivated(QStringLiteral("4"));
    e.action("StyleNormal")->trigger();
    EXPECT_EQ(e.charsAt(6).fontPointSize(), 18.0);
    EXPECT_NE(e.charsAt(6).fontWeight(), QFont::Bold);
    EXPECT_FALSE(e.charsAt(6).fontUnderline());
}

TEST(RichTextEditor, KeepsThePageThroughLoadSaveAndCopy) {
    RichTextEditor editor;
    EXPECT_EQ(editor.pageSettings(), PageSettings{});
    EXPECT_EQ(editor.lineWrapColumnOrWidth(), 624) << "6.5 inches at 96 per inch";
    const PageSettings a4{11906, 16838, 1134, 1134, 1134, 1134};
    editor.setPageSettings(a4);
    editor.insertPlainText(QStringLiteral("A\tB"));
    EXPECT_EQ(editor.lineWrapColumnOrWidth(), 642);

    RichTextEditor copy;
    copy.copyFrom(editor);
    EXPECT_EQ(copy.pageSettings(), a4);
    EXPECT_EQ(copy.toPlainText(), QStringLiteral("A\tB"));
    EXPECT_EQ(copy.saveRtf(), editor.saveRtf());
    copy.clearText();
    EXPECT_TRUE(copy.toPlainText().isEmpty());
    EXPECT_EQ(copy.pageSettings(), a4);
    EXPECT_EQ(copy.currentCharFormat().font().family(), QStringLiteral("Times New Roman"));
}

TEST(TextFinder, FindsEachOccurrenceOnceWithCaseAndGoesOnAfterReplacement) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("[First] and [first] and [First]"));
    TextFinder finder(doc);
    int replaced = 0;
    for (QTextCursor c = finder.findNext(QStringLiteral("[First]")); !c.isNull();
         c = finder.findNext(QStringLiteral("[First]"))) {
        c.insertText(QStringLiteral("x[First]y"));  // a value holding its own token
        ASSERT_LT(++replaced, 5);
    }
    EXPECT_EQ(replaced, 2);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("x[First]y and [first] and x[First]y"));
    finder.reset();
    EXPECT_EQ(finder.findNext(QStringLiteral("[First]")).selectionStart(), 1);
}

}  // namespace
