// Shared set-up of the contact report tests: contact files made from a few fields, the table
// opened as the main window has it, and report runs recorded into a report file and read back.
#pragma once

#include <gtest/gtest.h>

#include <QBuffer>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fixtures.h"
#include "output/printer_device.h"
#include "output/status_window.h"
#include "report_test_util.h"
#include "reports/pass_front_end.h"
#include "reports/report_job.h"
#include "store/contact_schema.h"
#include "store/dataset.h"
#include "xbase/work_area.h"

namespace reporttest {

// Field name to value; fields not named stay empty.
using Row = std::map<std::string, std::string>;

inline void writeContacts(const QString& path, const std::vector<Row>& rows) {
    const std::string p = path.toStdString();
    qb::createContactTable(p);
    xb::WorkArea a;
    a.use(p);
    for (const Row& row : rows) {
        a.append();
        for (const auto& [field, value] : row) {
            if (field == "MEMO")
                a.replace("MEMO", value);
            else
                a.putText(field, value);
        }
        a.post();
    }
    qb::buildContactTags(a);
    a.close();
}

// Runs preview passes without windows and keeps the pages they made.
class RecordingFrontEnd : public qb::PassFrontEnd {
  public:
    bool runPass(qb::TStatusWindow& window) override {
        if (beforePass) beforePass(window);
        return unshown.runPass(window);
    }
    void showPreview(QIODevice& stream, const QString& caption) override {
        shownCaption = caption;
        recorded = readBack(static_cast<QBuffer&>(stream).data());
    }
    std::function<void(qb::TStatusWindow&)> beforePass;
    qb::UnshownPassFrontEnd unshown;
    QString shownCaption;
    Recorded recorded;
};

class ReportsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qb::Dataset::setHideMarkedRecords(true);
        qb::PrinterDevice::releaseShared();
    }
    void TearDown() override {
        table.reset();
        prompts.verify();
        qb::PrinterDevice::releaseShared();
    }

    // The table on a contact file of these rows, in last-name order with the deletion
    // exclusion, as the main window keeps it.
    qb::Dataset& open(const std::vector<Row>& rows) {
        table.reset();
        const QString file = home.file(QStringLiteral("CONTACTS.DBF"));
        writeContacts(file, rows);
        table = std::make_unique<qb::Dataset>();
        table->open(file);
        table->setOrderTag(QStringLiteral("LNAME"));
        table->setSelection(QString::fromLatin1(qb::kDeletionExclusion));
        table->first();
        return *table;
    }

    // A preview run of the request; the pages it made.
    Recorded preview(qb::reports::ReportRequest request) {
        request.preview = true;
        RecordingFrontEnd frontEnd;
        last = qb::reports::DoPrint(*table, request, frontEnd, nullptr);
        if (last.outcome == qb::reports::ReportOutcome::Completed)
            EXPECT_EQ(frontEnd.shownCaption, "Preview Report");
        return frontEnd.recorded;
    }

    // The texts of every page, in drawing order.
    static QStringList allTexts(const Recorded& run) {
        QStringList texts;
        for (const auto& page : run.pages)
            texts += textsOf(page);
        return texts;
    }

    qb::test::ProgramFolder home;
    qb::test::PromptScript prompts;
    qb::ScriptedPrompts& script = prompts.script;
    std::unique_ptr<qb::Dataset> table;
    qb::reports::ReportResult last;
};

}  // namespace reporttest
