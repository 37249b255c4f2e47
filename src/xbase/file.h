// Positional file access for the engine's files, with OS locks that keep out other openers,
// explicit durability (sync) and atomic replacement. A fault hook lets tests fail the Nth
// write or sync and check that what was committed survives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace xb {

enum class OpenMode { ReadOnly, ReadWrite, CreateNew /* truncates an existing file */ };
enum class LockMode { None, Shared, Exclusive };

class File {
  public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Throws Error(NotFound) when missing, Error(Locked) when the lock cannot be had at once.
    static File open(const std::string& path, OpenMode mode, LockMode lock);

    bool isOpen() const { return fd_ >= 0; }
    bool writable() const { return writable_; }
    const std::string& path() const { return path_; }

    // Reads up to n bytes at off; returns how many were there (short only at end of file).
    size_t readAt(uint64_t off, void* buf, size_t n) const;
    // Reads exactly n bytes or throws Error(Corrupt) naming the file.
    void readExact(uint64_t off, void* buf, size_t n, const char* what) const;
    void writeAt(uint64_t off, const void* buf, size_t n);
    uint64_t size() const;
    void truncate(uint64_t length);
    void sync();
    void close();

  private:
    int fd_ = -1;
    bool writable_ = false;
    bool unsynced_ = false;  // written since the last sync
    std::string path_;
};

bool fileExists(const std::string& path);
// Removes a file; a missing file is not an error.
void removeFile(const std::string& path);
// Renames tmp over target in one step and makes the rename durable.
void replaceFile(const std::string& tmp, const std::string& target);
void syncDirectoryOf(const std::string& path);
std::string directoryOf(const std::string& path);  // with a trailing '/', or "" for none
std::string baseNameOf(const std::string& path);   // the file name without folder
// Replaces the extension (".CDX") keeping the case style of the existing extension.
std::string withExtension(const std::string& path, const std::string& ext);
// A sibling name for a file being rebuilt: "QB.DBF" -> "QB.~pk.DBF" (same folder and
// extension, so a rebuilt table still finds its rebuilt memo file).
std::string tempSibling(const std::string& path);
// Finds an existing file whose name differs from path only in letter case (xBase files move
// between case-blind systems); returns path itself when none is found.
std::string findCaseInsensitive(const std::string& path);

namespace fault {
// After n more successful writes (or syncs), every write (sync) throws Error(Io). -1 = off.
void failWritesAfter(long n);
void failSyncsAfter(long n);
void reset();
}  // namespace fault

}  // namespace xb
