// Base of the control objects: a typed property store reached through
// IDispatch (names and type information from the module's type library),
// one connection point for the events, IProvideClassInfo2 and
// IPersistStreamInit with the saved-state stream.
#pragma once

#include "framework/com_holders.h"
#include "framework/vxcontrols_ids.h"
#include "toolkit/shared/wide_text_win.h"

#include <ocidl.h>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vxcom {

class ConnectionPoint;

struct ControlClass {
    const CLSID* clsid;
    const IID* dispatchIid;
    const IID* eventsIid;
    bool (*typeOf)(std::int32_t dispid, vx::PropType& type);
    std::vector<std::int32_t> dispids; // every property of the control
    std::vector<std::pair<std::int32_t, long>> numberDefaults; // non-zero starting values
};

class DispatchControl : public IDispatch,
                        public IConnectionPointContainer,
                        public IProvideClassInfo2,
                        public IPersistStreamInit {
public:
    explicit DispatchControl(const ControlClass& cls);
    DispatchControl(const DispatchControl&) = delete;
    DispatchControl& operator=(const DispatchControl&) = delete;
    virtual ~DispatchControl();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT* argError) override;
    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;
    // IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;
    // IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(IStream* stream) override;
    HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;

    // Property store, for the control's own work.
    long Number(std::int32_t id) const;
    bool Flag(std::int32_t id) const { return Number(id) != 0; }
    // Names and paths in UTF-8, exactly as the host gave them.
    std::string Text(std::int32_t id) const;
    void SetText(std::int32_t id, const std::string& utf8);
    // Texts that are bytes (a password, item data, the archive comment): the ANSI code page.
    std::string AnsiText(std::int32_t id) const;
    void SetAnsiText(std::int32_t id, const std::string& ansi);
    void SetNumber(std::int32_t id, long value);

    // Calls every connected sink; `reversedArgs` as DISPPARAMS holds them.
    void Fire(DISPID event, VARIANTARG* reversedArgs, UINT count);

protected:
    // Called after a successful property put (a write of Action runs here).
    virtual HRESULT AfterPut(std::int32_t id) { (void)id; return S_OK; }
    // Further interfaces of a derived control; null when not supported.
    virtual void* QueryExtra(REFIID iid) { (void)iid; return nullptr; }

private:
    struct Value {
        vx::PropType type = vx::PropType::I4;
        long number = 0;
        WideText text;
    };

    void ResetValues();
    HRESULT UnguardedInvoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                            EXCEPINFO* exception, UINT* argError);
    HRESULT TypeLib(ITypeLib** lib);
    HRESULT Put(Value& value, VARIANT* source);
    HRESULT GetValue(const Value& value, VARIANT* result) const;
    std::vector<std::uint8_t> Encode() const;

    LONG refs_ = 1;
    const ControlClass& class_;
    std::map<std::int32_t, Value> values_;
    bool dirty_ = false;
    ConnectionPoint* point_;
    ComPtr<ITypeInfo> dispatchInfo_;
};

} // namespace vxcom
