// The tvconfig section: "TVC1", the layout version, the block length, the
// shipped block, then zeroed room into which the configuration tool can
// append a picture without moving any other part of the executable.
#include <array>
#include <cstdint>

#include "skerrit/startup/shipped_config_block.h"

namespace {

constexpr std::uint32_t kSectionLayoutVersion = 1;
constexpr std::size_t kPictureRoom = 192u * 1024u;

struct TvConfigSection {
    char magic[4];
    std::uint32_t layout_version;
    std::uint32_t block_length;
    shipped_block::Block block;
    std::array<std::uint8_t, kPictureRoom> picture_room;
};

constexpr shipped_block::Block kShippedBlock = shipped_block::Make();

}  // namespace

// Read from the file, never from memory: nothing refers to it, so the link names it as a root
// (it would otherwise drop the section as unused); the build marks it discardable afterwards.
extern "C" const TvConfigSection skerrit_tvconfig_section;
__attribute__((section("tvconfig"), used)) const TvConfigSection skerrit_tvconfig_section = {
    {'T', 'V', 'C', '1'}, kSectionLayoutVersion,
    static_cast<std::uint32_t>(config_layout::kMinBlockSize), kShippedBlock, {}};
