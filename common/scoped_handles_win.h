// Owners for the kernel, registry and module handles the installer-side
// programs open within one operation.
#pragma once

#include <windows.h>

// A kernel handle (file, process, thread, token). Both null and
// INVALID_HANDLE_VALUE mean "none", as the opening calls return either.
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }
    // For calls that hand the handle back through a pointer; closes any
    // handle held before.
    HANDLE* out() {
        Close();
        return &handle_;
    }
    // Closes now; false when closing failed (for files just written).
    bool Close() {
        if (!ok()) return true;
        const BOOL closed = CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

class ScopedFind {
public:
    ScopedFind(const char* pattern, WIN32_FIND_DATAA& data)
        : handle_(FindFirstFileA(pattern, &data)) {}
    ~ScopedFind() {
        if (ok()) FindClose(handle_);
    }
    ScopedFind(const ScopedFind&) = delete;
    ScopedFind& operator=(const ScopedFind&) = delete;
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

class ScopedKey {
public:
    ScopedKey() = default;
    ~ScopedKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// A library loaded by name with LoadLibraryA, freed with FreeLibrary.
class ScopedLibrary {
public:
    explicit ScopedLibrary(const char* name) : module_(LoadLibraryA(name)) {}
    ~ScopedLibrary() {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    ScopedLibrary(const ScopedLibrary&) = delete;
    ScopedLibrary& operator=(const ScopedLibrary&) = delete;
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};
