// One print or preview of labels: the record scope and what is put back afterwards, the
// presort and its cancelling, the presort order notice, and the paper-size check.
#include <QBuffer>
#include <functional>

#include "labels/label_job.h"
#include "labels/label_print.h"
#include "labels_fixture.h"
#include "presort/bulk_mail_presort.h"

namespace {

using namespace labelstest;
using qb::ScopeChoice;
using qb::labels::DoPrint;
using qb::labels::LabelJobOutcome;
using qb::labels::LabelJobRequest;

class Quiet : public qb::presort::PresortObserver {
  public:
    void showProgress(const QString&) override {}
    bool cancelRequested() override { return cancel; }
    bool cancel = false;
};

// Runs presorts and passes without windows and keeps what a preview would show.
class TestFrontEnd : public qb::labels::LabelJobFrontEnd {
  public:
    bool runPresort(qb::Dataset& contacts, const QString& folder) override {
        ++presorts;
        Quiet quiet;
        quiet.cancel = cancelPresort;
        qb::presort::BulkMailPresort run(quiet);
        return run.run(contacts.area(), folder);
    }
    bool runPass(qb::labels::TLabelPrint& window) override {
        ++passes;
        window.RunUnshown();
        status = window.Engine().StatusFormat();
        return true;
    }
    void showPreview(QIODevice& stream) override {
        QBuffer copy;
        copy.setData(static_cast<QBuffer&>(stream).data());
        copy.open(QIODevice::ReadOnly);
        qb::ReportFileReader reader(copy, QStringLiteral("preview"));
        header = reader.header();
        texts.clear();
        for (int p = header.firstPage; p <= header.lastPage; ++p)
            for (const qb::TextOp& t : opsOf<qb::TextOp>(reader.readPage(p)))
                texts << t.text;
    }

    bool cancelPresort = false;
    int presorts = 0;
    int passes = 0;
    QString status;
    qb::ReportFileHeader header;
    QStringList texts;
};

class LabelJob : public LabelsTest {
  protected:
    LabelJobOutcome run(LabelJobRequest request) {
        request.preview = true;
        return DoPrint(host->table, folder, request, presortDone, frontEnd, nullptr);
    }
    QStringList namesPrinted() const {
        QStringList names;
        for (const QString& t : frontEnd.texts)
            if (t.startsWith(QStringLiteral("Pat "))) names << t.mid(4).trimmed();
        return names;
    }

