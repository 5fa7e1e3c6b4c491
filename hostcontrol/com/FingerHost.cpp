#include "FingerHost.h"

#include "ByteArray.h"
#include "ConnectionPointList.h"
#include "ErrorReport.h"
#include "FingerEvent.h"
#include "MessageWait.h"
#include "TypeLibrary.h"
#include "Version.h"

#include <olectl.h>
#include <oleauto.h>

#include <vector>

namespace kv90com {

namespace {

constexpr DISPID kReady = 1;
constexpr DISPID kCollected = 2;
constexpr DISPID kClosed = 3;
const HRESULT kWrongState = controlFailure(static_cast<int>(kv90host::HostFailure::WrongState));

std::wstring textOf(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

VARIANT longArgument(LONG value) {
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_I4;
    V_I4(&argument) = value;
    return argument;
}

VARIANT textArgument(const std::wstring& text) {
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return argument;
}

std::wstring folderOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

bool holdsStation(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW((folder + L"\\" + kv90host::kStationProgram).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring setupInstallLocation() {
    // The setup program is 32-bit: its uninstall entry lies in the 32-bit view.
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Finger_KV90", 0,
                      KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        return std::wstring();
    const LONG status = RegGetValueW(key, nullptr, L"InstallLocation", RRF_RT_REG_SZ, nullptr, value, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::wstring(value) : std::wstring();
}

}  // namespace

std::wstring stationFolderBeside(const std::wstring& controlFolder) {
    // The 64-bit control lies in the station's x64 subfolder.
    const std::wstring last = controlFolder.substr(controlFolder.find_last_of(L"\\/") + 1);
    if (_wcsicmp(last.c_str(), L"x64") == 0) return folderOf(controlFolder);
    return controlFolder;
}

std::wstring defaultInstallDir() {
    // A control unpacked with its station (the zip) drives that station, even
    // where setup installed another one.
    const std::wstring beside = stationFolderBeside(folderOf(thisModulePath()));
    if (holdsStation(beside)) return beside;
    const std::wstring installed = setupInstallLocation();
    return installed.empty() ? beside : installed;
}

FingerHost::FingerHost()
    : owner_(GetCurrentThreadId()), link_(*this), events_(*this, DIID__IFingerHostEvents) {
    link_.setInstallDir(defaultInstallDir());
}

FingerHost::~FingerHost() {
    // A host that let go of the control has no say over the station any more:
    // left running, it would keep capturing for the last person and tell nobody.
    dying_ = true;
    events_.unadviseAll();
    const kv90host::LinkState state = link_.state();
    if (state == kv90host::LinkState::Ready || state == kv90host::LinkState::Closing) {
        kv90host::HostError error;
        link_.close(error);
    }
}

HRESULT FingerHost::QueryInterface(REFIID id, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch) || IsEqualIID(id, IID_IFingerHost)) {
        *object = static_cast<IFingerHost*>(this);
    } else if (IsEqualIID(id, IID_IConnectionPointContainer)) {
        *object = static_cast<IConnectionPointContainer*>(this);
    } else if (IsEqualIID(id, IID_IProvideClassInfo) || IsEqualIID(id, IID_IProvideClassInfo2)) {
        *object = static_cast<IProvideClassInfo2*>(this);
    } else if (IsEqualIID(id, IID_ISupportErrorInfo)) {
        *object = static_cast<ISupportErrorInfo*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT FingerHost::refuse(HRESULT result, const std::wstring& description) {
    return reportFailure(result, IID_IFingerHost, description);
}

HRESULT FingerHost::failed(const kv90host::HostError& error) {
    return refuse(controlFailure(static_cast<int>(error.failure)), error.description);
}

HRESULT FingerHost::failed(const ExportError& error) {
    return refuse(controlFailure(static_cast<int>(error.failure)), error.description);
}

HRESULT FingerHost::succeeded() {
    // A host that reads the error information after a call that went well must
    // not find an earlier call's.
    SetErrorInfo(0, nullptr);
    return S_OK;
}

bool FingerHost::onOwnThread() const { return GetCurrentThreadId() == owner_; }

HRESULT FingerHost::wrongThread() {
    // The link's window and its waits belong to the thread that made the control.
    return refuse(RPC_E_WRONG_THREAD, L"只能在创建控件的线程上调用控件。");
}

HRESULT FingerHost::Open() {
    if (!onOwnThread()) return wrongThread();
    // Every call that lets messages in keeps the object alive: a handler may release it.
    KeepAlive<FingerHost> alive(this);
    kv90host::HostError error;
    return link_.open(error) ? succeeded() : failed(error);
}

HRESULT FingerHost::SetPerson(BSTR key, BSTR name) {
    if (!onOwnThread()) return wrongThread();
    KeepAlive<FingerHost> alive(this);
    kv90host::HostError error;
    return link_.setPerson(textOf(key), textOf(name), error) ? succeeded() : failed(error);
}

HRESULT FingerHost::Close() {
    if (!onOwnThread()) return wrongThread();
    KeepAlive<FingerHost> alive(this);
    kv90host::HostError error;
    return link_.close(error) ? succeeded() : failed(error);
}

HRESULT FingerHost::NextEvent(LONG timeoutMs, IFingerEvent** event) {
    if (!event) return E_POINTER;
    *event = nullptr;
    if (!onOwnThread()) return wrongThread();
    if (!queueEvents_) return refuse(kWrongState, L"未打开事件队列：请先把 QueueEvents 设为 True。");
    if (timeoutMs < 0) return refuse(E_INVALIDARG, L"等待时间（毫秒）不能为负数。");
    KeepAlive<FingerHost> alive(this);
    kv90host::EventRecord record;
    kv90host::dispatchUntil(link_.window(), static_cast<DWORD>(timeoutMs), [&] { return queue_.pop(record); });
    *event = FingerEvent::create(record);
    return succeeded();
}

HRESULT FingerHost::get_InstallDir(BSTR* value) { return copyText(link_.installDir(), value); }

HRESULT FingerHost::put_InstallDir(BSTR value) {
    if (!onOwnThread()) return wrongThread();
    if (link_.state() != kv90host::LinkState::Stopped)
        return refuse(kWrongState, L"采集程序运行时不能更改 InstallDir。");
    link_.setInstallDir(textOf(value));
    return succeeded();
}

HRESULT FingerHost::get_State(BSTR* value) { return copyText(kv90host::linkStateName(link_.state()), value); }

HRESULT FingerHost::get_StationWindow(LONG* value) {
    if (!value) return E_POINTER;
    // Window handles fit 32 bits in both bitnesses.
    *value = static_cast<LONG>(reinterpret_cast<ULONG_PTR>(link_.stationWindow()));
    return S_OK;
}

HRESULT FingerHost::get_PersonKey(BSTR* value) { return copyText(link_.personKey(), value); }
HRESULT FingerHost::get_PersonName(BSTR* value) { return copyText(link_.personName(), value); }

HRESULT FingerHost::get_SlotFile(LONG slot, BSTR* value) {
    if (slot < 0 || slot > 9) return refuse(E_INVALIDARG, L"手指编号应在 0 到 9 之间。");
    return copyText(link_.slotFile(slot), value);
}

HRESULT FingerHost::get_PersonSlotFile(LONG slot, BSTR* value) {
    if (slot < 0 || slot > 9) return refuse(E_INVALIDARG, L"手指编号应在 0 到 9 之间。");
    return copyText(link_.personSlotFile(slot), value);
}

HRESULT FingerHost::get_Version(BSTR* value) { return copyText(KV90_HOST_VERSION_TEXT, value); }

HRESULT FingerHost::get_StartTimeout(LONG* value) {
    if (!value) return E_POINTER;
    *value = static_cast<LONG>(link_.startTimeoutMs());
    return S_OK;
}

HRESULT FingerHost::put_StartTimeout(LONG value) {
    if (!onOwnThread()) return wrongThread();
    if (value <= 0) return refuse(E_INVALIDARG, L"StartTimeout（毫秒）必须大于 0。");
    link_.setStartTimeoutMs(static_cast<DWORD>(value));
    return succeeded();
}

HRESULT FingerHost::get_QueueEvents(VARIANT_BOOL* value) {
    if (!value) return E_POINTER;
    *value = queueEvents_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT FingerHost::put_QueueEvents(VARIANT_BOOL value) {
    // The queue is filled by the link's thread: another thread's clear would race its push.
    if (!onOwnThread()) return wrongThread();
    queueEvents_ = value != VARIANT_FALSE;
    // The queue exists only while asked for: nothing piles up unattended.
    if (!queueEvents_) queue_.clear();
    return succeeded();
}

HRESULT FingerHost::FingerBytes(LONG slot, BSTR format, VARIANT* bytes) {
    if (!bytes) return E_POINTER;
    VariantInit(bytes);
    if (!onOwnThread()) return wrongThread();
    if (slot < 0 || slot > 9) return refuse(E_INVALIDARG, L"手指编号应在 0 到 9 之间。");
    std::vector<uint8_t> image;
    ExportError error;
    if (!fingers_.fingerBytes(slot, textOf(format), image, error)) return failed(error);
    const HRESULT hr = byteArrayVariant(image, bytes);
    return SUCCEEDED(hr) ? succeeded() : refuse(hr, L"内存不足，无法交出图像。");
}

HRESULT FingerHost::SaveFinger(LONG slot, BSTR format, BSTR path) {
    if (!onOwnThread()) return wrongThread();
    if (slot < 0 || slot > 9) return refuse(E_INVALIDARG, L"手指编号应在 0 到 9 之间。");
    std::vector<uint8_t> image;
    ExportError error;
    if (!fingers_.fingerBytes(slot, textOf(format), image, error) || !saveExport(textOf(path), image, error))
        return failed(error);
    return succeeded();
}

HRESULT FingerHost::SaveRecord(BSTR format, BSTR path) {
    if (!onOwnThread()) return wrongThread();
    std::vector<uint8_t> record;
    ExportError error;
    if (!fingers_.recordBytes(textOf(format), record, error) || !saveExport(textOf(path), record, error))
        return failed(error);
    return succeeded();
}

HRESULT FingerHost::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (!points) return E_POINTER;
    *points = ConnectionPointList::create({&events_});
    return S_OK;
}

HRESULT FingerHost::FindConnectionPoint(REFIID id, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (!IsEqualIID(id, DIID__IFingerHostEvents)) return CONNECT_E_NOCONNECTION;
    *point = &events_;
    events_.AddRef();
    return S_OK;
}

HRESULT FingerHost::GetClassInfo(ITypeInfo** info) { return typeInfoOf(CLSID_FingerHost, info); }

HRESULT FingerHost::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = DIID__IFingerHostEvents;
    return S_OK;
}

HRESULT FingerHost::InterfaceSupportsErrorInfo(REFIID id) { return IsEqualIID(id, IID_IFingerHost) ? S_OK : S_FALSE; }

void FingerHost::queue(kv90host::EventRecord record) {
    if (queueEvents_) queue_.push(std::move(record));
}

void FingerHost::ready() {
    if (dying_) return;
    KeepAlive<FingerHost> alive(this);
    kv90host::EventRecord record;
    record.name = L"Ready";
    queue(record);
    events_.fire(kReady, {});
}

void FingerHost::collected(int slot, const std::wstring& slotFile, const std::wstring& personSlotFile) {
    if (dying_) return;
    KeepAlive<FingerHost> alive(this);
    kv90host::EventRecord record;
    record.name = L"Collected";
    record.slot = slot;
    record.slotFile = slotFile;
    record.personSlotFile = personSlotFile;
    queue(record);
    events_.fire(kCollected, {longArgument(slot), textArgument(slotFile), textArgument(personSlotFile)});
}

void FingerHost::closed(const std::wstring& reason, DWORD exitCode) {
    // The close of a control being released tells no one: its sinks are gone.
    if (dying_) return;
    KeepAlive<FingerHost> alive(this);
    kv90host::EventRecord record;
    record.name = L"Closed";
    record.reason = reason;
    record.exitCode = exitCode;
    queue(record);
    events_.fire(kClosed, {textArgument(reason), longArgument(static_cast<LONG>(exitCode))});
}

}  // namespace kv90com
