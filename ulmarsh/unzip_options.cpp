#include "ulmarsh/unzip_options.h"

#include "ulmarsh/unzip_props.h"

namespace ulmarsh {
namespace {

// Read-modify-write, as callers of the control do: the control keeps bits that
// it set itself between the reads. The word is a set of bits, so the sum wraps
// as an unsigned 32-bit value rather than overflowing when the top bit is set.
void AddOptionBit(PropertySession& s, ControlProperties& unzip, uint32_t bit) {
    const auto bits = static_cast<uint32_t>(s.GetI4(unzip, unzip::OptionBits));
    s.PutI4(unzip, unzip::OptionBits, static_cast<int32_t>(bits + bit));
}

bool On(const UnzipOptionInputs& in, int item) { return in.optionStates[item] != 0; }

void ResetStatus(PropertySession& s, ControlProperties& status) {
    s.PutI4(status, status::Percent, 0);
    s.PutString(status, status::StatusText, "");
}

}  // namespace

void ApplyUnzipOptions(PropertySession& s, Module1& state, ControlProperties& unzip,
                       ControlProperties& majorStatus, ControlProperties& minorStatus,
                       const UnzipOptionInputs& in, const std::string& archivePath,
                       const std::string& itemSpecs) {
    s.PutI4(unzip, unzip::OptionBits, 0);

    if (On(in, kOverwriteReadOnly)) AddOptionBit(s, unzip, 1);
    if (On(in, kLogUnzipResults)) AddOptionBit(s, unzip, 256);
    if (On(in, kForceRemoveable)) AddOptionBit(s, unzip, 128);

    if (in.ignoreLongNames) AddOptionBit(s, unzip, 16);
    if (in.mangleLongNames) AddOptionBit(s, unzip, 32);

    if (in.minorCancel) AddOptionBit(s, unzip, 2);

    if (in.useExternalProgress) {
        AddOptionBit(s, unzip, 4);
        s.PutBool(unzip, unzip::MajorStatusFlag, false);
        s.PutBool(unzip, unzip::MinorStatusFlag, false);
    }

    if (in.extCancel) AddOptionBit(s, unzip, 8);

    s.PutBool(unzip, unzip::OverwriteFlag, On(in, kOverwriteFiles));
    s.PutBool(unzip, unzip::TestFlag, On(in, kTestWithoutExtract));
    s.PutBool(unzip, unzip::QuietFlag, On(in, kQuietOperation));
    s.PutBool(unzip, unzip::RecurseFlag, On(in, kRecurseDirectories));
    s.PutBool(unzip, unzip::NoDirectoryItemsFlag, On(in, kNoDirectoryItems));
    s.PutBool(unzip, unzip::NoDirectoryNamesFlag, On(in, kNoDirectoryNames));
    s.PutBool(unzip, unzip::LFtoCRLFFlag, On(in, kChangeLfToCrLf));
    s.PutBool(unzip, unzip::DiagnosticLogFlag, On(in, kDiagnosticLog));
    s.PutBool(unzip, unzip::AllowRenamingFlag, On(in, kAllowRenaming));

    s.PutString(unzip, unzip::ZIPFile, archivePath);
    s.PutString(unzip, unzip::FileSpec, itemSpecs);
    s.PutString(unzip, unzip::Destination, in.destination);

    s.PutBool(unzip, unzip::DecryptFlag, in.decrypt);
    s.PutString(unzip, unzip::DecryptCode, in.decryptCode);

    s.PutString(unzip, unzip::ExtProgTitle, in.extProgTitle);

    // After the external-progress step, so the tick boxes have the last word.
    s.PutBool(unzip, unzip::AuxFlagA, true);
    s.PutBool(unzip, unzip::MajorStatusFlag, in.majorStatus);
    s.PutBool(unzip, unzip::AuxFlagB, true);
    s.PutBool(unzip, unzip::MinorStatusFlag, in.minorStatus);

    ResetStatus(s, minorStatus);
    ResetStatus(s, majorStatus);

    if (in.freshenUpdatePosition == static_cast<int>(ExtractHow::Freshen)) {
        s.PutBool(unzip, unzip::FreshenFlag, true);
        s.PutBool(unzip, unzip::UpdateFlag, false);
    } else {
        s.PutBool(unzip, unzip::UpdateFlag,
                  in.freshenUpdatePosition == static_cast<int>(ExtractHow::Update));
        s.PutBool(unzip, unzip::FreshenFlag, false);
    }

    s.PutI4(unzip, unzip::Index, in.index);

    state.StopRenaming = kFalse;
    state.CancelRequested = kFalse;
}

}  // namespace ulmarsh
