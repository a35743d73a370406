// The core's cases as one program without Qt, built for Linux and for
// Windows alike: the sizing formulas, the number texts, settings.ini and
// the file layer under it, the output writer and sizing files. The Windows build then compares the INI layer
// with the system's own profile functions (profilediff.cpp).
// Usage: corecheck [seed [count]]; prints "N passed, N failed".
#include "core/errors.h"
#include "core/numtext.h"
#include "core/outputfile.h"
#include "core/profile.h"
#include "core/settings.h"
#include "core/sizing.h"
#include "core/sizingfile.h"
#include "tests/corecheck/check.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path pathOf(const std::string &utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }
const fs::path &scratchRoot()
{
    static const fs::path root = fs::temp_directory_path() / ("corecheck-" + std::to_string(std::rand()));
    return root;
}
std::string num(double v) { return FormatSettingsValue(v); }

// ---- the formulas --------------------------------------------------------
// The inputs in the order of the fields (the flow last), and what comes out:
// valve drop, Kv, Kvy and actual loss, "-" where a step reports false.
const std::pair<std::vector<double>, const char *> kFormulas[] = {
    {{0, 0, 0, 0, 0, 0, 0, 0}, "0.00 - - -"},
    {{1, 0.1, 0, 0, 0, 0, 0, 2}, "0.80 2.24 2 1.00"},
    {{0.5, 0, 0, 0, 0, 0, 0.3, 1}, "0.80 1.12 1 1.00"},
    {{1, 0, 0, 0, 0, 0, 0, 4}, "1.00 4.00 4 1.00"},
    {{1, 0, 0, 0, 0, 0, 0, 0.5}, "1.00 0.50 0 -"},
    {{0.3, 0.1, 0.1, 0, 0, 0, 0, 1}, "0.00 - - -"}, // about -2.8e-17
    {{5, 0.25, 0.1, 1.2, 0.3, 0.15, 0.5, 10}, "3.25 5.55 5 4.00"},
    {{1e16, 0, 1, 1, 0, 0, 0, 0}, "9999999999999998.00 0.00 0 -"},
    {{0.1, 0, 0, 0.5, 0, 0, 3}, "-0.40 - - -"}, // seven inputs: the independent circuit
    {{4, 0.2, 0.1, 0.7, 0.3, 0.2, 12.5}, "2.50 7.91 7 3.19"},
};

void checkFormulas()
{
    for (const auto &[in, want] : kFormulas) {
        SizingState &s = sizing();
        s = SizingState{};
        const bool one = in.size() == 8;
        double *const fields1[] = {&s.dPr1, &s.dPf1, &s.dPppr1, &s.dPs, &s.dPtr1, &s.dPdr1, &s.dPn, &s.Q1};
        double *const fields2[] = {&s.dPr2, &s.dPf2, &s.dPppr2, &s.dPt, &s.dPtr2, &s.dPdr2, &s.Q2};
        for (std::size_t i = 0; i < in.size(); ++i)
            *(one ? fields1[i] : fields2[i]) = in[i];
        one ? computeValveDrop1() : computeValveDrop2();
        const bool capacity = one ? computeCapacity1() : computeCapacity2();
        const bool loss = one ? computeActualLoss1() : computeActualLoss2();
        const std::string got =
            FormatTwoDecimals(one ? s.dPkl1 : s.dPkl2) + " "
            + (capacity ? FormatTwoDecimals(one ? s.Kv1 : s.Kv2) + " " + num(one ? s.Kvy1 : s.Kvy2) : "- -") + " "
            + (loss ? FormatTwoDecimals(one ? s.dPklReal1 : s.dPklReal2) : "-");
        expect(got == want, "formulas " + got, want);
    }
}

