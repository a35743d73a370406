// Подбор Zelton: sizing of a regulating valve for a heat substation.
#include "app/application.h"
#include "app/commandline.h"
#include "app/mainwindowfactory.h"
#include "check/checkactions.h"
#include "sheet/scheduleactions.h"
#include "sheet/sheetactions.h"
#include "ui/mainwindow.h"
#include "ui/sizingfileactions.h"

int main(int argc, char **argv)
{
    const CommandLine command = parseCommandLine(commandLineArguments(argc, argv));
    // Options (the sizing sheet, the schedule, the report, help, version,
    // a bad argument) end the program here.
    if (command.action != CommandLine::Action::Window)
        return runCommand(command);
    return RunApplication(
        argc, argv,
        [&command](MainWindowHandlers &handlers) {
            std::unique_ptr<QWidget> window = createMainWindow(handlers);
            // A start builds only the window and what reaches from it; the rest
            // is made at its first use: the hint window at the first hint (the
            // hint controller), the printer and the PDF writer at the first
            // print or save, with the printing module (the sheet's actions); the
            // hidden window that reads a schedule's files, for each schedule. A
            // window opened from the main window belongs there too: made when
            // it is first opened, not here.
            auto *sizingFiles = new SizingFileActions(static_cast<TForm_Main *>(window.get()));
            new SheetActions(window.get());
            new ScheduleActions(window.get());
            new CheckActions(window.get());
            // The sizing file named on the command line, loaded before the
            // window shows: a file that is not one gets its box, and the window
            // shows the settings file's inputs.
            if (!command.sizingFile.isEmpty())
                sizingFiles->openFile(command.sizingFile);
            return window;
        },
        command.toolkitOptions);
}
