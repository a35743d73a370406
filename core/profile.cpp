#include "core/profile.h"

#include "core/textfile.h"

#include <cstring>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

void trimRange(std::string_view text, std::size_t &begin, std::size_t &end)
{
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
}

// A name or value ends at a NUL byte, as the text of a C string does.
std::string_view upToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// One line of the text: [begin, end) is its content, `next` the start of
// the following line (after "\r\n", "\n" or "\r").
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

Line lineAt(std::string_view text, std::size_t pos)
{
    const char *data = text.data();
    const std::size_t n = text.size();
    std::size_t end = pos;
    while (end < n && data[end] != '\n' && data[end] != '\r')
        ++end;
    std::size_t next = end;
    if (next < n)
        next += (data[next] == '\r' && next + 1 < n && data[next + 1] == '\n') ? 2 : 1;
    return {pos, end, next};
}

// Walks the lines of a text. The next CR and the next LF are looked up with
// memchr and remembered, so every byte is searched at most twice in all.
class LineScanner
{
public:
    explicit LineScanner(std::string_view text) : m_text(text), m_cr(find('\r')), m_lf(find('\n')) {}

    bool nextLine(Line &line)
    {
        const std::size_t n = m_text.size();
        if (m_pos >= n)
            return false;
        if (m_cr < m_pos)
            m_cr = find('\r');
        if (m_lf < m_pos)
            m_lf = find('\n');
        const std::size_t end = m_cr < m_lf ? m_cr : m_lf;
        std::size_t next = end;
        if (next < n)
            next += (m_text[next] == '\r' && next + 1 < n && m_text[next + 1] == '\n') ? 2 : 1;
        line = {m_pos, end, next};
        m_pos = next;
        return true;
    }

private:
    std::size_t find(char c) const
    {
        const void *hit = std::memchr(m_text.data() + m_pos, c, m_text.size() - m_pos);
        return hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - m_text.data()) : m_text.size();
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::size_t m_cr;
    std::size_t m_lf;
};

enum class LineKind { Other, Header, Key };

struct LineParts {
    LineKind kind = LineKind::Other;
    std::size_t nameBegin = 0, nameEnd = 0; // section or key name, trimmed
    bool hasEquals = false;
    std::size_t valueBegin = 0, valueEnd = 0; // value, trimmed
};

LineParts classify(std::string_view text, std::size_t begin, std::size_t end)
{
    LineParts p;
    if (begin == 0 && text.substr(0, kBom.size()) == kBom && end >= kBom.size())
        begin = kBom.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    if (begin == end)
        return p;
    const std::string_view line = text.substr(0, end);
    if (text[begin] == '[') {
        // the name runs to the last "]" of the line
        const std::size_t close = line.rfind(']');
        if (close == std::string_view::npos || close <= begin)
            return p;
        p.kind = LineKind::Header;
        p.nameBegin = begin + 1;
        p.nameEnd = close;
        trimRange(text, p.nameBegin, p.nameEnd);
        return p;
    }
    p.kind = LineKind::Key;
    const std::size_t eq = line.find('=', begin);
    p.nameBegin = begin;
    if (eq == std::string_view::npos) {
        p.nameEnd = end;
        trimRange(text, p.nameBegin, p.nameEnd);
        p.valueBegin = p.valueEnd = p.nameEnd;
        return p;
    }
    p.hasEquals = true;
    p.nameEnd = eq;
    trimRange(text, p.nameBegin, p.nameEnd);
    p.valueBegin = eq + 1;
    p.valueEnd = end;
    trimRange(text, p.valueBegin, p.valueEnd);
    if (p.valueBegin == p.valueEnd) // empty value: the blanks after "=" go with it
        p.valueBegin = eq + 1, p.valueEnd = end;
    return p;
}

std::string_view nameOf(std::string_view text, const LineParts &parts)
{
    return upToNul(text.substr(parts.nameBegin, parts.nameEnd - parts.nameBegin));
}

struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    LineParts key;                 // the key's line, when found
    std::size_t insertAt = 0;      // just after the section's last key (or header)
    bool insertNeedsBreak = false; // that line has no line end
};

