// POSIX implementation of the engine's file access.
#include "xbase/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "xbase/error.h"

namespace xb {

namespace {
std::atomic<long> writesLeft{-1};
std::atomic<long> syncsLeft{-1};

bool consume(std::atomic<long>& counter) {
    long v = counter.load();
    if (v < 0) return true;
    if (v == 0) return false;
    counter.store(v - 1);
    return true;
}

// The reason of a failed system call in words a user can act on.
std::string reasonOf(int err) {
    switch (err) {
        case ENOSPC:
            return "the disk is full";
        case EDQUOT:
            return "the disk quota is used up";
        case EACCES:
        case EPERM:
            return "permission denied";
        case EROFS:
            return "the disk is read-only";
        case EIO:
            return "the disk reported a read or write error";
        default:
            return std::strerror(err);
    }
}

std::string sysMessage(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + reasonOf(errno);
}

// The installed fault plan and how many writes and syncs each of its files has seen.
struct PlanState {
    std::mutex mutex;
    bool active = false;
    bool triggered = false;
    std::vector<fault::Plan::Rule> rules;
    std::vector<std::string> fullFiles;  // names whose writes fail from now on
    std::map<std::string, long> writes, syncs;
};

PlanState& planState() {
    static PlanState p;
    return p;
}

std::string lowerName(const std::string& path) {
    std::string n = baseNameOf(path);
    for (auto& c : n)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return n;
}

// What the plan does to this write: n (all written), a smaller count (a short write, then a
// failure), or SIZE_MAX for a failure with nothing written.
size_t plannedWrite(const std::string& path, size_t n) {
    PlanState& p = planState();
    std::lock_guard<std::mutex> g(p.mutex);
    if (!p.active) return n;
    std::string name = lowerName(path);
    for (auto& f : p.fullFiles)
        if (f == name) return SIZE_MAX;
    long count = ++p.writes[name];
    for (auto& r : p.rules) {
        if (r.sync || r.nth != count || lowerName(r.name) != name) continue;
        p.triggered = true;
        p.fullFiles.push_back(name);
        return r.keep < n ? r.keep : SIZE_MAX;
    }
    return n;
}

bool plannedSync(const std::string& path) {
    PlanState& p = planState();
    std::function<void()> action;
    {
        std::lock_guard<std::mutex> g(p.mutex);
        if (!p.active) return true;
        std::string name = lowerName(path);
        long count = ++p.syncs[name];
        for (auto& r : p.rules) {
            if (r.sync && r.nth == count && lowerName(r.name) == name) {
                if (!r.action) {
                    p.triggered = true;
                    return false;
                }
                action = r.action;
            }
        }
    }
    if (action) action();
    return true;
}

void clearPlan() {
    PlanState& p = planState();
    std::lock_guard<std::mutex> g(p.mutex);
    p.active = false;
    p.triggered = false;
    p.rules.clear();
    p.fullFiles.clear();
    p.writes.clear();
    p.syncs.clear();
}
}  // namespace

namespace fault {
void failWritesAfter(long n) {
    writesLeft = n;
}
void failSyncsAfter(long n) {
    syncsLeft = n;
}
void reset() {
    writesLeft = -1;
    syncsLeft = -1;
    clearPlan();
}

Plan& Plan::failWrite(const std::string& name, long nth) {
    rules_.push_back(Rule{name, false, nth, SIZE_MAX, {}});
    return *this;
}
Plan& Plan::shortWrite(const std::string& name, long nth, size_t keep) {
    rules_.push_back(Rule{name, false, nth, keep, {}});
    return *this;
}
Plan& Plan::failSync(const std::string& name, long nth) {
    rules_.push_back(Rule{name, true, nth, 0, {}});
    return *this;
}
Plan& Plan::atSync(const std::string& name, long nth, std::function<void()> action) {
    rules_.push_back(Rule{name, true, nth, 0, std::move(action)});
    return *this;
}

ScopedPlan::ScopedPlan(const Plan& plan) {
    clearPlan();
    PlanState& p = planState();
    std::lock_guard<std::mutex> g(p.mutex);
    p.rules = plan.rules();
    p.active = true;
}
ScopedPlan::~ScopedPlan() {
    clearPlan();
}
bool ScopedPlan::triggered() {
    PlanState& p = planState();
    std::lock_guard<std::mutex> g(p.mutex);
    return p.triggered;
}
}  // namespace fault

namespace {
// The files of the live handover, found by device and inode whatever name reaches them.
struct HeldFile {
    dev_t dev;
    ino_t ino;
    File file;
};
std::mutex heldMutex;
std::vector<HeldFile>* heldFiles = nullptr;

bool takeHeld(const struct stat& st, File& out) {
    std::lock_guard<std::mutex> g(heldMutex);
    if (!heldFiles) return false;
    for (auto it = heldFiles->begin(); it != heldFiles->end(); ++it) {
        if (it->dev == st.st_dev && it->ino == st.st_ino) {
            out = std::move(it->file);
            heldFiles->erase(it);
            return true;
        }
    }
    return false;
}
}  // namespace

Handover::Handover() {
    std::lock_guard<std::mutex> g(heldMutex);
    if (heldFiles) fail(ErrorCode::State, "Files are already being handed over");
    heldFiles = new std::vector<HeldFile>;
}

Handover::~Handover() {
    std::vector<HeldFile>* left;
    {
        std::lock_guard<std::mutex> g(heldMutex);
        left = heldFiles;
        heldFiles = nullptr;
    }
    delete left;  // closes (and unlocks) what was not taken
}

void Handover::add(File file) {
    struct stat st {};
    if (::fstat(file.fd_, &st) != 0) fail(ErrorCode::Io, sysMessage("Cannot examine", file.path()));
    std::lock_guard<std::mutex> g(heldMutex);
    heldFiles->push_back(HeldFile{st.st_dev, st.st_ino, std::move(file)});
}

std::string realPathOf(const std::string& path) {
    char* r = ::realpath(path.c_str(), nullptr);
    if (!r) return path;
    std::string out(r);
    std::free(r);
    return out;
}

File::~File() {
    close();
}

File::File(File&& other) noexcept
    : fd_(other.fd_),
      writable_(other.writable_),
      unsynced_(other.unsynced_),
      path_(std::move(other.path_)) {
    other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        writable_ = other.writable_;
        unsynced_ = other.unsynced_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

File File::open(const std::string& path, OpenMode mode, LockMode lock) {
    int flags = O_CLOEXEC;
    switch (mode) {
        case OpenMode::ReadOnly:
            flags |= O_RDONLY;
            break;
        case OpenMode::ReadWrite:
            flags |= O_RDWR;
            break;
        // Truncated only once the lock shows that nobody else has the file open.
        case OpenMode::CreateNew:
            flags |= O_RDWR | O_CREAT;
            break;
    }
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        if (errno == ENOENT) fail(ErrorCode::NotFound, "File " + path + " not found");
        if (errno == EACCES || errno == EROFS)
            fail(ErrorCode::Locked, sysMessage("Cannot open", path));
        fail(ErrorCode::Io, sysMessage("Cannot open", path));
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        fail(ErrorCode::Io, "Cannot open " + path + ": it is a folder");
    }
    File held;
    if (lock != LockMode::None && mode != OpenMode::CreateNew && takeHeld(st, held)) {
        ::close(fd);
        held.path_ = path;
        held.writable_ = mode != OpenMode::ReadOnly;
        return held;
    }
    // A file about to be emptied must not be in use by anyone, whatever lock is asked for.
    LockMode take = mode == OpenMode::CreateNew ? LockMode::Exclusive : lock;
    if (take != LockMode::None) {
        // flock locks belong to the open file description, so a second open in this same
        // process conflicts too, which is what exclusive use promises.
        int op = (take == LockMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
        if (::flock(fd, op) != 0) {
            int err = errno;
            ::close(fd);
            errno = err;
            if (err == EWOULDBLOCK)
                fail(ErrorCode::Locked, "File " + path + " is in use by another program or user");
            fail(ErrorCode::Io, sysMessage("Cannot lock", path));
        }
    }
    if (mode == OpenMode::CreateNew) {
        if (::ftruncate(fd, 0) != 0) {
            int err = errno;
            ::close(fd);
            errno = err;
            fail(ErrorCode::Io, sysMessage("Cannot empty", path));
        }
        if (lock == LockMode::None)
            ::flock(fd, LOCK_UN);
        else if (lock == LockMode::Shared)
            ::flock(fd, LOCK_SH | LOCK_NB);
    }
    File f;
    f.fd_ = fd;
    f.writable_ = mode != OpenMode::ReadOnly;
    f.path_ = path;
    return f;
}

File File::scratch(const std::string& folder) {
    const std::string dir = folder.empty() ? std::string(".") : folder;
    const std::string label = dir + (dir.back() == '/' ? "" : "/") + "(working file)";
    int fd = ::open(dir.c_str(), O_RDWR | O_TMPFILE | O_CLOEXEC, 0600);
    if (fd < 0) {
        // File systems without nameless files: a named one, unlinked at once.
        std::string name = label.substr(0, label.size() - 14) + ".~wkXXXXXX";
        fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd >= 0) ::unlink(name.c_str());
    }
    if (fd < 0) fail(ErrorCode::Io, sysMessage("Cannot create a working file in", dir));
    File f;
    f.fd_ = fd;
    f.writable_ = true;
    f.path_ = label;
    return f;
}

size_t File::readAt(uint64_t off, void* buf, size_t n) const {
    size_t done = 0;
    auto* p = static_cast<char*>(buf);
    while (done < n) {
        ssize_t r = ::pread(fd_, p + done, n - done, off_t(off + done));
        if (r < 0) {
            if (errno == EINTR) continue;
            fail(ErrorCode::Io, sysMessage("Cannot read", path_));
        }
        if (r == 0) break;
        done += size_t(r);
    }
    return done;
}

void File::readExact(uint64_t off, void* buf, size_t n, const char* what) const {
    if (readAt(off, buf, n) != n)
        fail(ErrorCode::Corrupt, path_ + ": " + what + " lies past the end of the file");
}

void File::writeAt(uint64_t off, const void* buf, size_t n) {
    if (!writable_) fail(ErrorCode::State, path_ + " is open read-only");
    if (!consume(writesLeft)) fail(ErrorCode::Io, "Cannot write " + path_ + ": injected fault");
    unsynced_ = true;
    size_t done = 0;
    auto* p = static_cast<const char*>(buf);
    size_t allowed = plannedWrite(path_, n);
    if (allowed != n) {
        if (allowed != SIZE_MAX && allowed > 0 && ::pwrite(fd_, p, allowed, off_t(off)) < 0) {
            // The fault below is the one to report.
        }
        errno = ENOSPC;
        fail(ErrorCode::Io, sysMessage("Cannot write", path_));
    }
    while (done < n) {
        ssize_t r = ::pwrite(fd_, p + done, n - done, off_t(off + done));
        if (r < 0) {
            if (errno == EINTR) continue;
            fail(ErrorCode::Io, sysMessage("Cannot write", path_));
        }
        done += size_t(r);
    }
}

uint64_t File::size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) fail(ErrorCode::Io, sysMessage("Cannot examine", path_));
    return uint64_t(st.st_size);
}

