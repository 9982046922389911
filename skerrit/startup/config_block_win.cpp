#include "skerrit/startup/config_block_win.h"

#include <cstring>
#include <string>
#include <vector>

#include "common/scoped_handles_win.h"
#include "skerrit/startup/find_in_file.h"

namespace {

void LowerWithSystemMapping(char* buffer, std::size_t size) {
    CharLowerBuffA(buffer, static_cast<DWORD>(size));
}

std::size_t ReadAt(HANDLE file, std::int64_t offset, char* buffer, std::size_t size) {
    if (offset < 0 || offset > 0x7fffffff) return 0;
    if (SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        return 0;
    }
    DWORD got = 0;
    if (!ReadFile(file, buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
    return got;
}

}  // namespace

long FindInFile(HANDLE file, long start, const char* text, bool fold_case) {
    if (text == nullptr) return -1;
    const std::int64_t found = FindInStream(
        [file](std::int64_t offset, char* buffer, std::size_t size) {
            return ReadAt(file, offset, buffer, size);
        },
        start, text, fold_case, LowerWithSystemMapping);
    return static_cast<long>(found);
}

std::unique_ptr<ConfigBlock> LocateConfigBlock(const char* executable_path) {
    using namespace config_layout;
    char upper[MAX_PATH];
    if (executable_path == nullptr || std::strlen(executable_path) >= sizeof(upper)) return nullptr;
    std::strcpy(upper, executable_path);
    CharUpperA(upper);
    ScopedHandle file(CreateFileA(upper, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return nullptr;

    const long search_key = FindInFile(file.get(), 0, kConfigMarker, false);
    if (search_key < 0) return nullptr;
    const long block_start = FindInFile(file.get(), search_key + static_cast<long>(kMarkerWidth),
                                        kConfigMarker, false);
    if (block_start < 0) return nullptr;

    std::uint8_t header[kHeaderSize];
    if (ReadAt(file.get(), block_start, reinterpret_cast<char*>(header), sizeof(header)) != sizeof(header)) {
        return nullptr;
    }
    const std::uint32_t length = ReadLe32(header + kLengthOffset);
    if (length < kMinBlockSize || length > kMaxBlockSize) return nullptr;
    std::vector<std::uint8_t> bytes(length);
    if (ReadAt(file.get(), block_start, reinterpret_cast<char*>(bytes.data()), length) != length) {
        return nullptr;
    }
    return ConfigBlock::FromBytes(std::move(bytes));
}
