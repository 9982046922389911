// Chunked search of a byte stream: 1024-byte reads that overlap by one byte
// less than the search text, so a text straddling two chunks is still found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

constexpr std::size_t kFindChunkSize = 1024;

// Reads up to `size` bytes at `offset`; returns the count read (0 at the end).
using ReadAtFunction = std::function<std::size_t(std::int64_t offset, char* buffer, std::size_t size)>;
// Lowers `size` bytes in place (the system's mapping on Windows).
using LowerBufferFunction = void (*)(char* buffer, std::size_t size);

void LowerAsciiBuffer(char* buffer, std::size_t size);

// Offset of the first occurrence at or after `start`, or -1. An empty search
// text is never found.
std::int64_t FindInStream(const ReadAtFunction& read_at, std::int64_t start, std::string_view text,
                          bool fold_case, LowerBufferFunction lower = LowerAsciiBuffer);
