// Turning a tag's description into its header and back, shared by the index file kinds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "xbase/index/header.h"
#include "xbase/index/index.h"

namespace xb::index {

constexpr uint8_t kDirectoryOptions = 0xE0;
constexpr int kDirectoryKeyLength = 10;
constexpr int kMaxTagName = 10;

// Checks the parts of a tag description every index needs; throws Error(Argument).
void checkTagParams(const TagParams& tagParams, bool needName);
// Upper-cases a tag name (ASCII letters only; tag names are identifiers).
std::string upperName(const std::string& name);
// The directory key of a tag name: upper case, blank-padded to keyLength bytes.
std::vector<uint8_t> directoryKey(const std::string& name, int keyLength);

IndexHeader headerFor(const TagParams& tagParams, uint8_t baseOptions, uint32_t root);
TagInfo infoFor(const IndexHeader& h, const std::string& name, uint32_t headerOffset);

}  // namespace xb::index
