// One run of an unzip control function and the texts shown afterwards.
#pragma once

#include <cstdint>
#include <string>

#include "ulmarsh/control_properties.h"
#include "ulmarsh/module1.h"
#include "ulmarsh/unzip_options.h"

namespace ulmarsh {

struct ItemInfoTexts {
    std::string index, oSize, cSize, crc32, dateTime, pathType, method, attr, fileName;
};

struct RunResultTexts {
    std::string returnValue, count, returnString;
    ItemInfoTexts item;
};

struct StringRunResultTexts {
    std::string returnValue, count, returnCount, unzipString;
    ItemInfoTexts item;
};

// Reads the item-information properties, in display order.
ItemInfoTexts ShowItemInfo(PropertySession& s, ControlProperties& unzip);

struct RunTargets {
    ControlProperties& unzip;
    ControlProperties& majorStatus;
    ControlProperties& minorStatus;
};

// Set-up, the Action write (the control's events arrive nested inside it) and
// every result read. RunInProgress is set for the duration of the Action write.
RunResultTexts RunUnzipFunction(PropertySession& s, Module1& state, const RunTargets& t,
                                const UnzipOptionInputs& in, const std::string& archivePath,
                                const std::string& itemSpecs, int16_t action);

StringRunResultTexts RunUnzipToString(PropertySession& s, Module1& state, const RunTargets& t,
                                      const UnzipOptionInputs& in, const std::string& archivePath,
                                      const std::string& itemName, int32_t startingOffset,
                                      int32_t charsToUnzip);

}  // namespace ulmarsh
