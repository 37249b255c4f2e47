// Shared set-up of the label tests: a program folder with the shipped tables, contact files
// made from a few fields, a stand-in for the main window, scripted prompts, and label runs
// recorded into a report file and read back.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "controls/scripted_prompts.h"
#include "fake_host.h"
#include "fixtures.h"
#include "labels/label_setup.h"
#include "labels/label_sheet.h"
#include "labels_test_util.h"
#include "modal_guard.h"
#include "output/page_ops.h"
#include "output/printer_device.h"
#include "output/report_file.h"
#include "output/report_filer.h"
#include "store/contact_host.h"
#include "store/contact_schema.h"
#include "store/program_folder.h"
#include "xbase/work_area.h"

namespace labelstest {

struct Person {
    std::string last;
    std::string zip = "62704";
    std::string street = "100 Main St";
    std::string prefix = "";
    std::string city = "Springfield";
};

// A contact file with these people in record order and all its tags.
inline void writeContacts(const QString& path, const std::vector<Person>& people) {
    const std::string p = path.toStdString();
    qb::createContactTable(p);
    xb::WorkArea a;
    a.use(p);
    for (const Person& x : people) {
        a.append();
        a.putText("LNAME", x.last);
        a.putText("FNAME", "Pat");
        a.putText("PREFIX", x.prefix);
        a.putText("STREET", x.street);
        a.putText("CITY", x.city);
        a.putText("STATE", "IL");
        a.putText("ZIP", x.zip);
        a.post();
    }
    qb::buildContactTags(a);
    a.close();
}

inline std::vector<Person> numbered(int n, const std::string& zip = "62704") {
    std::vector<Person> people;
    for (int i = 0; i < n; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "P%03d", i + 1);
        people.push_back({name, zip});
    }
    return people;
}

using qb::test::FakeHost;

// Acts on the next modal dialog of type T once its event loop runs (so exec() can be driven).
template <typename T>
void onModal(std::function<void(T*)> act) {
    qb::test::whenModal<T>([act = std::move(act)](T& dialog) { act(&dialog); });
}

template <typename T>
T* child(QWidget* parent, const char* name) {
    T* found = parent->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

struct RecordedRun {
    qb::ReportFileHeader header;
    std::vector<qb::PageOps> pages;
    int recordLabels = 0;
    int separatorLabels = 0;
};

template <typename T>
std::vector<T> opsOf(const qb::PageOps& page) {
    std::vector<T> found;
    for (const qb::DrawOp& op : page)
        if (const T* t = std::get_if<T>(&op)) found.push_back(*t);
    return found;
}

// Runs the label routine from the table's current record into a report file.
inline RecordedRun recordRun(xb::WorkArea& contacts, const qb::labels::LabelSetup& setup,
                             int copies = 1, const QString& presortFolder = {},
                             std::function<bool()> stop = {}) {
    QWidget form;
    QBuffer stream;
    qb::TReportFiler filer(&form);
    filer.SetStreamMode(qb::smUser);
    filer.SetStream(&stream);
    qb::labels::LabelSheetRun run(contacts, setup, copies);
    if (!presortFolder.isEmpty()) run.followPresortList(presortFolder);
    run.stopRequested = std::move(stop);
    filer.OnPrint = [&](qb::TBaseReport& r) { run.PrintLabels(r); };
    filer.Execute();

    RecordedRun out;
    out.recordLabels = run.recordLabels();
    out.separatorLabels = run.separatorLabels();
    QBuffer read;
    read.setData(stream.data());
    read.open(QIODevice::ReadOnly);
    qb::ReportFileReader reader(read, QStringLiteral("label run"));
    out.header = reader.header();
    for (int p = out.header.firstPage; out.header.pageCount > 0 && p <= out.header.lastPage; ++p)
        out.pages.push_back(reader.readPage(p));
    return out;
}

class LabelsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qb::Dataset::setHideMarkedRecords(true);
        qb::PrinterDevice::releaseShared();
    }
    void TearDown() override {
        host.reset();
        prompts.verify();
        qb::PrinterDevice::releaseShared();
    }

    QString path(const char* name) const { return folder + QLatin1String(name); }

    // The host with a contact file of these people open, in last-name order.
    FakeHost& openContacts(const std::vector<Person>& people) {
        host.reset();
        writeContacts(path("CONTACTS.DBF"), people);
        host = std::make_unique<FakeHost>(folder);
        host->table.open(path("CONTACTS.DBF"));
        host->table.setOrderTag(QStringLiteral("LNAME"));
        host->table.setSelection(QString::fromLatin1(qb::kDeletionExclusion));
        host->table.first();
        return *host;
    }

    qb::test::ProgramFolder home;
    QString folder = home.path();
    qb::test::PromptScript prompts;
    qb::ScriptedPrompts& script = prompts.script;
    std::unique_ptr<FakeHost> host;
};

}  // namespace labelstest
