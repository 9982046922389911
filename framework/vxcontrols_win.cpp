#include "framework/vxcontrols.h"

namespace vx {

// Must match the identifiers in the controls' type libraries.
const CLSID CLSID_vxunzipctrl = {0x18EB0C6E, 0xBADB, 0x49B7, {0xA1, 0xA4, 0xBC, 0xE0, 0xB7, 0x85, 0x49, 0x09}};
const CLSID CLSID_vxzipctrl = {0x6F1733A7, 0x688C, 0x451E, {0x8D, 0xC0, 0x5D, 0x63, 0xF1, 0x6A, 0x49, 0x53}};
const CLSID CLSID_vxstatusctrl = {0x4770D2E5, 0x5D7C, 0x41C6, {0x8B, 0x80, 0x56, 0x59, 0x29, 0x83, 0x95, 0x83}};
const IID DIID_vxunzipEvents = {0x08F7A21A, 0xCB3E, 0x4148, {0x97, 0x7B, 0x9A, 0x1E, 0x41, 0x58, 0x80, 0x36}};
const IID DIID_vxzipEvents = {0x46B0BE8D, 0x9765, 0x416A, {0x99, 0x9A, 0xBB, 0x64, 0xA6, 0x75, 0x8E, 0x71}};

namespace {

HRESULT Put(IDispatch* d, DISPID id, VARIANT& value)
{
    if (!d) return E_POINTER;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                     nullptr, nullptr);
}

// Reads a property and coerces it to `vt`; `out` is cleared first.
HRESULT Get(IDispatch* d, DISPID id, VARTYPE vt, VARIANT& out)
{
    VariantInit(&out);
    if (!d) return E_POINTER;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    HRESULT hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &out,
                           nullptr, nullptr);
    if (FAILED(hr)) return hr;
    if (V_VT(&out) != vt) hr = VariantChangeType(&out, &out, 0, vt);
    if (FAILED(hr)) VariantClear(&out);
    return hr;
}

} // namespace

HRESULT PutBstr(IDispatch* d, DISPID id, const char* text)
{
    Bstr s = Bstr::FromAnsi(text);
    if (!s.Get()) return E_OUTOFMEMORY;
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = s.Get();
    return Put(d, id, v);
}

HRESULT PutI2(IDispatch* d, DISPID id, short value)
{
    VARIANT v;
    V_VT(&v) = VT_I2;
    V_I2(&v) = value;
    return Put(d, id, v);
}

HRESULT PutI4(IDispatch* d, DISPID id, long value)
{
    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    return Put(d, id, v);
}

HRESULT PutBool(IDispatch* d, DISPID id, bool value)
{
    VARIANT v;
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return Put(d, id, v);
}

HRESULT GetBstr(IDispatch* d, DISPID id, std::string& text)
{
    VARIANT v;
    HRESULT hr = Get(d, id, VT_BSTR, v);
    text = SUCCEEDED(hr) ? BstrToAnsi(V_BSTR(&v)) : std::string();
    VariantClear(&v);
    return hr;
}

HRESULT GetI2(IDispatch* d, DISPID id, short& value)
{
    VARIANT v;
    HRESULT hr = Get(d, id, VT_I2, v);
    value = SUCCEEDED(hr) ? V_I2(&v) : 0;
    return hr;
}

HRESULT GetI4(IDispatch* d, DISPID id, long& value)
{
    VARIANT v;
    HRESULT hr = Get(d, id, VT_I4, v);
    value = SUCCEEDED(hr) ? V_I4(&v) : 0;
    return hr;
}

HRESULT GetBool(IDispatch* d, DISPID id, bool& value)
{
    VARIANT v;
    HRESULT hr = Get(d, id, VT_BOOL, v);
    value = SUCCEEDED(hr) && V_BOOL(&v) != VARIANT_FALSE;
    return hr;
}

std::string ControlWrapper::Text(DISPID id) const
{
    std::string s;
    last_ = GetBstr(disp_.Get(), id, s);
    return s;
}

short ControlWrapper::Short(DISPID id) const
{
    short v = 0;
    last_ = GetI2(disp_.Get(), id, v);
    return v;
}

long ControlWrapper::Long(DISPID id) const
{
    long v = 0;
    last_ = GetI4(disp_.Get(), id, v);
    return v;
}

bool ControlWrapper::Flag(DISPID id) const
{
    bool v = false;
    last_ = GetBool(disp_.Get(), id, v);
    return v;
}

namespace {

// Argument `index` in the caller's order (DISPPARAMS stores them reversed).
VARIANTARG& Arg(DISPPARAMS* p, UINT index) { return p->rgvarg[p->cArgs - 1 - index]; }

bool ArgsAre(DISPPARAMS* p, std::initializer_list<VARTYPE> types)
{
    if (!p || p->cArgs != types.size() || !p->rgvarg) return false;
    UINT i = 0;
    for (VARTYPE t : types) {
        VARIANTARG& a = Arg(p, i++);
        if (V_VT(&a) != (VT_BYREF | t) || !V_BYREF(&a)) return false;
    }
    return true;
}

long* L(DISPPARAMS* p, UINT i) { return reinterpret_cast<long*>(V_I4REF(&Arg(p, i))); }
BSTR* S(DISPPARAMS* p, UINT i) { return V_BSTRREF(&Arg(p, i)); }

} // namespace

HRESULT DispatchEvent(EventHandlers& h, DISPID id, DISPPARAMS* p)
{
    switch (id) {
    case MajorStatusEvent:
    case MinorStatusEvent:
        if (!p || p->cArgs != 3) return DISP_E_BADPARAMCOUNT;
        if (!ArgsAre(p, {VT_BSTR, VT_I4, VT_I4})) return DISP_E_TYPEMISMATCH;
        if (id == MajorStatusEvent)
            h.MajorStatusEvent(S(p, 0), L(p, 1), L(p, 2));
        else
            h.MinorStatusEvent(S(p, 0), L(p, 1), L(p, 2));
        return S_OK;
    case MessageEvent:
        if (!p || p->cArgs != 7) return DISP_E_BADPARAMCOUNT;
        if (!ArgsAre(p, {VT_I4, VT_I4, VT_I4, VT_I4, VT_BSTR, VT_BSTR, VT_I4}))
            return DISP_E_TYPEMISMATCH;
        h.MessageEvent(L(p, 0), L(p, 1), L(p, 2), L(p, 3), S(p, 4), S(p, 5), L(p, 6));
        return S_OK;
    case RenameEvent:
        if (!p || p->cArgs != 6) return DISP_E_BADPARAMCOUNT;
        if (!ArgsAre(p, {VT_BSTR, VT_I4, VT_I4, VT_I4, VT_BSTR, VT_I4})) return DISP_E_TYPEMISMATCH;
        h.RenameEvent(S(p, 0), L(p, 1), L(p, 2), L(p, 3), S(p, 4), L(p, 5));
        return S_OK;
    default:
        return S_OK;
    }
}

bool ReplaceBstr(BSTR* slot, const char* text)
{
    if (!slot) return false;
    Bstr fresh = Bstr::FromAnsi(text);
    if (!fresh.Get()) return false;
    SysFreeString(*slot);
    *slot = fresh.Release();
    return true;
}

} // namespace vx
