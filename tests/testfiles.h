#pragma once
// Whole-file reads and writes, shared by the tests of every area: as Qt
// byte arrays for the tests that work in Qt types, as byte strings for the
// core's tests, which speak the core's own types.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <fstream>
#include <sstream>
#include <string>

// The bytes of the file at `path`; empty when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Makes `data` the whole of the file at `path`; false when that fails.
inline bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

// A Qt text (a path, a name) as the byte string the core takes.
inline std::string bytes(const QString &s) { return s.toStdString(); }

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
