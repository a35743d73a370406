#pragma once
// A short-lived INI file object on one path: reads and writes single keys
// through the private-profile functions. The reads of one object share one
// reading of the file, taken at its first read and dropped when the object
// itself writes: a load of many keys reads the file once.
#include "core/profile.h"

#include <string>
#include <string_view>
#include <vector>

// The integer text rule: leading blanks, an optional sign, then decimal
// digits (fitting a signed 32-bit integer) or "$", "x", "X", "0x", "0X"
// and hexadecimal digits (fitting 32 bits, two's complement). Nothing may
// follow. Returns false on any other text.
bool TryStrToInt(std::string_view text, int &value);

class TIniFile
{
public:
    explicit TIniFile(std::string fileName);
    // An object whose reads take `text` as the file's text, as if its first
    // read had found it (a file read once and checked before).
    TIniFile(std::string fileName, std::string text);
    // Release: writes collected since BeginUpdate() and not yet committed
    // are dropped. Nothing else is held back, so nothing is flushed.
    ~TIniFile();
    TIniFile(const TIniFile &) = delete;
    TIniFile &operator=(const TIniFile &) = delete;

    const std::string &FileName() const { return m_fileName; }

    // The value text, at most kProfileValueMax characters; `def` if missing.
    std::string ReadString(std::string_view section, std::string_view ident, std::string_view def) const;
    // `def` when the text is not an integer.
    int ReadInteger(std::string_view section, std::string_view ident, int def) const;
    // `def` when the text is empty or not a number; raises EOverflow when the
    // number lies beyond the double range.
    double ReadFloat(std::string_view section, std::string_view ident, double def) const;

    // Each write raises EIniFileException("Unable to write to <path>") when
    // the file cannot be written.
    void WriteString(std::string_view section, std::string_view ident, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view ident, int value);
    void WriteFloat(std::string_view section, std::string_view ident, double value);

    // Between BeginUpdate() and EndUpdate() writes are collected and then
    // written with one replacement of the file: the same content as the
    // single writes, and on failure nothing of them is written.
    void BeginUpdate();
    void EndUpdate();

private:
    // The file's text as the first read found it (empty when missing or
    // unreadable).
    const std::string &text() const;
    void dropText() { m_textRead = false; }

    std::string m_fileName;
    mutable bool m_textRead = false;
    mutable std::string m_text;
    bool m_updating = false;
    std::vector<ProfileEntry> m_pending;
};
