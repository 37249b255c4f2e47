// The scripted responder that every dialog test relies on: answers in order, records texts
// and captions, and reports prompts that were not scripted or scripted answers never asked.
#include "controls/scripted_prompts.h"
#include "controls/prompts.h"

#include <gtest/gtest.h>
#include <QPageSize>
#include <QPrinter>

namespace qb {
namespace {

struct Failures {
    QStringList messages;
    ScriptedPrompts::FailureHandler handler() {
        return [this](const QString& m) { messages << m; };
    }
};

TEST(ScriptedPrompts, AnswersInOrderAndRecordsWhatWasShown) {
    Failures failures;
    ScriptedPrompts script(failures.handler());
    script.acknowledge(QStringLiteral("Must be a DBF file"))
        .answerYes()
        .answerNo(QStringLiteral("Cancel PRESORT?"))
        .answerInput(QStringLiteral("Smith"))
        .answerInput(std::nullopt)
        .answerOpenFile(QStringLiteral("/tmp/a.dbf"))
        .answerSaveFile(std::nullopt)
        .answerFont(QFont(QStringLiteral("Times New Roman"), 12));
    ScopedPrompts scoped(script);

    prompts().information(nullptr, QStringLiteral("Must be a DBF file"));
    EXPECT_TRUE(prompts().confirm(nullptr, QStringLiteral("Confirm"), QStringLiteral("Exit now?")));
    EXPECT_FALSE(
        prompts().confirm(nullptr, QStringLiteral("Presort"), QStringLiteral("Cancel PRESORT?")));
    EXPECT_EQ(
        prompts().inputText(nullptr, QStringLiteral("Search"), QStringLiteral("Last name:"), {}),
        QStringLiteral("Smith"));
    EXPECT_FALSE(
        prompts().inputText(nullptr, QStringLiteral("Search"), QStringLiteral("Date:"), {}));
    FileDialogRequest open;
    open.caption = QStringLiteral("Open");
    EXPECT_EQ(prompts().openFile(nullptr, open), QStringLiteral("/tmp/a.dbf"));
    EXPECT_FALSE(prompts().saveFile(nullptr, open));
    const auto font =
        prompts().chooseFont(nullptr, QFont(QStringLiteral("Arial")), QStringLiteral("Font"));
    ASSERT_TRUE(font);
    EXPECT_EQ(font->family(), QStringLiteral("Times New Roman"));

    EXPECT_TRUE(failures.messages.isEmpty()) << qPrintable(failures.messages.join('\n'));
    EXPECT_EQ(script.pending(), 0);
    ASSERT_EQ(script.asked().size(), 8);
    EXPECT_EQ(script.asked()[0].kind, PromptKind::Information);
    EXPECT_EQ(script.asked()[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(script.asked()[1].caption, QStringLiteral("Confirm"));
    EXPECT_EQ(script.asked()[1].text, QStringLiteral("Exit now?"));
    EXPECT_EQ(script.asked()[3].text, QStringLiteral("Last name:"));
    EXPECT_EQ(script.askedTexts().at(2), QStringLiteral("Cancel PRESORT?"));
}

TEST(ScriptedPrompts, AThreeWayQuestionTakesYesNoOrCancelButAPlainOneNoCancel) {
    Failures failures;
    ScriptedPrompts script(failures.handler());
    script.answerYes().answerNo().answerCancel(QStringLiteral("Save changes?")).answerCancel();
    ScopedPrompts scoped(script);
    const QString caption = QStringLiteral("Confirm"), text = QStringLiteral("Save changes?");
    EXPECT_EQ(prompts().confirmOrCancel(nullptr, caption, text), Prompts::Answer::Yes);
    EXPECT_EQ(prompts().confirmOrCancel(nullptr, caption, text), Prompts::Answer::No);
    EXPECT_EQ(prompts().confirmOrCancel(nullptr, caption, text), Prompts::Answer::Cancel);
    EXPECT_TRUE(failures.messages.isEmpty()) << qPrintable(failures.messages.join('\n'));
    EXPECT_EQ(script.asked()[0].kind, PromptKind::ConfirmOrCancel);
    // A Yes/No question has no Cancel to press.
    EXPECT_FALSE(prompts().confirm(nullptr, caption, text));
    ASSERT_EQ(failures.messages.size(), 1);
    EXPECT_TRUE(failures.messages[0].contains(QStringLiteral("yes/no/cancel question next")));
}

TEST(ScriptedPrompts, APromptNobodyScriptedFailsClearly) {
    Failures failures;
    ScriptedPrompts script(failures.handler());
    ScopedPrompts scoped(script);
    EXPECT_FALSE(prompts().confirm(nullptr, QStringLiteral("Confirm"),
                                   QStringLiteral("Delete this record?")));
    ASSERT_EQ(failures.messages.size(), 1);
    EXPECT_TRUE(failures.messages[0].contains(QStringLiteral("unscripted confirmation question")));
    EXPECT_TRUE(failures.messages[0].contains(QStringLiteral("Delete this record?")));
    // It is still recorded, so the test can tell what came.
    EXPECT_EQ(script.asked().size(), 1);
}

TEST(ScriptedPrompts, TheWrongKindOrTheWrongTextFails) {
    Failures failures;
    {
        ScriptedPrompts script(failures.handler());
        script.answerYes().acknowledge(QStringLiteral("expected text"));
        ScopedPrompts scoped(script);
        prompts().information(nullptr, QStringLiteral("an information"));
        prompts().information(nullptr, QStringLiteral("another text"));
    }
    ASSERT_EQ(failures.messages.size(), 2);
    EXPECT_TRUE(failures.messages[0].contains(
        QStringLiteral("scripted confirmation question next, but information message came")));
    EXPECT_TRUE(failures.messages[1].contains(
        QStringLiteral("\"another text\", expected \"expected text\"")));
}

TEST(ScriptedPrompts, AnswersLeftOverAreReportedWhenTheScriptEnds) {
    Failures failures;
    {
        ScriptedPrompts script(failures.handler());
        script.acknowledge().answerNo();
    }
    ASSERT_EQ(failures.messages.size(), 1);
    EXPECT_TRUE(failures.messages[0].contains(
        QStringLiteral("never asked for: information message, confirmation question")));
    {
        ScriptedPrompts script(failures.handler());
        script.acknowledge();
        script.clearScript();
    }
    EXPECT_EQ(failures.messages.size(), 1);
}

TEST(ScriptedPrompts, WhenShownRunsBeforeTheAnswer) {
    Failures failures;
    ScriptedPrompts script(failures.handler());
    int seen = 0;
    script.answerYes().whenShown([&] { seen = static_cast<int>(script.asked().size()); });
    ScopedPrompts scoped(script);
    prompts().confirm(nullptr, QStringLiteral("Confirm"), QStringLiteral("Cancel Count?"));
    EXPECT_EQ(seen, 1);
}

TEST(ScriptedPrompts, PrintDialogAnswersEditTheDevice) {
    Failures failures;
    ScriptedPrompts script(failures.handler());
    script.answerPrintDialog({true, 4, std::make_pair(2, 9)})
        .answerPrintDialog({true, std::nullopt, std::nullopt})
        .answerPrintDialog({false, 7, std::nullopt});
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    EXPECT_TRUE(script.printDialog(nullptr, printer));
    EXPECT_EQ(printer.copyCount(), 4);
    EXPECT_EQ(printer.printRange(), QPrinter::PageRange);
    EXPECT_EQ(printer.fromPage(), 2);
    EXPECT_EQ(printer.toPage(), 9);
    EXPECT_TRUE(script.printDialog(nullptr, printer));
    EXPECT_EQ(printer.printRange(), QPrinter::AllPages);
    EXPECT_EQ(printer.copyCount(), 4);
    EXPECT_FALSE(script.printDialog(nullptr, printer));
    EXPECT_EQ(printer.copyCount(), 4);
    EXPECT_TRUE(failures.messages.isEmpty());
}

TEST(ScriptedPrompts, PrinterSetupAnswersChooseAmongWhatIsOffered) {
    Failures failures;
    ScriptedPrompts script(failures.handler());
    script.answerPrinterSetup({true, QStringLiteral("A5"), QPageLayout::Landscape, {}, {}})
        .answerPrinterSetup({true, QStringLiteral("Napkin"), std::nullopt, {}, {}});
    PrinterSetupRequest request;
    request.printers = {QStringLiteral("PDF file")};
    request.printer = QStringLiteral("PDF file");
    request.papersOf = [](const QString&) { return QStringList{"Letter", "A5"}; };
    EXPECT_TRUE(script.printerSetupDialog(nullptr, request));
    EXPECT_EQ(request.paper, QStringLiteral("A5"));
    EXPECT_TRUE(request.landscape);
    script.printerSetupDialog(nullptr, request);
    ASSERT_EQ(failures.messages.size(), 1);
    EXPECT_TRUE(failures.messages[0].contains(QStringLiteral("Napkin")));
}

TEST(ScriptedPrompts, HelpRequestsAreRecordedWithoutAScript) {
    Failures failures;
    ScriptedPrompts script(failures.handler());
    ScopedPrompts scoped(script);
    prompts().showHelp(nullptr, 1038);
    ASSERT_EQ(script.asked().size(), 1);
    EXPECT_EQ(script.asked()[0].kind, PromptKind::Help);
    EXPECT_EQ(script.asked()[0].text, QStringLiteral("1038"));
    EXPECT_TRUE(failures.messages.isEmpty());
}

TEST(ScriptedPrompts, ScopesNestAndRestore) {
    Failures failures;
    ScriptedPrompts outer(failures.handler());
    ScriptedPrompts inner(failures.handler());
    outer.acknowledge(QStringLiteral("outer"));
    inner.acknowledge(QStringLiteral("inner"));
    {
        ScopedPrompts a(outer);
        {
            ScopedPrompts b(inner);
            prompts().information(nullptr, QStringLiteral("inner"));
        }
        prompts().information(nullptr, QStringLiteral("outer"));
    }
    EXPECT_EQ(inner.asked().size(), 1);
    EXPECT_EQ(outer.asked().size(), 1);
    EXPECT_TRUE(failures.messages.isEmpty());
}

TEST(FileFilters, PipeSeparatedFiltersBecomeQtFilters) {
    EXPECT_EQ(qtFileFilter(QStringLiteral("Quillbank Files|*.dbf")),
              QStringLiteral("Quillbank Files (*.dbf)"));
    EXPECT_EQ(qtFileFilter(QStringLiteral("Text|*.txt;*.csv|All|*.*")),
              QStringLiteral("Text (*.txt *.csv);;All (*.*)"));
    EXPECT_EQ(qtFileFilter(QStringLiteral("Images (*.png)")), QStringLiteral("Images (*.png)"));
}

}  // namespace
}  // namespace qb
