// The letter dialogs: page properties without drift, the preview's zoom, pages and contacts,
// and the letters dialog with its designer (a failed save keeps the designer and its text).
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "letters/letter_design.h"
#include "letters/letter_print.h"
#include "letters/letter_store.h"
#include "letters/letters_command.h"
#include "letters/page_prop.h"
#include "letters/qb_letters.h"
#include "letters/rtf_preview.h"
#include "letters_fixture.h"
#include "modal_guard.h"
#include "output/printer_catalog.h"
#include "richtext/paginator.h"
#include "richtext/rich_text_editor.h"

namespace {

using namespace letterstest;
namespace letters = qb::letters;
using letters::PageUnit;

template <typename T>
T* child(QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

TEST(PageProperties, UnitsShowTheHeldTwipsAndOnlyTypingChangesThem) {
    EXPECT_EQ(letters::showTwips(1000, PageUnit::Inch), QStringLiteral("0.69"));
    EXPECT_EQ(letters::showTwips(1000, PageUnit::Cm), QStringLiteral("1.76"));
    EXPECT_EQ(letters::readTwips(QStringLiteral("2.54"), PageUnit::Cm), 1440);
    EXPECT_EQ(letters::readTwips(QString(), PageUnit::Inch), 0);
    EXPECT_EQ(letters::readTwips(QStringLiteral("1x"), PageUnit::Inch), std::nullopt);

    qb::richtext::PageSettings page;
    page.paperWidth = 1000;
    letters::TPageProp dialog(page);
    QLineEdit* width = child<QLineEdit>(dialog, "PaperWidth");
    for (PageUnit unit : {PageUnit::Cm, PageUnit::Inch, PageUnit::Cm, PageUnit::Twips})
        dialog.setUnit(unit);
    EXPECT_EQ(width->text(), QStringLiteral("1000"));
    EXPECT_EQ(dialog.result(), page);

    dialog.setUnit(PageUnit::Inch);
    QLineEdit* left = child<QLineEdit>(dialog, "LeftMargin");
    left->setText(QStringLiteral("1.5"));
    emit left->textEdited(left->text());
    EXPECT_EQ(dialog.result().marginLeft, 2160);
    qb::test::PromptScript prompts;
    left->setText(QStringLiteral("1.5q"));
    emit left->textEdited(left->text());
    EXPECT_EQ(prompts.unexpected.size(), 1);
    prompts.unexpected.clear();
    EXPECT_EQ(dialog.result().marginLeft, 2160);
    prompts.verify();
}

class LetterDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        writeContacts(folder.file(QStringLiteral("people.dbf")),
                      {named("Ann", "Ames"), named("Bob", "Best")});
        host.table.open(folder.file(QStringLiteral("people.dbf")));
        host.table.first();
    }
    qb::test::ProgramFolder folder;
    FakeHost host{folder.path()};
};

TEST_F(LetterDialogs, PreviewZoomsPagesAndFollowsTheContacts) {
    QByteArray body = "Dear [First],";
    for (int i = 0; i < 80; ++i)
        body += "\\par Line " + QByteArray::number(i);
    Template t(rtfOf(body));
    letters::TRTFPreviewForm preview(host, t.doc, t.page);
    preview.MoveContact(-2);  // the first contact's letter, as the first showing merges it

    // Fit to width: the window's 608 pixels over the page's 816.
    EXPECT_EQ(preview.zoom(), 74);
    for (int expected : {92, 115, 143, 178, 178}) {
        preview.ZoomInClick();
        EXPECT_EQ(preview.zoom(), expected);
    }
    preview.PageWidthClick();
    for (int expected : {55, 41, 41}) {
        preview.ZoomOutClick();
        EXPECT_EQ(preview.zoom(), expected);
    }

    // The preview's pages are the print run's.
    const qb::richtext::Paginator printed(preview.merged(), t.page);
    ASSERT_EQ(preview.pageCount(), 2);
    EXPECT_EQ(printed.pageCount(), 2);
    EXPECT_TRUE(preview.merged().toPlainText().startsWith(QStringLiteral("Dear Ann,")));

    QLabel* label = child<QLabel>(preview, "PageLabel");
    preview.NextPageClick();
    preview.NextPageClick();
    EXPECT_EQ(preview.pageNumber(), 2);
    EXPECT_EQ(label->text(), QStringLiteral("Page 2"));
    preview.PriorPageClick();
    preview.PriorPageClick();
    EXPECT_EQ(preview.pageNumber(), 1);
    preview.NextPageClick();
    preview.MoveContact(1);
    EXPECT_EQ(preview.pageNumber(), 1);
    EXPECT_EQ(label->text(), QStringLiteral("Page 1"));
    EXPECT_TRUE(preview.merged().toPlainText().startsWith(QStringLiteral("Dear Bob,")));
    EXPECT_EQ(host.table.text(QStringLiteral("FNAME")), QStringLiteral("Bob"));
}

