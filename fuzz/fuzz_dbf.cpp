// Fuzz target for the table and memo readers: the input is split into a table and its memo
// file, opened, walked both ways and every field read. Only xb::Error may come out.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "xbase/error.h"
#include "xbase/work_area.h"

namespace {

std::string folder() {
    static std::string dir = [] {
        char tmpl[] = "/tmp/fuzzdbf-XXXXXX";
        return std::string(::mkdtemp(tmpl));
    }();
    return dir;
}

void writeFile(const std::string& path, const uint8_t* data, size_t n) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    if (n) std::fwrite(data, 1, n, f);
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    size_t split = (size_t(data[0]) | (size_t(data[1]) << 8)) % size;
    const uint8_t* body = data + 2;
    size_t n = size - 2;
    if (split > n) split = n;
    std::string dbf = folder() + "/F.DBF";
    writeFile(dbf, body, split);
    writeFile(folder() + "/F.FPT", body + split, n - split);
    writeFile(folder() + "/F.DBT", body + split, n - split);
    try {
        xb::WorkArea a;
        a.use(dbf, xb::UseMode::ReadOnly);
        int steps = 0;
        for (a.first(); !a.eof() && steps < 200; a.skip(), ++steps) {
            for (int i = 1; i <= a.fieldCount(); ++i) {
                try {
                    (void)a.getText(i);
                } catch (const xb::Error&) {
                }
            }
            (void)a.deleted();
        }
        for (a.last(); !a.bof() && steps < 400; a.skip(-1), ++steps) {
        }
        a.query("DELETED()");
        (void)a.queryRecCount();
    } catch (const xb::Error&) {
    }
    return 0;
}
