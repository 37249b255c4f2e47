// Fuzz target for the presort list reader: the bytes are PRESORT.PSL, read back and walked
// over a small contact table as a label run walks it. Only PresortFileError and xb::Error may
// come out; the walk must end.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <QString>

#include "presort/presort_file.h"
#include "presort/sorted_zip_walk.h"
#include "store/contact_schema.h"
#include "xbase/error.h"
#include "xbase/work_area.h"

namespace {

const std::string& folder() {
    static const std::string dir = [] {
        char tmpl[] = "/tmp/fuzzpsl-XXXXXX";
        const char* made = ::mkdtemp(tmpl);
        if (!made) std::abort();
        return std::string(made);
    }();
    return dir;
}

// Contacts in a handful of ZIP areas, one of them marked deleted.
xb::WorkArea& contacts() {
    static xb::WorkArea area;
    if (!area.isOpen()) {
        const std::string path = folder() + "/CONTACTS.DBF";
        qb::createContactTable(path);
        area.use(path);
        for (const char* zip : {"62704", "62704-1234", "62701", "10001", "", "9021", "ABCDE"}) {
            area.append();
            area.putText("ZIP", zip);
            area.post();
        }
        area.go(3);
        area.deleteRecord();
        qb::buildContactTags(area);
    }
    return area;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    xb::WorkArea& area = contacts();
    const std::string file = folder() + "/PRESORT.PSL";
    if (FILE* f = std::fopen(file.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    try {
        auto lines = qb::presort::readPresortFile(QString::fromStdString(folder()));
        const size_t bound = (lines.size() + 1) * 8 + 16;  // separators, records, passes
        qb::presort::SortedZipWalk::prepare(area);
        qb::presort::SortedZipWalk walk(area, std::move(lines));
        walk.nextGroup();
        size_t steps = 0;
        for (; !walk.finished() && steps < bound; ++steps)
            walk.moveOn();
        if (!walk.finished()) std::abort();  // a walk that never ends would hang a label run
    } catch (const qb::presort::PresortFileError&) {
    } catch (const xb::Error&) {
    }
    return 0;
}
