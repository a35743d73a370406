#pragma once
// Writing one of the program's outputs (the sizing sheet, a sizing file, a
// schedule) wherever the user points it, all bytes at once.
//
// - "-" is standard output.
// - A regular file, or nothing yet, gets the bytes through the whole-file
//   replacement of textfile.h: a temporary file beside it, flushed and
//   renamed into place. A failed write (a full disk) leaves no file behind
//   and an older file whole.
// - Anything else that is not a directory (a character device, a terminal,
//   a FIFO) is opened and written into, never replaced: a device node or a
//   FIFO stays what it was.
// - Symbolic links are followed to what they name; the links stay.
//
// A FIFO that no process reads yet is waited on for kOutputReaderWait; then
// the write fails. A reader that goes away makes the write fail (broken
// pipe) without a SIGPIPE ending the program.
#include <chrono>
#include <string>
#include <string_view>

inline constexpr std::string_view kStandardOutputPath = "-";
inline constexpr auto kOutputReaderWait = std::chrono::seconds(5);

struct OutputResult {
    bool written = false;
    std::string reason; // when not written: why, as the system says it ("No space left on device")
};

OutputResult writeProgramOutput(const std::string &path, std::string_view bytes);
