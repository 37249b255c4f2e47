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
#include <cstdio>
#include <cstring>

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

std::string sysMessage(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
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
}
}  // namespace fault

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

}  // namespace xb
