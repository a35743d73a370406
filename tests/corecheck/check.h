#pragma once
// The check program's own small runner: plain C++, no Qt, so that the same
// tables run in the Linux build and in the Windows build.
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

// Cases passed and failed so far.
inline int g_passed = 0, g_failed = 0;

// Counts one case; a failing one prints its name and what came out.
inline bool expect(bool ok, const std::string &name, const std::string &got = {})
{
    ++(ok ? g_passed : g_failed);
    if (!ok)
        std::printf("FAIL %s%s%s\n", name.c_str(), got.empty() ? "" : ": ", got.c_str());
    return ok;
}

// Bytes as printable text: line ends, NUL and other bytes escaped.
inline std::string escaped(std::string_view bytes, std::size_t limit = 400)
{
    std::string out;
    for (const unsigned char c : bytes.substr(0, limit)) {
        char buf[8];
        if (c == '\r' || c == '\n')
            out += c == '\r' ? "\\r" : "\\n";
        else if (c == '\\' || c < 32 || c > 126)
            std::snprintf(buf, sizeof buf, "\\x%02X", c), out += buf;
        else
            out += static_cast<char>(c);
    }
    if (bytes.size() > limit)
        out += "...(" + std::to_string(bytes.size()) + " bytes)";
    return out;
}

// The empty section of the valve check's inputs (z 0.5).
inline constexpr char kEmptyChecks[] = "[Checks]\r\nHeatLoad1=0\r\nt1_1=0\r\nt2_1=0\r\nP1_1=0\r\nz1=0.5\r\n"
                                       "HeatLoad2=0\r\nt1_2=0\r\nt2_2=0\r\nP1_2=0\r\nz2=0.5\r\n";

// settings.ini as a first start writes it: the twenty lines of the
// original keys, then the valve check's section.
inline std::string zeroFile()
{
    std::string text = "[Main]\r\nLastSys=0\r\n[Values]\r\n";
    for (const char *key : {"Q1", "dPr1", "dPf1", "dPppr1", "dPs", "dPtr1", "dPdr1", "dPn", "Kvy1", "Q2", "dPr2",
                            "dPf2", "dPppr2", "dPt", "dPtr2", "dPdr2", "Kvy2"})
        text += std::string(key) + "=0\r\n";
    return text + kEmptyChecks;
}

// A fresh folder for one case's files, as a UTF-8 path; files in it.
std::string scratchFolder(std::string_view name);
std::string fileBytes(const std::string &path);
void putFileBytes(const std::string &path, std::string_view bytes);

// The differential check against the platform's profile functions (the
// Windows build only); `seed` and `count` drive the generated files.
void runProfileDifferential(unsigned seed, int count);
