// skerrit's switches: /I, /L log, /N name, /V version, /R parameter file,
// /Z topmost, /S silent removal, and /X <result file>, which the launcher gives
// its temporary copy. Values are trimmed of outer blanks after the scan.
#pragma once

#include <string_view>

#include "skerrit/run_settings.h"

void ParseCommandLine(std::string_view command_tail, RunSettings& settings);
