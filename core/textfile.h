#pragma once
// Whole-file reads and writes of small text files such as settings.ini.
//
// A write replaces the file atomically where its folder allows it: the new
// content goes into one temporary file beside it (".<name>.tmp"), is
// flushed to disk and renamed over the file. Only one save at a time uses
// that temporary file (it is locked while in use); a temporary file left by
// a save that was cut short is removed by the next save. Where the folder
// refuses new files but the file itself may be written, the file is written
// in place instead, which keeps its hard links, owner and ACLs but is not
// atomic. A symbolic link is written through: its final target gets the
// content, the link stays.
//
// The steps are the same on every system (textfile.cpp); the calls they
// are made of are the system's own (core/fileplatform.h).
#include <string>
#include <string_view>

enum class FileRead { Ok, Missing, Failed };

// The bytes of the regular file at `path`. Missing when nothing is there;
// Failed for anything that is not a readable regular file (a FIFO is not
// waited on).
FileRead readWholeFile(const std::string &path, std::string &out);

// The file a write to a path lands in.
struct WriteTarget {
    std::string path; // symbolic links followed; the file need not exist
    bool exists = false;
};

// Finds where a write to `path` lands. False when nothing may be written
// there: a loop of links, a directory or other non-file in its place, a
// read-only file (no write bit for anyone, even for root, or no write
// access for us; on Windows the read-only attribute), or an error other
// than a missing file.
bool findWriteTarget(const std::string &path, WriteTarget &target);

// Makes `content` the whole of the target file, creating it if needed (an
// existing file keeps its permissions, and its owner where we may set it).
// False, with the old file whole where the folder allows a rename, when the
// file cannot be written.
bool replaceFileContent(const WriteTarget &target, std::string_view content);

// Removes the temporary file an interrupted save of the target left.
void removeLeftOverTemp(const WriteTarget &target);

// findWriteTarget and replaceFileContent in one.
bool writeWholeFile(const std::string &path, std::string_view content);

// True when `dir` is an existing directory in which we may not create
// files (no write or search permission for us, or a read-only file
// system). A missing directory or a path through a file is not one.
bool directoryRefusesNewFiles(const std::string &dir);

// True when something other than a directory has that name.
bool fileEntryExists(const std::string &path);
