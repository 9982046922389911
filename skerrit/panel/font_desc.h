// Font description of the picture panel: "height,width,weight,italic,
// underline,strikeout,face name". Numbers read like the C library's atoi; a
// missing item reads as 0; the face name is everything after the sixth comma.
#pragma once

#include <cstdint>

constexpr int kMaxFaceNameLength = 30;

struct FontDescription {
    int32_t height;
    int32_t width;
    int32_t weight;
    bool italic;
    bool underline;
    bool strikeout;
    char faceName[kMaxFaceNameLength + 1];
};

FontDescription ParseFontDescription(const char* text);

