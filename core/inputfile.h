#pragma once
// Reading one of the program's inputs (a sizing file) wherever the user
// points it, all bytes at once. What is there is taken as it is found:
//
// - a regular file (symbolic links followed) is read whole, but never more
//   than `maxBytes` of it: a larger one is refused unread;
// - a directory, a FIFO, a device or a socket is refused without being
//   read, and a FIFO is never waited on;
// - anything else the system refuses (no access, a path through a file)
//   comes back with the system's reason.
#include <cstddef>
#include <string>

enum class InputRead { Ok, Missing, Directory, NotRegularFile, TooLarge, Failed };

struct InputResult {
    InputRead outcome = InputRead::Failed;
    std::string reason; // for Failed: why, as the system says it ("Permission denied")
};

InputResult readProgramInput(const std::string &path, std::size_t maxBytes, std::string &bytes);
