// One run of an unzip control function and the texts shown afterwards.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ulmarsh/control_properties.h"
#include "ulmarsh/module1.h"
#include "ulmarsh/unzip_options.h"

namespace ulmarsh {

// A result box's text; nothing when its read failed or came after a failed one
// (the box is then emptied rather than left showing an earlier run).
using ResultText = std::optional<std::string>;

struct ItemInfoTexts {
    ResultText index, oSize, cSize, crc32, dateTime, pathType, method, attr, fileName;
};

struct RunResultTexts {
    // The Action write returned and no status display failed: a failure of the
    // session after that is a result that could not be read.
    bool completed = false;
    ResultText returnValue, count, returnString;
    ItemInfoTexts item;
};

struct StringRunResultTexts {
    bool completed = false;
    ResultText returnValue, count, returnCount, unzipString;
    ItemInfoTexts item;
};

// Reads the item-information properties, in display order; they stop at the
// first failed read.
ItemInfoTexts ShowItemInfo(PropertySession& s, ControlProperties& unzip);

struct RunTargets {
    ControlProperties& unzip;
    ControlProperties& majorStatus;
    ControlProperties& minorStatus;
    // Where the status event handlers record a failed display call.
    PropertySession& events;
};

// Set-up, the Action write (the control's events arrive nested inside it) and
// every result read. RunInProgress is set for the duration of the Action write.
// `t.events` starts each run empty; a failure recorded there during the write
// becomes this run's failure, and no result is read after it.
RunResultTexts RunUnzipFunction(PropertySession& s, Module1& state, const RunTargets& t,
                                const UnzipOptionInputs& in, const std::string& archivePath,
                                const std::string& itemSpecs, int16_t action);

StringRunResultTexts RunUnzipToString(PropertySession& s, Module1& state, const RunTargets& t,
                                      const UnzipOptionInputs& in, const std::string& archivePath,
                                      const std::string& itemName, int32_t startingOffset,
                                      int32_t charsToUnzip);

}  // namespace ulmarsh
