// The file layer on Windows. Paths arrive as UTF-8 and go to the wide
// (UTF-16) calls; long ones take the "\\?\" form, which has no MAX_PATH
// limit. Links (reparse points) are followed by the system when a file is
// opened by name.
#include "core/fileplatform.h"
#include "core/textfile.h"

#include <windows.h>

namespace {

using osfile::widePath;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Savers lock one byte far beyond the end of any such file: a lock there
// holds off the other savers but no reader, since Windows enforces locks
// on the bytes they cover.
constexpr DWORD kLockOffsetHigh = 0x40000000;
// What a file keeps of its old attributes when it is saved.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// Paths from this length on take the long form.
constexpr std::size_t kLongPath = MAX_PATH - 12;

HANDLE handleOf(const osfile::Handle &file) { return reinterpret_cast<HANDLE>(file.native()); }

bool isSeparator(char c) { return c == '/' || c == '\\'; }

bool hasDrive(const std::string &path) { return path.size() >= 2 && path[1] == ':'; }

std::wstring widen(const std::string &text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (n <= 0)
        return {}; // not UTF-8: no file has that name
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), n);
    return wide;
}

std::string narrow(const std::wstring &wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
    return text;
}

osfile::Result resultOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return osfile::Result::Missing;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return osfile::Result::Exists;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return osfile::Result::NoAccess;
    default:
        return osfile::Result::Failed;
    }
}

HANDLE openByName(const std::string &path, DWORD access, DWORD disposition, DWORD flags)
{
    return ::CreateFileW(widePath(path).c_str(), access, kShareAll, nullptr, disposition, flags, nullptr);
}

osfile::Result opened(HANDLE h, osfile::Handle &file)
{
    if (h == INVALID_HANDLE_VALUE)
        return resultOf(::GetLastError());
    file = osfile::Handle(reinterpret_cast<std::intptr_t>(h));
    return osfile::Result::Ok;
}

