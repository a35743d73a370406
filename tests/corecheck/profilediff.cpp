// Our INI layer against the system's profile functions: the same file to
// TIniFile and GetPrivateProfileStringA, the same writes to TIniFile and
// WritePrivateProfileStringA, then what each reads back. The
// system rewrites a whole file in its own layout, so bytes are compared
// only for a file made new. Windows build only.
#include "core/errors.h"
#include "core/inifile.h"
#include "core/profile.h"
#include "core/settings.h"
#include "core/sizing.h"
#include "tests/corecheck/check.h"

#include <algorithm>
#include <random>
#include <vector>
#include <windows.h>

using namespace std::string_literals;

namespace {

struct Write {
    std::string section, key, value;
};

struct Tricky {
    const char *name;
    std::string text;
    std::vector<Write> writes{}; // none: kDefaultWrites
    // the row of the README's table that explains its difference; the
    // difference must show, or the explanation is out of date
    const char *explained = nullptr;
};

const std::vector<Write> kDefaultWrites = {{"Values", "Q1", "12.35"}, {"a", "k", "v2"}, {"new", "x", "1"}};
// the generator's headers name the first five (see the README on "[]")
const char *const kSections[] = {"Main", "Values", "a", "b", "b]", ""};
const char *const kKeys[] = {"LastSys", "Q1", "dPr1", "k", "j", ";c", "#c", "x"};

const std::string kLong(3000, '7');

const Tricky kTricky[] = {
    {"empty file", ""},
    {"LastSys forms", "[Main]\r\nLastSys=258\r\n[Values]\r\nQ1=1,5\r\ndPr1=  2.50  \r\n"},
    {"names in other cases", "[vALUES]\nq1=3\nDPR1=1\n[A]\nK=1\n"},
    {"blanks around names and values", "  [ a ]  \n \t k \t=\t v w \t\n\v j \f= \" q \" \n"},
    {"duplicate sections", "[a]\nk=1\n[b]\nj=2\n[A]\nk=3\nj=4\n", {{"a", "j", "5"}, {"a", "k", "6"}}},
    {"duplicate keys", "[a]\nk=1\nK=2\nk=3\n", {{"a", "k", "9"}}},
    {"lines without =", "[a]\nk\n j \nx=1\n", {{"a", "k", "1"}, {"a", "y", "2"}}},
    {"comments", "; top\n[a]\n;c=1\n#c=2\nk=3 ; not a comment\n; end\n[b]\n", {{"a", "j", "1"}, {"a", ";c", "0"}}},
    {"missing final newline", "[a]\nk=1", {{"a", "j", "2"}, {"b", "k", "3"}}},
    {"CR", "[a]\rk=1\r[b]\rj=2\r"},
    {"LF", "[a]\nk=1\n[b]\nj=2\n"},
    {"CRLF", "[a]\r\nk=1\r\n[b]\r\nj=2\r\n"},
    {"mixed line ends", "[a]\r\nk=1\r[b]\nj=2\r\n\r\rx=3"},
    {"key before any section", "k=0\nj=1\n[a]\nk=1\n", {{"", "k", "5"}, {"a", "k", "6"}}},
    {"section without name", "[]\nk=0\n[a]\n", {{"", "j", "1"}}, "a section without a name"},
    {"empty values", "[a]\nk=\nj=   \nx=\"\"\n", {{"a", "k", "1"}}},
    {"quotes", "[a]\nk='v'\nj=\"v\nx=\"a\"\"\n[b]\nk=\"v\"x\nj=' \"\n"},
    {"brackets", "[a\nk=1\n[b]]\nk=2\n[a] tail\nj=3\n", {{"b]", "j", "4"}}},
    {"very long lines", "[a]\nk=" + kLong + "\n" + kLong + "=1\nj=2\n[b]\nx=" + std::string(70000, 'x') + "\n"},
    {"NUL bytes", "[a]\nk=1\0002\nj\0x=3\n[b\0c]\nx=4\n"s, {{"a", "x", "5"}, {"b", "j", "6"}}},
    {"byte order mark", "\xEF\xBB\xBF[a]\nk=1\n", {{"", "j", "2"}, {"a", "k", "3"}}},
    {"bytes beyond ASCII", "[a]\nk=\xC9t\xE9\n[\xC9]\nj=1\n", {{"a", "j", "\xE9"}}},
    {"blank and control lines", "\n\n[a]\n  \t \n\x1A\nk=1\n\n\n[b]\n"},
    {"UTF-16 text", "\xFF\xFE[\0a\0]\0\n\0k\0=\0001\0\n\0"s, {{"a", "j", "2"}}, "UTF-16"},
    {"a key name with =", "[a]\nk=1\n", {{"a", "n=m", "5"}}, "names the file cannot hold"},
    {"a value with a line break", "[a]\nk=1\n", {{"a", "k", "x\nj=z"}}, "names the file cannot hold"},
};

std::string platformRead(const std::string &section, const std::string &key, const std::string &path)
{
    char buf[kProfileValueMax + 1] = {};
    const DWORD n = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "?", buf, sizeof buf, path.c_str());
    return std::string(buf, n);
}

