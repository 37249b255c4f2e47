// Tag descriptions, names and the headers written for them.
#include "xbase/index/tag_spec.h"

#include <cstring>

#include "xbase/error.h"

namespace xb::index {

std::string upperName(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return out;
}

void checkSpec(const TagSpec& spec, bool needName) {
    if (needName) {
        if (spec.name.empty() || spec.name.size() > size_t(kMaxTagName))
            fail(ErrorCode::Argument, "Tag name '" + spec.name + "' must have 1 to 10 characters");
        for (char c : spec.name)
            if (c == ' ' || c == '\0')
                fail(ErrorCode::Argument, "Tag name '" + spec.name + "' contains a blank");
    }
    if (spec.keyLength < 1 || spec.keyLength > kMaxKeyLength)
        fail(ErrorCode::Argument,
             "Key length " + std::to_string(spec.keyLength) + " is outside 1..240");
    if (spec.keyExpr.empty()) fail(ErrorCode::Argument, "A tag needs a key expression");
}

std::vector<uint8_t> directoryKey(const std::string& name, int keyLength) {
    std::string up = upperName(name);
    if (up.size() > size_t(keyLength))
        fail(ErrorCode::Argument, "Tag name '" + name + "' is too long for this index");
    std::vector<uint8_t> key(size_t(keyLength), ' ');
    std::memcpy(key.data(), up.data(), up.size());
    return key;
}

IndexHeader headerFor(const TagSpec& spec, uint8_t baseOptions, uint32_t root) {
    IndexHeader h;
    h.root = root;
    h.keyLength = spec.keyLength;
    h.options = baseOptions;
    if (spec.unique) h.options |= kUnique;
    if (!spec.forExpr.empty()) h.options |= kHasFor;
    h.signature = 1;
    h.descending = spec.descending;
    h.keyExpr = spec.keyExpr;
    h.forExpr = spec.forExpr;
    return h;
}

TagInfo infoFor(const IndexHeader& h, const std::string& name, uint32_t headerOffset) {
    TagInfo info;
    info.name = name;
    info.keyExpr = h.keyExpr;
    info.forExpr = h.forExpr;
    info.keyLength = h.keyLength;
    info.options = h.options;
    info.descending = h.descending;
    info.headerOffset = headerOffset;
    return info;
}

}  // namespace xb::index
