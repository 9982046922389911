// Test stand-in for the status control: Percent and StatusText are plain
// stores, except that it refuses to show the item name "zipstring" (the item
// of bench.zip the string form unzips by default) with E_ACCESSDENIED. It has
// no window and no events: the bench hosts it like an invisible control.
// Registered in place of VXSTATUS.DLL by RefusingStatusControl (bench_session_win.h).
#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include <cwchar>
#include <new>

#include "framework/vxcontrols.h"

namespace {

LONG liveObjects = 0;

class RefusingStatus final : public IDispatch {
public:
    RefusingStatus() { InterlockedIncrement(&liveObjects); }
    ~RefusingStatus() {
        SysFreeString(text_);
        InterlockedDecrement(&liveObjects);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        if (id != vx::status::Percent && id != vx::status::StatusText) return DISP_E_MEMBERNOTFOUND;
        const VARTYPE type = id == vx::status::Percent ? VT_I4 : VT_BSTR;
        if (flags & DISPATCH_PROPERTYGET) {
            if (!result) return E_POINTER;
            VariantInit(result);
            if (type == VT_I4) {
                V_VT(result) = VT_I4;
                V_I4(result) = percent_;
                return S_OK;
            }
            V_BSTR(result) = SysAllocStringLen(text_, SysStringLen(text_));
            if (!V_BSTR(result)) return E_OUTOFMEMORY;
            V_VT(result) = VT_BSTR;
            return S_OK;
        }
        if (!(flags & DISPATCH_PROPERTYPUT)) return DISP_E_MEMBERNOTFOUND;
        if (!params || params->cArgs != 1 || !params->rgvarg) return DISP_E_BADPARAMCOUNT;
        VARIANT value;
        VariantInit(&value);
        HRESULT hr = VariantChangeType(&value, &params->rgvarg[0], 0, type);
        if (FAILED(hr)) return hr;
        if (type == VT_I4) {
            percent_ = V_I4(&value);
        } else if (V_BSTR(&value) && std::wcscmp(V_BSTR(&value), L"zipstring") == 0) {
            hr = E_ACCESSDENIED;
        } else {
            SysFreeString(text_);
            text_ = V_BSTR(&value);
            V_VT(&value) = VT_EMPTY;  // the store owns the string now
        }
        VariantClear(&value);
        return hr;
    }

private:
    LONG refs_ = 1;
    LONG percent_ = 0;
    BSTR text_ = nullptr;
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // static instance
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* object = new (std::nothrow) RefusingStatus;
        if (!object) return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            InterlockedIncrement(&liveObjects);
        else
            InterlockedDecrement(&liveObjects);
        return S_OK;
    }
};

Factory factory;

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, vx::CLSID_vxstatusctrl)) return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return liveObjects == 0 ? S_OK : S_FALSE; }
