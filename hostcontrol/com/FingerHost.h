// The control: a dual IFingerHost over the host core, its events through a
// connection point, and the same events as records for hosts that poll.
#pragma once
#include "ComObject.h"
#include "Dispatch.h"
#include "EventConnectionPoint.h"
#include "EventQueue.h"
#include "FingerExport.h"
#include "HostLink.h"
#include "KV90Host.h"

namespace kv90com {

// RefCounted comes first, so that the object it deletes starts where it does.
class FingerHost final : private RefCounted,
                         public Dispatch<IFingerHost>,
                         public IConnectionPointContainer,
                         public IProvideClassInfo2,
                         public ISupportErrorInfo,
                         private kv90host::HostEvents {
public:
    // Records kept for NextEvent at most; older ones go first.
    static constexpr size_t kQueueCapacity = 64;

    FingerHost();
    // Closes the station it opened or adopted.
    ~FingerHost() override;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return release(); }

    // IFingerHost
    HRESULT STDMETHODCALLTYPE Open() override;
    HRESULT STDMETHODCALLTYPE SetPerson(BSTR key, BSTR name) override;
    HRESULT STDMETHODCALLTYPE Close() override;
    HRESULT STDMETHODCALLTYPE NextEvent(LONG timeoutMs, IFingerEvent** event) override;
    HRESULT STDMETHODCALLTYPE get_InstallDir(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_InstallDir(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_State(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_StationWindow(LONG* value) override;
    HRESULT STDMETHODCALLTYPE get_PersonKey(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_PersonName(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_SlotFile(LONG slot, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_PersonSlotFile(LONG slot, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_Version(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_StartTimeout(LONG* value) override;
    HRESULT STDMETHODCALLTYPE put_StartTimeout(LONG value) override;
    HRESULT STDMETHODCALLTYPE get_QueueEvents(VARIANT_BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_QueueEvents(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE FingerBytes(LONG slot, BSTR format, VARIANT* bytes) override;
    HRESULT STDMETHODCALLTYPE SaveFinger(LONG slot, BSTR format, BSTR path) override;
    HRESULT STDMETHODCALLTYPE SaveRecord(BSTR format, BSTR path) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID id, IConnectionPoint** point) override;

    // IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID id) override;

private:
    // kv90host::HostEvents
    void ready() override;
    void collected(int slot, const std::wstring& slotFile, const std::wstring& personSlotFile) override;
    void closed(const std::wstring& reason, DWORD exitCode) override;

    void queue(kv90host::EventRecord record);
    HRESULT failed(const kv90host::HostError& error);
    HRESULT failed(const ExportError& error);
    HRESULT refuse(HRESULT result, const std::wstring& description);
    HRESULT succeeded();
    bool onOwnThread() const;
    HRESULT wrongThread();

    const DWORD owner_;
    bool dying_ = false;
    kv90host::HostLink link_;
    const FingerExport fingers_{link_};
    EventConnectionPoint events_;
    kv90host::EventQueue queue_{kQueueCapacity};
    bool queueEvents_ = false;
};

// Where the station is installed: the folder of this DLL, or its parent when
// the DLL lies in x64\, if the station is there (the setup and the zip put the
// control beside the station); else the setup's InstallLocation; else that folder.
std::wstring defaultInstallDir();
// The station's folder for a control in controlFolder.
std::wstring stationFolderBeside(const std::wstring& controlFolder);

}  // namespace kv90com
