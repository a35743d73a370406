#pragma once
// A sizing file (*.zelton) holds one substation: both circuits, the page
// last shown and the valve check's inputs, in exactly the format of
// settings.ini (core/sizingrecord.h). A settings.ini renamed is a sizing
// file, and a sizing file serves as settings.ini.
#include "core/errors.h"
#include "core/sizingrecord.h"

#include <cstddef>
#include <string>

// The largest file taken for a sizing file. A sizing file the program
// writes has about 600 bytes; a settings.ini grown with foreign lines may
// have more, but nothing near a megabyte.
inline constexpr std::size_t kSizingFileMaxBytes = std::size_t(1) << 20;

// A file that cannot be read as a sizing file, or a sizing file that
// cannot be written. The message names the file.
class ESizingFileError : public Exception
{
public:
    using Exception::Exception;
    const char *ClassName() const noexcept override { return "ESizingFileError"; }
};

// The record a sizing file holds, read through the routine that reads
// settings.ini, with its tolerance (a missing or unreadable value reads as
// 0), into a copy of `base` (normally the process-wide state: the results,
// which no file holds, stay with their inputs). What is not a sizing file
// raises ESizingFileError naming `path` and the reason: nothing there, a
// folder, a FIFO or a device (refused unopened), a file that cannot be
// read, one larger than kSizingFileMaxBytes (refused unread), one with NUL
// bytes (binary data: no text file holds them), one without a "Values"
// section, and a value beyond the range of numbers (its key named).
SizingRecord readSizingFile(const std::string &path, const SizingRecord &base);

// Writes the record to `path` in the key order of settings.ini, through
// the writer of program outputs (core/outputfile.h): a file is replaced
// whole, a FIFO or a device written into, links followed. Over a sizing
// file its other keys and sections stay, as in settings.ini; anything else
// there (a file that is not a sizing file) gets a new file. A failure
// raises ESizingFileError "Unable to write to <path>: <reason>" and
// changes nothing.
void writeSizingFile(const std::string &path, const SizingRecord &record);
