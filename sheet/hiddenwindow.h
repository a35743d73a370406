#pragma once
// A main window built as the start-up builds it, never shown, into which
// sizing files are opened one after another: what the schedule and the
// report read off, so that their numbers are those the window shows for
// each file (the Kvy field's one decimal and its minimum, the results as
// the handlers leave them). One window serves every file: an open pushes
// the file into the fields as the description made them
// (TForm_Main::openSizingFile), so a file's results do not depend on the
// files before it.
//
// The sizing state and the check inputs are process-wide: the window's
// handlers use them. They are kept when the window is built and put back
// when it goes, so a window the user works in keeps its values.
#include <QString>
#include <memory>

#include "core/sizingrecord.h"

class TForm_Main;

class HiddenWindow
{
public:
    // Builds the window: its creation handler reads the settings file as a
    // start-up does.
    HiddenWindow();
    ~HiddenWindow();
    HiddenWindow(const HiddenWindow &) = delete;
    HiddenWindow &operator=(const HiddenWindow &) = delete;

    // Opens the sizing file at `path` (relative to the working folder).
    // Raises ESizingFileError naming it when it is not a sizing file.
    void open(const QString &path);

    const TForm_Main &window() const { return *m_window; }

private:
    SizingRecord m_kept;
    std::unique_ptr<TForm_Main> m_window;
};
