// A field of a table as the engine sees it: name, type letter, width, decimals and where its
// bytes sit inside a record. Shared by the table, the expression compiler and the work area.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace xb {

struct FieldInfo {
    std::string name;  // upper case, at most 10 characters
    char type = 'C';   // C N F D L M G P I Y T B V Q 0 ...
    int width = 0;     // bytes in the record
    int decimals = 0;
    int offset = 0;     // from the start of the record; the deletion flag is byte 0
    int index = 0;      // position in the field list, from 0
    uint8_t flags = 0;  // VFP field flags (0x01 system, 0x02 nullable, 0x04 binary)

    // A memo-like field whose record bytes point into the memo file.
    bool isMemoPointer() const {
        return type == 'M' || type == 'G' || type == 'P' || (type == 'B' && width == 10);
    }
};

// The fields of a table, searchable by name without regard to letter case.
class FieldList {
  public:
    FieldList() = default;
    explicit FieldList(std::vector<FieldInfo> fields);

    int count() const { return int(fields_.size()); }
    const FieldInfo& at(int index) const { return fields_[size_t(index)]; }
    const std::vector<FieldInfo>& all() const { return fields_; }
    // The field with this name (any letter case, surrounding blanks ignored), or nullptr.
    const FieldInfo* find(std::string_view name) const;
    int recordLength() const { return recordLength_; }

  private:
    std::vector<FieldInfo> fields_;
    int recordLength_ = 1;
};

}  // namespace xb
