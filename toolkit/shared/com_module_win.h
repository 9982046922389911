// Module-wide state of an in-process server: its handle, the count of live
// objects and locks (DllCanUnloadNow), and a class factory for one class.
#pragma once

#include "framework/com_holders.h"

#include <new>

namespace vxcom {

HMODULE ModuleHandle();
void SetModuleHandle(HMODULE module);
void LockModule();
void UnlockModule();
bool ModuleInUse();

// Registers a window class of this module once per process (several apartment
// threads may ask at the same time); the classes go when the module unloads.
bool RegisterModuleClass(const char* name, WNDPROC proc, HBRUSH background);
void UnregisterModuleClasses();

// Creates instances of T (default-constructible, reference count starting at 1).
template <class T>
class ClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is static; its references are module locks.
    ULONG STDMETHODCALLTYPE AddRef() override { LockModule(); return 2; }
    ULONG STDMETHODCALLTYPE Release() override { UnlockModule(); return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        T* object = new (std::nothrow) T();
        if (!object) return E_OUTOFMEMORY;
        HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock) LockModule(); else UnlockModule();
        return S_OK;
    }
};

} // namespace vxcom
