// One event of the station as a record (NextEvent's answer).
#pragma once
#include "ComObject.h"
#include "Dispatch.h"
#include "EventQueue.h"
#include "KV90Host.h"

namespace kv90com {

class FingerEvent final : private RefCounted, public Dispatch<IFingerEvent> {
public:
    // An empty record (no Name) says that no event came in time.
    static IFingerEvent* create(const kv90host::EventRecord& record);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return release(); }

    HRESULT STDMETHODCALLTYPE get_Name(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_Slot(LONG* value) override;
    HRESULT STDMETHODCALLTYPE get_SlotFile(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_PersonSlotFile(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_Reason(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_ExitCode(LONG* value) override;

private:
    explicit FingerEvent(const kv90host::EventRecord& record) : record_(record) {}
    kv90host::EventRecord record_;
};

// A BSTR copy of text for an [out, retval] BSTR.
HRESULT copyText(const std::wstring& text, BSTR* value);

}  // namespace kv90com
