// Window tests of record entry, search and the filter: contact files with any fields filled,
// the window started on them with chosen settings, and modal dialogs answered from a timer.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app_fixture.h"
#include "modal_guard.h"
#include "xbase/date.h"

namespace qb::test {

// One contact: field name and value pairs (DATE as yyyymmdd, MEMO as its text); marked
// records also carry the engine's deletion mark.
struct Rec {
    std::vector<std::pair<std::string, std::string>> fields;
    bool marked = false;
};

class RecordsTest : public AppTest {
  protected:
    QString fileWith(const std::vector<Rec>& records,
                     const QString& name = QStringLiteral("QUILLB1.DBF")) {
        const QString file = contactFile(name, {});
        xb::WorkArea area;
        area.use(file.toStdString());
        for (const Rec& r : records) {
            area.append();
            for (const auto& [field, value] : r.fields) {
                if (field == "MEMO") {
                    area.replace("MEMO", value);
                } else if (field == "DATE") {
                    area.putDate("DATE", xb::jdnFromDbf(value.c_str()));
                } else if (field == "SEQNO") {
                    area.putNumber("SEQNO", std::stod(value));
                } else if (field == "BEGIN") {
                    area.putLogical("BEGIN", value == "T");
                } else {
                    area.putText(field, value);
                }
            }
            area.post();
            if (r.marked) area.deleteRecord();
        }
        area.close();
        return file;
    }

    TQBMMain& startWith(const std::vector<Rec>& records, const QByteArray& settings = {}) {
        fileWith(records);
        if (!settings.isEmpty()) writeSettings(settings);
        TQBMMain& w = start();
        w.activateWindow();
        return w;
    }

    // Runs act on the modal dialog of type T that the next command opens.
    template <typename T>
    void whenModal(std::function<void(T&)> act) {
        test::whenModal<T>(std::move(act));
    }

    Dataset& table() { return window->contactTable(); }
    QString field(const char* name) { return table().text(QLatin1String(name)); }
    uint32_t visible() { return table().selectionRecordCount(); }
};

}  // namespace qb::test
