#include "toolkit/shared/dispatch_control_win.h"

#include <new>

#include "toolkit/shared/com_module_win.h"
#include "toolkit/shared/connection_point_win.h"
#include "toolkit/shared/registration_win.h"
#include "toolkit/shared/saved_state.h"

#include <olectl.h>

namespace vxcom {

namespace {
constexpr ULONG kMaxStateBytes = 64 * 1024;

VARTYPE VarTypeOf(vx::PropType t)
{
    switch (t) {
    case vx::PropType::Bstr: return VT_BSTR;
    case vx::PropType::I2: return VT_I2;
    case vx::PropType::Bool: return VT_BOOL;
    case vx::PropType::I4: break;
    }
    return VT_I4;
}

// A stored text: without the terminating zero.
WideText Stored(WideText text)
{
    text.pop_back();
    return text;
}
} // namespace

DispatchControl::DispatchControl(const ControlClass& cls)
    : class_(cls), point_(new ConnectionPoint(*this, *cls.eventsIid))
{
    LockModule();
    ResetValues();
}

DispatchControl::~DispatchControl()
{
    delete point_;
    UnlockModule();
}

void DispatchControl::ResetValues()
{
    values_.clear();
    for (std::int32_t id : class_.dispids) {
        Value v;
        class_.typeOf(id, v.type);
        values_[id] = v;
    }
    for (const auto& d : class_.numberDefaults) values_[d.first].number = d.second;
    dirty_ = false;
}

HRESULT STDMETHODCALLTYPE DispatchControl::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, *class_.dispatchIid))
        *out = static_cast<IDispatch*>(this);
    else if (IsEqualIID(iid, IID_IConnectionPointContainer))
        *out = static_cast<IConnectionPointContainer*>(this);
    else if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2))
        *out = static_cast<IProvideClassInfo2*>(this);
    else if (IsEqualIID(iid, IID_IPersistStreamInit) || IsEqualIID(iid, IID_IPersist))
        *out = static_cast<IPersistStreamInit*>(this);
    else
        *out = QueryExtra(iid);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE DispatchControl::AddRef() { return InterlockedIncrement(&refs_); }

ULONG STDMETHODCALLTYPE DispatchControl::Release()
{
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return left;
}

HRESULT DispatchControl::TypeLib(ITypeLib** lib) { return vxreg::LoadModuleTypeLib(lib); }

HRESULT STDMETHODCALLTYPE DispatchControl::GetTypeInfoCount(UINT* count)
{
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DispatchControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    if (!dispatchInfo_) {
        ComPtr<ITypeLib> lib;
        HRESULT hr = TypeLib(lib.Put());
        if (SUCCEEDED(hr)) hr = lib->GetTypeInfoOfGuid(*class_.dispatchIid, dispatchInfo_.Put());
        if (FAILED(hr)) return hr;
    }
    *info = dispatchInfo_.Get();
    (*info)->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DispatchControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                         DISPID* ids)
{
    ComPtr<ITypeInfo> info;
    HRESULT hr = GetTypeInfo(0, 0, info.Put());
    if (FAILED(hr)) return hr;
    return DispGetIDsOfNames(info.Get(), names, count, ids);
}

HRESULT DispatchControl::Put(Value& value, VARIANT* source)
{
    VARIANT converted;
    VariantInit(&converted);
    HRESULT hr = VariantChangeType(&converted, source, 0, VarTypeOf(value.type));
    if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
    switch (value.type) {
    case vx::PropType::Bstr: {
        const wchar_t* text = V_BSTR(&converted) ? V_BSTR(&converted) : L"";
        value.text.assign(text, text + SysStringLen(V_BSTR(&converted)));
        break;
    }
    case vx::PropType::I2: value.number = V_I2(&converted); break;
    case vx::PropType::I4: value.number = V_I4(&converted); break;
    case vx::PropType::Bool: value.number = V_BOOL(&converted) ? vx::kTrue : vx::kFalse; break;
    }
    VariantClear(&converted);
    dirty_ = true;
    return S_OK;
}

