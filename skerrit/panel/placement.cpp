#include "skerrit/panel/placement.h"

#include <algorithm>
#include <cstdint>

namespace placement {
namespace {

enum class Anchor { Start, Centre, End };

struct AnchoredMode {
    Anchor horizontal;
    Anchor vertical;
    int dx;
    int dy;
};

// Modes 1 to 11 share their anchors and offsets between pictures and texts.
constexpr AnchoredMode kAnchoredModes[] = {
    {Anchor::Start, Anchor::Start, 0, 0},                                   // 0: unused
    {Anchor::End, Anchor::Start, 0, 0},                                     // 1
    {Anchor::Start, Anchor::End, 0, 0},                                     // 2
    {Anchor::End, Anchor::End, 0, 0},                                       // 3
    {Anchor::Centre, Anchor::Start, 0, 0},                                  // 4
    {Anchor::Centre, Anchor::End, 0, 0},                                    // 5
    {Anchor::Start, Anchor::Start, kPlacementMargin, kPlacementMargin},     // 6
    {Anchor::End, Anchor::Start, -kPlacementMargin, kPlacementMargin},      // 7
    {Anchor::Start, Anchor::End, kPlacementMargin, -kPlacementMargin},      // 8
    {Anchor::End, Anchor::End, -kPlacementMargin, -kPlacementMargin},       // 9
    {Anchor::Centre, Anchor::Start, 0, kPlacementMargin},                   // 10
    {Anchor::Centre, Anchor::End, 0, -kPlacementMargin},                    // 11
};
constexpr uint16_t kLastAnchoredMode = 11;
constexpr uint16_t kCentreOrStretchMode = 12;
constexpr uint16_t kTileMode = 13;
constexpr uint16_t kStretchMode = 14;

AnchoredMode AnchorsFor(uint16_t mode) {
    return mode <= kLastAnchoredMode ? kAnchoredModes[mode] : kAnchoredModes[0];
}

// A picture that does not fit in a direction starts at 0 in that direction.
int PictureOffset(Anchor anchor, int room, int size) {
    if (anchor == Anchor::Start || size >= room) return 0;
    return anchor == Anchor::End ? room - size : (room - size) / 2;
}

// A text block is aligned even when it is wider than the room.
int TextOffset(Anchor anchor, int room, int size) {
    switch (anchor) {
        case Anchor::End: return room - size;
        case Anchor::Centre: return (room - size) / 2;
        case Anchor::Start: break;
    }
    return 0;
}

int CeilDiv(int64_t total, int64_t part) {
    if (total <= 0 || part <= 0) return 0;
    return static_cast<int>((total + part - 1) / part);
}

}  // namespace

PicturePlan PlanPicture(uint32_t placement, Extent client, Extent picture) {
    const uint16_t mode = PlacementMode(placement);
    switch (mode) {
        case kCentreOrStretchMode:
            if (picture.width < client.width && picture.height < client.height) {
                return {PictureLayout::Single, (client.width - picture.width) / 2,
                        (client.height - picture.height) / 2, picture.width, picture.height};
            }
            return {PictureLayout::Stretch, 0, 0, client.width, client.height};
        case kTileMode:
            return {PictureLayout::Tile, 0, 0, picture.width, picture.height};
        case kStretchMode:
            return {PictureLayout::Stretch, 0, 0, client.width, client.height};
        case kColumnTilePlacement:
            return {PictureLayout::ColumnTile, 0, 0, picture.width, client.height};
        default: {
            const AnchoredMode a = AnchorsFor(mode);
            return {PictureLayout::Single,
                    PictureOffset(a.horizontal, client.width, picture.width) + a.dx,
                    PictureOffset(a.vertical, client.height, picture.height) + a.dy,
                    picture.width, picture.height};
        }
    }
}

TileGrid TilesCovering(Extent area, Extent tile) {
    const int columns = CeilDiv(area.width, tile.width);
    const int rows = CeilDiv(area.height, tile.height);
    if (columns == 0 || rows == 0) return {0, 0, tile.width, tile.height};
    return {columns, rows, tile.width, tile.height};
}

Box TextMeasureBounds(Extent client) {
    return {0, 0, client.width - kTextMeasureInset, client.height - kTextMeasureInset};
}

Box PlaceText(uint32_t placement, Extent client, Extent text) {
    const uint16_t mode = PlacementMode(placement);
    int x = 0;
    int y = 0;
    if (mode == kCentreOrStretchMode) {
        x = TextOffset(Anchor::Centre, client.width, text.width);
        y = TextOffset(Anchor::Centre, client.height, text.height);
    } else {
        const AnchoredMode a = AnchorsFor(mode);
        x = TextOffset(a.horizontal, client.width, text.width) + a.dx;
        y = TextOffset(a.vertical, client.height, text.height) + a.dy;
    }
    return {x, y, x + text.width, y + text.height};
}

}  // namespace placement