// The lines before the first section header form the section without a
// name.
Location locate(std::string_view text, std::string_view section, std::string_view key)
{
    Location loc;
    bool inSection = section.empty();
    loc.sectionFound = inSection;
    if (inSection && text.substr(0, kBom.size()) == kBom)
        loc.insertAt = kBom.size();
    LineScanner lines(text);
    Line line{};
    while (lines.nextLine(line)) {
        const LineParts parts = classify(text, line.begin, line.end);
        if (parts.kind == LineKind::Header) {
            if (inSection)
                break; // only the first section of the name counts
            if (!section.empty() && sameName(nameOf(text, parts), section)) {
                inSection = true;
                loc.sectionFound = true;
                loc.insertAt = line.next;
                loc.insertNeedsBreak = line.next == line.end;
            }
        } else if (parts.kind == LineKind::Key && inSection) {
            if (sameName(nameOf(text, parts), key)) {
                loc.keyFound = true;
                loc.key = parts;
                return loc;
            }
            loc.insertAt = line.next;
            loc.insertNeedsBreak = line.next == line.end;
        }
    }
    return loc;
}

std::string_view lineBreakOf(std::string_view text)
{
    const Line first = lineAt(text, 0);
    if (first.end == text.size())
        return "\r\n";
    return text.substr(first.end, first.next - first.end);
}

bool validNames(std::string_view section, std::string_view key)
{
    auto hasBreak = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    auto hasNul = [](std::string_view s) { return s.find('\0') != std::string_view::npos; };
    return !key.empty() && !hasBreak(section) && !hasBreak(key) && !hasNul(section) && !hasNul(key)
           && key.find('=') == std::string_view::npos;
}

} // namespace

bool hasProfileSection(std::string_view text, std::string_view section)
{
    return locate(text, section, {}).sectionFound;
}

bool findProfileValue(std::string_view text, std::string_view section, std::string_view key, std::string &value)
{
    const Location loc = locate(text, section, key);
    // a line without "=" names a key that has no value
    if (!loc.keyFound || !loc.key.hasEquals)
        return false;
    std::string_view v = text.substr(loc.key.valueBegin, loc.key.valueEnd - loc.key.valueBegin);
    std::size_t b = 0, e = v.size();
    trimRange(v, b, e);
    v = upToNul(v.substr(b, e - b));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    if (v.size() > kProfileValueMax)
        v = v.substr(0, kProfileValueMax);
    value.assign(v);
    return true;
}

void setProfileValue(std::string &text, std::string_view section, std::string_view key, std::string_view value)
{
    value = upToNul(value.substr(0, value.find_first_of("\r\n")));
    const Location loc = locate(text, section, key);
    if (loc.keyFound) {
        if (loc.key.hasEquals) {
            text.replace(loc.key.valueBegin, loc.key.valueEnd - loc.key.valueBegin, value);
        } else {
            std::string add = "=";
            add += value;
            text.insert(loc.key.nameEnd, add);
        }
        return;
    }
    const std::string br(lineBreakOf(text));
    std::string add;
    if (loc.sectionFound) {
        if (loc.insertNeedsBreak)
            add += br;
        add.append(key).append("=").append(value).append(br);
        text.insert(loc.insertAt, add);
        return;
    }
    if (!text.empty() && text.back() != '\n' && text.back() != '\r')
        add += br;
    add.append("[").append(section).append("]").append(br);
    add.append(key).append("=").append(value).append(br);
    text += add;
}

std::string readProfileString(std::string_view section, std::string_view key, std::string_view def,
                              const std::string &path)
{
    std::string text;
    std::string value;
    if (readWholeFile(path, text) == FileRead::Ok && findProfileValue(text, section, key, value))
        return value;
    def = def.substr(0, kProfileValueMax);
    return std::string(def);
}

bool writeProfileString(std::string_view section, std::string_view key, std::string_view value, const std::string &path)
{
    return writeProfileStrings({ProfileEntry{std::string(section), std::string(key), std::string(value)}}, path);
}

bool writeProfileStrings(const std::vector<ProfileEntry> &entries, const std::string &path)
{
    for (const ProfileEntry &e : entries)
        if (!validNames(e.section, e.key))
            return false;
    WriteTarget target;
    if (!findWriteTarget(path, target))
        return false;
    std::string text;
    if (target.exists && readWholeFile(target.path, text) != FileRead::Ok)
        return false;

    const std::string before = text;
    for (const ProfileEntry &e : entries)
        setProfileValue(text, e.section, e.key, e.value);
    if (target.exists && text == before) {
        removeLeftOverTemp(target);
        return true;
    }
    return replaceFileContent(target, text);
}
