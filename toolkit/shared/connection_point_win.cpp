#include "toolkit/shared/connection_point_win.h"

#include <olectl.h>
#include <new>

namespace vxcom {

HRESULT STDMETHODCALLTYPE ConnectionPoint::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
        *out = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (!iid) return E_POINTER;
    *iid = events_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out)
{
    if (!out) return E_POINTER;
    *out = &container_;
    container_.AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    ComPtr<IDispatch> d;
    if (FAILED(sink->QueryInterface(events_, d.PutVoid())) &&
        FAILED(sink->QueryInterface(IID_IDispatch, d.PutVoid())))
        return CONNECT_E_CANNOTCONNECT;
    sinks_.push_back({++lastCookie_, d});
    *cookie = lastCookie_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Unadvise(DWORD cookie)
{
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->first == cookie) {
            sinks_.erase(it);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::EnumConnections(IEnumConnections** out)
{
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

std::vector<ComPtr<IDispatch>> ConnectionPoint::Sinks() const
{
    std::vector<ComPtr<IDispatch>> all;
    for (const auto& s : sinks_) all.push_back(s.second);
    return all;
}

namespace {

class PointEnum final : public IEnumConnectionPoints {
public:
    PointEnum(IConnectionPointContainer& container, IConnectionPoint& point, ULONG position)
        : container_(container), point_(point), position_(position)
    {
        container_.AddRef();
    }
    ~PointEnum() { container_.Release(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumConnectionPoints)) {
            *out = static_cast<IEnumConnectionPoints*>(this);
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
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override
    {
        if (!points) return E_POINTER;
        ULONG got = 0;
        if (count > 0 && position_ == 0) {
            points[0] = &point_;
            point_.AddRef();
            position_ = got = 1;
        }
        if (fetched) *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        if (count == 0) return S_OK;
        bool ok = position_ == 0 && count == 1;
        position_ = 1;
        return ok ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** out) override
    {
        if (!out) return E_POINTER;
        *out = new (std::nothrow) PointEnum(container_, point_, position_);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

private:
    LONG refs_ = 1;
    IConnectionPointContainer& container_;
    IConnectionPoint& point_;
    ULONG position_;
};

} // namespace

HRESULT NewPointEnumerator(IConnectionPointContainer& container, IConnectionPoint& point,
                           IEnumConnectionPoints** out)
{
    if (!out) return E_POINTER;
    *out = new (std::nothrow) PointEnum(container, point, 0);
    return *out ? S_OK : E_OUTOFMEMORY;
}

} // namespace vxcom