    TestFrontEnd frontEnd;
    bool presortDone = false;
};

TEST_F(LabelJob, ScopesPrintTheirRecordsAndTheTableIsPutBack) {
    FakeHost& h = openContacts(numbered(5));
    h.table.setSelection(QStringLiteral("LNAME>=\"P003\" .and. ") +
                         QString::fromLatin1(qb::kDeletionExclusion));
    h.table.first();
    h.table.next();  // P004
    const uint32_t record = h.table.recNo();
    const QString selection = h.table.selection();

    LabelJobRequest r;
    r.scope = ScopeChoice::MatchingFilter;
    EXPECT_EQ(run(r), LabelJobOutcome::Completed);
    EXPECT_EQ(namesPrinted(), (QStringList{"P003", "P004", "P005"}));
    EXPECT_EQ(h.table.recNo(), record);
    EXPECT_EQ(h.table.selection(), selection);
    EXPECT_EQ(h.table.orderTag(), QStringLiteral("LNAME"));

    r.scope = ScopeChoice::AllRecords;
    run(r);
    EXPECT_EQ(namesPrinted().size(), 5);

    r.scope = ScopeChoice::OnlyCurrent;
    r.startFromCurrent = true;
    run(r);
    EXPECT_EQ(namesPrinted(), QStringList{"P004"});

    r.scope = ScopeChoice::AllRecords;
    run(r);
    EXPECT_EQ(namesPrinted(), (QStringList{"P004", "P005"}));
    EXPECT_EQ(frontEnd.status, QStringLiteral("Printing Page %p\r%0\r%1"));
    EXPECT_EQ(h.table.recNo(), record);
    EXPECT_EQ(h.table.selection(), selection);
}

TEST_F(LabelJob, AStartRecordOutsideTheScopeStartsAtTheFirstOne) {
    FakeHost& h = openContacts(numbered(4));
    h.table.last();  // P004
    // A filter that leaves the current record out, put in force behind the table's back.
    const QString filtered =
        QStringLiteral("LNAME<\"P003\" .and. ") + QString::fromLatin1(qb::kDeletionExclusion);
    LabelJobRequest r;
    r.scope = ScopeChoice::MatchingFilter;
    r.startFromCurrent = true;
    h.table.area().query(filtered.toStdString());
    script.acknowledge(
        QStringLiteral("Current record is out of range. Starting with first record"));
    EXPECT_EQ(run(r), LabelJobOutcome::Completed);
    EXPECT_EQ(namesPrinted(), (QStringList{"P001", "P002"}));
}

TEST_F(LabelJob, ACancelledPresortPrintsNothingAndPutsTheTableBack) {
    FakeHost& h = openContacts(numbered(20, "12345"));
    h.table.next();
    const uint32_t record = h.table.recNo();
    LabelJobRequest r;
    r.scope = ScopeChoice::AllRecords;
    r.presort = true;
    frontEnd.cancelPresort = true;
    EXPECT_EQ(run(r), LabelJobOutcome::PresortCancelled);
    EXPECT_EQ(frontEnd.passes, 0);
    EXPECT_FALSE(presortDone);
    EXPECT_EQ(h.table.recNo(), record);
    EXPECT_EQ(h.table.orderTag(), QStringLiteral("LNAME"));
    EXPECT_EQ(h.table.selection(), QString::fromLatin1(qb::kDeletionExclusion));

    // A completed presort is kept for the next run; the order notice comes each time.
    frontEnd.cancelPresort = false;
    const QString notice = QString::fromLatin1(qb::labels::kPresortOrderMessage);
    script.acknowledge(notice).acknowledge(notice);
    EXPECT_EQ(run(r), LabelJobOutcome::Completed);
    EXPECT_TRUE(presortDone);
    EXPECT_EQ(run(r), LabelJobOutcome::Completed);
    EXPECT_EQ(frontEnd.presorts, 2);
    EXPECT_EQ(frontEnd.texts.front(), QStringLiteral("** 5-digit 12345"));
    EXPECT_EQ(namesPrinted().size(), 20);
    EXPECT_EQ(h.table.orderTag(), QStringLiteral("LNAME"));
    EXPECT_EQ(h.table.recNo(), record);
}

TEST_F(LabelJob, ASetupTheDesignerCouldNotHaveMadeIsRefusedBeforeAnythingRuns) {
    openContacts(numbered(2));
    using S = qb::labels::LabelSetup;
    const std::vector<std::pair<std::function<void(S&)>, const char*>> cases = {
        {[](S& s) { s.nbrAcross = 0; }, "Number Across must be from 1 to 10"},
        {[](S& s) { s.nbrAcross = 999; }, "Number Across must be from 1 to 10"},
        {[](S& s) { s.nbrDown = 0; }, "Number Down must be from 1 to 30"},
        {[](S& s) { s.horizPitch = 0; }, "Horizontal Pitch must be at least = Label Width"},
        {[](S& s) { s.vertPitch = -1; }, "Vertical Pitch must be at least = Label Height"},
        {[](S& s) { s.fontSize = 0; }, "Font size must be from 6 to 36 points"},
        {[](S& s) { s.fontSize = 999; }, "Font size must be from 6 to 36 points"},
        {[](S& s) { s.leftMarg = -0.5f; }, "Left Margin must not be negative"},
        {[](S& s) { s.topMarg = -0.5f; }, "Top Margin must not be negative"},
        {[](S& s) { s.yOffset = -0.1f; }, "The text offsets must not be negative"},
    };
    for (const auto& [change, fault] : cases) {
        LabelJobRequest r;
        r.scope = ScopeChoice::AllRecords;
        change(r.setup);
        script.acknowledge(QStringLiteral("The label setup \"Default Label Setup\" cannot be "
                                          "printed:\r\n") +
                           QLatin1String(fault) +
                           QStringLiteral("\r\nPlease correct it with Modify."));
        EXPECT_EQ(run(r), LabelJobOutcome::SetupRefused) << fault;
    }
    EXPECT_EQ(frontEnd.passes, 0);
}

TEST_F(LabelJob, PaperTheStockDoesNotMatchIsQuestioned) {
    openContacts(numbered(2));
    LabelJobRequest r;
    r.scope = ScopeChoice::AllRecords;
    // Stock on A4 paper that says it is 8.5 by 11 inches.
    r.setup.paperSize = QStringLiteral("A4");
    const QString question = QStringLiteral(
        "Quillbank was unable to confirm that the paper size was set to\r\n\r\n8.50\" by "
        "11.00\"\r\n\r\n(you may have the wrong printer selected)\r\n\r\nWould you like to "
        "try printing anyways?");
    script.answerNo(question);
    EXPECT_EQ(run(r), LabelJobOutcome::PaperRefused);
    EXPECT_EQ(frontEnd.passes, 0);
    script.answerYes(question);
    EXPECT_EQ(run(r), LabelJobOutcome::Completed);
    EXPECT_NEAR(frontEnd.header.pageWidth, 8.27, 0.01);

    // Landscape and custom stock get the paper they describe, and no question.
    r.setup.paperSize = QStringLiteral("LTRL");
    r.setup.sheetWidth = 11;
    r.setup.sheetDepth = 8.5f;
    EXPECT_EQ(run(r), LabelJobOutcome::Completed);
    EXPECT_NEAR(frontEnd.header.pageWidth, 11, 0.01);
    EXPECT_NEAR(frontEnd.header.pageHeight, 8.5, 0.01);
    r.setup.paperSize = QStringLiteral("USERP");
    r.setup.sheetWidth = 4;
    r.setup.sheetDepth = 6;
    EXPECT_EQ(run(r), LabelJobOutcome::Completed);
    EXPECT_NEAR(frontEnd.header.pageWidth, 4, 0.01);
    EXPECT_NEAR(frontEnd.header.pageHeight, 6, 0.01);
    EXPECT_EQ(qb::labels::paperCodeFor(QStringLiteral("A5")), 11);
}

}  // namespace