// An ordinary file on a disk: not a directory, a link, a device or a pipe.
bool isRegularFile(HANDLE h, BY_HANDLE_FILE_INFORMATION &info)
{
    return ::GetFileType(h) == FILE_TYPE_DISK && ::GetFileInformationByHandle(h, &info)
           && (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

bool isRegularFile(HANDLE h)
{
    BY_HANDLE_FILE_INFORMATION info;
    return isRegularFile(h, info);
}

// The path of the file a handle names, all links resolved.
std::string finalPathOf(HANDLE h)
{
    const DWORD n = ::GetFinalPathNameByHandleW(h, nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0)
        return {};
    std::wstring wide(n, L'\0');
    const DWORD got = ::GetFinalPathNameByHandleW(h, wide.data(), n, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (got == 0 || got >= n)
        return {};
    wide.resize(got);
    return narrow(wide);
}

} // namespace

namespace osfile {

std::wstring widePath(const std::string &path)
{
    std::wstring wide = widen(path);
    if (wide.size() < kLongPath || wide.rfind(L"\\\\?\\", 0) == 0)
        return wide;
    DWORD n = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return wide;
    std::wstring full(n, L'\0');
    n = ::GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    full.resize(n);
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

bool Handle::close()
{
    if (!isOpen())
        return true;
    const HANDLE h = handleOf(*this);
    m_native = kInvalid;
    return ::CloseHandle(h) != 0;
}

std::string directoryOf(const std::string &path)
{
    const std::size_t sep = path.find_last_of("/\\");
    if (sep == std::string::npos)
        return hasDrive(path) ? path.substr(0, 2) : ".";
    if (sep == 0 || (sep == 2 && hasDrive(path)))
        return path.substr(0, sep + 1); // the root keeps its separator
    return path.substr(0, sep);
}

std::string baseNameOf(const std::string &path)
{
    const std::size_t sep = path.find_last_of("/\\");
    if (sep != std::string::npos)
        return path.substr(sep + 1);
    return hasDrive(path) ? path.substr(2) : path;
}

std::string pathIn(const std::string &dir, const std::string &name)
{
    if (!dir.empty() && (isSeparator(dir.back()) || dir.back() == ':'))
        return dir + name;
    return dir + "\\" + name;
}

Result createNew(const std::string &path, Handle &file)
{
    constexpr DWORD kAccess = GENERIC_READ | GENERIC_WRITE | DELETE | WRITE_DAC;
    return opened(openByName(path, kAccess, CREATE_NEW, FILE_ATTRIBUTE_NORMAL), file);
}

Result openExisting(const std::string &path, Handle &file)
{
    constexpr DWORD kAccess = GENERIC_READ | GENERIC_WRITE;
    HANDLE h = openByName(path, kAccess | DELETE, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
    if (h == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED) // may write, not remove
        h = openByName(path, kAccess, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
    const Result r = opened(h, file);
    if (r == Result::Ok && !isRegularFile(handleOf(file))) {
        file.close();
        return Result::Failed;
    }
    return r;
}

Lock tryLock(Handle &file)
{
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    if (::LockFileEx(handleOf(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
        return Lock::Taken;
    return ::GetLastError() == ERROR_LOCK_VIOLATION ? Lock::Busy : Lock::Failed;
}

bool sameFile(const Handle &file, const std::string &path)
{
    BY_HANDLE_FILE_INFORMATION open, named;
    if (!::GetFileInformationByHandle(handleOf(file), &open))
        return false;
    Handle other;
    if (opened(openByName(path, FILE_READ_ATTRIBUTES, OPEN_EXISTING,
                          FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS),
               other)
        != Result::Ok)
        return false;
    return ::GetFileInformationByHandle(handleOf(other), &named)
           && open.dwVolumeSerialNumber == named.dwVolumeSerialNumber && open.nFileIndexHigh == named.nFileIndexHigh
           && open.nFileIndexLow == named.nFileIndexLow;
}

Result removeOpen(Handle &file, const std::string &path)
{
    // gone when the last handle on it closes
    FILE_DISPOSITION_INFO dispose{};
    dispose.DeleteFile = TRUE;
    if (::SetFileInformationByHandle(handleOf(file), FileDispositionInfo, &dispose, sizeof dispose)
        || ::DeleteFileW(widePath(path).c_str()))
        return Result::Ok;
    return resultOf(::GetLastError());
}

bool writeWhole(Handle &file, std::string_view data)
{
    const HANDLE h = handleOf(file);
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(h, start, nullptr, FILE_BEGIN))
        return false;
    while (!data.empty()) {
        const DWORD chunk = data.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(data.size());
        DWORD put = 0;
        if (!::WriteFile(h, data.data(), chunk, &put, nullptr) || put == 0)
            return false;
        data.remove_prefix(put);
    }
    return ::SetEndOfFile(h) != 0;
}

bool flush(Handle &file) { return ::FlushFileBuffers(handleOf(file)) != 0; }

// The target's attributes (hidden, system...) and its access list go to the
// new file, which takes the target's place by a rename. (ReplaceFileW, which
// would keep them itself, refuses a file that is still open, and the
// temporary file stays open and locked until it has its new name.)
bool takeAttributes(Handle &file, const std::string &target)
{
    const std::wstring wide = widePath(target);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND; // gone meanwhile: a new file
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = (attributes & kKeptAttributes) | FILE_ATTRIBUTE_NORMAL;
    if (!::SetFileInformationByHandle(handleOf(file), FileBasicInfo, &basic, sizeof basic))
        return false;
    // an access list we may not read stays the one the folder hands down
    DWORD size = 0;
    ::GetFileSecurityW(wide.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::string descriptor(size, '\0');
    if (size == 0 || !::GetFileSecurityW(wide.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size))
        return true;
    return ::SetKernelObjectSecurity(handleOf(file), DACL_SECURITY_INFORMATION, descriptor.data()) != 0;
}

bool replaceWith(const std::string &temp, const std::string &target)
{
    return ::MoveFileExW(widePath(temp).c_str(), widePath(target).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
           != 0;
}

// The file system logs the rename itself (and MOVEFILE_WRITE_THROUGH waits
// for it); a folder cannot be flushed on its own.
void syncDirectory(const std::string &) {}

} // namespace osfile

FileRead readWholeFile(const std::string &path, std::string &out)
{
    out.clear();
    osfile::Handle file;
    const osfile::Result r = opened(openByName(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL), file);
    if (r != osfile::Result::Ok)
        return r == osfile::Result::Missing ? FileRead::Missing : FileRead::Failed;
    const HANDLE h = handleOf(file);
    // a device (CON, NUL, COM1) or a pipe is not read
    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileInformationByHandle(h, &info)
        || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileRead::Failed;
    char buf[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(h, buf, sizeof buf, &got, nullptr)) {
            out.clear();
            return FileRead::Failed;
        }
        if (got == 0)
            return FileRead::Ok;
        out.append(buf, got);
    }
}

bool findWriteTarget(const std::string &path, WriteTarget &target)
{
    target = WriteTarget{};
    if (path.empty() || widen(path).empty())
        return false;
    target.path = path;
    osfile::Handle file;
    const osfile::Result r =
        opened(openByName(path, FILE_READ_ATTRIBUTES, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS), file);
    if (r != osfile::Result::Ok)
        return r == osfile::Result::Missing;
    target.exists = true;
    const HANDLE h = handleOf(file);
    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileInformationByHandle(h, &info)
        || (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return false;
    // a link: the save goes to the file it names, the link stays
    const DWORD own = ::GetFileAttributesW(widePath(path).c_str());
    if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_REPARSE_POINT)) {
        target.path = finalPathOf(h);
        if (target.path.empty())
            return false;
    }
    // write access, as the file's ACL grants it to us
    osfile::Handle writable;
    return opened(openByName(target.path, GENERIC_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL), writable)
           == osfile::Result::Ok;
}

bool directoryRefusesNewFiles(const std::string &dir)
{
    const DWORD attributes = ::GetFileAttributesW(widePath(dir).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // only trying tells what the folder's ACL allows
    const std::string probe = osfile::pathIn(dir, ".probe-" + std::to_string(::GetCurrentProcessId()) + ".tmp");
    const HANDLE h = ::CreateFileW(widePath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        ::CloseHandle(h);
        return false;
    }
    return resultOf(::GetLastError()) == osfile::Result::NoAccess;
}

bool fileEntryExists(const std::string &path)
{
    const DWORD attributes = ::GetFileAttributesW(widePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
