#pragma once
// settings.ini: section "Main" with LastSys, section "Values" with the
// seventeen persisted inputs.
#include <string>

void LoadSettings(const std::string &path);
void SaveSettings(const std::string &path);
void ResetSettings(const std::string &path);
