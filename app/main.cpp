// Подбор Zelton: sizing of a regulating valve for a heat substation.
#include "app/application.h"
#include "app/commandline.h"
#include "app/mainwindowfactory.h"
#include "check/checkactions.h"
#include "sheet/sheetactions.h"

#include <QFile>

int main(int argc, char **argv)
{
    const CommandLine command = parseCommandLine(commandLineArguments(argc, argv));
    // Options (the sizing sheet, help, version, a bad argument) end the
    // program here.
    if (command.action != CommandLine::Action::Window)
        return runCommand(command);
    const QString program = argc > 0 ? QFile::decodeName(argv[0]) : QStringLiteral("zelton");
    return RunApplication(program, command.toolkitOptions, [](MainWindowHandlers &handlers) {
        std::unique_ptr<QWidget> window = createMainWindow(handlers);
        // A start builds only the window and what reaches from it; the rest
        // is made at its first use: the hint window at the first hint (the
        // hint controller), the printer and the PDF writer at the first
        // print or save, with the printing module (the sheet's actions). A
        // window opened from the main window belongs there too: made when
        // it is first opened, not here.
        new SheetActions(window.get());
        new CheckActions(window.get());
        return window;
    });
}
