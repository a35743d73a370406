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
        new SheetActions(window.get());
        new CheckActions(window.get());
        return window;
    });
}
