// The POSIX implementation of the output writer: every system call of it
// is in this file.
#include "core/outputfile.h"

#include "core/textfile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

constexpr auto kReaderPoll = std::chrono::milliseconds(20);
// Bytes handed to one write() call.
constexpr std::size_t kChunk = std::size_t(1) << 20;
// The FIFO opened, but nothing reads from it.
constexpr const char *kNoReader = "no process reads from it";

OutputResult failure(int error) { return {false, std::generic_category().message(error)}; }

// SIGPIPE held back from this thread while it writes into a pipe: a reader
// that goes away makes the write fail with EPIPE instead of ending the
// program. A SIGPIPE raised by our own write is taken off again.
class SigpipeHeld
{
public:
    SigpipeHeld()
    {
        ::sigemptyset(&m_pipe);
        ::sigaddset(&m_pipe, SIGPIPE);
        sigset_t pending;
        m_wasPending = ::sigpending(&pending) == 0 && ::sigismember(&pending, SIGPIPE) == 1;
        m_held = ::pthread_sigmask(SIG_BLOCK, &m_pipe, &m_before) == 0;
    }
    ~SigpipeHeld()
    {
        if (!m_held)
            return;
        sigset_t pending;
        if (!m_wasPending && ::sigpending(&pending) == 0 && ::sigismember(&pending, SIGPIPE) == 1) {
            const timespec now{};
            while (::sigtimedwait(&m_pipe, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        ::pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
    }
    SigpipeHeld(const SigpipeHeld &) = delete;
    SigpipeHeld &operator=(const SigpipeHeld &) = delete;

private:
    sigset_t m_pipe{}, m_before{};
    bool m_wasPending = false, m_held = false;
};

// Writes all of `data` at the descriptor's position: 0, or the errno of
// the write that failed. Interrupted and partial writes go on; a
// descriptor left non-blocking by whoever opened it is waited on.
int writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t put = ::write(fd, data.data(), std::min(data.size(), kChunk));
        if (put > 0) {
            data.remove_prefix(static_cast<std::size_t>(put));
        } else if (put == 0) {
            return EIO;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            pollfd ready{fd, POLLOUT, 0};
            if (::poll(&ready, 1, -1) < 0 && errno != EINTR)
                return errno;
        } else if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

// Flushes what went into a regular file or a disk to the device, so that
// an error there is reported now; other targets have nothing to flush.
int flushToDevice(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISBLK(st.st_mode)))
        return 0;
    if (::fsync(fd) == 0 || errno == EINVAL || errno == EROFS)
        return 0;
    return errno;
}

int writeAndFlush(int fd, std::string_view bytes)
{
    const SigpipeHeld held;
    const int error = writeAll(fd, bytes);
    return error != 0 ? error : flushToDevice(fd);
}

OutputResult writeStandardOutput(std::string_view bytes)
{
    std::fflush(stdout); // what the program printed before comes first
    const int error = writeAndFlush(STDOUT_FILENO, bytes);
    return error == 0 ? OutputResult{true, {}} : failure(error);
}

// A regular file, or none yet: replaced whole.
OutputResult replaceRegularFile(const std::string &path, std::string_view bytes)
{
    WriteTarget target;
    errno = 0;
    if (!findWriteTarget(path, target)) {
        struct stat st {};
        if (target.exists && ::stat(target.path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return failure(EISDIR);
        // a read-only file (no write bit: no failing call to tell why)
        return failure(errno != 0 ? errno : EACCES);
    }
    errno = 0;
    if (!replaceFileContent(target, bytes))
        return failure(errno != 0 ? errno : EIO);
    return {true, {}};
}

// Opens a target that is not a regular file for writing. A FIFO opens only
// once a process reads it: that is waited on for a bounded time.
int openForWriting(const std::string &path, bool fifo, int &fd)
{
    const auto giveUp = std::chrono::steady_clock::now() + kOutputReaderWait;
    for (;;) {
        // O_NONBLOCK: neither a FIFO nor a serial line blocks the open
        fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd >= 0)
            return 0;
        if (errno == EINTR)
            continue;
        if (!fifo || errno != ENXIO || std::chrono::steady_clock::now() >= giveUp)
            return errno;
        std::this_thread::sleep_for(kReaderPoll);
    }
}

// A device, a terminal or a FIFO: written into, never replaced.
OutputResult writeIntoTarget(const std::string &path, bool fifo, std::string_view bytes)
{
    int fd = -1;
    const int openError = openForWriting(path, fifo, fd);
    if (openError != 0)
        return fifo && openError == ENXIO ? OutputResult{false, kNoReader} : failure(openError);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        // a regular file took its place meanwhile: replaced as one
        ::close(fd);
        return replaceRegularFile(path, bytes);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    int error = flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ? errno : 0;
    if (error == 0)
        error = writeAndFlush(fd, bytes);
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    return error == 0 ? OutputResult{true, {}} : failure(error);
}

} // namespace

OutputResult writeProgramOutput(const std::string &path, std::string_view bytes)
{
    if (path == kStandardOutputPath)
        return writeStandardOutput(bytes);
    if (path.empty())
        return failure(ENOENT);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) // a path through a file, a loop of links, no access
            return failure(errno);
    } else if (S_ISDIR(st.st_mode)) {
        return failure(EISDIR);
    } else if (!S_ISREG(st.st_mode)) {
        return writeIntoTarget(path, S_ISFIFO(st.st_mode), bytes);
    }
    return replaceRegularFile(path, bytes);
}
