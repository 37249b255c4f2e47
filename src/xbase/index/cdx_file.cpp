// Opening, creating and growing a compound index: the tag directory is a tree of its own
// whose keys are tag names and whose record numbers are tag-header offsets.
#include <algorithm>
#include <cstring>

#include "xbase/bytes.h"
#include "xbase/error.h"
#include "xbase/index/bulk.h"
#include "xbase/index/tag_header.h"
#include "xbase/index/tree.h"

namespace xb::index {

namespace {

constexpr uint32_t kDirectoryRoot = 1024;

class CdxFileImpl final : public CdxFile {
  public:
    explicit CdxFileImpl(std::unique_ptr<PageFile> pages) : pages_(std::move(pages)) {}

    void openDirectory(const std::function<KeyKind(const TagInfo&)>& kindOf);
    void attachEmptyDirectory();

    int tagCount() const override { return int(tags_.size()); }
    Tag& tag(int i) override {
        if (i < 0 || i >= tagCount())
            fail(ErrorCode::Argument, path() + ": no tag number " + std::to_string(i + 1));
        return *tags_[size_t(i)];
    }
    int find(const std::string& name) const override {
        std::string up = upperName(name);
        for (size_t i = 0; i < tags_.size(); ++i)
            if (upperName(tags_[i]->info().name) == up) return int(i);
        return -1;
    }
    Tag& addTag(const TagParams& tagParams, EntryStream& entries) override;
    void flush() override { pages_->flush(); }
    void sync() override { pages_->sync(); }
    const std::string& path() const override { return pages_->path(); }

  private:
    [[noreturn]] void corrupt(const std::string& what) const {
        fail(ErrorCode::Corrupt, path() + ": " + what);
    }
    void readHeader(uint32_t off, uint8_t* out) {
        pages_->peek(off, out);
        pages_->peek(off + kPageSize, out + kPageSize);
    }

