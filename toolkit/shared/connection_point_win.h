// The one outgoing connection point of a control, and the enumerator of it
// that IConnectionPointContainer hands out. The point lives inside its
// container and counts its references there.
#pragma once

#include "framework/com_holders.h"

#include <ocidl.h>
#include <utility>
#include <vector>

namespace vxcom {

class ConnectionPoint final : public IConnectionPoint {
public:
    ConnectionPoint(IConnectionPointContainer& container, const IID& events)
        : container_(container), events_(events) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return container_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return container_.Release(); }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

    // The connected sinks now; a handler may disconnect while the caller walks them.
    std::vector<ComPtr<IDispatch>> Sinks() const;

private:
    IConnectionPointContainer& container_;
    IID events_;
    std::vector<std::pair<DWORD, ComPtr<IDispatch>>> sinks_;
    DWORD lastCookie_ = 0;
};

// Enumerates a container's single connection point.
HRESULT NewPointEnumerator(IConnectionPointContainer& container, IConnectionPoint& point,
                           IEnumConnectionPoints** out);

} // namespace vxcom