void File::truncate(uint64_t length) {
    if (::ftruncate(fd_, off_t(length)) != 0)
        fail(ErrorCode::Io, sysMessage("Cannot resize", path_));
    unsynced_ = true;
}

void File::sync() {
    if (!unsynced_) return;
    if (!consume(syncsLeft)) fail(ErrorCode::Io, "Cannot flush " + path_ + ": injected fault");
    if (!plannedSync(path_)) {
        errno = EIO;
        fail(ErrorCode::Io, sysMessage("Cannot flush", path_));
    }
    if (::fdatasync(fd_) != 0) fail(ErrorCode::Io, sysMessage("Cannot flush", path_));
    unsynced_ = false;
}

void File::close() {
    if (fd_ >= 0) {
        ::close(fd_);  // releases the flock as well
        fd_ = -1;
    }
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void removeFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        fail(ErrorCode::Io, sysMessage("Cannot delete", path));
}

std::string directoryOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string baseNameOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void syncDirectoryOf(const std::string& path) {
    const std::string dir = directoryOf(path);
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;  // some file systems refuse; the rename itself still happened
    ::fsync(fd);
    ::close(fd);
}

void replaceFile(const std::string& tmp, const std::string& target) {
    if (::rename(tmp.c_str(), target.c_str()) != 0)
        fail(ErrorCode::Io, sysMessage("Cannot replace", target));
    syncDirectoryOf(target);
}

