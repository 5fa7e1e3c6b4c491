// The connection point of the control's events: sinks advise here and are
// called through IDispatch::Invoke with the event's DISPID, as every language
// that binds to an event dispinterface (VB6, VBA, .NET, script hosts) expects.
// A part of its container: it shares the container's reference count.
#pragma once
#include "ComObject.h"

#include <ocidl.h>

#include <utility>
#include <vector>

namespace kv90com {

class EventConnectionPoint : public IConnectionPoint {
public:
    EventConnectionPoint(IConnectionPointContainer& container, REFIID events);
    ~EventConnectionPoint();
    EventConnectionPoint(const EventConnectionPoint&) = delete;
    EventConnectionPoint& operator=(const EventConnectionPoint&) = delete;

    // IUnknown, counted on the container
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return container_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return container_.Release(); }

    // IConnectionPoint
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* id) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

    // Calls every sink advised now; arguments in the order the event declares them.
    void fire(DISPID id, std::vector<VARIANT> arguments);
    // Lets every sink go (the container is being destroyed).
    void unadviseAll();

private:
    IConnectionPointContainer& container_;
    IID events_;
    std::vector<std::pair<DWORD, IDispatch*>> sinks_;
    DWORD nextCookie_ = 1;
};

}  // namespace kv90com
