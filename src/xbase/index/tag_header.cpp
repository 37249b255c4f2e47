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

void checkTagParams(const TagParams& tagParams, bool needName) {
    if (needName) {
        if (tagParams.name.empty() || tagParams.name.size() > size_t(kMaxTagName))
            fail(ErrorCode::Argument,
                 "Tag name '" + tagParams.name + "' must have 1 to 10 characters");
        for (char c : tagParams.name)
            if (c == ' ' || c == '\0')
                fail(ErrorCode::Argument, "Tag name '" + tagParams.name + "' contains a blank");
    }
    if (tagParams.keyLength < 1 || tagParams.keyLength > kMaxKeyLength)
        fail(ErrorCode::Argument,
             "Key length " + std::to_string(tagParams.keyLength) + " is outside 1..240");
    if (tagParams.keyExpr.empty()) fail(ErrorCode::Argument, "A tag needs a key expression");
}

std::vector<uint8_t> directoryKey(const std::string& name, int keyLength) {
    std::string up = upperName(name);
    if (up.size() > size_t(keyLength))
        fail(ErrorCode::Argument, "Tag name '" + name + "' is too long for this index");
    std::vector<uint8_t> key(size_t(keyLength), ' ');
    std::memcpy(key.data(), up.data(), up.size());
    return key;
}

IndexHeader headerFor(const TagParams& tagParams, uint8_t baseOptions, uint32_t root) {
    IndexHeader h;
    h.root = root;
    h.keyLength = tagParams.keyLength;
    h.options = baseOptions;
    if (tagParams.unique) h.options |= kUnique;
    if (!tagParams.forExpr.empty()) h.options |= kHasFor;
    h.signature = 1;
    h.descending = tagParams.descending;
    h.keyExpr = tagParams.keyExpr;
    h.forExpr = tagParams.forExpr;
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
