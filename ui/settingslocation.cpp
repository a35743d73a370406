#include "ui/settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <string>
#include <sys/stat.h>

#include "core/textfile.h"

namespace {

QString &executableDirectoryOverride()
{
    static QString dir;
    return dir;
}

QString withSeparator(QString dir)
{
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

std::string nativePath(const QString &path) { return QFile::encodeName(path).toStdString(); }

// Folders made for the settings are for their user only.
bool makeUserFolder(const QString &dir)
{
    QStringList missing;
    for (QString d = QDir::cleanPath(dir); !QFileInfo::exists(d);) {
        missing.prepend(d);
        const QString parent = QFileInfo(d).absolutePath();
        if (parent == d)
            break;
        d = parent;
    }
    for (const QString &d : std::as_const(missing))
        if (!QDir().mkdir(d, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return false;
    return QFileInfo(dir).isDir();
}

// A new per-user file starts from the site defaults, if there are any.
void seedFrom(const QString &siteFile, const QString &userFile)
{
    struct stat st {};
    if (::stat(nativePath(userFile).c_str(), &st) == 0 || errno != ENOENT)
        return;
    std::string defaults;
    if (readWholeFile(nativePath(siteFile), defaults) == FileRead::Ok)
        writeWholeFile(nativePath(userFile), defaults);
}

} // namespace

QString executableDirectory()
{
    const QString &override = executableDirectoryOverride();
    if (!override.isEmpty())
        return override;
    return withSeparator(QCoreApplication::applicationDirPath());
}

void setExecutableDirectoryOverride(const QString &dir)
{
    executableDirectoryOverride() = dir.isEmpty() ? QString() : withSeparator(dir);
}

QString userConfigDirectory()
{
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#else
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::homePath() + QStringLiteral("/.config");
#endif
}

QString chooseSettingsPath(const QString &exeDir)
{
    const QString beside = exeDir + QStringLiteral("settings.ini");
    WriteTarget target;
    if (!directoryRefusesNewFiles(nativePath(exeDir)) || (findWriteTarget(nativePath(beside), target) && target.exists))
        return beside;
    const QString dir = userConfigDirectory() + QStringLiteral("/zelton");
    const QString perUser = dir + QStringLiteral("/settings.ini");
    if (makeUserFolder(dir))
        seedFrom(beside, perUser);
    return perUser;
}
