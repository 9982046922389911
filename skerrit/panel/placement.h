// Geometry of the picture panel: where a picture or a text block lands inside
// the client area for each placement mode. No drawing here.
#pragma once

#include <cstdint>

namespace placement {

struct Extent {
    int width;
    int height;
};

struct Point {
    int x;
    int y;
};

struct Box {
    int left;
    int top;
    int right;
    int bottom;
};

// Placement mode that stretches a picture to the client height and repeats it
// across the width; the background picture always uses it.
constexpr uint16_t kColumnTilePlacement = 100;
constexpr int kPlacementMargin = 20;
constexpr int kTextMeasureInset = 40;

enum class PictureLayout {
    Single,       // one copy at its own size at (x, y)
    Stretch,      // one copy stretched to width x height at (0, 0)
    Tile,         // copies of width x height covering the client area
    ColumnTile,   // stretched to width x height, then copies across the client width
};

struct PicturePlan {
    PictureLayout layout;
    int x;
    int y;
    int width;
    int height;
};

// Only the low 16 bits of a placement value count.
constexpr uint16_t PlacementMode(uint32_t value) { return static_cast<uint16_t>(value & 0xFFFFu); }

PicturePlan PlanPicture(uint32_t placement, Extent client, Extent picture);

// The copies needed to cover `area` with tiles of `tile`, row by row from the
// top left; a tile without area covers nothing.
struct TileGrid {
    int columns;
    int rows;
    int tileWidth;
    int tileHeight;

    int64_t Count() const { return static_cast<int64_t>(columns) * rows; }
    Point Origin(int column, int row) const { return {column * tileWidth, row * tileHeight}; }
};

TileGrid TilesCovering(Extent area, Extent tile);

// The rectangle a text is measured in (word wrapping), anchored at the top left.
Box TextMeasureBounds(Extent client);

// Moves a measured text extent to its place for the given text placement mode.
Box PlaceText(uint32_t placement, Extent client, Extent text);

}  // namespace placement
