#include "HostLink.h"

#include "CaptureBlock.h"
#include "CaptureMessages.h"
#include "MessageWait.h"
#include "SlotFiles.h"
#include "TextCodec.h"

#include <vector>

namespace kv90host {

namespace {

constexpr wchar_t kWindowClass[] = L"KV90HostLinkWindow";
// Posted by the process watch from a pool thread; handled on the link's thread.
constexpr UINT kProcessEnded = WM_APP + 0x29;
// Watches the window of a station adopted without its process (elevated, or
// another user's): the window's end is then the only sign of the station's.
constexpr UINT_PTR kWindowWatch = 1;
constexpr UINT kWindowWatchMs = 250;

int liveWindows = 0;

HINSTANCE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

std::wstring folderOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

}  // namespace

HostLink::HostLink(HostEvents& events) : events_(events), ids_(registerLinkMessages()) {}

HostLink::~HostLink() {
    for (Presence* presence = presence_; presence; presence = presence->outer) presence->alive = false;
    stopWatching();
    block_.remove();
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
        // A module that leaves the process must not leave its class behind.
        if (--liveWindows == 0) UnregisterClassW(kWindowClass, thisModule());
    }
}

std::wstring HostLink::stationFolder() const { return stationFolder_.empty() ? installDir_ : stationFolder_; }

std::wstring HostLink::slotFile(int slot) const { return slotFilePath(tempFolderOf(stationFolder()), slot); }

std::wstring HostLink::personSlotFile(int slot) const {
    if (!personNamed_) return std::wstring();
    return personSlotFilePath(tempFolderOf(stationFolder()), personKey_, personName_, slot);
}

bool HostLink::fail(HostError& error, HostFailure failure, std::wstring description) {
    error.failure = failure;
    error.description = std::move(description);
    return false;
}

bool HostLink::ensureWindow(HostError& error) {
    if (window_) return true;
    const HINSTANCE module = thisModule();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &HostLink::procedure;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        error.systemError = GetLastError();
        return fail(error, HostFailure::WindowFailed,
                    L"无法注册主机窗口类，系统错误 " + std::to_wstring(error.systemError) + L"。");
    }
    // A message-only window: the station reaches it by its handle, nobody sees it.
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, this);
    if (!window_) {
        error.systemError = GetLastError();
        return fail(error, HostFailure::WindowFailed,
                    L"无法创建主机窗口，系统错误 " + std::to_wstring(error.systemError) + L"。");
    }
    ++liveWindows;
    return true;
}

bool HostLink::open(HostError& error) {
    error = HostError{};
    if (machine_.state() != LinkState::Stopped)
        return fail(error, HostFailure::WrongState,
                    std::wstring(L"控件已经打开（状态：") + linkStateName(machine_.state()) + L"）。");
    if (hostBlockExists())
        return fail(error, HostFailure::AnotherHost,
                    L"本桌面上已有另一个主机（共享块 FINGER_ACTIVEX_FILE 已存在）：一个桌面只能有一个主机。");
    if (!ensureWindow(error)) return false;
    if (!block_.create(windowHandleText(window_))) {
        error.systemError = block_.lastError();
        return fail(error, HostFailure::WindowFailed,
                    L"无法创建共享块 FINGER_ACTIVEX_FILE，系统错误 " + std::to_wstring(error.systemError) + L"。");
    }
    if (block_.wasShared()) {
        block_.remove();
        return fail(error, HostFailure::AnotherHost,
                    L"本桌面上已有另一个主机（共享块 FINGER_ACTIVEX_FILE 已存在）：一个桌面只能有一个主机。");
    }
    machine_.beginOpen();
    personKey_.clear();
    personName_.clear();
    personNamed_ = false;
    stationFolder_.clear();

    if (HWND running = liveStationWindow()) {
        // A station of this desktop runs already: it has long announced READY,
        // so the host takes its window from the station's block.
        stationWindow_ = running;
        if (opensAdoptedProcess_ && process_.adopt(running))
            stationFolder_ = folderOf(process_.fullPath());
        else
            SetTimer(window_, kWindowWatch, kWindowWatchMs, nullptr);
        machine_.readyArrived();
        watchProcess();
        events_.ready();
        return true;
    }

    std::wstring path = installDir_;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    path += kStationProgram;
    const DWORD attributes = installDir_.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        letGo();
        machine_.openFailed();
        return fail(error, HostFailure::ProgramNotFound,
                    installDir_.empty() ? std::wstring(L"未设置采集程序的安装文件夹（InstallDir）。")
                                        : L"未找到采集程序：" + path);
    }
    std::wstring reason;
    if (!process_.start(path, reason)) {
        error.systemError = process_.startError();
        letGo();
        machine_.openFailed();
        return fail(error, HostFailure::StartFailed,
                    L"无法启动采集程序 " + path + L"，系统错误 " + std::to_wstring(error.systemError) + L"。");
    }
    stationFolder_ = folderOf(process_.fullPath());

    const WaitOutcome outcome =
        waitDispatching(startTimeoutMs_, [this] { return machine_.state() != LinkState::Starting; });
    if (outcome == WaitOutcome::Done) {
        watchProcess();
        return true;
    }
    if (outcome == WaitOutcome::ProcessEnded) {
        error.exitCode = process_.collect();
        letGo();
        machine_.openFailed();
        return fail(error, HostFailure::StationEndedAtOnce,
                    L"采集程序启动后立即退出（退出码 " + std::to_wstring(error.exitCode) +
                        L"）：本桌面上可能已有同系列的采集程序（KV90、LX20、NR50）在运行。");
    }
    // A station that is only slow stays; a later open() adopts it.
    process_.collect();
    letGo();
    machine_.openFailed();
    return fail(error, HostFailure::NoReadyInTime,
                L"采集程序在 " + std::to_wstring(startTimeoutMs_) + L" 毫秒内没有报告就绪（3124）。");
}

