#include "core/sizingfile.h"

#include "core/inifile.h"
#include "core/inputfile.h"
#include "core/outputfile.h"
#include "core/profile.h"

#include <cerrno>
#include <system_error>

namespace {

constexpr const char *kValues = "Values";

enum class Verdict { SizingFile, Unreadable, NotSizingFile };

// Reads the file at `path` and judges it; `why` tells what is wrong.
Verdict readSizingText(const std::string &path, std::string &text, std::string &why)
{
    const InputResult read = readProgramInput(path, kSizingFileMaxBytes, text);
    switch (read.outcome) {
    case InputRead::Ok:
        break;
    case InputRead::Missing:
        why = std::generic_category().message(ENOENT);
        return Verdict::Unreadable;
    case InputRead::Failed:
        why = read.reason;
        return Verdict::Unreadable;
    case InputRead::Directory:
        why = "it is a folder";
        return Verdict::NotSizingFile;
    case InputRead::NotRegularFile:
        why = "it is not a regular file";
        return Verdict::NotSizingFile;
    case InputRead::TooLarge:
        why = "it is larger than " + std::to_string(kSizingFileMaxBytes >> 20) + " MB";
        return Verdict::NotSizingFile;
    }
    if (text.find('\0') != std::string::npos) {
        why = "it holds binary data";
        return Verdict::NotSizingFile;
    }
    if (!hasProfileSection(text, kValues)) {
        why = "it has no section [Values]";
        return Verdict::NotSizingFile;
    }
    return Verdict::SizingFile;
}

} // namespace

SizingRecord readSizingFile(const std::string &path, const SizingRecord &base)
{
    std::string text, why;
    switch (readSizingText(path, text, why)) {
    case Verdict::SizingFile:
        break;
    case Verdict::Unreadable:
        throw ESizingFileError("Unable to read " + path + ": " + why);
    case Verdict::NotSizingFile:
        throw ESizingFileError(path + " is not a sizing file: " + why);
    }
    SizingRecord record = base;
    SizingKey failed;
    try {
        readSizingKeys(TIniFile(path, std::move(text)), record.sizing, record.checks1, record.checks2, &failed);
    } catch (const EOverflow &) {
        throw ESizingFileError(path + ": the value of " + failed.key + " in section [" + failed.section
                               + "] lies beyond the range of numbers");
    }
    return record;
}

void writeSizingFile(const std::string &path, const SizingRecord &record)
{
    // Over a sizing file its other lines stay; anything else is replaced by
    // a new file.
    std::string text, why;
    if (readSizingText(path, text, why) != Verdict::SizingFile)
        text.clear();
    for (const ProfileEntry &entry : sizingKeyEntries(record.sizing, record.checks1, record.checks2))
        setProfileValue(text, entry.section, entry.key, entry.value);
    const OutputResult written = writeProgramOutput(path, text);
    if (!written.written)
        throw ESizingFileError("Unable to write to " + path + ": " + written.reason);
}
