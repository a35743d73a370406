#pragma once
// The program's command line:
//
//   zelton                                   the window, as always
//   zelton --sheet FILE.pdf [--circuit 1|2]  writes the sizing sheet of the
//                                            inputs in the settings file
//   zelton --help | --version
//
// The sheet is written without a window on screen and without a display.
// The manual page beside this file (zelton.1) documents the same options
// as the help text; a test compares the two.
#include <optional>
#include <string>
#include <vector>

// What the arguments ask for.
struct CommandLine {
    enum class Action { Window, Help, Version, Sheet, Error };
    Action action = Action::Window;
    std::string sheetPath;
    int circuit = 0;   // 0: the circuit of the page stored in the settings
    std::string error; // for Action::Error: what is wrong
};

CommandLine parseCommandLine(const std::vector<std::string> &args);

// Runs what the command line asks for, except the window: the exit code,
// or nothing when the program is to show its window (no arguments).
// Exit codes: 0 done, 2 a bad argument or a sheet that could not be
// written (the reason on stderr).
std::optional<int> runCommandLine(int argc, char **argv);
