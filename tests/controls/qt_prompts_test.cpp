// The real prompts: message boxes with the right caption, icon and buttons, driven by a timer
// that answers the modal box once it is up.
#include "controls/qt_prompts.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFontDialog>
#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace qb {
namespace {

struct SeenBox {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Answers the next message box with `button`, remembering what it showed.
void answerNextBox(SeenBox& seen, QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [&seen, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        box->button(button)->click();
    });
}

TEST(QtPrompts, InformationIsCaptionedInformationWithAnOkButton) {
    QtPrompts real;
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Ok);
    real.information(nullptr, QStringLiteral("There are no records in this file"));
    EXPECT_EQ(seen.caption, QStringLiteral("Information"));
    EXPECT_EQ(seen.text, QStringLiteral("There are no records in this file"));
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(QtPrompts, ConfirmationIsYesOrNo) {
    QtPrompts real;
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Yes);
    EXPECT_TRUE(real.confirm(nullptr, QStringLiteral("Quit"), QStringLiteral("Exit now?")));
    EXPECT_EQ(seen.caption, QStringLiteral("Quit"));
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    answerNextBox(seen, QMessageBox::No);
    EXPECT_FALSE(real.confirm(nullptr, QStringLiteral("Quit"), QStringLiteral("Exit now?")));
}

TEST(QtPrompts, ErrorsAreCaptionedError) {
    QtPrompts real;
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Ok);
    real.error(nullptr, QStringLiteral("Invalid Printer"));
    EXPECT_EQ(seen.caption, QStringLiteral("Error"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

TEST(QtPrompts, TheFontDialogOpensOnTheFontItIsGiven) {
    QtPrompts real;
    QFont seen;
    QTimer::singleShot(0, [&seen] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = dialog->currentFont();
        dialog->accept();
    });
    // A family the system knows by another name (a metric-compatible stand-in) as well.
    QFont initial(QStringLiteral("Arial"), 14);
    initial.setItalic(true);
    ASSERT_TRUE(real.chooseFont(nullptr, initial, QStringLiteral("Font")));
    EXPECT_EQ(seen.family(), QFontInfo(initial).family());
    EXPECT_EQ(seen.pointSize(), 14);
    EXPECT_TRUE(seen.italic());
    EXPECT_FALSE(seen.bold());
}

TEST(QtPrompts, HelpGoesToTheRegisteredHelpWindow) {
    QtPrompts real;
    int shown = 0;
    QtPrompts::setHelpHandler([&](QWidget*, int context) { shown = context; });
    real.showHelp(nullptr, 1032);
    EXPECT_EQ(shown, 1032);
    QtPrompts::setHelpHandler({});
}

}  // namespace
}  // namespace qb