// ---- the number texts ----------------------------------------------------
void checkNumberTexts()
{
    // clang-format off
    const std::pair<double, const char *> twoDecimals[] = {
        {0.125, "0.13"}, {0.135, "0.14"}, {2.675, "2.67"}, {1.005, "1.00"}, {0.8, "0.80"}, {-0.4, "-0.40"},
        {0.005, "0.01"}, {-0.005, "-0.01"}, {-0.004, "0.00"}, {-0.0, "0.00"}, {1e18, "1E18"},
        {std::sqrt(5.0), "2.24"}, {1234567.891, "1234567.89"}};
    const std::pair<double, const char *> general[] = {
        {12.35, "12.35"}, {0.5, "0.5"}, {100, "100"}, {7, "7"}, {-2.5, "-2.5"}, {0.0001, "0.0001"},
        {0.00001, "1E-5"}, {999999999999999, "999999999999999"}, {1e15, "1E15"}, {1.5e20, "1.5E20"},
        {1.9e10, "19000000000"}, {1.0 / 3, "0.333333333333333"}, {2.0 / 3, "0.666666666666667"}};
    // a text and the double it gives, in the settings form
    const std::pair<const char *, const char *> parses[] = {
        {"1,5", "fails"}, {" 1.5 ", "1.5"}, {"1.5e1", "15"}, {"1.5E+1", "15"}, {"+.5", "0.5"}, {"1E", "1"},
        {".", "0"}, {"1.5x", "fails"}, {"-", "fails"}, {"", "fails"}, {"1E5000", "fails"}, {"1E-400", "0"},
        {"1E500", "Floating point overflow"}, {"-3", "-3"}, {"0.1", "0.1"}};
    // clang-format on
    for (auto [v, text] : twoDecimals)
        expect(FormatTwoDecimals(v) == text, std::string("two decimals ") + text, FormatTwoDecimals(v));
    for (auto [v, text] : general)
        expect(num(v) == text, std::string("settings form ") + text, num(v));
    for (auto [text, want] : parses) {
        long double v = 0;
        std::string got = "fails";
        try {
            got = ParseSettingsValue(text, v) ? num(storeDouble(v)) : got;
        } catch (const EOverflow &e) {
            got = e.what();
        }
        expect(got == want, std::string("parse \"") + text + "\"", got);
    }

    // every entry of 0.00..100.00 by 0.01 and 0.0..1000.0 by 0.1 comes back,
    // written without trailing zeros and without a bare point
    int lost = 0;
    for (const int scale : {100, 10}) {
        for (int i = 0; i <= 10000; ++i) {
            char entry[16];
            std::snprintf(entry, sizeof entry, scale == 100 ? "%d.%02d" : "%d.%d", i / scale, i % scale);
            std::string want = entry;
            want.erase(want.find_last_not_of('0') + 1);
            if (want.back() == '.')
                want.pop_back();
            long double v = 0, back = 0;
            const double d = ParseSettingsValue(entry, v) ? storeDouble(v) : -1;
            lost += num(d) != want || !ParseSettingsValue(want, back) || storeDouble(back) != d;
        }
    }
    expect(lost == 0, "20002 entries written and read back", std::to_string(lost) + " lost");

    const std::pair<double, double> truncated[] = {{6.97, 6}, {0.99, 0}, {7.0, 7}, {-1.5, -1}};
    for (auto [v, t] : truncated)
        expect(TruncateTowardZero(v) == t, "truncate " + num(v), num(TruncateTowardZero(v)));
}

// ---- settings.ini --------------------------------------------------------
// What `run` gives, or the message of the error it raises.
std::string outcome(const std::function<std::string()> &run)
{
    try {
        return run();
    } catch (const Exception &e) {
        return e.what();
    }
}

// Loads `text` and reports what the state then holds.
std::string loaded(const std::string &path, const std::string &text)
{
    return outcome([&] {
        putFileBytes(path, text);
        sizing() = SizingState{};
        sizing().Q1 = sizing().dPr1 = 99;
        LoadSettings(path);
        return std::to_string(sizing().LastSys) + " " + num(sizing().Q1) + " " + num(sizing().dPr1);
    });
}

// Runs `save`: "saved", or the message of its error.
std::string saved(const std::function<void()> &save)
{
    return outcome([&] { return save(), std::string("saved"); });
}

