#pragma once
// The program's main window as the application frame runs it.
#include "app/application.h"

// Builds TForm_Main (its creation handler runs inside) and gives the frame
// its session-end save: the fields read back and settings.ini written, as
// a close does, but without any box.
std::unique_ptr<QWidget> createMainWindow(MainWindowHandlers &handlers);
