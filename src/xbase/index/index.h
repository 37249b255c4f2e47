// Compact B-tree indexes in the layouts other xBase tools read: the compound production
// index (CDX) holding many tags in one file, and the single-order compact index (IDX). Keys
// are fixed-length byte strings ordered as unsigned bytes, ties broken by record number.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "xbase/file.h"
#include "xbase/keys.h"

namespace xb::index {

constexpr int kPageSize = 512;
constexpr int kMaxKeyLength = 240;

enum IndexOption : uint8_t {
    kUnique = 0x01,
    kHasFor = 0x08,
    kCompact = 0x20,
    kCompound = 0x40,
};

// What a tag's header says about it.
struct TagInfo {
    std::string name;     // upper case; "" for a standalone IDX
    std::string keyExpr;  // as typed, case kept
    std::string forExpr;  // "" when none
    int keyLength = 0;    // K
    uint8_t options = 0;  // IndexOption bits as stored
    bool descending = false;
    uint32_t headerOffset = 0;
};

class PageFile;  // page cache over the index file, private to the implementation
class TagCursor;

// One B-tree: a CDX tag or the tree of an IDX file. Owned by its file object.
class Tag {
  public:
    virtual ~Tag() = default;
    virtual const TagInfo& info() const = 0;
    virtual KeyKind keyKind() const = 0;

    // Inserts the pair; an equal pair already present is left as it is.
    virtual void insert(const uint8_t* key, uint32_t recno) = 0;
    // Removes the pair; returns false when it was not there.
    virtual bool erase(const uint8_t* key, uint32_t recno) = 0;

    // Changes each time the tree is modified; cursors use it to notice that they must re-seek.
    virtual uint64_t version() const = 0;

    virtual std::unique_ptr<TagCursor> cursor() = 0;

    // Walks the whole tree and checks every structural rule (ordering, sibling chains,
    // separators, free-space counts, masks); throws Error(Corrupt) naming the file, the tag
    // and the fault. Returns the number of entries.
    virtual uint64_t verify() = 0;
};

// A position in a tag. Survives modifications of the tree: it remembers its (key, recno)
// and repositions itself on the next move when the tree's version changed.
class TagCursor {
  public:
    virtual ~TagCursor() = default;
    virtual bool first() = 0;
    virtual bool last() = 0;
    virtual bool next() = 0;
    virtual bool prev() = 0;
    // Positions on the first entry whose first len key bytes are >= bytes[0..len); len may be
    // less than K (a prefix) and is at most K. Returns valid().
    virtual bool seek(const uint8_t* bytes, int len) = 0;
    // Positions on the first entry whose (key, recno) >= (key, recno), key being K bytes.
    virtual bool seekPair(const uint8_t* key, uint32_t recno) = 0;
    virtual bool valid() const = 0;
    virtual const uint8_t* key() const = 0;  // K bytes, dropped trailing fill restored
    virtual uint32_t recno() const = 0;
};

// Entries for a bulk build, already in (key, recno) order: keys[i*K .. i*K+K) and recnos[i].
struct SortedEntries {
    const uint8_t* keys = nullptr;
    const uint32_t* recnos = nullptr;
    size_t count = 0;
};

// Memory a long operation holds, counted by the operation itself: what it holds now and the
// most it has held. Shared between threads.
class MemoryMeter {
  public:
    void add(size_t bytes) {
        size_t now = now_.fetch_add(bytes) + bytes;
        size_t peak = peak_.load();
        while (now > peak && !peak_.compare_exchange_weak(peak, now)) {
        }
    }
    void sub(size_t bytes) { now_.fetch_sub(bytes); }
    size_t now() const { return now_.load(); }
    size_t peak() const { return peak_.load(); }

  private:
    std::atomic<size_t> now_{0};
    std::atomic<size_t> peak_{0};
};

// Sorted entries handed to a bulk build in batches, as a merge produces them. The builder
// keeps what it needs of a batch, which is only valid until the next call.
class EntryStream {
  public:
    virtual ~EntryStream() = default;
    // Fills batch with the next entries; false when there are no more.
    virtual bool next(SortedEntries& batch) = 0;

