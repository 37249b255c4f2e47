// Helpers for the store tests: contact files with chosen records or a changed layout.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "store/contact_file.h"
#include "store/contact_schema.h"
#include "xbase/work_area.h"

namespace qb::test {

struct Person {
    std::string last;
    std::string first;
    std::string prefix = {};
};

// Writes records into a closed contact file through the engine.
inline void addPeople(const std::string& path, const std::vector<Person>& people) {
    xb::WorkArea area;
    area.use(path);
    for (const auto& p : people) {
        area.append();
        area.putText("LNAME", p.last);
        area.putText("FNAME", p.first);
        area.putText("PREFIX", p.prefix);
        area.post();
    }
    area.close();
}

// A contact file whose fields differ from the real layout in one width; all tags built.
inline void createWithWidth(const std::string& path, const char* field, int width) {
    xb::WorkArea area;
    area.createNew(path);
    for (const auto& f : contactFields()) {
        area.createField(f.name, f.type, std::string(f.name) == field ? width : f.width,
                         f.decimals);
    }
    area.createExec();
    area.use(path);
    buildContactTags(area);
    area.close();
}

// Collects notices instead of showing them.
struct Notices {
    QStringList texts;
    Notify sink() {
        return [this](const QString& t) { texts << t; };
    }
};

inline std::string pathIn(const QTemporaryDir& dir, const char* name) {
    return (dir.path() + QLatin1Char('/') + QLatin1String(name)).toStdString();
}

}  // namespace qb::test
