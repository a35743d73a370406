#pragma once
// What the file layer asks of the operating system. core/textfile.cpp holds
// the steps of a safe save; these are the calls it is made of, with one
// implementation for POSIX systems (textfile_posix.cpp) and one for
// Windows (textfile_windows.cpp). Paths are UTF-8 text.
#include <cstdint>
#include <string>
#include <string_view>

namespace osfile {

// An open file (a descriptor or a HANDLE), closed when destroyed.
class Handle
{
public:
    Handle() = default;
    explicit Handle(std::intptr_t native) : m_native(native) {}
    ~Handle() { close(); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    Handle &operator=(Handle &&other) noexcept
    {
        if (this != &other) {
            close();
            m_native = other.m_native;
            other.m_native = kInvalid;
        }
        return *this;
    }

    bool isOpen() const { return m_native != kInvalid; }
    std::intptr_t native() const { return m_native; }
    // False when the system reported an error on closing.
    bool close();

private:
    static constexpr std::intptr_t kInvalid = -1; // -1 and INVALID_HANDLE_VALUE alike
    std::intptr_t m_native = kInvalid;
};

enum class Result { Ok, Exists, Missing, NoAccess, Failed };
enum class Lock { Taken, Busy, Failed };

// The folder part and the name part of a path.
std::string directoryOf(const std::string &path);
std::string baseNameOf(const std::string &path);
// `name` in the folder `dir`.
std::string pathIn(const std::string &dir, const std::string &name);

// A new, empty file for reading and writing; Exists when the name is taken.
Result createNew(const std::string &path, Handle &file);
// An existing regular file for reading and writing; a link in the last
// component is not followed.
Result openExisting(const std::string &path, Handle &file);
// An exclusive lock on the open file, without waiting; only other savers
// that ask for it are held off, reads of the file are not.
Lock tryLock(Handle &file);
// The open file still has the name `path`.
bool sameFile(const Handle &file, const std::string &path);
// Removes the open file, named `path`.
Result removeOpen(Handle &file, const std::string &path);

// Writes `data` from the start of the file and cuts the file there.
bool writeWhole(Handle &file, std::string_view data);
// Waits until what was written is on the disk.
bool flush(Handle &file);
// Gives the open file the permissions (and owner, where allowed) that the
// existing file `target` has.
bool takeAttributes(Handle &file, const std::string &target);
// Puts the file `temp` in the place of `target` (a rename); `temp` stays
// open (and locked) meanwhile.
bool replaceWith(const std::string &temp, const std::string &target);
// Makes a replacement in the folder `dir` survive a crash.
void syncDirectory(const std::string &dir);

#ifdef _WIN32
// The path as the wide calls take it: UTF-16, and in the "\\?\" form when
// long; empty when `path` is not UTF-8.
std::wstring widePath(const std::string &path);
#endif

} // namespace osfile