bool HostLink::setPerson(const std::wstring& key, const std::wstring& name, HostError& error) {
    error = HostError{};
    if (!machine_.ready())
        return fail(
            error, HostFailure::WrongState,
            std::wstring(L"采集程序尚未就绪（状态：") + linkStateName(machine_.state()) + L"）：请先调用 Open()。");
    std::string bytes;
    error.refusal = encodePersonText(key, name, tempFolderOf(stationFolder()), systemCodePage(), bytes);
    if (error.refusal != PersonRefusal::None)
        return fail(error, HostFailure::PersonRefused, describePersonRefusal(error.refusal));
    std::vector<unsigned char> payload(bytes.begin(), bytes.end());
    payload.push_back(0);
    const Delivery delivery =
        sendCopyData(stationWindow_, window_, payload, static_cast<DWORD>(payload.size()), false, 0, kSendTimeoutMs);
    if (!delivery.delivered) {
        error.systemError = delivery.error;
        return fail(error, HostFailure::SendFailed,
                    L"采集程序的窗口没有接收人员信息，系统错误 " + std::to_wstring(delivery.error) + L"。");
    }
    personKey_ = key;
    personName_ = name;
    personNamed_ = true;
    return true;
}

bool HostLink::close(HostError& error) {
    error = HostError{};
    if (!machine_.ready() && machine_.state() != LinkState::Closing)
        return fail(error, HostFailure::WrongState,
                    std::wstring(L"没有可关闭的采集程序（状态：") + linkStateName(machine_.state()) + L"）。");
    // Inside the handler of a collected notification the station is still blocked
    // in sending it and would read the close only after the handler returned:
    // it is answered now.
    if (collectedDepth_ > 0 && InSendMessage()) ReplyMessage(0);
    // The station this call closes: a handler of Closed may already open the next.
    const unsigned endsBefore = stationEnds_;
    const auto closedIt = [this, endsBefore] { return stationEnds_ != endsBefore; };
    machine_.beginClose();
    if (stationWindow_) PostMessageW(stationWindow_, ids_.active, kCodeClose, 0);
    stopWatching();
    const WaitOutcome outcome = waitDispatching(closeTimeoutMs_, closedIt);
    if (outcome == WaitOutcome::ProcessEnded) stationEnded();
    if (closedIt()) return true;
    watchProcess();
    return fail(error, HostFailure::CloseTimedOut,
                L"采集程序在 " + std::to_wstring(closeTimeoutMs_) + L" 毫秒内没有结束。");
}

