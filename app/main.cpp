// Подбор Zelton: sizing of a regulating valve for a heat substation.
#include "app/application.h"
#include "app/mainwindowfactory.h"
#include "check/checkactions.h"
#include "sheet/commandline.h"
#include "sheet/sheetactions.h"

int main(int argc, char **argv)
{
    // Options (the sizing sheet, help, version) end the program here.
    if (const std::optional<int> exitCode = runCommandLine(argc, argv))
        return *exitCode;
    return RunApplication(argc, argv, [](MainWindowHandlers &handlers) {
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
