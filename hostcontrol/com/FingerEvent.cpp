#include "FingerEvent.h"

namespace kv90com {

HRESULT copyText(const std::wstring& text, BSTR* value) {
    if (!value) return E_POINTER;
    *value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
}

IFingerEvent* FingerEvent::create(const kv90host::EventRecord& record) { return new FingerEvent(record); }

HRESULT FingerEvent::QueryInterface(REFIID id, void** object) {
    return answerQuery(static_cast<IFingerEvent*>(this), id, object,
                       {&IID_IUnknown, &IID_IDispatch, &__uuidof(IFingerEvent)});
}

HRESULT FingerEvent::get_Name(BSTR* value) { return copyText(record_.name, value); }
HRESULT FingerEvent::get_SlotFile(BSTR* value) { return copyText(record_.slotFile, value); }
HRESULT FingerEvent::get_PersonSlotFile(BSTR* value) { return copyText(record_.personSlotFile, value); }
HRESULT FingerEvent::get_Reason(BSTR* value) { return copyText(record_.reason, value); }

HRESULT FingerEvent::get_Slot(LONG* value) {
    if (!value) return E_POINTER;
    *value = record_.slot;
    return S_OK;
}

HRESULT FingerEvent::get_ExitCode(LONG* value) {
    if (!value) return E_POINTER;
    *value = static_cast<LONG>(record_.exitCode);
    return S_OK;
}

}  // namespace kv90com
