// Positional file access for the engine's files, with OS locks that keep out other openers,
// explicit durability (sync) and atomic replacement. Fault injection (namespace fault) lets
// tests fail a chosen file's Nth write or sync, or cut a write short, and check that what
// was committed survives. Messages name the file and say what went wrong in plain words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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
    // A nameless read-write file in folder ("" for the current one) for working data too
    // large to hold in memory; it has no directory entry, so a killed process leaves nothing
    // behind, and its space is freed when it is closed.
    static File scratch(const std::string& folder);

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
    friend class Handover;
    int fd_ = -1;
    bool writable_ = false;
    bool unsynced_ = false;  // written since the last sync
    std::string path_;
};

// Files kept open and locked while they are renamed into place. As long as the handover
// lives, the next File::open (with a lock) in this process of a name that now leads to one of
// these files gets that very open file, lock included, instead of a new one: a lock on a
// file follows it through the rename, so no other opener can slip in between the rename and
// the reopen. Files nobody took are closed when the handover ends. One at a time.
class Handover {
  public:
    Handover();
    ~Handover();
    Handover(const Handover&) = delete;
    Handover& operator=(const Handover&) = delete;
    void add(File file);
};

bool fileExists(const std::string& path);
// The path with symbolic links resolved (the file a link leads to); path itself when it
// cannot be resolved (a missing file).
std::string realPathOf(const std::string& path);
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
// The memo or index file of a table (ext such as ".CDX"): the file of the table's own name
// with that extension in any letter case; otherwise, when no other table in the folder has
// the table's name in another letter case, one whose whole name differs only in case. Where
// "case.dbf" and "CASE.DBF" both exist, neither ever takes the other's files. Returns the
// name in the table's case style when none is found.
std::string findSiblingOf(const std::string& tablePath, const std::string& ext);

namespace fault {
// After n more successful writes (or syncs), every write (sync) throws Error(Io). -1 = off.
void failWritesAfter(long n);
void failSyncsAfter(long n);
void reset();  // also removes an installed plan

// Faults aimed at one file: a plan names files by their name without folder (any letter
// case) and counts the writes and syncs to each from when it is installed. A failed write or
// sync throws Error(Io) reading as a full disk; a short write puts only the first bytes of
// the data on the file before failing. Once a file's write has failed, every later write to
// it fails too, as on a disk that stays full; its syncs still succeed.
class Plan {
  public:
    // The nth write (from 1) to the file fails, writing nothing.
    Plan& failWrite(const std::string& name, long nth);
    // The nth write to the file writes only its first `keep` bytes, then fails.
    Plan& shortWrite(const std::string& name, long nth, size_t keep);
    // The nth sync of the file fails.
    Plan& failSync(const std::string& name, long nth);
    // The nth sync of the file first runs action (which may open other files), then succeeds:
    // for looking at other openers' view at a chosen moment of a long operation.
    Plan& atSync(const std::string& name, long nth, std::function<void()> action);

    struct Rule {
        std::string name;
        bool sync = false;
        long nth = 0;
        size_t keep = 0;
        std::function<void()> action;
    };
    const std::vector<Rule>& rules() const { return rules_; }

  private:
    std::vector<Rule> rules_;
};

// Installs a plan for its lifetime (one at a time; a new one replaces the old).
class ScopedPlan {
  public:
    explicit ScopedPlan(const Plan& plan);
    ~ScopedPlan();
    ScopedPlan(const ScopedPlan&) = delete;
    ScopedPlan& operator=(const ScopedPlan&) = delete;
    // Whether any fault of the plan has been injected yet.
    static bool triggered();
};
}  // namespace fault

}  // namespace xb
