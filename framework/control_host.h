// Hosting of ActiveX controls: creates a control through COM, keeps its
// IDispatch, connects an event sink to its outgoing interface, gives a
// visible control a child window, hands it its saved state, and releases
// everything when the host window goes (or the site is destroyed).
#pragma once

#include "framework/com_holders.h"

#include <ocidl.h>
#include <cstddef>
#include <functional>
#include <string>

namespace vx {

// Receives every event call of the hosted control, as IDispatch::Invoke would.
using EventCallback = std::function<HRESULT(DISPID id, DISPPARAMS* params)>;

struct ControlPlacement {
    bool visible = false; // false: the control gets no window; nor does one without IOleObject
    RECT rect{};          // in the parent's client coordinates
};

class ControlSite {
public:
    ControlSite() = default;
    ControlSite(const ControlSite&) = delete;
    ControlSite& operator=(const ControlSite&) = delete;
    ~ControlSite() { Destroy(); }

    // Creates the control (in-process, apartment of the calling thread; COM is
    // initialised for the thread as long as the site holds a control).
    // `state`/`stateSize`: saved state handed to IPersistStreamInit::Load; null
    // gives InitNew. A failed step releases what was made and returns its code.
    HRESULT Create(HWND parent, REFCLSID clsid, const ControlPlacement& placement,
                   const void* state = nullptr, std::size_t stateSize = 0);
    HRESULT CreateByProgId(HWND parent, const char* progId, const ControlPlacement& placement,
                           const void* state = nullptr, std::size_t stateSize = 0);

    // Connects `callback` to the control's default outgoing interface
    // (IProvideClassInfo2, else the first connection point). Replaces an
    // earlier connection.
    HRESULT ConnectEvents(EventCallback callback);
    void DisconnectEvents();

    IDispatch* Dispatch() const { return dispatch_.Get(); }
    IUnknown* Unknown() const { return unknown_.Get(); }
    HWND Window() const { return window_; } // null for invisible controls
    HWND Parent() const { return parent_; }

    // Saves the control's state through IPersistStreamInit::Save.
    HRESULT SaveState(std::string& bytes) const;

    // Releases the sink, the window and the control. Safe to call twice.
    void Destroy();

private:
    HRESULT Activate(const ControlPlacement& placement);
    HRESULT LoadState(const void* state, std::size_t stateSize);
    static LRESULT CALLBACK ParentHook(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    HWND parent_ = nullptr;
    HWND window_ = nullptr;
    bool comInitialised_ = false;
    bool hooked_ = false;
    ComPtr<IUnknown> unknown_;
    ComPtr<IDispatch> dispatch_;
    ComPtr<IConnectionPoint> connection_;
    DWORD cookie_ = 0;
};

} // namespace vx
