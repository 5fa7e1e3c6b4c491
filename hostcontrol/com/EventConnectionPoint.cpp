#include "EventConnectionPoint.h"

#include <olectl.h>
#include <oleauto.h>

#include <algorithm>

namespace kv90com {

EventConnectionPoint::EventConnectionPoint(IConnectionPointContainer& container, REFIID events)
    : container_(container), events_(events) {}

EventConnectionPoint::~EventConnectionPoint() { unadviseAll(); }

HRESULT EventConnectionPoint::QueryInterface(REFIID id, void** object) {
    return answerQuery(static_cast<IConnectionPoint*>(this), id, object, {&IID_IUnknown, &IID_IConnectionPoint});
}

HRESULT EventConnectionPoint::GetConnectionInterface(IID* id) {
    if (!id) return E_POINTER;
    *id = events_;
    return S_OK;
}

HRESULT EventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = &container_;
    container_.AddRef();
    return S_OK;
}

HRESULT EventConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    // A sink answers to the event dispinterface (.NET, C++) or only to IDispatch (VB6, scripts).
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(&dispatch))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = nextCookie_++;
    sinks_.emplace_back(*cookie, dispatch);
    return S_OK;
}

HRESULT EventConnectionPoint::Unadvise(DWORD cookie) {
    const auto found =
        std::find_if(sinks_.begin(), sinks_.end(), [cookie](const auto& sink) { return sink.first == cookie; });
    if (found == sinks_.end()) return CONNECT_E_NOCONNECTION;
    IDispatch* dispatch = found->second;
    sinks_.erase(found);
    dispatch->Release();
    return S_OK;
}

HRESULT EventConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
}

void EventConnectionPoint::fire(DISPID id, std::vector<VARIANT> arguments) {
    // A handler may advise or unadvise: call the sinks advised when the event came.
    std::vector<IDispatch*> sinks;
    for (const auto& sink : sinks_) {
        sink.second->AddRef();
        sinks.push_back(sink.second);
    }
    // DISPPARAMS takes the arguments last first.
    std::reverse(arguments.begin(), arguments.end());
    DISPPARAMS parameters{};
    parameters.rgvarg = arguments.empty() ? nullptr : arguments.data();
    parameters.cArgs = static_cast<UINT>(arguments.size());
    for (IDispatch* sink : sinks) {
        sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
        sink->Release();
    }
    for (VARIANT& argument : arguments) VariantClear(&argument);
}

void EventConnectionPoint::unadviseAll() {
    auto sinks = std::move(sinks_);
    sinks_.clear();
    for (auto& sink : sinks) sink.second->Release();
}

}  // namespace kv90com
