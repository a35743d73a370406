// The file layer on POSIX systems.
#include "core/fileplatform.h"
#include "core/textfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Links followed before a path counts as a loop (the kernel's own limit).
constexpr int kMaxLinkHops = 40;

int fdOf(const osfile::Handle &file) { return static_cast<int>(file.native()); }

bool isNoAccess(int error) { return error == EACCES || error == EPERM; }

osfile::Result resultOf(int error)
{
    if (error == ENOENT)
        return osfile::Result::Missing;
    if (error == EEXIST)
        return osfile::Result::Exists;
    return isNoAccess(error) ? osfile::Result::NoAccess : osfile::Result::Failed;
}

osfile::Result opened(int fd, osfile::Handle &file)
{
    if (fd < 0)
        return resultOf(errno);
    file = osfile::Handle(fd);
    return osfile::Result::Ok;
}

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
        path = link.front() == '/' ? link : osfile::directoryOf(path) + "/" + link;
    }
    return {};
}

} // namespace

namespace osfile {

bool Handle::close()
{
    if (!isOpen())
        return true;
    const int fd = fdOf(*this);
    m_native = kInvalid;
    return ::close(fd) == 0;
}

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

std::string pathIn(const std::string &dir, const std::string &name) { return dir + "/" + name; }

Result createNew(const std::string &path, Handle &file)
{
    return opened(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666), file);
}

Result openExisting(const std::string &path, Handle &file)
{
    // O_NONBLOCK: a FIFO of that name must not hang the save
    const Result r = opened(::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK), file);
    struct stat st {};
    if (r == Result::Ok && (::fstat(fdOf(file), &st) != 0 || !S_ISREG(st.st_mode))) {
        file.close();
        return Result::Failed;
    }
    return r;
}

Lock tryLock(Handle &file)
{
    if (::flock(fdOf(file), LOCK_EX | LOCK_NB) == 0)
        return Lock::Taken;
    return errno == EWOULDBLOCK || errno == EINTR ? Lock::Busy : Lock::Failed;
}

bool sameFile(const Handle &file, const std::string &path)
{
    struct stat open {
    }, named{};
    return ::fstat(fdOf(file), &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev
           && open.st_ino == named.st_ino;
}

Result removeOpen(Handle &, const std::string &path)
{
    return ::unlink(path.c_str()) == 0 ? Result::Ok : resultOf(errno);
}

bool writeWhole(Handle &file, std::string_view data)
{
    const int fd = fdOf(file);
    const off_t size = static_cast<off_t>(data.size());
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
    return ::ftruncate(fd, size) == 0;
}

bool flush(Handle &file) { return ::fsync(fdOf(file)) == 0; }

bool takeAttributes(Handle &file, const std::string &target)
{
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0)
        return errno == ENOENT; // gone meanwhile: a new file
    // root keeps the owner; others cannot change it and keep their own
    if (::fchown(fdOf(file), st.st_uid, st.st_gid) != 0) {
    }
    return ::fchmod(fdOf(file), st.st_mode & 07777) == 0;
}

bool replaceWith(const std::string &temp, const std::string &target)
{
    return ::rename(temp.c_str(), target.c_str()) == 0;
}

void syncDirectory(const std::string &dir)
{
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

} // namespace osfile

FileRead readWholeFile(const std::string &path, std::string &out)
{
    out.clear();
    // O_NONBLOCK: a FIFO in the file's place must not hang the read
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? FileRead::Missing : FileRead::Failed;
    osfile::Handle file(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return FileRead::Failed;
    if (st.st_size > 0)
        out.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buf, sizeof buf);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            out.clear();
            return FileRead::Failed;
        }
        if (got == 0)
            break;
        out.append(buf, static_cast<std::size_t>(got));
    }
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
    struct stat st {};
    if (::stat(target.path.c_str(), &st) != 0)
        return errno == ENOENT;
    target.exists = true;
    if (!S_ISREG(st.st_mode))
        return false;
    // a file without any write bit is read-only, even for root
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(target.path.c_str(), W_OK) == 0;
}

bool directoryRefusesNewFiles(const std::string &dir)
{
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    return ::access(dir.c_str(), W_OK | X_OK) != 0;
}

bool fileEntryExists(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}
