#include "fixture_files_win.h"

#include <windows.h>
#include <oleauto.h>

#include "tests/driver/e2e_driver.h"

namespace tolvane_test {

const char kFixtureLibId[] = "{6C1D4F0E-3B7A-4E55-9A1F-0D7F2B8E4C11}";

namespace {

const char kServerKeyRoot[] = "Software\\TolvaneTests\\";

void CreateFolders(const std::string& folder) {
    for (std::size_t pos = folder.find('\\', 3); pos != std::string::npos; pos = folder.find('\\', pos + 1)) {
        CreateDirectoryA(folder.substr(0, pos).c_str(), nullptr);
    }
    CreateDirectoryA(folder.c_str(), nullptr);
}

}  // namespace

std::string TypeLibKey() { return std::string("TypeLib\\") + kFixtureLibId; }

std::string FixtureServer() { return e2e::BinPath("tolvane_fixture_server.dll"); }
std::string FixtureFailing() { return e2e::BinPath("tolvane_fixture_failing.dll"); }
std::string FixtureCrash() { return e2e::BinPath("tolvane_fixture_crash.dll"); }
std::string FixtureMisbehaving() { return e2e::BinPath("tolvane_fixture_misbehaving.dll"); }
std::vector<std::pair<std::string, std::string>> FailingServerCases() {
    std::vector<std::pair<std::string, std::string>> cases = {
        {FixtureNoExport(), "bad.dll"}, {FixtureFailing(), "bad.dll"}, {FixtureCrash(), "bad.dll"}};
    for (const char* misbehaviour : {"exit", "throw", "msvc", "thread", "recurse", "dllmain"})
        cases.push_back({FixtureMisbehaving(), std::string(misbehaviour) + ".dll"});
    return cases;
}
std::string FixtureNoExport() { return e2e::BinPath("tolvane_fixture_noexport.dll"); }
std::string FixtureTypeLib() { return e2e::BinPath("tolvane_fixture.tlb"); }

bool PlaceFixture(const std::string& fixture, const std::string& target) {
    const std::size_t slash = target.find_last_of('\\');
    if (slash != std::string::npos) CreateFolders(target.substr(0, slash));
    return CopyFileA(fixture.c_str(), target.c_str(), FALSE) != FALSE;
}

bool ServerKeyExists(const std::string& base_name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (kServerKeyRoot + base_name).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::string ServerCalledFrom(const std::string& base_name) {
    char value[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    if (RegGetValueA(HKEY_CURRENT_USER, (kServerKeyRoot + base_name).c_str(), "CalledFrom", RRF_RT_REG_SZ,
                     nullptr, value, &size) != ERROR_SUCCESS) {
        return std::string();
    }
    return value;
}

void DeleteServerKey(const std::string& base_name) {
    RegDeleteKeyA(HKEY_CURRENT_USER, (kServerKeyRoot + base_name).c_str());
}

bool FixtureTypeLibRegistered() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, (TypeLibKey() + "\\1.0").c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void RemoveFixtureTypeLibRegistration() {
    GUID libid;
    wchar_t wide[64] = {};
    MultiByteToWideChar(CP_ACP, 0, kFixtureLibId, -1, wide, 64);
    if (SUCCEEDED(CLSIDFromString(wide, &libid))) UnRegisterTypeLib(libid, 1, 0, 0, SYS_WIN32);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, TypeLibKey().c_str());
}

bool WriteRegisterList(const std::string& file, const std::vector<std::string>& values) {
    DeleteFileA(file.c_str());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string key = "REG" + std::to_string(i + 1);
        if (!WritePrivateProfileStringA("REGISTER", key.c_str(), values[i].c_str(), file.c_str())) return false;
    }
    return true;
}

}  // namespace tolvane_test
