// Writing a whole compound index in one sequential pass: each tag's header and tree as it is
// added, the directory last, all through one large buffer.
#include <algorithm>
#include <cstring>

#include "xbase/error.h"
#include "xbase/index/bulk.h"
#include "xbase/index/node.h"
#include "xbase/index/tag_header.h"

namespace xb::index {

namespace {

constexpr uint32_t kDirectoryLeaf = 1024;

class CdxWriterImpl final : public CdxWriter {
  public:
    explicit CdxWriterImpl(File file) : file_(std::move(file)) {
        file_.truncate(0);
        out_ = std::make_unique<ChunkWriter>(file_, 0);
        out_->reserve(kHeaderSize + kPageSize);  // header and the directory's usual leaf
    }

    void addTag(const TagParams& tagParams, EntryStream& entries) override {
        requireOpen();
        checkTagParams(tagParams, true);
        std::string name = upperName(tagParams.name);
        for (const auto& t : tags_)
            if (t.name == name)
                fail(ErrorCode::Argument, file_.path() + ": tag " + name + " added twice");
        IndexHeader h = headerFor(tagParams, kCompact | kCompound, 0);
        uint8_t head[kHeaderSize];
        encodeHeader(h, head);
        uint32_t at = out_->reserve(kHeaderSize);
        h.root = buildTree(tagParams.keyLength, tagParams.kind, entries, *out_);
        encodeHeader(h, head);
        out_->patch(at, head, kHeaderSize);
        tags_.push_back({name, at});
    }

    void finish() override {
        requireOpen();
        std::sort(tags_.begin(), tags_.end(), [](const Named& a, const Named& b) {
            return directoryKey(a.name, kDirectoryKeyLength) <
                   directoryKey(b.name, kDirectoryKeyLength);
        });
        std::vector<uint8_t> keys;
        std::vector<uint32_t> offsets;
        for (const Named& t : tags_) {
            std::vector<uint8_t> k = directoryKey(t.name, kDirectoryKeyLength);
            keys.insert(keys.end(), k.begin(), k.end());
            offsets.push_back(t.offset);
        }
        IndexHeader dh;
        dh.keyLength = kDirectoryKeyLength;
        dh.options = kDirectoryOptions;
        uint8_t leaf[kPageSize];
        if (encodeLeaf(keys.data(), offsets.data(), int(offsets.size()), kDirectoryKeyLength, ' ',
                       kAttrRoot | kAttrLeaf, kNoPage, kNoPage, leaf)) {
            dh.root = kDirectoryLeaf;
            out_->patch(kDirectoryLeaf, leaf, kPageSize);
        } else {
            // Too many tags for one leaf: the directory becomes a tree after the last tag.
            SortedEntries e{keys.data(), offsets.data(), offsets.size()};
            dh.root = buildTree(kDirectoryKeyLength, KeyKind::Character, e, *out_);
        }
        uint8_t head[kHeaderSize];
        encodeHeader(dh, head);
        out_->patch(0, head, kHeaderSize);
        out_->flush();
        finished_ = true;
    }

    void sync() override { file_.sync(); }

  private:
    struct Named {
        std::string name;
        uint32_t offset;
    };

    void requireOpen() const {
        if (finished_) fail(ErrorCode::State, file_.path() + ": the index is already finished");
    }

    File file_;
    std::unique_ptr<ChunkWriter> out_;
    std::vector<Named> tags_;
    bool finished_ = false;
};

}  // namespace

std::unique_ptr<CdxWriter> CdxWriter::create(File file) {
    return std::make_unique<CdxWriterImpl>(std::move(file));
}

}  // namespace xb::index
