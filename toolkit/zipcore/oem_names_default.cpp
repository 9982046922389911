// Builds without a Windows OEM code page read legacy names in code page 437, as Info-ZIP,
// 7-Zip and Python do on such systems; Windows builds use toolkit/shared/oem_names_win.cpp.
#include "toolkit/zipcore/name_coding.h"

namespace zipcore {

std::string oemToUtf8(const std::string& oem) { return cp437ToUtf8(oem); }

}  // namespace zipcore
