#pragma once
// Owners for the kernel handles and registry keys the sample installation
// opens within one step.

#include <windows.h>

#include <memory>

struct KernelHandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};
using UniqueKernelHandle = std::unique_ptr<void, KernelHandleCloser>;

// CreateFile reports failure as INVALID_HANDLE_VALUE: keep that out of the owner.
inline UniqueKernelHandle OwnFile(HANDLE handle) {
    return UniqueKernelHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

struct RegistryKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using UniqueRegistryKey = std::unique_ptr<HKEY__, RegistryKeyCloser>;
