// The option set-up written to the unzip control before every run, in the
// fixed order the control's callers rely on.
#pragma once

#include <cstdint>
#include <string>

#include "ulmarsh/control_properties.h"
#include "ulmarsh/module1.h"

namespace ulmarsh {

enum class ExtractHow { Replace = 0, Freshen = 1, Update = 2 };

// What the main form's inputs hold at the moment of the run.
struct UnzipOptionInputs {
    int16_t optionStates[16] = {};
    bool ignoreLongNames = false;
    bool mangleLongNames = false;
    bool majorStatus = false;
    bool minorStatus = false;
    bool minorCancel = false;
    bool useExternalProgress = false;
    bool extCancel = false;
    bool decrypt = false;
    std::string decryptCode;
    std::string destination;
    std::string extProgTitle;
    int freshenUpdatePosition = 0;
    int16_t index = -1;
};

// Option items of the main form's list, by position.
enum OptionItem {
    kOverwriteFiles = 0,
    kOverwriteReadOnly = 1,
    kTestWithoutExtract = 2,
    kQuietOperation = 3,
    kRecurseDirectories = 4,
    kNoDirectoryItems = 5,
    kNoDirectoryNames = 6,
    kChangeLfToCrLf = 7,
    kDiagnosticLog = 8,
    kLogUnzipResults = 9,
    kAllowRenaming = 10,
    kForceRemoveable = 11,
    kOptionItemCount = 12,
};

// Writes the whole set-up and clears the run's StopRenaming and
// CancelRequested. Property calls stop at the first failure.
void ApplyUnzipOptions(PropertySession& session, Module1& state, ControlProperties& unzip,
                       ControlProperties& majorStatus, ControlProperties& minorStatus,
                       const UnzipOptionInputs& in, const std::string& archivePath,
                       const std::string& itemSpecs);

}  // namespace ulmarsh
