// Fuzz target for the reader of the shipped tables' comma-separated sources: the first byte
// picks the table, the rest is its CSV text, built into a table and read back. Only xb::Error
// may come out.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "store/program_tables.h"
#include "xbase/error.h"
#include "xbase/work_area.h"

namespace {

const std::string& folder() {
    static const std::string dir = [] {
        char tmpl[] = "/tmp/fuzzcsv-XXXXXX";
        const char* made = ::mkdtemp(tmpl);
        if (!made) std::abort();
        return std::string(made);
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const qb::ProgramTable* tables[] = {&qb::labelStockTable(), &qb::labelSetupTable(),
                                        &qb::envelopeSizeTable(), &qb::envelopeSetupTable(),
                                        &qb::stateTable()};
    const qb::ProgramTable& table = *tables[data[0] % 5];
    const std::string_view csv(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        (void)qb::splitCsvLine(csv.substr(0, csv.find('\n')));
    } catch (const xb::Error&) {
    }
    const std::string path = folder() + "/" + table.fileName;
    try {
        qb::buildProgramTable(path, table, csv);
        xb::WorkArea area;
        area.use(path, xb::UseMode::ReadOnly);
        for (area.first(); !area.eof(); area.skip())
            for (int i = 1; i <= area.fieldCount(); ++i)
                (void)area.getText(i);
        area.close();
    } catch (const xb::Error&) {
    }
    return 0;
}
