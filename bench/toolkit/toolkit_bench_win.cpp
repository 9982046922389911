// Compresses a folder with the zip control and extracts the archive with the
// unzip control, timing each run. Usage: toolkit_bench CORPUS ARCHIVE DEST
// Prints "zip_seconds=... unzip_seconds=..." for run.sh.
#include "framework/control_host.h"
#include "framework/vxcontrols.h"

#include <cstdio>
#include <string>

namespace {

HRESULT ServerEntry(const std::string& dir, const char* dll, const char* entry)
{
    HMODULE module = LoadLibraryA((dir + "\\" + dll).c_str());
    if (!module) return E_FAIL;
    using Entry = HRESULT(WINAPI*)();
    auto fn = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, entry)));
    HRESULT hr = fn ? fn() : E_FAIL;
    FreeLibrary(module);
    return hr;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(to.QuadPart - from.QuadPart) / double(f.QuadPart);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: toolkit_bench CORPUS ARCHIVE DEST\n");
        return 2;
    }
    char self[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dir(self, n);
    dir = dir.substr(0, dir.find_last_of('\\'));
    CoInitialize(nullptr);
    if (FAILED(ServerEntry(dir, "VXZIP.DLL", "DllRegisterServer")) ||
        FAILED(ServerEntry(dir, "VXUNZIP.DLL", "DllRegisterServer"))) {
        std::fprintf(stderr, "registration failed\n");
        return 1;
    }
    int rc = 0;
    {
        vx::ControlPlacement none;
        vx::ControlSite zipSite, unzipSite;
        if (FAILED(zipSite.CreateByProgId(nullptr, vx::kZipProgId, none)) ||
            FAILED(unzipSite.CreateByProgId(nullptr, vx::kUnzipProgId, none))) {
            std::fprintf(stderr, "controls cannot be created\n");
            return 1;
        }
        Cvxzipctrl zip;
        zip.Attach(zipSite.Dispatch());
        Cvxunzipctrl unzip;
        unzip.Attach(unzipSite.Dispatch());

        DeleteFileA(argv[2]);
        SetCurrentDirectoryA(argv[1]);
        zip.SetZIPFile(argv[2]);
        zip.SetItemList("*");
        zip.SetRecurseFlag(true);
        zip.SetZipOption8(6); // Info-ZIP's default level
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        zip.SetAction(vx::zip::Add);
        QueryPerformanceCounter(&t1);
        short zipResult = zip.GetReturnValue();

        unzip.SetZIPFile(argv[2]);
        unzip.SetDestination(argv[3]);
        unzip.SetOverwriteFlag(true);
        unzip.SetRecurseFlag(true);
        unzip.SetQuietFlag(true);
        unzip.SetAction(vx::unzip::Extract);
        QueryPerformanceCounter(&t2);
        short unzipResult = unzip.GetReturnValue();

        std::printf("zip_seconds=%.3f unzip_seconds=%.3f zip_result=%d unzip_result=%d items=%ld\n",
                    Seconds(t0, t1), Seconds(t1, t2), zipResult, unzipResult, unzip.GetCount());
        rc = zipResult || unzipResult ? 1 : 0;
    }
    ServerEntry(dir, "VXZIP.DLL", "DllUnregisterServer");
    ServerEntry(dir, "VXUNZIP.DLL", "DllUnregisterServer");
    CoUninitialize();
    return rc;
}