void checkSettings()
{
    const std::string dir = scratchFolder("settings");
    const std::string path = dir + "/settings.ini";
    const auto writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

    sizing().Q1 = 5;
    LoadSettings(path);
    expect(fileBytes(path) == zeroFile() && sizing().Q1 == 0, "first start creates the twenty lines and the checks",
           escaped(fileBytes(path)));
    expect(loaded(path, "") == "0 0 0" && fileBytes(path).empty(), "empty file loads zeros, stays empty");
    SaveSettings(path);
    expect(fileBytes(path) == zeroFile(), "empty file saved holds all keys", escaped(fileBytes(path)));

    // file text -> LastSys Q1 dPr1
    const std::pair<const char *, const char *> loads[] = {
        {"[Main]\nLastSys=1", "1 0 0"},     {"[Main]\nLastSys=258", "2 0 0"},
        {"[Main]\nLastSys=-1", "255 0 0"},  {"[Main]\nLastSys=$2", "2 0 0"},
        {"[Main]\nLastSys=0x2", "2 0 0"},   {"[Main]\nLastSys=x2", "2 0 0"},
        {"[Main]\nLastSys=2.0", "0 0 0"},   {"[Main]\nLastSys=two", "0 0 0"},
        {"[Main]\nLastSys=", "0 0 0"},      {"[Values]\ndPr1=1,5", "0 0 0"},
        {"[Values]\ndPr1=1.5e1", "0 0 15"}, {"[Values]\ndPr1=  2.50  ", "0 0 2.5"},
        {"[Values]\ndPr1=-3", "0 0 -3"},    {"[Values]\nQ1=1E-400", "0 0 0"},
        {"[values]\nq1=3", "0 3 0"},        {"[Values]\nQ1=7\ndPr1=1E400", "Floating point overflow"}};
    for (auto [text, want] : loads)
        expect(loaded(path, text) == want, "load " + escaped(text), loaded(path, text));
    // the fields before the overflowing one took their values, it kept its old one
    expect(sizing().Q1 == 7 && sizing().dPr1 == 99, "overflow stops the load at its key");

    sizing() = SizingState{};
    sizing().Q1 = 12.35, sizing().Kvy1 = 1.9e10, sizing().Kvy2 = 0.00001;
    putFileBytes(path, "; note\r\n[Values]\r\nQ1=1\r\nextra=kept\r\n[Other]\r\nx=y\r\n");
    SaveSettings(path);
    expect(fileBytes(path)
               == "; note\r\n[Values]\r\nQ1=12.35\r\nextra=kept\r\ndPr1=0\r\ndPf1=0\r\ndPppr1=0\r\ndPs=0\r\n"
                  "dPtr1=0\r\ndPdr1=0\r\ndPn=0\r\nKvy1=19000000000\r\nQ2=0\r\ndPr2=0\r\ndPf2=0\r\ndPppr2=0\r\n"
                  "dPt=0\r\ndPtr2=0\r\ndPdr2=0\r\nKvy2=1E-5\r\n[Other]\r\nx=y\r\n[Main]\r\nLastSys=0\r\n"
                      + std::string(kEmptyChecks),
           "save replaces in place, keeps the rest", escaped(fileBytes(path)));

    // a left-over temporary file is replaced; a read-only file refuses
    putFileBytes(dir + "/.settings.ini.tmp", "torn");
    expect(saved([&] { SaveSettings(path); }) == "saved" && !fs::exists(pathOf(dir + "/.settings.ini.tmp")),
           "left-over temporary file removed");
    const std::string before = fileBytes(path);
    fs::permissions(pathOf(path), writeBits, fs::perm_options::remove);
    sizing() = SizingState{};
    LoadSettings(path);
    expect(sizing().Q1 == 12.35 && sizing().Kvy2 == 0.00001, "read-only file loads");
    sizing().Q1 = 3;
    expect(saved([&] { SaveSettings(path); }) == "Unable to write to " + path && fileBytes(path) == before,
           "read-only file refused, unchanged");
    fs::permissions(pathOf(path), fs::perms::owner_write, fs::perm_options::add);

    fs::create_directory(pathOf(dir + "/folder.ini"));
    for (const std::string &p : {dir + "/folder.ini", dir + "/missing/settings.ini", path + "/settings.ini"})
        expect(saved([&] { LoadSettings(p); }) == "Unable to write to " + p, "refused: a folder in the file's place, "
                                                                             "a missing folder, a path through a file: "
                                                                                 + p);

    // a writable file in a folder that takes no new files is written in place;
    // the read-only attribute does not lock a folder under Wine, so there
    // scripts/windows-check.sh gives one (CORECHECK_LOCKED_FOLDER)
    const char *given = std::getenv("CORECHECK_LOCKED_FOLDER");
    const std::string locked = given ? given : scratchFolder("locked");
    if (!given) {
        putFileBytes(locked + "/settings.ini", zeroFile());
        fs::permissions(pathOf(locked), writeBits, fs::perm_options::remove);
    }
    putFileBytes(locked + "/probe", "");
    if (fs::exists(pathOf(locked + "/probe"))) {
        std::printf("skipped: the save in place (this user may create files in any folder)\n");
    } else {
        sizing().Q1 = 8;
        expect(saved([&] { SaveSettings(locked + "/settings.ini"); }) == "saved"
                   && loaded(locked + "/settings.ini", fileBytes(locked + "/settings.ini")) == "0 8 0"
                   && std::distance(fs::directory_iterator(pathOf(locked)), {}) == 1,
               "saved in place in a folder that takes no new files");
    }
    if (!given)
        fs::permissions(pathOf(locked), writeBits, fs::perm_options::add);

    // a folder named in Cyrillic, and a path beyond 260 characters
    std::string deep = scratchFolder("\xD0\x9F\xD0\xBE\xD0\xB4\xD0\xB1\xD0\xBE\xD1\x80");
    const std::string named = deep + "/settings.ini";
    while (deep.size() < 300)
        deep += "/a-folder-with-a-long-name";
    fs::create_directories(pathOf(deep));
    for (const std::string &p : {named, deep + "/settings.ini"}) {
        sizing() = SizingState{};
        sizing().Q2 = 4.5;
        SaveSettings(p);
        expect(loaded(p, fileBytes(p)) == "0 0 0" && sizing().Q2 == 4.5 && fs::exists(pathOf(p)),
               "saved and loaded at " + p.substr(0, 60) + "... (" + std::to_string(p.size()) + " bytes)");
    }
}

