// The Windows implementation of the input reader: every system call of it
// is in this file. A device (NUL, CON, COM1) or a named pipe is refused
// unread.
#include "core/fileplatform.h"
#include "core/inputfile.h"

#include <system_error>
#include <windows.h>

namespace {

InputResult failure(DWORD error)
{
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return {InputRead::Missing, {}};
    return {InputRead::Failed, std::system_category().message(static_cast<int>(error))};
}

class FileHandle
{
public:
    explicit FileHandle(HANDLE h) : m_h(h) {}
    ~FileHandle()
    {
        if (m_h != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_h);
    }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
    HANDLE get() const { return m_h; }

private:
    HANDLE m_h;
};

} // namespace

InputResult readProgramInput(const std::string &path, std::size_t maxBytes, std::string &bytes)
{
    bytes.clear();
    const std::wstring wide = osfile::widePath(path);
    if (wide.empty())
        return {InputRead::Missing, {}};
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {InputRead::Directory, {}};
    // A pipe with no instance free fails here at once instead of waiting.
    const FileHandle file(::CreateFileW(wide.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        return failure(::GetLastError());
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        return {InputRead::NotRegularFile, {}};
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.get(), &size))
        return failure(::GetLastError());
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return {InputRead::TooLarge, {}};
    // The file may grow while it is read: it is read to its end, but no
    // further than one byte beyond the limit.
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            const DWORD error = ::GetLastError();
            bytes.clear();
            return failure(error);
        }
        if (got == 0)
            return {InputRead::Ok, {}};
        bytes.append(buffer, got);
        if (bytes.size() > maxBytes) {
            bytes.clear();
            return {InputRead::TooLarge, {}};
        }
    }
}