    // What the builder holds is counted here when set.
    MemoryMeter* meter = nullptr;
    // The builder keeps the last entry of every leaf for the levels above; past this many
    // bytes they go to a nameless working file in scratchFolder.
    size_t upperMemory = SIZE_MAX;
    std::string scratchFolder;
};

// One array of entries as a stream of a single batch.
class ArrayStream final : public EntryStream {
  public:
    explicit ArrayStream(const SortedEntries& entries) : entries_(entries) {}
    bool next(SortedEntries& batch) override {
        if (done_) return false;
        done_ = true;
        batch = entries_;
        return true;
    }

  private:
    SortedEntries entries_;
    bool done_ = false;
};

// The description of a tag to create.
struct TagParams {
    std::string name;
    std::string keyExpr;
    std::string forExpr;
    int keyLength = 0;
    KeyKind kind = KeyKind::Character;
    bool unique = false;
    bool descending = false;
};

// A compound index file.
class CdxFile {
  public:
    virtual ~CdxFile() = default;
    // Opens an existing CDX; throws Error(Corrupt/Unsupported) when its header or tag
    // directory is not a compact compound index. Tag pages are checked lazily as read.
    // The key kind of each tag is not stored in the file: kindOf tells it from the
    // expression (the caller compiles it against the table).
    static std::unique_ptr<CdxFile> open(File file,
                                         const std::function<KeyKind(const TagInfo&)>& kindOf);
    // Starts an empty compound index (header and empty directory) in a new file.
    static std::unique_ptr<CdxFile> create(File file);

    // Tags in creation order (ascending header offset).
    virtual int tagCount() const = 0;
    virtual Tag& tag(int i) = 0;
    // The index of the tag with this name (any letter case), or -1.
    virtual int find(const std::string& name) const = 0;

    // Appends a new tag built from sorted entries and enters it in the directory; an existing
    // tag of that name is replaced in the directory (its pages are left orphaned).
    virtual Tag& addTag(const TagParams& tagParams, EntryStream& entries) = 0;
    Tag& addTag(const TagParams& tagParams, const SortedEntries& entries) {
        ArrayStream stream(entries);
        return addTag(tagParams, stream);
    }

    // Writes every modified page to the file (not yet to the disk).
    virtual void flush() = 0;
    virtual void sync() = 0;
    virtual const std::string& path() const = 0;
};

// A standalone compact single-order index.
class IdxFile {
  public:
    virtual ~IdxFile() = default;
    static std::unique_ptr<IdxFile> open(File file, KeyKind kind);
    // An empty index: the 1024-byte header and one empty root leaf.
    static std::unique_ptr<IdxFile> create(File file, const TagParams& tagParams);
    // An index built from sorted entries.
    static std::unique_ptr<IdxFile> build(File file, const TagParams& tagParams,
                                          EntryStream& entries);
    static std::unique_ptr<IdxFile> build(File file, const TagParams& tagParams,
                                          const SortedEntries& entries) {
        ArrayStream stream(entries);
        return build(std::move(file), tagParams, stream);
    }

    virtual Tag& tag() = 0;
    virtual void flush() = 0;
    virtual void sync() = 0;
    virtual const std::string& path() const = 0;
};

// Writes a whole new compound index with many tags in one sequential pass (rebuilds).
class CdxWriter {
  public:
    virtual ~CdxWriter() = default;
    static std::unique_ptr<CdxWriter> create(File file);
    virtual void addTag(const TagParams& tagParams, EntryStream& entries) = 0;
    void addTag(const TagParams& tagParams, const SortedEntries& entries) {
        ArrayStream stream(entries);
        addTag(tagParams, stream);
    }
    // Writes the directory and flushes; the file then opens with CdxFile::open.
    virtual void finish() = 0;
    // Makes what finish() wrote durable (before the new file replaces an old one).
    virtual void sync() = 0;
};

}  // namespace xb::index
