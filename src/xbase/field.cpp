// Field list lookup.
#include "xbase/field.h"

#include <strings.h>

namespace xb {

FieldList::FieldList(std::vector<FieldInfo> fields) : fields_(std::move(fields)) {
    recordLength_ = 1;
    for (auto& f : fields_)
        recordLength_ += f.width;
}

const FieldInfo* FieldList::find(std::string_view name) const {
    while (!name.empty() && name.front() == ' ')
        name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    for (auto& f : fields_) {
        if (f.name.size() == name.size() &&
            ::strncasecmp(f.name.data(), name.data(), name.size()) == 0)
            return &f;
    }
    return nullptr;
}

}  // namespace xb
