// Escape sequences of the picture panel's text: a backslash before N, R or T
// (either case) becomes a carriage return, a line feed or a tab. The panel's
// convention maps backslash-n to a carriage return, not a line feed.
#pragma once

#include <cstddef>

// Decodes in place; the text only gets shorter. Returns the new length.
size_t DecodeTextEscapes(char* text);

