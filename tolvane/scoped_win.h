// Owners for the COM state and process settings tolvane changes within one
// operation (handles shared with skerrit are in common/scoped_handles_win.h).
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>

namespace tolvane {

// CoInitialize for the lifetime of the object; CoUninitialize only when the
// initialisation succeeded.
class ScopedComInit {
public:
    ScopedComInit() : result_(CoInitialize(nullptr)) {}
    ~ScopedComInit() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ScopedComInit(const ScopedComInit&) = delete;
    ScopedComInit& operator=(const ScopedComInit&) = delete;
    bool ok() const { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

// A server module loaded for registration; released with CoFreeLibrary.
class ScopedServerModule {
public:
    explicit ScopedServerModule(HMODULE module) : module_(module) {}
    ~ScopedServerModule() {
        if (module_ != nullptr) CoFreeLibrary(module_);
    }
    ScopedServerModule(const ScopedServerModule&) = delete;
    ScopedServerModule& operator=(const ScopedServerModule&) = delete;
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

// Makes a folder current and restores the previous current folder.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::string& folder);
    ~ScopedCurrentDirectory();
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    std::string previous_;
    bool changed_ = false;
};

// Keeps the system's own "cannot load" boxes away while a file is loaded: the
// program reports a failure with its own dialog.
class ScopedQuietErrorMode {
public:
    ScopedQuietErrorMode()
        : previous_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~ScopedQuietErrorMode() { SetErrorMode(previous_); }
    ScopedQuietErrorMode(const ScopedQuietErrorMode&) = delete;
    ScopedQuietErrorMode& operator=(const ScopedQuietErrorMode&) = delete;

private:
    UINT previous_;
};

template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (ptr_ != nullptr) ptr_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface** out() { return &ptr_; }
    Interface* operator->() const { return ptr_; }
    Interface* get() const { return ptr_; }

private:
    Interface* ptr_ = nullptr;
};

class ScopedTypeLibAttr {
public:
    explicit ScopedTypeLibAttr(ITypeLib* library) : library_(library) {
        if (FAILED(library_->GetLibAttr(&attr_))) attr_ = nullptr;
    }
    ~ScopedTypeLibAttr() {
        if (attr_ != nullptr) library_->ReleaseTLibAttr(attr_);
    }
    ScopedTypeLibAttr(const ScopedTypeLibAttr&) = delete;
    ScopedTypeLibAttr& operator=(const ScopedTypeLibAttr&) = delete;
    const TLIBATTR* get() const { return attr_; }

private:
    ITypeLib* library_;
    TLIBATTR* attr_ = nullptr;
};

// Text in the system ANSI code page as a wide string, for the OLE calls.
std::wstring WideFromAnsi(const std::string& text);

}  // namespace tolvane
