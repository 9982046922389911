#include "framework/control_host.h"

#include <commctrl.h>
#include <olectl.h>
#include <new>

namespace vx {

namespace {

// The host's end of a control's outgoing interface: every Invoke goes to the
// callback. It answers QueryInterface for the events interface it serves.
class EventSink final : public IDispatch {
public:
    EventSink(const IID& events, EventCallback callback)
        : events_(events), callback_(std::move(callback)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, events_)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override
    {
        if (result) VariantInit(result);
        return callback_ ? callback_(id, params) : S_OK;
    }

private:
    LONG refs_ = 1;
    IID events_;
    EventCallback callback_;
};

HRESULT DefaultSourceConnection(IUnknown* control, ComPtr<IConnectionPoint>& point, IID& events)
{
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = control->QueryInterface(IID_IConnectionPointContainer, container.PutVoid());
    if (FAILED(hr)) return hr;

    ComPtr<IProvideClassInfo2> info;
    if (SUCCEEDED(control->QueryInterface(IID_IProvideClassInfo2, info.PutVoid())) &&
        SUCCEEDED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events))) {
        return container->FindConnectionPoint(events, point.Put());
    }

    ComPtr<IEnumConnectionPoints> all;
    hr = container->EnumConnectionPoints(all.Put());
    if (FAILED(hr)) return hr;
    ULONG fetched = 0;
    hr = all->Next(1, point.Put(), &fetched);
    if (hr != S_OK || fetched != 1) return CONNECT_E_NOCONNECTION;
    return point->GetConnectionInterface(&events);
}

} // namespace

HRESULT ControlSite::Create(HWND parent, REFCLSID clsid, const ControlPlacement& placement,
                            const void* state, std::size_t stateSize)
{
    Destroy();
    HRESULT hr = CoInitialize(nullptr);
    if (FAILED(hr) && hr != RPC_E_CHANGED_MODE) return hr;
    comInitialised_ = SUCCEEDED(hr);
    parent_ = parent;

    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, unknown_.PutVoid());
    if (SUCCEEDED(hr)) hr = unknown_->QueryInterface(IID_IDispatch, dispatch_.PutVoid());
    if (SUCCEEDED(hr)) hr = LoadState(state, stateSize);
    if (SUCCEEDED(hr)) hr = Activate(placement);
    if (SUCCEEDED(hr) && parent && !hooked_)
        hooked_ = SetWindowSubclass(parent, ParentHook, reinterpret_cast<UINT_PTR>(this), 0) != FALSE;
    if (FAILED(hr)) Destroy();
    return hr;
}

HRESULT ControlSite::CreateByProgId(HWND parent, const char* progId,
                                    const ControlPlacement& placement, const void* state,
                                    std::size_t stateSize)
{
    if (!progId) return E_INVALIDARG;
    Bstr wide = Bstr::FromAnsi(progId);
    if (!wide.Get()) return E_OUTOFMEMORY;
    // CLSIDFromProgID needs COM; the apartment reference Create takes is the lasting one.
    HRESULT init = CoInitialize(nullptr);
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(wide.Get(), &clsid);
    if (SUCCEEDED(init)) CoUninitialize();
    if (FAILED(hr)) return hr;
    return Create(parent, clsid, placement, state, stateSize);
}

HRESULT ControlSite::LoadState(const void* state, std::size_t stateSize)
{
    ComPtr<IPersistStreamInit> persist;
    if (FAILED(unknown_->QueryInterface(IID_IPersistStreamInit, persist.PutVoid())))
        return state ? E_NOINTERFACE : S_OK; // a control without state needs no set-up
    if (!state) return persist->InitNew();

    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, stateSize ? stateSize : 1);
    if (!memory) return E_OUTOFMEMORY;
    void* bytes = GlobalLock(memory);
    if (bytes) {
        memcpy(bytes, state, stateSize);
        GlobalUnlock(memory);
    }
    ComPtr<IStream> stream;
    HRESULT hr = CreateStreamOnHGlobal(memory, TRUE, stream.Put());
    if (FAILED(hr)) {
        GlobalFree(memory);
        return hr;
    }
    ULARGE_INTEGER size;
    size.QuadPart = stateSize;
    stream->SetSize(size);
    return persist->Load(stream.Get());
}

