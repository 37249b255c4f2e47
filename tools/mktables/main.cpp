// Builds the program's shipped tables from their CSV sources: mktables OUTDIR DATADIR.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "store/program_tables.h"
#include "xbase/error.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw xb::Error(xb::ErrorCode::NotFound, path + ": cannot be read");
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mktables OUTDIR DATADIR\n");
        return 2;
    }
    const std::string out = std::string(argv[1]) + "/";
    const std::string data = std::string(argv[2]) + "/";
    try {
        qb::buildProgramTable(out + "QBMLBLS.DBF", qb::labelStockTable(),
                              readFile(data + "label-stock.csv"));
        qb::buildProgramTable(out + "QBMENVS.DBF", qb::envelopeSizeTable(),
                              readFile(data + "envelope-sizes.csv"));
        qb::buildProgramTable(out + "QBMSZCK.DBF", qb::stateTable(), readFile(data + "states.csv"));
        // The setup tables start empty: the header line alone names no data.
        qb::buildProgramTable(out + "QBMLSU.DBF", qb::labelSetupTable(), "");
        qb::buildProgramTable(out + "QBMESU.DBF", qb::envelopeSetupTable(), "");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mktables: %s\n", e.what());
        return 1;
    }
    return 0;
}
