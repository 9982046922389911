#include "corvane/message_rules.h"

namespace corvane {
namespace {

MessageReply Title(const char* title)
{
    MessageReply reply;
    reply.newTitle = title;
    return reply;
}

MessageReply Response(std::int32_t value)
{
    MessageReply reply;
    reply.setsResponse = true;
    reply.response = value;
    return reply;
}

} // namespace

MessageReply UnzipMessageReply(std::int32_t code)
{
    switch (code) {
    case 0: case 1: case 10:
        return Response(2);
    case 13:
        return Response(1);
    case 2: case 3: case 4: case 5: case 6: case 9: case 11: case 12:
        return Title("My UnZIP");
    default:
        return MessageReply();
    }
}

MessageReply ZipMessageReply(std::int32_t code)
{
    switch (code) {
    case 0: case 1: case 10:
        return Title("My Multi-Volume ZIP");
    case 2: case 3: case 4: case 5: case 6: case 9: case 11: case 12:
        return Title("My ZIP");
    case 13:
        return Response(1);
    default:
        return MessageReply();
    }
}

} // namespace corvane
