// Fuzz target: arbitrary bytes opened as a single-order compact index, walked, sought,
// verified and changed.
#include "index_fuzz_util.h"

namespace {

const std::vector<uint8_t>& soundIdx() {
    static const std::vector<uint8_t> bytes = [] {
        std::string path = fuzzidx::scratchPath(".seed.idx");
        std::vector<uint8_t> keys;
        std::vector<uint32_t> recnos;
        fuzzidx::sampleEntries(20, 1500, keys, recnos);
        xb::index::IdxFile::build(xb::File::open(path, xb::OpenMode::CreateNew, xb::LockMode::None),
                                  {"", "UPPER(LNAME)", "", 20},
                                  {keys.data(), recnos.data(), recnos.size()});
        std::vector<uint8_t> b = fuzzidx::readFile(path);
        std::filesystem::remove(path);
        return b;
    }();
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes = fuzzidx::materialise(data, size, soundIdx());
    const std::string& path = fuzzidx::scratchPath(".idx");
    fuzzidx::writeFile(path, bytes.data(), bytes.size());
    try {
        auto idx = xb::index::IdxFile::open(
            xb::File::open(path, xb::OpenMode::ReadWrite, xb::LockMode::None),
            size % 2 ? xb::KeyKind::Binary : xb::KeyKind::Character);
        fuzzidx::exercise(idx->tag());
        idx->flush();
    } catch (const xb::Error&) {
    }
    return 0;
}
