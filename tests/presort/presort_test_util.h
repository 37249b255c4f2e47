// Shared helpers of the presort tests: a temporary folder, contact tables made from ZIP texts,
// and an observer that records what the run shows and cancels on request.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <fstream>
#include <string>
#include <vector>

#include "presort/bulk_mail_presort.h"
#include "store/contact_schema.h"
#include "xbase/work_area.h"

namespace presorttest {

struct Contact {
    std::string zip;
    std::string lastName = "";
    std::string prefix = "";
};

// A contact file with one record per contact, in order, and its tags.
inline std::string makeContactFile(const QTemporaryDir& dir, const std::vector<Contact>& rows) {
    std::string path = dir.filePath("CONTACTS.DBF").toStdString();
    qb::createContactTable(path);
    xb::WorkArea a;
    a.use(path);
    for (const auto& c : rows) {
        a.append();
        a.putText("ZIP", c.zip);
        a.putText("LNAME", c.lastName);
        a.putText("PREFIX", c.prefix);
        a.post();
    }
    qb::buildContactTags(a);
    a.close();
    return path;
}

// n contacts sharing one ZIP text.
inline void addCopies(std::vector<Contact>& rows, int n, const std::string& zip) {
    for (int i = 0; i < n; ++i)
        rows.push_back({zip});
}

inline std::string readFileBytes(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFileBytes(const QString& path, const std::string& bytes) {
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

class RecordingObserver : public qb::presort::PresortObserver {
  public:
    void showProgress(const QString& text) override { texts.push_back(text.toStdString()); }
    void letPendingEventsRun() override { ++pumps; }
    bool cancelRequested() override {
        ++polls;
        return cancelAfterPolls > 0 && polls >= cancelAfterPolls;
    }

    std::vector<std::string> texts;
    int pumps = 0;
    int polls = 0;
    int cancelAfterPolls = 0;  // 0: never cancel
};

}  // namespace presorttest