bool platformWrite(const Write &w, const std::string &path)
{
    const bool ok = ::WritePrivateProfileStringA(w.section.c_str(), w.key.c_str(), w.value.c_str(), path.c_str());
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()); // to the disk
    return ok;
}

// The differences between our layer and the system on one file; empty when
// none. `batch`: our writes go through one TIniFile update.
std::string compare(const std::string &dir, int n, const std::string &text, const std::vector<Write> &writes,
                    bool batch = false)
{
    const std::string ours = dir + "/a" + std::to_string(n) + ".ini";
    const std::string theirs = dir + "/b" + std::to_string(n) + ".ini";
    putFileBytes(ours, text);
    putFileBytes(theirs, text);
    std::string diff;
    // every key of every section the file or the writes name, and the writes
    auto lower = [](std::string t) {
        std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return std::tolower(c); });
        return t;
    };
    std::vector<Write> probes = writes;
    for (const char *s : kSections)
        if (lower(text).find(lower(s)) != std::string::npos
            || std::any_of(writes.begin(), writes.end(), [&](const Write &w) { return w.section == s; }))
            for (const char *k : kKeys)
                probes.push_back({s, k, {}});
    auto readAll = [&](const char *when) {
        const TIniFile reader(ours); // one reading of the file for all keys
        for (const Write &p : probes) {
            const std::string a = reader.ReadString(p.section, p.key, "?");
            const std::string b = platformRead(p.section, p.key, theirs);
            if (a != b)
                diff += "  " + std::string(when) + " [" + escaped(p.section) + "] " + escaped(p.key) + ": ours \""
                        + escaped(a) + "\", system \"" + escaped(b) + "\"\n";
        }
    };
    readAll("read");
    TIniFile ini(ours);
    bool oursDone = true, theirsDone = true;
    try {
        if (batch)
            ini.BeginUpdate();
        for (const Write &w : writes) {
            theirsDone = platformWrite(w, theirs) && theirsDone;
            ini.WriteString(w.section, w.key, w.value);
        }
        if (batch)
            ini.EndUpdate();
    } catch (const Exception &) {
        oursDone = false;
    }
    if (oursDone != theirsDone)
        diff += oursDone ? "  writes: the system refused one, ours wrote them\n" : "  writes: ours refused one\n";
    if (!writes.empty())
        readAll("read back");
    ::DeleteFileA(ours.c_str());
    ::DeleteFileA(theirs.c_str());
    return diff;
}