template <typename Done>
HostLink::WaitOutcome HostLink::waitDispatching(DWORD timeoutMs, Done done) {
    // The station's answer or the timeout ends these waits, not a host that is
    // quitting: its WM_QUIT waits for its loop until then.
    HeldQuit quit;
    const DWORD began = GetTickCount();
    for (;;) {
        if (done()) return WaitOutcome::Done;
        const DWORD spent = GetTickCount() - began;
        if (spent >= timeoutMs) return WaitOutcome::TimedOut;
        HANDLE process = process_.waitHandle();
        const DWORD count = process ? 1 : 0;
        // What the station posted before it ended (its CLOSE) is read first.
        dispatchWaiting(window_, quit);
        if (done()) return WaitOutcome::Done;
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(count, count ? &process : nullptr, timeoutMs - spent, kWakeMask, 0);
        dispatchWaiting(window_, quit);
        if (done()) return WaitOutcome::Done;
        if (count == 1 && (woke == WAIT_OBJECT_0 || WaitForSingleObject(process, 0) == WAIT_OBJECT_0))
            return WaitOutcome::ProcessEnded;
        if (woke == WAIT_FAILED) return WaitOutcome::TimedOut;
    }
}

LRESULT CALLBACK HostLink::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* link = reinterpret_cast<HostLink*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (link && link->window_ == window) return link->dispatch(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT HostLink::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ids_.finger) {
        onNotification(wParam, lParam);
        return 0;
    }
    if (message == WM_TIMER && wParam == kWindowWatch) {
        if (machine_.state() != LinkState::Stopped && !process_.running() && !IsWindow(stationWindow_))
            stationEnded();
        return 0;
    }
    if (message == kProcessEnded) {
        if (process_.running() && WaitForSingleObject(process_.waitHandle(), 0) == WAIT_OBJECT_0) stationEnded();
        return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void HostLink::onNotification(WPARAM code, LPARAM value) {
    switch (code) {
    case kCodeReady: {
        if (machine_.state() != LinkState::Starting) return;
        HWND announced = reinterpret_cast<HWND>(value);
        stationWindow_ = announced && IsWindow(announced) ? announced : liveStationWindow();
        if (machine_.readyArrived()) events_.ready();
        return;
    }
    case kCodeCollected: {
        const int slot = static_cast<int>(value);
        if (slot < 0 || slot > 9 || machine_.state() == LinkState::Stopped) return;
        // The handler may end this object (its host released the last
        // reference): nothing of it is touched once the handler returned so.
        Presence presence{presence_};
        presence_ = &presence;
        ++collectedDepth_;
        events_.collected(slot, slotFile(slot), personSlotFile(slot));
        if (!presence.alive) return;
        --collectedDepth_;
        presence_ = presence.outer;
        return;
    }
    case kCodeClose:
        machine_.closeNotified();
        // Without the process to wait on, the station's word is all there is.
        if (!process_.running()) stationEnded();
        return;
    default:
        return;
    }
}

void HostLink::watchProcess() {
    if (wait_ || !process_.running()) return;
    if (!RegisterWaitForSingleObject(&wait_, process_.waitHandle(), &HostLink::processSignalled, this, INFINITE,
                                     WT_EXECUTEONLYONCE))
        wait_ = nullptr;
}

void CALLBACK HostLink::processSignalled(void* context, BOOLEAN) {
    auto* link = static_cast<HostLink*>(context);
    PostMessageW(link->window_, kProcessEnded, 0, 0);
}

void HostLink::stopWatching() {
    if (!wait_) return;
    // Waits for a running callback, so that none touches this object afterwards.
    UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
    wait_ = nullptr;
}

void HostLink::stationEnded() {
    stopWatching();
    const DWORD exitCode = process_.running() ? process_.collect() : 0;
    letGo();
    EndReason reason;
    if (!machine_.ended(reason)) return;
    ++stationEnds_;
    events_.closed(endReasonName(reason), exitCode);
}

void HostLink::letGo() {
    if (window_) KillTimer(window_, kWindowWatch);
    block_.remove();
    stationWindow_ = nullptr;
}

const wchar_t* hostFailureName(HostFailure failure) {
    switch (failure) {
    case HostFailure::None:
        return L"none";
    case HostFailure::WrongState:
        return L"wrong-state";
    case HostFailure::ProgramNotFound:
        return L"program-not-found";
    case HostFailure::AnotherHost:
        return L"another-host";
    case HostFailure::StartFailed:
        return L"start-failed";
    case HostFailure::StationEndedAtOnce:
        return L"station-ended-at-once";
    case HostFailure::NoReadyInTime:
        return L"no-ready-in-time";
    case HostFailure::WindowFailed:
        return L"window-failed";
    case HostFailure::PersonRefused:
        return L"person-refused";
    case HostFailure::SendFailed:
        return L"send-failed";
    case HostFailure::CloseTimedOut:
        return L"close-timed-out";
    }
    return L"none";
}

}  // namespace kv90host
