// The layouts of the program's own tables in the program folder (label stock, label setups,
// envelope sizes, envelope setups, states), each with its one tag, and how the shipped ones
// are filled from comma-separated text. Plain data without Qt, shared with the build tool.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/contact_schema.h"
#include "xbase/work_area.h"

namespace qb {

struct ProgramTable {
    const char* fileName;  // "QBMLBLS.DBF"
    std::vector<ContactField> fields;
    xb::TagDef tag;
};

const ProgramTable& labelStockTable();     // QBMLBLS.DBF
const ProgramTable& labelSetupTable();     // QBMLSU.DBF
const ProgramTable& envelopeSizeTable();   // QBMENVS.DBF
const ProgramTable& envelopeSetupTable();  // QBMESU.DBF
const ProgramTable& stateTable();          // QBMSZCK.DBF

// Splits one line of comma-separated text: fields quoted with '"' may hold commas and doubled
// quotes. Throws xb::Error(Corrupt) for an unterminated quote.
std::vector<std::string> splitCsvLine(std::string_view line);

// Creates the table at path (replacing any earlier one), appends one record per data line of
// csv (the first line names the columns, each a field of the table) and builds the tag.
// Throws xb::Error naming the file and line for a column the table lacks, a line with the
// wrong number of values, or a value that is not a number where one is needed.
void buildProgramTable(const std::string& path, const ProgramTable& table, std::string_view csv);

}  // namespace qb
