// Fuzz target: arbitrary bytes opened as a compound index, every tag walked, sought,
// verified and changed.
#include <tuple>

#include "index_fuzz_util.h"

namespace {

const std::vector<uint8_t>& soundCdx() {
    static const std::vector<uint8_t> bytes = [] {
        std::string path = fuzzidx::scratchPath(".seed.cdx");
        {
            auto w = xb::index::CdxWriter::create(
                xb::File::open(path, xb::OpenMode::CreateNew, xb::LockMode::None));
            for (auto [name, K, n] : {std::tuple{"LNAME", 30, 400}, std::tuple{"ZIP", 10, 900},
                                      std::tuple{"EMPTY", 8, 0}, std::tuple{"FLAG", 1, 50}}) {
                std::vector<uint8_t> keys;
                std::vector<uint32_t> recnos;
                fuzzidx::sampleEntries(K, n, keys, recnos);
                w->addTag({name, std::string("UPPER(") + name + ")", "", K},
                          {keys.data(), recnos.data(), recnos.size()});
            }
            w->finish();
        }
        std::vector<uint8_t> b = fuzzidx::readFile(path);
        std::filesystem::remove(path);
        return b;
    }();
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes = fuzzidx::materialise(data, size, soundCdx());
    const std::string& path = fuzzidx::scratchPath(".cdx");
    fuzzidx::writeFile(path, bytes.data(), bytes.size());
    try {
        auto cdx = xb::index::CdxFile::open(
            xb::File::open(path, xb::OpenMode::ReadWrite, xb::LockMode::None),
            [](const xb::index::TagInfo& t) {
                return t.name == "ZIP" ? xb::KeyKind::Binary : xb::KeyKind::Character;
            });
        for (int i = 0; i < cdx->tagCount(); ++i) {
            try {
                fuzzidx::exercise(cdx->tag(i));
            } catch (const xb::Error&) {
            }
        }
        cdx->find("LNAME");
        std::vector<uint8_t> keys;
        std::vector<uint32_t> recnos;
        fuzzidx::sampleEntries(10, 30, keys, recnos);
        cdx->addTag({"ZIP", "ZIP", "", 10}, {keys.data(), recnos.data(), recnos.size()});
        cdx->flush();
    } catch (const xb::Error&) {
    }
    return 0;
}
