// The presort window: it starts the run when it comes up, closes itself with the outcome, and
// its Cancel button asks before it stops the run.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "controls/scripted_prompts.h"
#include "presort/presort_file.h"
#include "presort/sort_bulk_mail.h"
#include "presort_test_util.h"

using namespace presorttest;
using namespace qb::presort;

namespace {

class PresortWindow : public ::testing::Test {
  protected:
    void open(int records) {
        std::vector<Contact> rows;
        addCopies(rows, records, "12345");
        area.use(makeContactFile(dir, rows));
        area.query(qb::kDeletionExclusion);
    }

    QTemporaryDir dir;
    xb::WorkArea area;
    qb::ScriptedPrompts script;
};

TEST_F(PresortWindow, RunsWhenShownAndClosesItselfDone) {
    open(250);
    qb::ScopedPrompts scoped(script);
    TSortBulkMail window(area, dir.path() + u'/');
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Bulk Mail Presorting"));
    EXPECT_EQ(window.exec(), QDialog::Accepted);
    EXPECT_TRUE(window.Done());
    EXPECT_EQ(window.Label1()->text(), QString::fromLatin1(kSortingText));
    EXPECT_EQ(readPresortFile(dir.path()), (std::vector<std::string>{"** 5-digit 12345", "12345"}));
}

TEST_F(PresortWindow, CancelAsksAndAYesStopsWithoutAList) {
    open(3000);
    writeFileBytes(presortFilePath(dir.path()), "** Unknown\r\n00001\r\n");
    qb::ScopedPrompts scoped(script);
    script.answerNo(QString::fromLatin1(kCancelQuestion))
        .answerYes(QString::fromLatin1(kCancelQuestion));
    TSortBulkMail window(area, dir.path() + u'/');
    // Queued ahead of the run, so they are heard from inside its reading loop.
    QTimer::singleShot(0, [&window] {
        QTimer::singleShot(0, [&window] {
            window.CancelButton()->click();  // answered No: the run goes on
            QTimer::singleShot(0, [&window] { window.CancelButton()->click(); });
        });
    });
    EXPECT_EQ(window.exec(), QDialog::Rejected);
    EXPECT_FALSE(window.Done());
    EXPECT_EQ(script.pending(), 0);
    EXPECT_EQ(readFileBytes(presortFilePath(dir.path())), "** Unknown\r\n00001\r\n");
}

}  // namespace