// One file of lines made from the pieces the tricky files are made of.
std::string generatedFile(std::mt19937 &rng, std::vector<Write> &writes)
{
    auto pick = [&](auto &list) { return list[rng() % std::size(list)]; };
    auto chance = [&](unsigned percent) { return rng() % 100 < percent; };
    auto anyCase = [&](std::string s) {
        for (char &c : s)
            if (chance(30))
                c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c));
        return s;
    };
    static const char *const blanks[] = {"", "", "", " ", "  ", "\t", " \t", "\v", "\f"};
    static const char *const values[] = {"",   "1",       "2.5",  "-3",  "1,5",   "\"q\"", "'s'", "a b",
                                         "=v", "\"a\"\"", "' \"", "x;y", "1E400", "\xE9",  "[z]", "0x2"};
    static const char *const breaks[] = {"\n", "\r\n", "\r"};
    static const char *const headerTails[] = {"", "", "", " tail", "]", "x]"};
    std::string text;
    const int lines = 1 + static_cast<int>(rng() % 12);
    for (int i = 0; i < lines; ++i) {
        const unsigned kind = rng() % 100;
        text += pick(blanks);
        if (kind < 20) {
            text += "[" + std::string(pick(blanks)) + anyCase(kSections[rng() % 5]) + pick(blanks) + "]"
                    + pick(headerTails);
        } else if (kind < 70) {
            text += anyCase(pick(kKeys)) + std::string(pick(blanks)) + "=" + pick(blanks) + pick(values) + pick(blanks);
        } else if (kind < 78) {
            text += anyCase(pick(kKeys)); // no "="
        } else if (kind < 84) {
            text += std::string(chance(50) ? ";" : "#") + pick(values);
        } else if (kind < 88) {
            text += "[" + anyCase(pick(kSections)); // no "]"
        } else if (kind < 91) {
            text += anyCase(pick(kKeys)) + "=" + std::string(2000 + rng() % 200, 'w');
        } else if (kind < 94) {
            text += anyCase(pick(kKeys)) + "=1" + std::string(1, '\0') + pick(values);
        }
        if (i + 1 < lines || chance(60))
            text += pick(breaks);
    }
    writes.clear();
    const int count = static_cast<int>(rng() % 4);
    for (int i = 0; i < count; ++i)
        writes.push_back({pick(kSections), pick(kKeys), pick(values)});
    return text;
}

} // namespace

void runProfileDifferential(unsigned seed, int count)
{
    const std::string dir = scratchFolder("profiles");
    std::printf("comparing with the system's profile functions: %d tricky files, %d generated files, seed %u\n",
                static_cast<int>(std::size(kTricky)), count, seed);
    int differences = 0, explained = 0;
    int n = 0;

    // a new settings.ini: the same lines from both, and the ones it should be
    sizing() = SizingState{};
    SaveSettings(dir + "/new-ours.ini");
    std::string section;
    for (std::size_t at = 0, end; (end = zeroFile().find("\r\n", at)) != std::string::npos; at = end + 2) {
        const std::string line = zeroFile().substr(at, end - at);
        if (line[0] == '[')
            section = line.substr(1, line.size() - 2);
        else
            platformWrite({section, line.substr(0, line.find('=')), line.substr(line.find('=') + 1)},
                          dir + "/new-theirs.ini");
    }
    const std::string a = fileBytes(dir + "/new-ours.ini"), b = fileBytes(dir + "/new-theirs.ini");
    differences += !expect(a == b && a == zeroFile(), "a new settings.ini has the system's bytes",
                           escaped(a) + " | " + escaped(b));

    for (const Tricky &t : kTricky) {
        const std::string diff = compare(dir, n++, t.text, t.writes.empty() ? kDefaultWrites : t.writes);
        if (t.explained) {
            explained += !diff.empty();
            expect(!diff.empty(), std::string("tricky file \"") + t.name + "\" still differs (" + t.explained + ")");
        } else if (!expect(diff.empty(), std::string("tricky file \"") + t.name + "\"",
                           "\n  file: " + escaped(t.text) + "\n" + diff)) {
            ++differences;
        }
    }
    std::mt19937 rng(seed);
    std::vector<Write> writes;
    for (int i = 0; i < count; ++i) {
        const std::string text = generatedFile(rng, writes);
        const std::string diff = compare(dir, n++, text, writes, i % 2 == 1);
        differences +=
            !expect(diff.empty(), "generated file " + std::to_string(i), "\n  file: " + escaped(text) + "\n" + diff);
    }
    std::printf("compared %d files: %d unexplained differences, %d explained (README)\n", n, differences, explained);
}