// ---- program outputs -----------------------------------------------------
void checkOutputs()
{
    const std::string dir = scratchFolder("outputs");
#ifdef _WIN32
    const std::string device = "NUL";
#else
    const std::string device = "/dev/null";
#endif
    putFileBytes(dir + "/old.pdf", "old");
    // a new file, a file replaced, a folder, a missing folder, a device written into
    const std::pair<std::string, bool> targets[] = {
        {dir + "/new.pdf", true}, {dir + "/old.pdf", true}, {dir, false}, {dir + "/no/x.pdf", false}, {device, true}};
    for (const auto &[target, written] : targets) {
        const OutputResult r = writeProgramOutput(target, "%PDF sheet");
        expect(r.written == written
                   && (target == device || (written ? fileBytes(target) == "%PDF sheet" : !r.reason.empty())),
               "output onto " + target, r.written ? "written" : r.reason);
    }
}

// ---- sizing files: what the input reader takes and refuses ---------------
void checkSizingFiles()
{
    const std::string dir = scratchFolder("Расчёты");
#ifdef _WIN32
    const std::string device = "NUL";
#else
    const std::string device = "/dev/null";
#endif
    SizingRecord record;
    record.sizing.Q2 = 4.25;
    record.checks1.P1 = 6;
    writeSizingFile(dir + "/ТП-1.zelton", record);
    putFileBytes(dir + "/big.zelton", "[Values]\n" + std::string(kSizingFileMaxBytes, ' '));
    // what is there, and the start of the message ("" when it is read)
    const std::pair<std::string, std::string> files[] = {{dir + "/ТП-1.zelton", ""},
                                                         {dir, dir + " is not a sizing file: it is a folder"},
                                                         {device, device + " is not a sizing file: it is not a"},
                                                         {dir + "/none.zelton", "Unable to read " + dir + "/none"},
                                                         {dir + "/big.zelton", dir
                                                                                   + "/big.zelton is not a sizing "
                                                                                     "file: it is larger than 1 MB"}};
    for (const auto &[file, message] : files) {
        std::string got;
        try {
            const SizingRecord read = readSizingFile(file, {});
            got = read.sizing.Q2 == 4.25 && read.checks1.P1 == 6 ? "" : "other values";
        } catch (const ESizingFileError &error) {
            got = error.what();
        }
        expect(got.compare(0, message.size(), message) == 0 && got.empty() == message.empty(), "sizing file " + file,
               got);
    }
}

} // namespace

std::string scratchFolder(std::string_view name)
{
    const fs::path dir = scratchRoot() / pathOf(std::string(name));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::u8string utf8 = dir.generic_u8string();
    return std::string(utf8.begin(), utf8.end());
}

std::string fileBytes(const std::string &path)
{
    std::ifstream in(pathOf(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void putFileBytes(const std::string &path, std::string_view bytes)
{
    std::ofstream(pathOf(path), std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
}

#ifndef _WIN32
void runProfileDifferential(unsigned, int)
{
    std::printf("(the comparison with the profile functions runs in the Windows build)\n");
}
#endif

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    const unsigned seed = argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)) : 20240601u;
    const int count = argc > 2 ? std::atoi(argv[2]) : 2000;
    checkFormulas();
    checkNumberTexts();
    checkSettings();
    checkOutputs();
    checkSizingFiles();
    runProfileDifferential(seed, count);
    std::error_code ignored; // the long path is beyond what remove_all reaches on Windows
    fs::remove_all(scratchRoot(), ignored);
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
