// The unzip and status control properties the bench uses, with the names
// its messages show.
#pragma once

#include "framework/vxcontrols_ids.h"
#include "ulmarsh/control_properties.h"

namespace ulmarsh::unzip {
constexpr Prop ZIPFile{vx::unzip::ZIPFile, "ZIPFile"};
constexpr Prop FileSpec{vx::unzip::FileSpec, "FileSpec"};
constexpr Prop Index{vx::unzip::Index, "Index"};
constexpr Prop Destination{vx::unzip::Destination, "Destination"};
constexpr Prop AuxFlagA{vx::unzip::AuxFlagA, "AuxFlagA"};
constexpr Prop MajorStatusFlag{vx::unzip::MajorStatusFlag, "MajorStatusFlag"};
constexpr Prop MinorStatusFlag{vx::unzip::MinorStatusFlag, "MinorStatusFlag"};
constexpr Prop FreshenFlag{vx::unzip::FreshenFlag, "FreshenFlag"};
constexpr Prop UpdateFlag{vx::unzip::UpdateFlag, "UpdateFlag"};
constexpr Prop OverwriteFlag{vx::unzip::OverwriteFlag, "OverwriteFlag"};
constexpr Prop QuietFlag{vx::unzip::QuietFlag, "QuietFlag"};
constexpr Prop TestFlag{vx::unzip::TestFlag, "TestFlag"};
constexpr Prop NoDirectoryItemsFlag{vx::unzip::NoDirectoryItemsFlag, "NoDirectoryItemsFlag"};
constexpr Prop RecurseFlag{vx::unzip::RecurseFlag, "RecurseFlag"};
constexpr Prop NoDirectoryNamesFlag{vx::unzip::NoDirectoryNamesFlag, "NoDirectoryNamesFlag"};
constexpr Prop Count{vx::unzip::Count, "Count"};
constexpr Prop ReturnString{vx::unzip::ReturnString, "ReturnString"};
constexpr Prop DiagnosticLogFlag{vx::unzip::DiagnosticLogFlag, "DiagnosticLogFlag"};
constexpr Prop LFtoCRLFFlag{vx::unzip::LFtoCRLFFlag, "LFtoCRLFFlag"};
constexpr Prop DecryptFlag{vx::unzip::DecryptFlag, "DecryptFlag"};
constexpr Prop DecryptCode{vx::unzip::DecryptCode, "DecryptCode"};
constexpr Prop AuxFlagB{vx::unzip::AuxFlagB, "AuxFlagB"};
constexpr Prop OptionBits{vx::unzip::OptionBits, "OptionBits"};
constexpr Prop ReturnValue{vx::unzip::ReturnValue, "ReturnValue"};
constexpr Prop ZIIndex{vx::unzip::ZIIndex, "ZIIndex"};
constexpr Prop ZIoSize{vx::unzip::ZIoSize, "ZIoSize"};
constexpr Prop ZIcSize{vx::unzip::ZIcSize, "ZIcSize"};
constexpr Prop ZIcMethod{vx::unzip::ZIcMethod, "ZIcMethod"};
constexpr Prop ZICPathType{vx::unzip::ZICPathType, "ZICPathType"};
constexpr Prop ZIcrc32{vx::unzip::ZIcrc32, "ZIcrc32"};
constexpr Prop ZIszDateTime{vx::unzip::ZIszDateTime, "ZIszDateTime"};
constexpr Prop ZIszFileName{vx::unzip::ZIszFileName, "ZIszFileName"};
constexpr Prop ZIattr{vx::unzip::ZIattr, "ZIattr"};
constexpr Prop Action{vx::unzip::Action, "Action"};
constexpr Prop AllowRenamingFlag{vx::unzip::AllowRenamingFlag, "AllowRenamingFlag"};
constexpr Prop ExtProgTitle{vx::unzip::ExtProgTitle, "ExtProgTitle"};
constexpr Prop UnZIPString{vx::unzip::UnZIPString, "UnZIPString"};
constexpr Prop StartingOffset{vx::unzip::StartingOffset, "StartingOffset"};
constexpr Prop CharsToUnZIP{vx::unzip::CharsToUnZIP, "CharsToUnZIP"};

constexpr int16_t kActionUnzipToString = vx::unzip::UnzipToString;
}  // namespace ulmarsh::unzip

namespace ulmarsh::status {
constexpr Prop Percent{vx::status::Percent, "Percent"};
constexpr Prop StatusText{vx::status::StatusText, "StatusText"};
}  // namespace ulmarsh::status
