// Builds without a Windows ANSI code page work in Windows-1252, the code page of most of the
// archives' Windows hosts; Windows builds use toolkit/shared/ansi_names_win.cpp instead.
#include "toolkit/zipcore/ansi_names.h"

namespace zipcore {

bool utf8ToAnsi(const std::string& utf8, std::string& ansi) { return utf8ToCp1252(utf8, ansi); }

}  // namespace zipcore
