// Random and mutated inputs through the number and INI readers and writers,
// with a fixed seed and a fixed number of rounds.
#include "core/errors.h"
#include "core/inifile.h"
#include "core/numtext.h"
#include "core/profile.h"
#include "core/settings.h"
#include "core/sizing.h"
#include "tests/core/settingskeys.h"
#include "tests/testfiles.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

using Rng = std::mt19937_64;

int pick(Rng &rng, int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

std::string randomNumberText(Rng &rng)
{
    static const char kAlphabet[] = " +-.eE0123456789012345678901234567890123456789,xa\t";
    std::string s;
    const int len = pick(rng, 24);
    for (int i = 0; i < len; ++i)
        s += kAlphabet[pick(rng, sizeof kAlphabet - 1)];
    return s;
}

// The grammar of number texts, written independently of the parser.
bool isNumberText(const std::string &s)
{
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n && s[i] == ' ')
        ++i;
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    const std::size_t intStart = i;
    while (i < n && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i;
    bool mantissa = i > intStart;
    if (i < n && s[i] == '.') {
        mantissa = true;
        ++i;
        while (i < n && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i;
    }
    if (!mantissa)
        return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-'))
            ++i;
        long value = 0;
        while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) {
            if (value >= 500)
                return false;
            value = value * 10 + (s[i] - '0');
            ++i;
        }
    }
    while (i < n && s[i] == ' ')
        ++i;
    return i == n;
}

double randomFiniteDouble(Rng &rng)
{
    for (;;) {
        const std::uint64_t bits = rng();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (std::isfinite(d))
            return d;
    }
}

const char *const kFragments[] = {
    "[Main]",       "[main]", "[Values]", "[ values ]",
    "[Other]",      "[",      "]",        "LastSys=",
    "lastsys = ",   "Q1=",    " q1 =",    "dPr1=",
    "Kvy2=",        "=",      ";",        "#",
    "\"",           "'",      " ",        "\t",
    "\r",           "\n",     "\r\n",     "0x1F",
    "$ff",          "-1",     "258",      "12.35",
    "1E400",        "1E-400", "1,5",      "abc",
    "\xEF\xBB\xBF", "\xFF",   "\xC3\x28", std::string_view("\0", 1).data(),
};

std::string randomIniText(Rng &rng)
{
    std::string s;
    const int parts = pick(rng, 60);
    for (int i = 0; i < parts; ++i) {
        const int which = pick(rng, std::size(kFragments) + 1);
        if (which == static_cast<int>(std::size(kFragments)))
            s += static_cast<char>(rng() & 0xFF);
        else if (which == static_cast<int>(std::size(kFragments)) - 1)
            s += '\0';
        else
            s += kFragments[which];
    }
    return s;
}

void mutate(Rng &rng, std::string &s)
{
    const int edits = 1 + pick(rng, 4);
    for (int i = 0; i < edits; ++i) {
        const std::size_t pos = s.empty() ? 0 : rng() % (s.size() + 1);
        switch (pick(rng, 3)) {
        case 0:
            s.insert(pos, 1, static_cast<char>(rng() & 0xFF));
            break;
        case 1:
            if (pos < s.size())
                s.erase(pos, 1);
            break;
        default:
            if (pos < s.size())
                s[pos] = static_cast<char>(s[pos] ^ (1 << pick(rng, 8)));
        }
    }
}

const char *const kSections[] = {"Main", "Values", "Other", "values"};
const char *const kNames[] = {"LastSys", "Q1", "q1", "dPr1", "Kvy2", "x"};

} // namespace

class TestFuzz : public QObject
{
    Q_OBJECT
private slots:
    void numberTexts();
    void formatParseRoundTrip();
    void iniTexts();
    void settingsFiles();
};

void TestFuzz::numberTexts()
{
    Rng rng(20240611);
    int accepted = 0;
    for (int round = 0; round < 200000; ++round) {
        const std::string text = randomNumberText(rng);
        long double value = 0;
        const bool ok = ParseSettingsValue(text, value);
        if (ok != isNumberText(text))
            QFAIL(qPrintable(QString("\"%1\" parsed: %2").arg(text.c_str()).arg(ok)));
        if (!ok)
            continue;
        ++accepted;
        QVERIFY(!std::isnan(value));
        try {
            const double d = storeDouble(value);
            QVERIFY(std::isfinite(d));
            // a correctly rounded reading of the same text, within one unit
            // in the last place (the extended step may round twice)
            std::string c = text;
            while (!c.empty() && c.back() == ' ')
                c.pop_back();
            if (!c.empty() && (c.back() == 'e' || c.back() == 'E' || c.back() == '+' || c.back() == '-'))
                c += '0';
            const double ref = std::strtod(c.c_str(), nullptr);
            if (d != ref && std::nextafter(d, ref) != ref && !(d == 0 && ref == 0))
                QFAIL(qPrintable(QString("\"%1\": %2 vs %3").arg(c.c_str()).arg(d, 0, 'g', 17).arg(ref, 0, 'g', 17)));
        } catch (const EOverflow &) {
            QVERIFY(std::fabs(value) > 1.7e308L);
        }
    }
    QVERIFY(accepted > 1000);
}

