#pragma once
// Private-profile access to INI files. Every call reads or rewrites the file
// on disk; nothing is cached between calls.
//
// Reading: section and key names match without regard to ASCII letter case;
// blanks (spaces, tabs, vertical tabs, form feeds) around names and values
// are ignored; one pair of matching quotes around a value is removed; a
// value is cut at kProfileValueMax characters; the first of duplicate
// sections, and the first of duplicate keys in it, wins. A section header
// names what lies between "[" and the last "]" of its line. The lines
// before the first header form the section with the empty name. A line
// without "=" names a key without a value, which reads as missing. Names
// and values end at a NUL byte. These are the rules of the Windows
// private-profile functions, as tests/corecheck compares them; lines
// beginning with ";" or "#" are lines like any other.
//
// Writing: an existing key gets its value replaced on its own line; a
// missing key is added after the last line of its section that is not
// blank; a missing section
// is added at the end of the file. Every other byte of the file stays as it
// was; new lines take the file's own line end ("\r\n" for a new file).
// The file is written as core/textfile.h writes it: replaced atomically
// (temporary file, fsync, rename) where its folder allows, so that a
// failure or a crash leaves either the old or the new file, never a torn
// one; written in place where only the file itself may be written.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kProfileValueMax = 2047;

struct ProfileEntry {
    std::string section;
    std::string key;
    std::string value;
};

// The value of `key` in `section` of the file at `path`; `def` when the
// file, the section or the key is missing or the file cannot be read.
std::string readProfileString(std::string_view section, std::string_view key, std::string_view def,
                              const std::string &path);

// Sets one key. Returns false when the file cannot be written: a read-only
// file (no write bit for anyone, or no write access), a directory or other
// non-file in its place, a missing directory, a new file in an unwritable
// directory, a failed write (such as a full disk). The file is then left as
// it was, unless a write in place failed midway. Names must not
// hold line breaks or NUL bytes, a key no "=" and not be empty; values are
// cut at the first line break or NUL byte.
bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string &path);

// Sets several keys, in order, with one replacement of the file: the result
// is the same as writing them one by one, and on failure nothing is written.
bool writeProfileStrings(const std::vector<ProfileEntry> &entries, const std::string &path);

// The same rules on a text held in memory.
bool hasProfileSection(std::string_view text, std::string_view section);
bool findProfileValue(std::string_view text, std::string_view section, std::string_view key, std::string &value);
void setProfileValue(std::string &text, std::string_view section, std::string_view key, std::string_view value);
