// The host's half of the link to the station, written once for every host (the
// control, the local service, the simulator): the hidden window the station
// notifies, the block naming it, starting or adopting the station, naming the
// person, closing, and watching the station's process.
//
// Single-threaded: every call, and every HostEvents call, happens on the thread
// that created the object; that thread must dispatch its messages (any window
// or COM message loop does). open(), setPerson() and close() let sent messages
// in while they wait, so a handler of HostEvents may run inside them; a WM_QUIT
// that comes meanwhile does not end open() or close() early and is put back
// for the host's loop when they return.
#pragma once
#include "HostEvents.h"
#include "LinkNames.h"
#include "LinkState.h"
#include "HostBlock.h"
#include "PersonText.h"
#include "StationProcess.h"

#include <string>

namespace kv90host {

enum class HostFailure {
    None,
    WrongState,          // open() while not stopped, setPerson()/close() while not ready
    ProgramNotFound,     // no station program in the installation folder
    AnotherHost,         // another host's block exists: one host per desktop
    StartFailed,         // the system refused to start the program
    StationEndedAtOnce,  // it ended before READY: another capture program of the family runs
    NoReadyInTime,       // no READY within the start timeout
    WindowFailed,        // the hidden window or the host block could not be made
    PersonRefused,       // the person text cannot be sent as it is
    SendFailed,          // the station's window did not take the message
    CloseTimedOut,       // the station did not end within the close timeout
};

struct HostError {
    HostFailure failure = HostFailure::None;
    // A sentence an integrator can show.
    std::wstring description;
    PersonRefusal refusal = PersonRefusal::None;
    DWORD exitCode = 0;     // StationEndedAtOnce
    DWORD systemError = 0;  // StartFailed, WindowFailed, SendFailed
};

class HostLink {
public:
    static constexpr DWORD kDefaultStartTimeoutMs = 30000;
    static constexpr DWORD kDefaultCloseTimeoutMs = 15000;
    static constexpr DWORD kSendTimeoutMs = 10000;

    explicit HostLink(HostEvents& events);
    // Lets go of the station without ending it, and removes the block. May run
    // inside a handler of collected(), which must then return at once.
    ~HostLink();
    HostLink(const HostLink&) = delete;
    HostLink& operator=(const HostLink&) = delete;

    // Attributes
    const std::wstring& installDir() const { return installDir_; }
    void setInstallDir(const std::wstring& folder) { installDir_ = folder; }
    DWORD startTimeoutMs() const { return startTimeoutMs_; }
    void setStartTimeoutMs(DWORD ms) { startTimeoutMs_ = ms; }
    DWORD closeTimeoutMs() const { return closeTimeoutMs_; }
    void setCloseTimeoutMs(DWORD ms) { closeTimeoutMs_ = ms; }
    LinkState state() const { return machine_.state(); }
    // Whether an adopted station's process is opened to watch it (the default).
    // A station this host may not open (elevated, or another user's) is watched
    // through its window instead; false takes that path for every adoption.
    void setOpensAdoptedProcess(bool opens) { opensAdoptedProcess_ = opens; }
    HWND stationWindow() const { return stationWindow_; }
    DWORD stationPid() const { return process_.pid(); }
    // The station's own folder once it is held (the started or adopted program's);
    // installDir() before.
    std::wstring stationFolder() const;
    HWND window() const { return window_; }
    const std::wstring& personKey() const { return personKey_; }
    const std::wstring& personName() const { return personName_; }
    // Full paths as the station names the files; empty for a slot outside 0..9,
    // and the person's file also before a person was named.
    std::wstring slotFile(int slot) const;
    std::wstring personSlotFile(int slot) const;

    // Operations. Each returns false with the reason and changes nothing the
    // station sees when it refuses.

    // Makes the hidden window and the block, then adopts the station that runs
    // on this desktop, or starts installDir()\Finger_KV90.exe and waits for its
    // READY. Ready() is announced before it returns true.
    bool open(HostError& error);
    // Sends key "$" name and its zero byte in the system code page.
    bool setPerson(const std::wstring& key, const std::wstring& name, HostError& error);
    // Orders the station to close and waits for the end of the station it
    // closes (a handler of Closed may already open another); Closed() is
    // announced before it returns true. Inside a handler of collected() the
    // station's notification is answered first, so that it can close at once.
    bool close(HostError& error);

private:
    // Marks a handler call on the stack that must learn whether the object
    // outlived it.
    struct Presence {
        Presence* outer;
        bool alive = true;
    };

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void CALLBACK processSignalled(void* context, BOOLEAN timedOut);
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool ensureWindow(HostError& error);
    void onNotification(WPARAM code, LPARAM value);
    // Waits up to timeoutMs, dispatching messages, until done() holds or the
    // station's process ends; what the caller does about the end is its own.
    enum class WaitOutcome { Done, ProcessEnded, TimedOut };
    template <typename Done>
    WaitOutcome waitDispatching(DWORD timeoutMs, Done done);
    void watchProcess();
    void stopWatching();
    void stationEnded();
    void letGo();
    bool fail(HostError& error, HostFailure failure, std::wstring description);

    HostEvents& events_;
    std::wstring installDir_;
    DWORD startTimeoutMs_ = kDefaultStartTimeoutMs;
    DWORD closeTimeoutMs_ = kDefaultCloseTimeoutMs;
    LinkStateMachine machine_;
    MessageIds ids_;
    HWND window_ = nullptr;
    HostBlock block_;
    StationProcess process_;
    HANDLE wait_ = nullptr;
    HWND stationWindow_ = nullptr;
    std::wstring stationFolder_;
    std::wstring personKey_;
    std::wstring personName_;
    bool personNamed_ = false;
    bool opensAdoptedProcess_ = true;
    // Stations that ended while held, counted: close() waits for its own.
    unsigned stationEnds_ = 0;
    // Handlers of collected() running now (the station is blocked in its send).
    int collectedDepth_ = 0;
    Presence* presence_ = nullptr;
};

// The failure's name as integrators read it in logs ("program-not-found", ...).
const wchar_t* hostFailureName(HostFailure failure);

}  // namespace kv90host
