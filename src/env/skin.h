// Window skinning through the skin engine carried inside the program.
#pragma once

#include "platform/form.h"

#include <string>

inline constexpr const char* engineLibraryPath = "C:\\WINDOWS\\system32\\velmora.dll";
inline constexpr const char* skinFileName = "C:\\WINDOWS\\system32\\velmora.skn";
inline constexpr const char* engineLibraryName = "velmora.dll";

// The program's only global: the skin file's path, empty until applySkin.
extern std::string skinFilePath;

void skinWindow(Form& form, int skinNumber);
void applySkin(Form& form, int skinNumber);
