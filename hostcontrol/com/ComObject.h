// The one reference-counting base of the control's objects, and the count of
// living objects and locks that says whether the DLL may be unloaded.
#pragma once
#include <windows.h>
#include <unknwn.h>

#include <initializer_list>

namespace kv90com {

class ModuleUsage {
public:
    static void add() { InterlockedIncrement(&count_); }
    static void remove() { InterlockedDecrement(&count_); }
    static bool inUse() { return count_ != 0; }

private:
    static inline LONG count_ = 0;
};

// A most-derived class declares QueryInterface, AddRef and Release once (one
// final overrider serves all its interfaces) and forwards the counting here.
class RefCounted {
protected:
    RefCounted() { ModuleUsage::add(); }
    virtual ~RefCounted() { ModuleUsage::remove(); }
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    ULONG addRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG release() {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

private:
    LONG references_ = 1;
};

// Holds one reference for a scope: an object that fires events keeps itself
// alive while a sink's handler might release the last outside reference.
template <typename T>
class KeepAlive {
public:
    explicit KeepAlive(T* object) : object_(object) { object_->AddRef(); }
    ~KeepAlive() { object_->Release(); }
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;

private:
    T* object_;
};

// QueryInterface of an object that is `self` for each of `ids` (IUnknown among them).
inline HRESULT answerQuery(IUnknown* self, REFIID id, void** object, std::initializer_list<const IID*> ids) {
    if (!object) return E_POINTER;
    for (const IID* known : ids) {
        if (IsEqualIID(id, *known)) {
            *object = self;
            self->AddRef();
            return S_OK;
        }
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

}  // namespace kv90com
