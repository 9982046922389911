#include "skerrit/removal/wininit_win.h"

#include <windows.h>

#include <string>

#include "common/scoped_handles_win.h"
#include "skerrit/removal/wininit.h"

namespace {

// wininit.ini is a small text file; anything bigger is not one we edit.
constexpr DWORD kMaxWininitSize = 16u * 1024u * 1024u;

bool ReadWholeFile(HANDLE file, std::string& content) {
    const DWORD size = GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE || size > kMaxWininitSize) return false;
    content.resize(size);
    DWORD read = 0;
    if (size > 0 && (!ReadFile(file, &content[0], size, &read, nullptr) || read != size))
        return false;
    // Nothing may follow what was read, or bytes would be lost.
    char probe = 0;
    return ReadFile(file, &probe, 1, &read, nullptr) && read == 0;
}

bool WriteWholeFile(const char* path, const std::string& content) {
    ScopedHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return false;
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(content.size());
    if (!WriteFile(file.get(), content.data(), size, &written, nullptr) || written != size)
        return false;
    if (!FlushFileBuffers(file.get())) return false;
    return file.Close();
}

// Puts `replacement` in place of `target` so that one of the two complete
// versions always carries the target's name: the old file is renamed aside,
// the new one renamed in, and the old one put back when that fails.
bool ReplaceKeepingOld(const std::string& target, const std::string& replacement) {
    std::string folder = target;
    const std::size_t slash = folder.find_last_of('\\');
    folder = slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
    char aside[MAX_PATH];
    if (GetTempFileNameA(folder.c_str(), "wnb", 0, aside) == 0) return false;
    DeleteFileA(aside);  // only its unique name is wanted
    if (!MoveFileA(target.c_str(), aside)) return false;
    if (!MoveFileA(replacement.c_str(), target.c_str())) {
        MoveFileA(aside, target.c_str());
        return false;
    }
    DeleteFileA(aside);
    return true;
}

}  // namespace

bool AddWininitDeletion(const char* short_path, const char* wininit_path) {
    if (short_path == nullptr || wininit_path == nullptr) return false;
    const std::string target = wininit_path;
    if (target.size() < 3 || short_path[0] == '\0') return false;

    // Let Windows write its cached profile data first, so we edit what is current.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, wininit_path);

    std::string content;
    {
        ScopedHandle wininit(CreateFileA(wininit_path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!wininit.ok() || !ReadWholeFile(wininit.get(), content)) return false;
    }

    const std::string work = target.substr(0, target.size() - 3) + "new";
    if (!WriteWholeFile(work.c_str(), InsertWininitDeletion(content, short_path))) {
        DeleteFileA(work.c_str());
        return false;
    }
    if (!ReplaceKeepingOld(target, work)) {
        DeleteFileA(work.c_str());
        return false;
    }
    return true;
}
