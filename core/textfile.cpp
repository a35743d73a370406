#include "core/textfile.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

// Links followed before a path counts as a loop (the kernel's own limit).
constexpr int kMaxLinkHops = 40;
// How long a save waits for another one on the same file to finish.
constexpr auto kLockWait = std::chrono::seconds(2);
constexpr auto kLockPoll = std::chrono::milliseconds(10);
// Rounds of taking the temporary file before a save gives up: each round
// lost to another save (which renamed or removed it) starts a new one.
constexpr int kTempAttempts = 50;

std::string directoryOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string baseNameOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string tempPathOf(const std::string &target) { return directoryOf(target) + "/." + baseNameOf(target) + ".tmp"; }

// `path` with every symbolic link in its last component followed; empty
// for a loop or an unreadable link.
std::string followLinks(std::string path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string link(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size())
            return {};
        link.resize(static_cast<std::size_t>(n));
        path = link.front() == '/' ? link : directoryOf(path) + "/" + link;
    }
    return {};
}

bool writeAllAt(int fd, std::string_view data)
{
    off_t offset = 0;
    while (!data.empty()) {
        const ssize_t put = ::pwrite(fd, data.data(), data.size(), offset);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(put));
        offset += put;
    }
    return true;
}

// An exclusive lock on the open file, waiting a bounded time for another
// save to let go of it.
bool lockFile(int fd)
{
    const auto giveUp = std::chrono::steady_clock::now() + kLockWait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        if (std::chrono::steady_clock::now() >= giveUp)
            return false;
        std::this_thread::sleep_for(kLockPoll);
    }
    return true;
}

// The open file still is the one named `path` (another save may have
// renamed or removed it while we waited for its lock).
bool stillNamed(int fd, const std::string &path)
{
    struct stat open {
    }, named{};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev
           && open.st_ino == named.st_ino;
}

bool isNoAccess(int error) { return error == EACCES || error == EPERM; }

enum class TempOpen { Ok, NoAccess, Failed };

// Takes the temporary file: a new, empty one, locked. A left-over of an
// interrupted save is removed first; one in use waits for that save.
TempOpen takeTemp(const std::string &temp, int &fd)
{
    for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
        fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        const bool fresh = fd >= 0;
        if (!fresh) {
            if (isNoAccess(errno))
                return TempOpen::NoAccess;
            if (errno != EEXIST)
                return TempOpen::Failed;
            fd = ::open(temp.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0) {
                if (errno == ENOENT)
                    continue;
                return isNoAccess(errno) ? TempOpen::NoAccess : TempOpen::Failed;
            }
        }
        if (!lockFile(fd)) {
            ::close(fd);
            return TempOpen::Failed;
        }
        if (stillNamed(fd, temp)) {
            if (fresh)
                return TempOpen::Ok;
            // left by a save that did not finish: start from a new file
            const bool removed = ::unlink(temp.c_str()) == 0;
            const int error = errno;
            ::close(fd);
            if (!removed)
                return isNoAccess(error) ? TempOpen::NoAccess : TempOpen::Failed;
            continue;
        }
        ::close(fd);
    }
    fd = -1;
    return TempOpen::Failed;
}

// The direct write for a file whose folder takes no new files. It is
// written over from the start and then cut to its new length, so that the
// file never stands empty and a file that does not grow needs no new space.
bool writeInPlace(const std::string &path, std::string_view content)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && lockFile(fd) && writeAllAt(fd, content)
              && ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    return ok;
}

void syncDirectory(const std::string &dir)
{
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

} // namespace

FileRead readWholeFile(const std::string &path, std::string &out)
{
    out.clear();
    // O_NONBLOCK: a FIFO in the file's place must not hang the read
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? FileRead::Missing : FileRead::Failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return FileRead::Failed;
    }
    if (st.st_size > 0)
        out.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buf, sizeof buf);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            out.clear();
            return FileRead::Failed;
        }
        if (got == 0)
            break;
        out.append(buf, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return FileRead::Ok;
}

bool findWriteTarget(const std::string &path, WriteTarget &target)
{
    target = WriteTarget{};
    if (path.empty())
        return false;
    target.path = followLinks(path);
    if (target.path.empty())
        return false;
    if (::stat(target.path.c_str(), &target.st) != 0)
        return errno == ENOENT;
    target.exists = true;
    if (!S_ISREG(target.st.st_mode))
        return false;
    // a file without any write bit is read-only, even for root
    return (target.st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(target.path.c_str(), W_OK) == 0;
}

bool replaceFileContent(const WriteTarget &target, std::string_view content)
{
    const std::string temp = tempPathOf(target.path);
    int fd = -1;
    switch (takeTemp(temp, fd)) {
    case TempOpen::Ok:
        break;
    case TempOpen::NoAccess:
        return target.exists && writeInPlace(target.path, content);
    case TempOpen::Failed:
        return false;
    }

    bool ok = true;
    if (target.exists) {
        // root keeps the owner; others cannot change it and keep their own
        if (::fchown(fd, target.st.st_uid, target.st.st_gid) != 0) {
        }
        ok = ::fchmod(fd, target.st.st_mode & 07777) == 0;
    }
    ok = ok && writeAllAt(fd, content) && ::fsync(fd) == 0;
    // renamed while still locked, so that no other save takes it meanwhile
    ok = ok && ::rename(temp.c_str(), target.path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    ::close(fd);
    if (ok)
        syncDirectory(directoryOf(target.path)); // make the rename itself durable
    return ok;
}

void removeLeftOverTemp(const WriteTarget &target)
{
    const std::string temp = tempPathOf(target.path);
    const int fd = ::open(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return;
    // a temporary file locked by a save in progress is that save's
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && stillNamed(fd, temp))
        ::unlink(temp.c_str());
    ::close(fd);
}

bool writeWholeFile(const std::string &path, std::string_view content)
{
    WriteTarget target;
    return findWriteTarget(path, target) && replaceFileContent(target, content);
}

bool directoryRefusesNewFiles(const std::string &dir)
{
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    return ::access(dir.c_str(), W_OK | X_OK) != 0;
}
