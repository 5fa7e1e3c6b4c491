// The enumeration of a container's connection points, for hosts that look for
// the event source by walking them (some designers and script engines do) rather
// than by asking for the event interface.
#pragma once
#include "ComObject.h"

#include <ocidl.h>

#include <vector>

namespace kv90com {

class ConnectionPointList final : private RefCounted, public IEnumConnectionPoints {
public:
    // Holds a reference on each point (and so on their container) while it lives.
    static IEnumConnectionPoints* create(const std::vector<IConnectionPoint*>& points, size_t position = 0);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return release(); }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** copy) override;

private:
    ConnectionPointList(const std::vector<IConnectionPoint*>& points, size_t position);
    ~ConnectionPointList() override;

    std::vector<IConnectionPoint*> points_;
    size_t position_;
};

}  // namespace kv90com
