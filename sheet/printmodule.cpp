#include "sheet/printmodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include "sheet/sheetprinting.h"
#include "sheet/sheetwriter.h"

namespace {

SheetPrintEntry loadPrintModule()
{
    static SheetPrintEntry entry = nullptr;
    if (entry)
        return entry;
    const QDir programDir(QCoreApplication::applicationDirPath());
    QStringList failures;
    for (const QString &dir :
         {programDir.path(), QDir::cleanPath(programDir.filePath(QStringLiteral(ZELTON_PRINT_MODULE_DIR)))}) {
        // The library stays loaded for the life of the program.
        QLibrary module(QDir(dir).filePath(QStringLiteral("zelton-print")));
        entry = reinterpret_cast<SheetPrintEntry>(module.resolve(kSheetPrintEntry));
        if (entry)
            return entry;
        failures << module.errorString();
    }
    throw SheetWriteError(QStringLiteral("Unable to print: the printing module cannot be loaded (%1)")
                              .arg(failures.join(QStringLiteral("; ")))
                              .toStdString());
}

} // namespace

void printSheetJob(const SheetPrintJob &job) { loadPrintModule()(job); }
