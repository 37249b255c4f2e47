// Tag descriptions, names and the headers written for them.
#include "xbase/index/tag_header.h"

#include <cstring>

#include "xbase/error.h"

namespace xb::index {

std::string upperName(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return out;
}

void checkSpec(const TagSpec& tagSpec, bool needName) {
    if (needName) {
        if (tagSpec.name.empty() || tagSpec.name.size() > size_t(kMaxTagName))
            fail(ErrorCode::Argument,
                 "Tag name '" + tagSpec.name + "' must have 1 to 10 characters");
        for (char c : tagSpec.name)
            if (c == ' ' || c == '\0')
                fail(ErrorCode::Argument, "Tag name '" + tagSpec.name + "' contains a blank");
    }
    if (tagSpec.keyLength < 1 || tagSpec.keyLength > kMaxKeyLength)
        fail(ErrorCode::Argument,
             "Key length " + std::to_string(tagSpec.keyLength) + " is outside 1..240");
    if (tagSpec.keyExpr.empty()) fail(ErrorCode::Argument, "A tag needs a key expression");
}

std::vector<uint8_t> directoryKey(const std::string& name, int keyLength) {
    std::string up = upperName(name);
    if (up.size() > size_t(keyLength))
        fail(ErrorCode::Argument, "Tag name '" + name + "' is too long for this index");
    std::vector<uint8_t> key(size_t(keyLength), ' ');
    std::memcpy(key.data(), up.data(), up.size());
    return key;
}

IndexHeader headerFor(const TagSpec& tagSpec, uint8_t baseOptions, uint32_t root) {
    IndexHeader h;
    h.root = root;
    h.keyLength = tagSpec.keyLength;
    h.options = baseOptions;
    if (tagSpec.unique) h.options |= kUnique;
    if (!tagSpec.forExpr.empty()) h.options |= kHasFor;
    h.signature = 1;
    h.descending = tagSpec.descending;
    h.keyExpr = tagSpec.keyExpr;
    h.forExpr = tagSpec.forExpr;
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
