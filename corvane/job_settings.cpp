#include "corvane/job_settings.h"

#include "framework/vxcontrols_ids.h"

namespace corvane {
namespace {

// Hands the run to the external progress window: its caption, the bits that
// start it and let it cancel, and no status events for the hidden dialog.
void RouteProgress(PropertyBag& control, bool external, const char* title,
                   std::int32_t titleId, std::int32_t optionBitsId, std::int32_t externalBits,
                   std::int32_t majorFlagId, std::int32_t minorFlagId)
{
    if (!external) {
        control.PutString(titleId, "");
        return;
    }
    control.PutString(titleId, title);
    control.PutI4(optionBitsId, control.GetI4(optionBitsId) | externalBits);
    control.PutBool(majorFlagId, false);
    control.PutBool(minorFlagId, false);
}

} // namespace

void ApplyUnzipJobSettings(PropertyBag& c, const UnzipJobSettings& s)
{
    using namespace vx::unzip;
    c.PutString(ZIPFile, s.archivePath);
    c.PutString(FileSpec, s.fileSpec);
    c.PutString(Destination, s.destination);
    c.PutI4(Index, -1);
    c.PutBool(AuxFlagA, true);
    c.PutBool(MajorStatusFlag, true);
    c.PutBool(MinorStatusFlag, true);
    c.PutBool(FreshenFlag, false);
    c.PutBool(UpdateFlag, false);
    c.PutBool(OverwriteFlag, true);
    c.PutBool(TestFlag, false);
    c.PutBool(NoDirectoryItemsFlag, false);
    c.PutBool(RecurseFlag, s.recurse);
    c.PutBool(NoDirectoryNamesFlag, true);
    c.PutI4(Count, 0);
    c.PutString(ReturnString, "");
    c.PutBool(DiagnosticLogFlag, false);
    c.PutBool(LFtoCRLFFlag, false);
    c.PutBool(DecryptFlag, false);
    c.PutString(DecryptCode, "");
    c.PutI4(OptionBits, OverwriteReadOnly | AllowMinorCancel);
    c.PutI2(ReturnValue, 0);
    c.PutI4(ZIIndex, 0);
    c.PutI4(ZIoSize, 0);
    c.PutI4(ZIcSize, 0);
    c.PutI2(ZIcMethod, 0);
    c.PutI2(ZICPathType, 0);
    c.PutI4(ZIcrc32, 0);
    c.PutString(ZIszDateTime, "");
    c.PutString(ZIszFileName, "");
    c.PutI4(ZIattr, 0);
    c.PutI2(AuxCode, 0);
    c.PutBool(AllowRenamingFlag, false);
    RouteProgress(c, s.externalProgress, "Multi-Thread Extraction Process", ExtProgTitle,
                  OptionBits, UseExternalProgress | AllowExternalCancel, MajorStatusFlag,
                  MinorStatusFlag);
    c.PutI4(StartingOffset, 0);
    c.PutI4(CharsToUnZIP, 0);
    c.PutBool(QuietFlag, false);
    c.PutBool(AuxFlagC, false);
    c.PutBool(AuxFlagB, false);
}

std::int32_t MultiVolumeFlags(std::int32_t current, bool multiVolume, bool cdFirst)
{
    if (!multiVolume)
        return current;
    std::int32_t value = current + vx::zip::MultiVolume;
    if (cdFirst)
        value += vx::zip::CdFirst;
    return value;
}

void ApplyZipJobSettings(PropertyBag& c, const ZipJobSettings& s)
{
    using namespace vx::zip;
    c.PutString(ZIPFile, s.archivePath);
    c.PutString(ItemList, s.itemList);
    c.PutBool(ZipOption3, true);
    c.PutBool(MajorStatusFlag, true);
    c.PutBool(MinorStatusFlag, true);
    c.PutBool(ZipOption6, false);
    c.PutBool(RecurseFlag, s.recurse);
    c.PutI2(ZipOption8, 5);
    c.PutBool(ZipOption9, false);
    c.PutBool(ZipOption10, false);
    c.PutString(ZipText11, "");
    for (std::int32_t id = ZipOption12; id <= ZipOption19; ++id)
        c.PutBool(id, false);
    c.PutString(ZipText20, "");
    c.PutBool(ZipOption21, false);
    c.PutString(ZipText22, "");
    c.PutBool(ZipOption23, false);
    c.PutBool(ZipOption24, false);
    c.PutString(ZipText25, "");
    c.PutBool(ZipOption26, false);
    c.PutString(ZipText27, "");
    c.PutBool(ZipOption28, false);
    c.PutBool(ZipOption29, false);
    c.PutBool(ZipOption30, false);
    c.PutString(ZipText31, "");
    c.PutBool(ZipOption33, false);
    c.PutBool(ZipOption34, false);
    c.PutString(ZipText35, "");
    c.PutBool(ZipOption36, false);
    c.PutI4(vx::zip::MultiVolumeFlags, 0);
    if (s.multiVolume)
        c.PutI4(vx::zip::MultiVolumeFlags,
                corvane::MultiVolumeFlags(c.GetI4(vx::zip::MultiVolumeFlags), true, s.cdFirst));
    c.PutI4(OptionBits, 2);
    c.PutI2(ReturnValue, 0);
    c.PutI2(Action, None);
    c.PutBool(ZipOption32, false);
    c.PutString(ExtProgTitle, "");
    c.PutString(ZipText44, "");
    RouteProgress(c, s.externalProgress, "Multi-Thread Compression Process", ExtProgTitle,
                  OptionBits, UseExternalProgress | AllowExternalCancel, MajorStatusFlag,
                  MinorStatusFlag);
    c.PutBool(ZipOption9, false);
}

} // namespace corvane
