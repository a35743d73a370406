#pragma once
// The printing module (sheet/sheetprinting.h), loaded at the first print:
// from beside the executable, or from where it is installed
// (<prefix>/lib/zelton/modules beside <prefix>/bin).
struct SheetPrintJob;

// Prints through the module. Raises SheetWriteError (sheet/sheetwriter.h)
// naming the module when it cannot be loaded, or the printer when it
// cannot be started.
void printSheetJob(const SheetPrintJob &job);
