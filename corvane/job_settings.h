// The property sets a job writes into its control before the run.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// The part of a control's dispatch interface that the job settings need:
// typed puts by DISPID and the read-back of integer properties.
class PropertyBag {
public:
    virtual ~PropertyBag() = default;
    virtual void PutString(std::int32_t dispid, const std::string& value) = 0;
    virtual void PutBool(std::int32_t dispid, bool value) = 0;
    virtual void PutI2(std::int32_t dispid, std::int16_t value) = 0;
    virtual void PutI4(std::int32_t dispid, std::int32_t value) = 0;
    virtual std::int32_t GetI4(std::int32_t dispid) = 0;
};

struct UnzipJobSettings {
    std::string archivePath;
    std::string fileSpec;
    std::string destination;
    bool recurse = false;
    bool externalProgress = false;
};

struct ZipJobSettings {
    std::string archivePath;
    std::string itemList;
    bool recurse = false;
    bool externalProgress = false;
    bool multiVolume = false;
    bool cdFirst = false;
};

void ApplyUnzipJobSettings(PropertyBag& control, const UnzipJobSettings& settings);
void ApplyZipJobSettings(PropertyBag& control, const ZipJobSettings& settings);

// Multi-volume word written back over the control's current value; "CD first"
// only counts together with multi-volume.
std::int32_t MultiVolumeFlags(std::int32_t current, bool multiVolume, bool cdFirst);

} // namespace corvane
