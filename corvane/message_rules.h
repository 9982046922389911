// How a job answers its control's message events: a new title, a response,
// or nothing. The code's other arguments and the text are never touched.
#pragma once

#include <cstdint>

namespace corvane {

struct MessageReply {
    const char* newTitle = nullptr; // replaces the control's title when set
    bool setsResponse = false;
    std::int32_t response = 0;
};

MessageReply UnzipMessageReply(std::int32_t code);
MessageReply ZipMessageReply(std::int32_t code);

} // namespace corvane
