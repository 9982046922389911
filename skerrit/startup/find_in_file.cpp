#include "skerrit/startup/find_in_file.h"

#include <cstring>
#include <string>
#include <vector>

void LowerAsciiBuffer(char* buffer, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (buffer[i] >= 'A' && buffer[i] <= 'Z') buffer[i] = static_cast<char>(buffer[i] - 'A' + 'a');
    }
}

std::int64_t FindInStream(const ReadAtFunction& read_at, std::int64_t start, std::string_view text,
                          bool fold_case, LowerBufferFunction lower) {
    if (text.empty() || text.size() > kFindChunkSize || start < 0) return -1;
    std::string key(text);
    if (fold_case) lower(&key[0], key.size());
    std::vector<char> chunk(kFindChunkSize);
    for (;;) {
        const std::size_t got = read_at(start, chunk.data(), chunk.size());
        if (got < key.size() || got > chunk.size()) return -1;
        if (fold_case) lower(chunk.data(), got);
        const std::size_t last = got - key.size();
        for (std::size_t pos = 0; pos <= last; ++pos) {
            if (std::memcmp(chunk.data() + pos, key.data(), key.size()) == 0) {
                return start + static_cast<std::int64_t>(pos);
            }
        }
        start += static_cast<std::int64_t>(last + 1);
    }
}
