// The POSIX implementation of the input reader: every system call of it is
// in this file.
#include "core/inputfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

InputResult failure(int error)
{
    if (error == ENOENT)
        return {InputRead::Missing, {}};
    return {InputRead::Failed, std::generic_category().message(error)};
}

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

InputRead kindOf(const struct stat &st)
{
    if (S_ISDIR(st.st_mode))
        return InputRead::Directory;
    return S_ISREG(st.st_mode) ? InputRead::Ok : InputRead::NotRegularFile;
}

} // namespace

InputResult readProgramInput(const std::string &path, std::size_t maxBytes, std::string &bytes)
{
    bytes.clear();
    // What is not a regular file is refused before it is opened: a FIFO
    // would release a writer waiting on it.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return failure(errno);
    if (kindOf(st) != InputRead::Ok)
        return {kindOf(st), {}};
    // O_NONBLOCK and O_NOCTTY: whatever took the file's place meanwhile
    // opens at once and does not become our terminal; it is refused below.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return failure(errno);
    if (::fstat(fd.get(), &st) != 0)
        return failure(errno);
    if (kindOf(st) != InputRead::Ok)
        return {kindOf(st), {}};
    if (static_cast<unsigned long long>(st.st_size) > maxBytes)
        return {InputRead::TooLarge, {}};
    // The file may grow while it is read: it is read to its end, but no
    // further than one byte beyond the limit.
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == 0)
            return {InputRead::Ok, {}};
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            bytes.clear();
            return failure(error);
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > maxBytes) {
            bytes.clear();
            return {InputRead::TooLarge, {}};
        }
    }
}
