// The letter editor's tool bar: every control acts on the editor's selection (or what is typed
// next) and shows the format at the caret.
#include "richtext/rich_text_tool_bar.h"

#include <QActionGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>

#include "richtext/rich_text_editor.h"

namespace qb::richtext {
namespace {

// The colours a letter is written in: the sixteen basic ones, black first.
const struct {
    const char* name;
    QRgb rgb;
} kColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x800000},  {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},   {"Purple", 0x800080},  {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},     {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},  {"White", 0xFFFFFF}};

constexpr double kIndentStep = 720 / kTwipsPerUnit;  // half an inch

}  // namespace

QList<int> RichTextToolBar::listedSizes() {
    return {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
}

QAction* RichTextToolBar::addToggle(const QString& name, const QString& text, const QString& tip) {
    QAction* action = addAction(text);
    action->setObjectName(name);
    action->setToolTip(tip);
    action->setCheckable(true);
    return action;
}

RichTextToolBar::RichTextToolBar(RichTextEditor* editor, QWidget* parent)
    : QToolBar(parent), editor_(editor) {
    setObjectName(QStringLiteral("RichTextToolBar"));

    font_ = new QFontComboBox(this);
    font_->setObjectName(QStringLiteral("FontName"));
    font_->setToolTip(QStringLiteral("Font"));
    addWidget(font_);
    connect(font_, &QFontComboBox::textActivated, this, [this](const QString& family) {
        QTextCharFormat f;
        f.setFontFamilies({family});
        applyChars(f);
    });

    size_ = new QComboBox(this);
    size_->setObjectName(QStringLiteral("FontSize"));
    size_->setToolTip(QStringLiteral("Font Size"));
    size_->setEditable(true);
    for (int s : listedSizes())
        size_->addItem(QString::number(s));
    addWidget(size_);
    connect(size_, &QComboBox::textActivated, this, [this](const QString& text) {
        bool ok = false;
        const double points = text.toDouble(&ok);
        if (!ok || points < 6 || points > 1638) {
            showFormat(editor_->currentCharFormat());
            return;
        }
        QTextCharFormat f;
        f.setFontPointSize(points);
        applyChars(f);
    });

    color_ = new QComboBox(this);
    color_->setObjectName(QStringLiteral("FontColor"));
    color_->setToolTip(QStringLiteral("Font Color"));
    for (const auto& c : kColors) {
        QPixmap swatch(12, 12);
        swatch.fill(QColor(c.rgb));
        color_->addItem(QIcon(swatch), QString::fromLatin1(c.name), QColor(c.rgb));
    }
    addWidget(color_);
    connect(color_, &QComboBox::activated, this, [this](int index) {
        QTextCharFormat f;
        f.setForeground(color_->itemData(index).value<QColor>());
        applyChars(f);
    });

    addSeparator();
    QAction* normal = addAction(QStringLiteral("Normal"));
    normal->setObjectName(QStringLiteral("StyleNormal"));
    normal->setToolTip(QStringLiteral("Normal"));
    connect(normal, &QAction::triggered, this, [this] {
        QTextCharFormat f;
        f.setFontWeight(QFont::Normal);
        f.setFontItalic(false);
        f.setFontUnderline(false);
        applyChars(f);
    });
    bold_ = addToggle(QStringLiteral("StyleBold"), QStringLiteral("B"), QStringLiteral("Bold"));
    connect(bold_, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        applyChars(f);
    });
    italic_ =
        addToggle(QStringLiteral("StyleItalic"), QStringLiteral("I"), QStringLiteral("Italic"));
    connect(italic_, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontItalic(on);
        applyChars(f);
    });
    underline_ = addToggle(QStringLiteral("StyleUnderline"), QStringLiteral("U"),
                           QStringLiteral("Underline"));
    connect(underline_, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontUnderline(on);
        applyChars(f);
    });

    addSeparator();
    alignment_ = new QActionGroup(this);
    const struct {
        const char* name;
        const char* text;
        Qt::Alignment align;
    } aligns[] = {{"AlignLeft", "Left", Qt::AlignLeft},
                  {"AlignCenter", "Center", Qt::AlignHCenter},
                  {"AlignRight", "Right", Qt::AlignRight}};
    for (const auto& a : aligns) {
        QAction* action = addToggle(QString::fromLatin1(a.name), QString::fromLatin1(a.text),
                                    QStringLiteral("Align ") + QString::fromLatin1(a.text));
        action->setData(int(a.align));
        alignment_->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, align = a.align] { editor_->setAlignment(align); });
    }
    QAction* less = addAction(QStringLiteral("Outdent"));
    less->setObjectName(QStringLiteral("IndentLess"));
    connect(less, &QAction::triggered, this, [this] { indent(-1); });
    QAction* more = addAction(QStringLiteral("Indent"));
    more->setObjectName(QStringLiteral("IndentMore"));
    connect(more, &QAction::triggered, this, [this] { indent(1); });

    addSeparator();
    const struct {
        const char* name;
        void (QTextEdit::*slot)();
    } clipboard[] = {
        {"Copy", &QTextEdit::copy}, {"Cut", &QTextEdit::cut}, {"Paste", &QTextEdit::paste}};
    for (const auto& c : clipboard) {
        QAction* action = addAction(QString::fromLatin1(c.name));
        action->setObjectName(QStringLiteral("Edit") + QString::fromLatin1(c.name));
        connect(action, &QAction::triggered, editor_, c.slot);
    }

    connect(editor_, &QTextEdit::currentCharFormatChanged, this, &RichTextToolBar::showFormat);
    connect(editor_, &QTextEdit::cursorPositionChanged, this, &RichTextToolBar::showAlignment);
    showFormat(editor_->currentCharFormat());
    showAlignment();
}

void RichTextToolBar::applyChars(const QTextCharFormat& format) {
    editor_->mergeCurrentCharFormat(format);
    editor_->setFocus();
}

void RichTextToolBar::showFormat(const QTextCharFormat& format) {
    const QFont font = format.font().resolve(editor_->document()->defaultFont());
    {
        const QSignalBlocker block(font_);
        font_->setCurrentFont(font);
    }
    {
        const QSignalBlocker block(size_);
        size_->setEditText(QString::number(font.pointSizeF()));
    }
    {
        const QSignalBlocker block(color_);
        const QColor color = format.hasProperty(QTextFormat::ForegroundBrush)
                                 ? format.foreground().color()
                                 : QColor(Qt::black);
        const int index = color_->findData(QColor(color.rgb()));
        color_->setCurrentIndex(index);
    }
    bold_->setChecked(font.weight() >= QFont::DemiBold);
    italic_->setChecked(font.italic());
    underline_->setChecked(font.underline());
}

void RichTextToolBar::showAlignment() {
    const Qt::Alignment align = editor_->alignment() & Qt::AlignHorizontal_Mask;
    for (QAction* action : alignment_->actions())
        action->setChecked(Qt::Alignment(action->data().toInt()) == align ||
                           (align == Qt::AlignLeading && action->data().toInt() == Qt::AlignLeft));
}

void RichTextToolBar::indent(int steps) {
    QTextCursor cursor = editor_->textCursor();
    QTextDocument* doc = editor_->document();
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    cursor.beginEditBlock();
    for (QTextBlock b = doc->findBlock(cursor.selectionStart()); b.isValid(); b = b.next()) {
        QTextBlockFormat f = b.blockFormat();
        f.setLeftMargin(std::max(0.0, f.leftMargin() + steps * kIndentStep));
        QTextCursor(b).setBlockFormat(f);
        if (b == last) break;
    }
    cursor.endEditBlock();
}

}  // namespace qb::richtext