HRESULT DispatchControl::GetValue(const Value& value, VARIANT* result) const
{
    VariantInit(result);
    switch (value.type) {
    case vx::PropType::Bstr:
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocStringLen(value.text.data(), static_cast<UINT>(value.text.size()));
        return V_BSTR(result) ? S_OK : E_OUTOFMEMORY;
    case vx::PropType::I2:
        V_VT(result) = VT_I2;
        V_I2(result) = static_cast<SHORT>(value.number);
        return S_OK;
    case vx::PropType::I4:
        V_VT(result) = VT_I4;
        V_I4(result) = value.number;
        return S_OK;
    case vx::PropType::Bool:
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = value.number ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    return E_UNEXPECTED;
}

HRESULT STDMETHODCALLTYPE DispatchControl::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                                  DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                                  UINT* argError)
{
    // No C++ exception crosses into the host (a script host or a program running many jobs);
    // the runs themselves end with a result, this catches what a property's text may throw.
    try {
        return UnguardedInvoke(id, iid, lcid, flags, params, result, exception, argError);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT DispatchControl::UnguardedInvoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                         VARIANT* result, EXCEPINFO*, UINT* argError)
{
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    auto it = values_.find(id);
    if (it == values_.end()) return DISP_E_MEMBERNOTFOUND;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (!params || params->cArgs != 1 || !params->rgvarg) return DISP_E_BADPARAMCOUNT;
        if (params->cNamedArgs > 1 ||
            (params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
            return DISP_E_PARAMNOTFOUND;
        HRESULT hr = Put(it->second, &params->rgvarg[0]);
        if (FAILED(hr)) {
            if (argError) *argError = 0;
            return hr;
        }
        return AfterPut(id);
    }
    if (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) {
        if (params && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
        if (!result) return S_OK;
        return GetValue(it->second, result);
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE DispatchControl::EnumConnectionPoints(IEnumConnectionPoints** out)
{
    return NewPointEnumerator(*this, *point_, out);
}

HRESULT STDMETHODCALLTYPE DispatchControl::FindConnectionPoint(REFIID iid, IConnectionPoint** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, *class_.eventsIid)) return CONNECT_E_NOCONNECTION;
    *out = point_;
    point_->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DispatchControl::GetClassInfo(ITypeInfo** info)
{
    if (!info) return E_POINTER;
    *info = nullptr;
    ComPtr<ITypeLib> lib;
    HRESULT hr = TypeLib(lib.Put());
    return SUCCEEDED(hr) ? lib->GetTypeInfoOfGuid(*class_.clsid, info) : hr;
}

HRESULT STDMETHODCALLTYPE DispatchControl::GetGUID(DWORD kind, GUID* guid)
{
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = *class_.eventsIid;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DispatchControl::GetClassID(CLSID* clsid)
{
    if (!clsid) return E_POINTER;
    *clsid = *class_.clsid;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DispatchControl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT STDMETHODCALLTYPE DispatchControl::Load(IStream* stream)
{
    if (!stream) return E_POINTER;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[4096];
    for (;;) {
        ULONG got = 0;
        HRESULT hr = stream->Read(chunk, sizeof chunk, &got);
        if (FAILED(hr)) return hr;
        if (got == 0) break;
        if (bytes.size() + got > kMaxStateBytes) return E_FAIL;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::vector<vxstate::SavedValue> saved;
    if (!vxstate::DecodeSavedState(bytes.data(), bytes.size(), saved)) return E_FAIL;
    // Check every record before changing anything: a bad stream leaves the control as it was.
    for (const auto& s : saved) {
        auto it = values_.find(s.dispid);
        if (it != values_.end() && it->second.type != s.type) return E_FAIL;
    }
    ResetValues();
    for (const auto& s : saved) {
        auto it = values_.find(s.dispid);
        if (it == values_.end()) continue; // written by a later version: not ours to know
        if (s.type == vx::PropType::Bstr)
            it->second.text = Stored(WideFromAnsi(s.text));
        else if (s.type == vx::PropType::Bool)
            it->second.number = s.number ? vx::kTrue : vx::kFalse;
        else
            it->second.number = s.number;
    }
    return S_OK;
}

std::vector<std::uint8_t> DispatchControl::Encode() const
{
    std::vector<vxstate::SavedValue> out;
    for (const auto& kv : values_) {
        vxstate::SavedValue s;
        s.dispid = kv.first;
        s.type = kv.second.type;
        s.number = kv.second.number;
        if (s.type == vx::PropType::Bstr) s.text = AnsiFromWide(kv.second.text.data(), kv.second.text.size());
        out.push_back(std::move(s));
    }
    return vxstate::EncodeSavedState(out);
}

HRESULT STDMETHODCALLTYPE DispatchControl::Save(IStream* stream, BOOL clearDirty)
{
    if (!stream) return E_POINTER;
    std::vector<std::uint8_t> bytes = Encode();
    ULONG written = 0;
    HRESULT hr = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    if (FAILED(hr)) return hr;
    if (written != bytes.size()) return STG_E_MEDIUMFULL;
    if (clearDirty) dirty_ = false;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DispatchControl::GetSizeMax(ULARGE_INTEGER* size)
{
    if (!size) return E_POINTER;
    size->QuadPart = Encode().size();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DispatchControl::InitNew()
{
    ResetValues();
    return S_OK;
}

long DispatchControl::Number(std::int32_t id) const
{
    auto it = values_.find(id);
    return it == values_.end() ? 0 : it->second.number;
}

std::string DispatchControl::Text(std::int32_t id) const
{
    auto it = values_.find(id);
    return it == values_.end() ? std::string() : Utf8FromWide(it->second.text.data(), it->second.text.size());
}

std::string DispatchControl::AnsiText(std::int32_t id) const
{
    auto it = values_.find(id);
    return it == values_.end() ? std::string() : AnsiFromWide(it->second.text.data(), it->second.text.size());
}

void DispatchControl::SetNumber(std::int32_t id, long value)
{
    auto it = values_.find(id);
    if (it == values_.end()) return;
    if (it->second.type == vx::PropType::I2) value = static_cast<short>(value);
    if (it->second.type == vx::PropType::Bool) value = value ? vx::kTrue : vx::kFalse;
    it->second.number = value;
}

void DispatchControl::SetText(std::int32_t id, const std::string& utf8)
{
    auto it = values_.find(id);
    if (it != values_.end()) it->second.text = Stored(WideFromUtf8(utf8));
}

void DispatchControl::SetAnsiText(std::int32_t id, const std::string& ansi)
{
    auto it = values_.find(id);
    if (it != values_.end()) it->second.text = Stored(WideFromAnsi(ansi));
}

void DispatchControl::Fire(DISPID event, VARIANTARG* reversedArgs, UINT count)
{
    // A handler may disconnect (or destroy its host) while we call it: work on a copy.
    const std::vector<ComPtr<IDispatch>> sinks = point_->Sinks();
    DISPPARAMS params{reversedArgs, nullptr, count, 0};
    for (const auto& sink : sinks) {
        sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                     nullptr, nullptr);
    }
}

} // namespace vxcom
