#pragma once
// Helpers shared by the core tests: whole-file reads and writes.
#include <fstream>
#include <sstream>
#include <string>

// The bytes of the file at `path`; empty if it cannot be read.
inline std::string readFileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Replaces the file at `path` with `bytes`.
inline void writeFileBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}
