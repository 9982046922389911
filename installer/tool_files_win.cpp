#include "installer/tool_files_win.h"

#include <windows.h>

#include "common/scoped_handles_win.h"

namespace {

bool ReadWhole(const std::string& path, std::vector<std::uint8_t>& bytes) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return false;
    const DWORD size = GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > 256u * 1024u * 1024u) return false;
    bytes.resize(size);
    DWORD got = 0;
    return size == 0 || (ReadFile(file.get(), bytes.data(), size, &got, nullptr) && got == size);
}

bool WriteWhole(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(file.get());
    return file.Close() && ok;
}

// The new content goes to a file beside the target, which then replaces it in
// one step: an interrupted run leaves the old executable, never half a new one.
bool ReplaceWhole(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::string temp = path + ".tvcfg-new";
    if (!WriteWhole(temp, bytes)) {
        DeleteFileA(temp.c_str());
        return false;
    }
    if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

ToolFiles WindowsToolFiles() { return ToolFiles{ReadWhole, ReplaceWhole}; }