HRESULT ControlSite::SaveState(std::string& bytes) const
{
    bytes.clear();
    if (!unknown_) return E_POINTER;
    ComPtr<IPersistStreamInit> persist;
    HRESULT hr = unknown_->QueryInterface(IID_IPersistStreamInit, persist.PutVoid());
    if (FAILED(hr)) return hr;
    ComPtr<IStream> stream;
    hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
    if (SUCCEEDED(hr)) hr = persist->Save(stream.Get(), TRUE);
    if (FAILED(hr)) return hr;
    STATSTG stat{};
    hr = stream->Stat(&stat, STATFLAG_NONAME);
    if (FAILED(hr)) return hr;
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    bytes.resize(static_cast<size_t>(stat.cbSize.QuadPart));
    ULONG read = 0;
    hr = stream->Read(bytes.empty() ? nullptr : &bytes[0], static_cast<ULONG>(bytes.size()), &read);
    bytes.resize(read);
    return hr;
}

// Visible controls are placed by in-place activation at the given rectangle
// and report their window through IOleWindow; a control without IOleObject
// is invisible at run time.
HRESULT ControlSite::Activate(const ControlPlacement& placement)
{
    if (!placement.visible) return S_OK;
    ComPtr<IOleObject> ole;
    if (FAILED(unknown_->QueryInterface(IID_IOleObject, ole.PutVoid()))) return S_OK;
    RECT rect = placement.rect;
    HRESULT hr = ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, parent_, &rect);
    if (FAILED(hr)) return hr;
    ComPtr<IOleInPlaceObject> inplace;
    hr = unknown_->QueryInterface(IID_IOleInPlaceObject, inplace.PutVoid());
    if (SUCCEEDED(hr)) hr = inplace->GetWindow(&window_);
    return hr;
}

HRESULT ControlSite::ConnectEvents(EventCallback callback)
{
    DisconnectEvents();
    if (!unknown_) return E_POINTER;
    IID events;
    ComPtr<IConnectionPoint> point;
    HRESULT hr = DefaultSourceConnection(unknown_.Get(), point, events);
    if (FAILED(hr)) return hr;
    auto* sink = new (std::nothrow) EventSink(events, std::move(callback));
    if (!sink) return E_OUTOFMEMORY;
    hr = point->Advise(sink, &cookie_);
    sink->Release(); // the connection point holds its own reference
    if (FAILED(hr)) return hr;
    connection_ = point;
    return S_OK;
}

void ControlSite::DisconnectEvents()
{
    if (connection_) {
        connection_->Unadvise(cookie_);
        connection_.Reset();
        cookie_ = 0;
    }
}

void ControlSite::Destroy()
{
    if (hooked_) {
        RemoveWindowSubclass(parent_, ParentHook, reinterpret_cast<UINT_PTR>(this));
        hooked_ = false;
    }
    DisconnectEvents();
    if (unknown_) {
        ComPtr<IOleInPlaceObject> inplace;
        if (window_ && SUCCEEDED(unknown_->QueryInterface(IID_IOleInPlaceObject, inplace.PutVoid())))
            inplace->InPlaceDeactivate();
        ComPtr<IOleObject> ole;
        if (SUCCEEDED(unknown_->QueryInterface(IID_IOleObject, ole.PutVoid())))
            ole->Close(OLECLOSE_NOSAVE);
    }
    window_ = nullptr;
    dispatch_.Reset();
    unknown_.Reset();
    parent_ = nullptr;
    if (comInitialised_) {
        comInitialised_ = false;
        CoUninitialize();
    }
}

LRESULT CALLBACK ControlSite::ParentHook(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR)
{
    if (msg == WM_DESTROY) {
        // The control's window is a child of this one: release it before it goes.
        reinterpret_cast<ControlSite*>(id)->Destroy();
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace vx