std::string withExtension(const std::string& path, const std::string& ext) {
    std::string base = baseNameOf(path);
    auto dot = base.find_last_of('.');
    std::string stem =
        path.substr(0, path.size() - base.size() + (dot == std::string::npos ? base.size() : dot));
    bool lower = false;
    if (dot != std::string::npos) {
        for (size_t i = dot + 1; i < base.size(); ++i)
            if (base[i] >= 'a' && base[i] <= 'z') lower = true;
    }
    std::string e = ext;
    if (lower)
        for (auto& c : e)
            c = char(std::tolower(static_cast<unsigned char>(c)));
    return stem + e;
}

std::string tempSibling(const std::string& path) {
    std::string base = baseNameOf(path);
    auto dot = base.find_last_of('.');
    size_t cut = path.size() - base.size() + (dot == std::string::npos ? base.size() : dot);
    return path.substr(0, cut) + ".~pk" + path.substr(cut);
}

std::string findCaseInsensitive(const std::string& path) {
    if (fileExists(path)) return path;
    std::string dir = directoryOf(path);
    std::string name = baseNameOf(path);
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return path;
    std::string found = path;
    while (dirent* e = ::readdir(d)) {
        if (::strcasecmp(e->d_name, name.c_str()) == 0) {
            found = dir + e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

std::string findSiblingOf(const std::string& tablePath, const std::string& ext) {
    const std::string want = withExtension(tablePath, ext);
    if (fileExists(want)) return want;
    const std::string dir = directoryOf(tablePath);
    const std::string table = baseNameOf(tablePath);
    const std::string wantName = baseNameOf(want);
    auto dot = table.find_last_of('.');
    const std::string stem = table.substr(0, dot == std::string::npos ? table.size() : dot);
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return want;
    std::string ownCase, anyCase;
    bool twin = false;  // another table whose name differs from this one's only in case
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != table && ::strcasecmp(name.c_str(), table.c_str()) == 0) twin = true;
        if (::strcasecmp(name.c_str(), wantName.c_str()) != 0) continue;
        if (name.compare(0, stem.size(), stem) == 0)
            ownCase = dir + name;
        else
            anyCase = dir + name;
    }
    ::closedir(d);
    if (!ownCase.empty() && fileExists(ownCase)) return ownCase;
    if (!twin && !anyCase.empty() && fileExists(anyCase)) return anyCase;
    return want;
}

}  // namespace xb
