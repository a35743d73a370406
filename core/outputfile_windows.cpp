// The Windows implementation of the output writer: every system call of it
// is in this file. A regular file is replaced through textfile.h; a device
// (NUL, CON, COM1) or a named pipe is written into.
#include "core/fileplatform.h"
#include "core/outputfile.h"
#include "core/textfile.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <windows.h>

namespace {

// Bytes handed to one WriteFile() call.
constexpr DWORD kChunk = DWORD(1) << 20;

OutputResult failure(DWORD error) { return {false, std::system_category().message(static_cast<int>(error))}; }

OutputResult writeAllTo(HANDLE h, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD put = 0;
        const DWORD n = bytes.size() < kChunk ? static_cast<DWORD>(bytes.size()) : kChunk;
        if (!::WriteFile(h, bytes.data(), n, &put, nullptr))
            return failure(::GetLastError());
        if (put == 0)
            return failure(ERROR_WRITE_FAULT);
        bytes.remove_prefix(put);
    }
    // a file or a disk is flushed, so that an error there shows now
    if (::GetFileType(h) == FILE_TYPE_DISK && !::FlushFileBuffers(h))
        return failure(::GetLastError());
    return {true, {}};
}

OutputResult writeStandardOutput(std::string_view bytes)
{
    std::fflush(stdout); // what the program printed before comes first
    const HANDLE h = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (h == nullptr || h == INVALID_HANDLE_VALUE)
        return failure(ERROR_INVALID_HANDLE);
    return writeAllTo(h, bytes);
}

// A regular file, or none yet: replaced whole.
OutputResult replaceRegularFile(const std::string &path, std::string_view bytes)
{
    WriteTarget target;
    ::SetLastError(ERROR_SUCCESS);
    if (!findWriteTarget(path, target)) {
        // a read-only file: no failing call to tell why
        const DWORD error = ::GetLastError();
        return failure(error != ERROR_SUCCESS ? error : ERROR_ACCESS_DENIED);
    }
    ::SetLastError(ERROR_SUCCESS);
    if (!replaceFileContent(target, bytes)) {
        const DWORD error = ::GetLastError();
        return failure(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
    }
    return {true, {}};
}

HANDLE openForWriting(const std::wstring &path)
{
    return ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

OutputResult writeProgramOutput(const std::string &path, std::string_view bytes)
{
    if (path == kStandardOutputPath)
        return writeStandardOutput(bytes);
    const std::wstring wide = osfile::widePath(path);
    if (wide.empty())
        return {false, std::generic_category().message(ENOENT)};
    HANDLE h = openForWriting(wide);
    // a pipe whose every instance is busy: waited on for a bounded time
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(kOutputReaderWait);
    if (h == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_PIPE_BUSY
        && ::WaitNamedPipeW(wide.c_str(), static_cast<DWORD>(wait.count())))
        h = openForWriting(wide);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(wide.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return {false, std::generic_category().message(EISDIR)};
        // nothing there yet, or a file we may not open as it is
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_ACCESS_DENIED)
            return replaceRegularFile(path, bytes);
        return failure(error);
    }
    if (::GetFileType(h) == FILE_TYPE_DISK) {
        ::CloseHandle(h);
        return replaceRegularFile(path, bytes);
    }
    OutputResult result = writeAllTo(h, bytes);
    if (!::CloseHandle(h) && result.written)
        result = failure(::GetLastError());
    return result;
}