    std::unique_ptr<PageFile> pages_;
    std::unique_ptr<TreeTag> directory_;
    std::vector<std::unique_ptr<TreeTag>> tags_;
    // Tags replaced by a new one of the same name; kept so references handed out stay valid.
    std::vector<std::unique_ptr<TreeTag>> replaced_;
};

void CdxFileImpl::openDirectory(const std::function<KeyKind(const TagInfo&)>& kindOf) {
    if (pages_->end() < uint64_t(kHeaderSize + kPageSize))
        corrupt("file is too short to be a compound index");
    uint8_t head[kHeaderSize];
    readHeader(0, head);
    if (!(head[14] & kCompact))
        fail(ErrorCode::Unsupported,
             path() + ": old index format that this program cannot read; rebuild the index");
    if (!(head[14] & kCompound)) corrupt("file is not a compound index");
    IndexHeader dh = decodeHeader(head, path() + ": tag directory");
    if (!pages_->holds(dh.root)) corrupt("tag directory: root lies outside the file");
    directory_ = std::make_unique<TreeTag>(*pages_, infoFor(dh, "", 0), KeyKind::Character, dh.root,
                                           "tag directory");

    struct Entry {
        std::string name;
        uint32_t offset;
    };
    std::vector<Entry> found;
    auto cur = directory_->cursor();
    for (bool ok = cur->first(); ok; ok = cur->next()) {
        const char* k = reinterpret_cast<const char*>(cur->key());
        std::string name(k, size_t(dh.keyLength));
        while (!name.empty() && (name.back() == ' ' || name.back() == '\0'))
            name.pop_back();
        uint32_t off = cur->recno();
        if (off % kPageSize != 0 || off < kHeaderSize || !pages_->holds(off) ||
            !pages_->holds(off + kPageSize))
            corrupt("tag directory: tag " + name + " points to offset " + std::to_string(off) +
                    ", where no tag header can be");
        found.push_back({name, off});
    }
    std::sort(found.begin(), found.end(),
              [](const Entry& a, const Entry& b) { return a.offset < b.offset; });
    for (size_t i = 1; i < found.size(); ++i)
        if (found[i].offset == found[i - 1].offset)
            corrupt("tag directory: tags " + found[i - 1].name + " and " + found[i].name +
                    " share one header");
    for (const Entry& e : found) {
        uint8_t h[kHeaderSize];
        readHeader(e.offset, h);
        IndexHeader th = decodeHeader(h, path() + ": " + e.name);
        if (!pages_->holds(th.root)) corrupt(e.name + ": root lies outside the file");
        TagInfo info = infoFor(th, e.name, e.offset);
        KeyKind kind = kindOf ? kindOf(info) : KeyKind::Character;
        tags_.push_back(std::make_unique<TreeTag>(*pages_, info, kind, th.root, e.name));
    }
}

void CdxFileImpl::attachEmptyDirectory() {
    IndexHeader dh;
    dh.root = kDirectoryRoot;
    dh.keyLength = kDirectoryKeyLength;
    dh.options = kDirectoryOptions;
    directory_ = std::make_unique<TreeTag>(*pages_, infoFor(dh, "", 0), KeyKind::Character,
                                           kDirectoryRoot, "tag directory");
}

Tag& CdxFileImpl::addTag(const TagParams& tagParams, EntryStream& entries) {
    if (!pages_->writable()) fail(ErrorCode::State, path() + " is open read-only");
    checkTagParams(tagParams, true);
    const std::string name = upperName(tagParams.name);
    std::vector<uint8_t> dirKey = directoryKey(name, directory_->keyLength());
    IndexHeader h = headerFor(tagParams, kCompact | kCompound, 0);
    uint8_t head[kHeaderSize];
    encodeHeader(h, head);  // rejects expressions too long before anything is written

    AppendSink sink(*pages_);
    const uint32_t headerOffset = sink.nextOffset();
    sink.nextPage();
    sink.nextPage();
    h.root = buildTree(tagParams.keyLength, tagParams.kind, entries, sink);
    sink.flush();
    encodeHeader(h, head);
    pages_->write(headerOffset, head);
    pages_->write(headerOffset + kPageSize, head + kPageSize);

    int old = find(name);
    if (old >= 0) {
        directory_->erase(dirKey.data(), tags_[size_t(old)]->info().headerOffset);
        replaced_.push_back(std::move(tags_[size_t(old)]));
        tags_.erase(tags_.begin() + old);
    }
    directory_->insert(dirKey.data(), headerOffset);
    tags_.push_back(std::make_unique<TreeTag>(*pages_, infoFor(h, name, headerOffset),
                                              tagParams.kind, h.root, name));
    pages_->flush();
    return *tags_.back();
}

}  // namespace

std::unique_ptr<CdxFile> CdxFile::open(File file,
                                       const std::function<KeyKind(const TagInfo&)>& kindOf) {
    auto cdx = std::make_unique<CdxFileImpl>(std::make_unique<PageFile>(std::move(file)));
    cdx->openDirectory(kindOf);
    return cdx;
}

std::unique_ptr<CdxFile> CdxFile::create(File file) {
    uint8_t bytes[kHeaderSize + kPageSize];
    IndexHeader dh;
    dh.root = kDirectoryRoot;
    dh.keyLength = kDirectoryKeyLength;
    dh.options = kDirectoryOptions;
    encodeHeader(dh, bytes);
    encodeLeaf(nullptr, nullptr, 0, kDirectoryKeyLength, ' ', kAttrRoot | kAttrLeaf, kNoPage,
               kNoPage, bytes + kHeaderSize);
    file.truncate(0);
    file.writeAt(0, bytes, sizeof bytes);
    auto cdx = std::make_unique<CdxFileImpl>(std::make_unique<PageFile>(std::move(file)));
    cdx->attachEmptyDirectory();
    return cdx;
}

}  // namespace xb::index
