#include "core/inifile.h"

#include "core/errors.h"
#include "core/numtext.h"
#include "core/textfile.h"
#include "core/textscan.h"

#include <cstdint>
#include <utility>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool TryStrToInt(std::string_view text, int &value)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    skipSpaces(text, i);
    const bool negative = takeSign(text, i);
    bool hex = false;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == n)
        return false;

    std::uint64_t acc = 0;
    if (hex) {
        for (; i < n; ++i) {
            const int d = hexValue(text[i]);
            if (d < 0)
                return false;
            acc = acc * 16 + static_cast<unsigned>(d);
            if (acc > 0xFFFFFFFFu)
                return false;
        }
        // a 32-bit pattern, two's complement
        std::uint32_t bits = static_cast<std::uint32_t>(acc);
        if (negative)
            bits = 0u - bits;
        value = static_cast<int>(static_cast<std::int32_t>(bits));
        return true;
    }
    for (; i < n; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        acc = acc * 10 + static_cast<unsigned>(text[i] - '0');
        if (acc > (negative ? 2147483648u : 2147483647u))
            return false;
    }
    const std::int64_t signedValue = negative ? -static_cast<std::int64_t>(acc) : static_cast<std::int64_t>(acc);
    value = static_cast<int>(signedValue);
    return true;
}

TIniFile::TIniFile(std::string fileName) : m_fileName(std::move(fileName)) {}

TIniFile::TIniFile(std::string fileName, std::string text)
    : m_fileName(std::move(fileName)), m_textRead(true), m_text(std::move(text))
{}

TIniFile::~TIniFile() = default;

const std::string &TIniFile::text() const
{
    if (!m_textRead) {
        if (readWholeFile(m_fileName, m_text) != FileRead::Ok)
            m_text.clear();
        m_textRead = true;
    }
    return m_text;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view ident, std::string_view def) const
{
    std::string value;
    if (findProfileValue(text(), section, ident, value))
        return value;
    return std::string(def.substr(0, kProfileValueMax));
}

int TIniFile::ReadInteger(std::string_view section, std::string_view ident, int def) const
{
    std::string text = ReadString(section, ident, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.replace(0, 2, "$");
    int value = 0;
    return TryStrToInt(text, value) ? value : def;
}

double TIniFile::ReadFloat(std::string_view section, std::string_view ident, double def) const
{
    const std::string text = ReadString(section, ident, "");
    if (text.empty())
        return def;
    long double value = 0;
    if (!ParseSettingsValue(text, value))
        return def;
    return storeDouble(value);
}

void TIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value)
{
    if (m_updating) {
        m_pending.push_back({std::string(section), std::string(ident), std::string(value)});
        return;
    }
    dropText();
    if (!writeProfileString(section, ident, value, m_fileName))
        throw EIniFileException(m_fileName);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view ident, int value)
{
    WriteString(section, ident, std::to_string(value));
}

void TIniFile::WriteFloat(std::string_view section, std::string_view ident, double value)
{
    WriteString(section, ident, FormatSettingsValue(value));
}

void TIniFile::BeginUpdate()
{
    m_updating = true;
    m_pending.clear();
}

void TIniFile::EndUpdate()
{
    m_updating = false;
    std::vector<ProfileEntry> entries;
    entries.swap(m_pending);
    if (entries.empty())
        return;
    dropText();
    if (!writeProfileStrings(entries, m_fileName))
        throw EIniFileException(m_fileName);
}
