// The block as shipped: the texts of every dialog record, "Empty" in every
// field no dialog uses, placement 12, no picture, no flags. Built at compile
// time so the executable's tvconfig section needs no generator step.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "skerrit/startup/config_block.h"

namespace shipped_block {

using Block = std::array<std::uint8_t, config_layout::kMinBlockSize>;

constexpr std::size_t Length(const char* text) {
    std::size_t n = 0;
    while (text[n] != '\0') ++n;
    return n;
}

constexpr void Put(Block& block, std::size_t offset, const char* text) {
    for (std::size_t i = 0; text[i] != '\0'; ++i) block[offset + i] = static_cast<std::uint8_t>(text[i]);
}

struct RecordTexts {
    const char* title;
    const char* message;
    const char* link;
    const char* menu_text;
    const char* first_button;
    const char* second_button;
    const char* first_option;
    const char* second_option;
};

constexpr const char kEmpty[] = "Empty";
constexpr const char kWebAddress[] = "http://www.tavrin.example/";

constexpr RecordTexts kRecords[config_layout::kRecordCount] = {
    {"Varnex-AX Uninstaller",
     "You are about to remove previously installed programs and their associated shortcuts.  "
     "Press Cancel now if this is not what you want to do.",
     kWebAddress, kEmpty, "Continue...", "Cancel", kEmpty, kEmpty},
    {"Varnex-AX Uninstaller - Items to be removed",
     "Please review the list of programs and related files in the list below.  These are about "
     "to be removed from your system.  If you do not want to remove all of these files then "
     "press Cancel now.",
     kEmpty, kEmpty, "Remove", "Cancel", kEmpty, kEmpty},
    {"Varnex-AX Uninstaller - Removal In Process", "To stop the removal process, press Cancel.",
     kEmpty, kEmpty, kEmpty, "Cancel", kEmpty, kEmpty},
    {"Varnex-AX Uninstaller - Cancelled",
     "You have cancelled the uninstall process.  Some of the files scheduled for removal still "
     "remain on the system.",
     kEmpty, kEmpty, "OK", kEmpty, kEmpty, kEmpty},
    {"Varnex-AX Uninstaller - Error",
     "The uninstaller could not locate the installation log file which is needed to determine "
     "the files that need to be removed.  No files were removed from your system.",
     kEmpty, kEmpty, "OK", kEmpty, kEmpty, kEmpty},
    {"About Varnex-AX Uninstaller",
     "Tavrin Uninstaller Version 1.0\r\n"
     "Copyright (C) 2026 Tavrin Software.\r\n"
     "All rights reserved.",
     kWebAddress, "&About Tavrin Uninstaller...", "OK", kEmpty, kEmpty, kEmpty},
    {"Varnex-AX Uninstaller - Restart",
     "You have made changes to your system configuration that require a system restart.  You "
     "may elect to restart later, however, this could cause problems for any applications that "
     "rely on files that you have just removed from your system.",
     kEmpty, kEmpty, "OK", kEmpty, "Restart Now", "Restart Later"},
    {"Varnex-AX Uninstaller - Shared File",
     "The file shown below is a shared by several programs.  If you remove this file then those "
     "programs may not work.  Press OK to remove the file or Skip to leave it alone.",
     kEmpty, kEmpty, "OK", "Skip", "Restart Now", "Restart Later"},
};

constexpr Block Make() {
    using namespace config_layout;
    Block block{};
    Put(block, 0, "Config Marker");
    const std::uint32_t length = static_cast<std::uint32_t>(kMinBlockSize);
    for (std::size_t i = 0; i < 4; ++i) block[kLengthOffset + i] = static_cast<std::uint8_t>(length >> (8 * i));
    // Field offsets as in FieldLayout; repeated here because it is not constexpr.
    constexpr std::size_t kOffsets[12] = {0, 256, 768, 1024, 1088, 1120, 1152, 1184, 1216, 1472, 1728, 1984};
    for (std::size_t r = 0; r < kRecordCount; ++r) {
        const std::size_t base = kHeaderSize + r * kRecordSize;
        const RecordTexts& t = kRecords[r];
        const char* texts[12] = {t.title,        t.message,       t.link,   t.menu_text,
                                 t.first_button, t.second_button, kEmpty,   kEmpty,
                                 t.first_option, t.second_option, kEmpty,   kEmpty};
        for (std::size_t f = 0; f < 12; ++f) Put(block, base + kOffsets[f], texts[f]);
        block[base + kPlacementField] = static_cast<std::uint8_t>(kDefaultPlacement);
    }
    return block;
}

}  // namespace shipped_block
