#pragma once
// The report of sizing files (core/report.h) read off the main window, so
// that its numbers are those the window shows: each file opened in turn in
// a hidden window (sheet/hiddenwindow.h), its circuits' fields, result
// lines and results read there, and the valve check evaluated with the
// Kvy of the field, as the check window evaluates it.
#include <QStringList>
#include <vector>

#include "core/report.h"

class TForm_Main;

// One circuit (1 or 2) as `window` shows it.
ReportCircuit readReportCircuit(const TForm_Main &window, int circuit);

// The files given, each by the name given; none: the settings file the
// window chooses, by its full path. A file that is not a sizing file raises
// ESizingFileError naming it.
std::vector<ReportFile> readReport(const QStringList &files);