TEST_F(LetterDialogs, NewModifyAndDeleteLetters) {
    qb::test::PromptScript prompts;
    letters::TqBLetters dialog(host);
    ASSERT_TRUE(dialog.OpenLettersTable());
    dialog.show();
    EXPECT_FALSE(child<QPushButton>(dialog, "PrintNow")->isEnabled());

    qb::test::whenModal<letters::TLetterDesign>([](letters::TLetterDesign& d) {
        EXPECT_EQ(d.description(), QStringLiteral("{untitled}"));
        child<QLineEdit>(d, "Description")->setText(QStringLiteral("Thanks"));
        d.editor().insertPlainText(QStringLiteral("Hello "));
        d.FieldClick(2);
        d.SaveClick();
    });
    dialog.NewLetterClick();
    QTableWidget* grid = child<QTableWidget>(dialog, "LetterGrid");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("Thanks"));
    EXPECT_TRUE(child<QPushButton>(dialog, "PrintNow")->isEnabled());

    // A save the table refuses is told, and the designer stays with its text.
    qb::Dataset& table = dialog.lettersTable();
    const QString path = table.path();
    table.close();
    table.open(path, xb::UseMode::ReadOnly);
    table.first();
    bool stayed = false;
    qb::test::whenModal<letters::TLetterDesign>([&stayed](letters::TLetterDesign& d) {
        EXPECT_EQ(d.editor().toPlainText(), QStringLiteral("Hello [First]"));
        d.editor().insertPlainText(QStringLiteral("more "));
        d.SaveClick();
        stayed = d.isVisible() && d.editor().toPlainText().contains(QStringLiteral("more"));
        d.reject();
    });
    prompts.script.acknowledgeError();
    dialog.ModifyLetterClick();
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(prompts.script.askedTexts().last().startsWith(
        QStringLiteral("The letter could not be saved")))
        << prompts.script.askedTexts().join(u'|').toStdString();

    table.close();
    qb::Dataset::setHideMarkedRecords(true);  // as the program runs
    table.open(path, xb::UseMode::Exclusive);
    table.first();
    prompts.script.answerYes(QStringLiteral("Delete this record?"));
    dialog.DeleteLetterClick();
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_FALSE(child<QPushButton>(dialog, "ModifyLetter")->isEnabled());
    prompts.verify();
}

TEST_F(LetterDialogs, TheCommandStopsWithoutPrintersOrWithoutTheTable) {
    qb::test::PromptScript prompts;
    qb::PrinterCatalog::setMode(qb::PrinterCatalog::Mode::None);
    prompts.script.acknowledge(QString::fromLatin1(letters::kNoPrintersForLetters));
    letters::LettersClick(host);
    qb::PrinterCatalog::setMode(qb::PrinterCatalog::Mode::PdfOnly);

    const QByteArray junk("not a table");
    ASSERT_TRUE(qb::test::writeFileBytes(folder.file(QStringLiteral("QBMLTRS.DBF")), junk));
    prompts.script.acknowledge(QString::fromLatin1(letters::kUnableToOpenOrCreate));
    letters::LettersClick(host);
    EXPECT_EQ(qb::test::fileBytes(folder.file(QStringLiteral("QBMLTRS.DBF"))), junk);
    EXPECT_TRUE(host.eventsOn);
    prompts.verify();
}

}  // namespace
