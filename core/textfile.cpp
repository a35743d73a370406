#include "core/textfile.h"

#include "core/fileplatform.h"

#include <chrono>
#include <thread>

namespace {

// How long a save waits for another one on the same file to finish.
constexpr auto kLockWait = std::chrono::seconds(2);
constexpr auto kLockPoll = std::chrono::milliseconds(10);
// Rounds of taking the temporary file before a save gives up: each round
// lost to another save (which renamed or removed it) starts a new one.
constexpr int kTempAttempts = 50;

std::string tempPathOf(const std::string &target)
{
    return osfile::pathIn(osfile::directoryOf(target), "." + osfile::baseNameOf(target) + ".tmp");
}

// An exclusive lock on the open file, waiting a bounded time for another
// save to let go of it.
bool lockFile(osfile::Handle &file)
{
    const auto giveUp = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
        switch (osfile::tryLock(file)) {
        case osfile::Lock::Taken:
            return true;
        case osfile::Lock::Failed:
            return false;
        case osfile::Lock::Busy:
            break;
        }
        if (std::chrono::steady_clock::now() >= giveUp)
            return false;
        std::this_thread::sleep_for(kLockPoll);
    }
}

enum class TempOpen { Ok, NoAccess, Failed };

TempOpen fromResult(osfile::Result r) { return r == osfile::Result::NoAccess ? TempOpen::NoAccess : TempOpen::Failed; }

// Takes the temporary file: a new, empty one, locked. A left-over of an
// interrupted save is removed first; one in use waits for that save.
TempOpen takeTemp(const std::string &temp, osfile::Handle &file)
{
    for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
        file.close();
        osfile::Result r = osfile::createNew(temp, file);
        const bool fresh = r == osfile::Result::Ok;
        if (r == osfile::Result::Exists) {
            r = osfile::openExisting(temp, file);
            if (r == osfile::Result::Missing)
                continue;
        }
        if (r != osfile::Result::Ok)
            return fromResult(r);
        if (!lockFile(file))
            return TempOpen::Failed;
        if (!osfile::sameFile(file, temp))
            continue; // renamed or removed by the save we waited for
        if (fresh)
            return TempOpen::Ok;
        // left by a save that did not finish: start from a new file
        r = osfile::removeOpen(file, temp);
        if (r != osfile::Result::Ok)
            return fromResult(r);
    }
    file.close();
    return TempOpen::Failed;
}

// The direct write for a file whose folder takes no new files. It is
// written over from the start and then cut to its new length, so that the
// file never stands empty and a file that does not grow needs no new space.
bool writeInPlace(const std::string &path, std::string_view content)
{
    osfile::Handle file;
    if (osfile::openExisting(path, file) != osfile::Result::Ok)
        return false;
    const bool ok = lockFile(file) && osfile::writeWhole(file, content) && osfile::flush(file);
    return file.close() && ok;
}

} // namespace

bool replaceFileContent(const WriteTarget &target, std::string_view content)
{
    const std::string temp = tempPathOf(target.path);
    osfile::Handle file;
    switch (takeTemp(temp, file)) {
    case TempOpen::Ok:
        break;
    case TempOpen::NoAccess:
        return target.exists && writeInPlace(target.path, content);
    case TempOpen::Failed:
        return false;
    }

    bool ok = !target.exists || osfile::takeAttributes(file, target.path);
    ok = ok && osfile::writeWhole(file, content) && osfile::flush(file);
    // replaced while still locked, so that no other save takes it meanwhile
    ok = ok && osfile::replaceWith(temp, target.path);
    if (!ok)
        osfile::removeOpen(file, temp);
    file.close();
    if (ok)
        osfile::syncDirectory(osfile::directoryOf(target.path)); // make the replacement itself durable
    return ok;
}

void removeLeftOverTemp(const WriteTarget &target)
{
    const std::string temp = tempPathOf(target.path);
    osfile::Handle file;
    if (osfile::openExisting(temp, file) != osfile::Result::Ok)
        return;
    // a temporary file locked by a save in progress is that save's
    if (osfile::tryLock(file) == osfile::Lock::Taken && osfile::sameFile(file, temp))
        osfile::removeOpen(file, temp);
}

bool writeWholeFile(const std::string &path, std::string_view content)
{
    WriteTarget target;
    return findWriteTarget(path, target) && replaceFileContent(target, content);
}