void TestFuzz::formatParseRoundTrip()
{
    Rng rng(77);
    for (int round = 0; round < 100000; ++round) {
        const double d =
            round % 2 ? randomFiniteDouble(rng) : std::ldexp(static_cast<double>(rng() >> 11), pick(rng, 120) - 80);
        const std::string text = FormatSettingsValue(d);
        long double parsed = 0;
        if (!ParseSettingsValue(text, parsed))
            QFAIL(qPrintable(QString("unreadable: ") + text.c_str()));
        const double back = storeDouble(parsed);
        // 15 digits survive a trip through a double
        if (FormatSettingsValue(back) != text)
            QFAIL(qPrintable(QString("%1 -> %2").arg(text.c_str(), FormatSettingsValue(back).c_str())));
        // half a unit of the 15th digit, plus the rounding of the reading
        const double ulp = std::nextafter(std::fabs(d), std::numeric_limits<double>::infinity()) - std::fabs(d);
        if (!(std::fabs(back - d) <= std::fabs(d) * 5e-15 + ulp))
            QFAIL(qPrintable(
                QString("%1 read as %2 from %3").arg(d, 0, 'g', 17).arg(back, 0, 'g', 17).arg(text.c_str())));
        for (const char c : text)
            QVERIFY(std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == 'E');

        const int decimals = pick(rng, 19);
        const std::string fixed = formatFixed(d, decimals);
        if (fixed.find('E') == std::string::npos) {
            const std::size_t point = fixed.find('.');
            QCOMPARE(point == std::string::npos ? 0 : int(fixed.size() - point - 1), decimals);
            // never a minus on a text that reads as zero
            if (fixed[0] == '-')
                QVERIFY(fixed.find_first_of("123456789") != std::string::npos);
            QVERIFY(ParseSettingsValue(fixed, parsed));
            const long double err = std::fabs(parsed - static_cast<long double>(d));
            QVERIFY(err <= 0.5L * std::pow(10.0L, -decimals) * (1 + 1e-12L) + std::fabs(d) * 1e-17L);
        }
    }
}

void TestFuzz::iniTexts()
{
    Rng rng(4242);
    std::string value;
    for (int round = 0; round < 20000; ++round) {
        std::string text = randomIniText(rng);
        if (round % 2)
            mutate(rng, text);
        const std::string section = kSections[pick(rng, std::size(kSections))];
        const std::string key = kNames[pick(rng, std::size(kNames))];
        // what every other key reads before the write
        std::vector<std::pair<bool, std::string>> others;
        for (const char *sec : kSections)
            for (const char *name : kNames) {
                std::string v;
                const bool found = findProfileValue(text, sec, name, v);
                others.emplace_back(found, v);
            }
        const std::string written = std::to_string(rng() % 100000);
        const std::string before = text;
        setProfileValue(text, section, key, written);
        QVERIFY(findProfileValue(text, section, key, value));
        QCOMPARE(value, written);
        QVERIFY(text.size() >= before.size() - std::min<std::size_t>(before.size(), 2048));
        std::size_t i = 0;
        for (const char *sec : kSections)
            for (const char *name : kNames) {
                std::string v;
                const bool found = findProfileValue(text, sec, name, v);
                const bool same = strcasecmp(sec, section.c_str()) == 0 && strcasecmp(name, key.c_str()) == 0;
                if (!same) {
                    QCOMPARE(found, others[i].first);
                    QCOMPARE(v, others[i].second);
                }
                ++i;
            }
    }
}

void TestFuzz::settingsFiles()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    Rng rng(99);
    for (int round = 0; round < 100; ++round) {
        std::string text = randomIniText(rng);
        mutate(rng, text);
        writeFileBytes(path, text);
        try {
            LoadSettings(path);
        } catch (const EOverflow &) {
        }
        // values that survive the 15-digit text form exactly
        SizingState &s = sizing();
        for (auto f : kFields) {
            long double v = 0;
            QVERIFY(ParseSettingsValue(FormatSettingsValue(randomFiniteDouble(rng)), v));
            s.*f = storeDouble(v);
        }
        s.LastSys = static_cast<std::uint8_t>(rng());
        const SizingState saved = s;
        SaveSettings(path);
        s = SizingState{};
        LoadSettings(path);
        for (auto f : kFields)
            QCOMPARE(s.*f, saved.*f);
        QCOMPARE(s.LastSys, saved.LastSys);
    }
}

QTEST_APPLESS_MAIN(TestFuzz)
#include "test_fuzz.moc"
