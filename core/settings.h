#pragma once
// settings.ini: section "Main" with LastSys, section "Values" with the
// seventeen persisted inputs, then section "Checks" with the valve check's
// inputs of both circuits. A file without "Checks" loads with empty checks.
#include <string>

void LoadSettings(const std::string &path);
void SaveSettings(const std::string &path);
void ResetSettings(const std::string &path);
