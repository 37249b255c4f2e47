// Shared set-up of the letter tests: a program folder, contact files made from a few people,
// templates built from RTF text, and a stand-in for the main window.
#pragma once

#include <gtest/gtest.h>

#include <QTextDocument>
#include <QWidget>
#include <string>
#include <vector>

#include "fixtures.h"
#include "richtext/page_settings.h"
#include "richtext/rtf_reader.h"
#include "store/contact_host.h"
#include "store/contact_schema.h"
#include "xbase/work_area.h"

namespace letterstest {

struct Person {
    std::string first = "Pat", last = "Lee", middle, prefix, title, org, street = "1 Elm St",
                city = "Springfield", state = "IL", zip = "62704", country;
};

inline void writeContacts(const QString& path, const std::vector<Person>& people) {
    const std::string p = path.toStdString();
    qb::createContactTable(p);
    xb::WorkArea a;
    a.use(p);
    for (const Person& x : people) {
        a.append();
        a.putText("FNAME", x.first);
        a.putText("LNAME", x.last);
        a.putText("MIDDLE", x.middle);
        a.putText("PREFIX", x.prefix);
        a.putText("TITLE", x.title);
        a.putText("ORG", x.org);
        a.putText("STREET", x.street);
        a.putText("CITY", x.city);
        a.putText("STATE", x.state);
        a.putText("ZIP", x.zip);
        a.putText("COUNTRY", x.country);
        a.post();
    }
    qb::buildContactTags(a);
    a.close();
}

inline Person named(std::string first, std::string last) {
    Person p;
    p.first = std::move(first);
    p.last = std::move(last);
    return p;
}

inline std::vector<Person> numbered(int n) {
    std::vector<Person> people;
    for (int i = 0; i < n; ++i)
        people.push_back(named("Pat", "P" + std::to_string(1000 + i)));
    return people;
}

// A document and page read from RTF text.
struct Template {
    QTextDocument doc;
    qb::richtext::PageSettings page;
    explicit Template(const QByteArray& rtf) { qb::richtext::readRtf(rtf, doc, page); }
};

// RTF with the given body in Times New Roman 12.
inline QByteArray rtfOf(const QByteArray& body, const QByteArray& pageWords = {}) {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}" + pageWords +
           "\\f0\\fs24 " + body + "}";
}

// What dialogs use of the main window, without the window.
class FakeHost : public qb::ContactHost {
  public:
    explicit FakeHost(QString folder) : folder_(std::move(folder)) {}
    qb::Dataset& contactTable() override { return table; }
    QString currentFileName() const override { return table.path(); }
    QString currentFilter() const override { return filter; }
    QString currentOrder() const override { return table.orderTag(); }
    bool tableEventsOn() const override { return eventsOn; }
    void setTableEventsOn(bool on) override { eventsOn = on; }
    QString programFolder() const override { return folder_; }
    qb::Settings settings() const override {
        return qb::Settings(folder_ + QStringLiteral("QUILLB.INI"));
    }
    QWidget* hostWindow() override { return &window; }
    void suspendRecordDisplay() override {
        table.disableControls();
        eventsOn = false;
    }
    void resumeRecordDisplay() override {
        table.enableControls();
        eventsOn = true;
    }
    // The letters never need the contact file alone.
    void releaseContactFile() override {}
    void reclaimContactFile(uint32_t) override {}
    void reapplyFilter() override {}

    qb::Dataset table;
    QString filter;
    bool eventsOn = true;
    QWidget window;

  private:
    QString folder_;
};

}  // namespace letterstest
