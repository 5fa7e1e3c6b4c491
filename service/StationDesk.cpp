// Carrying commands to the link's thread, and the station's events to the pages.
#include "service/StationDesk.h"

#include "service/FingerNames.h"
#include "service/TextUtf8.h"

#include <nlohmann/json.hpp>

#include <future>
#include <memory>
#include <set>

namespace {

constexpr UINT kRunCommand = WM_APP + 1;
constexpr const char* kWindowClass = "KV90ServiceDesk";

}  // namespace

// A command on its way to the owning thread. Answered once: by the owning
// thread, or with 503 when the service stops before it ran.
struct StationDesk::Command {
    std::function<StationAnswer()> run;
    std::promise<StationAnswer> done;
    bool answered = false;  // guarded by the desk's mutex
};

StationDesk::StationDesk(StationPort& port, EventHistory& events)
    : port_(port), events_(events), ownerThread_(GetCurrentThreadId()) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);  // a second desk in the process finds it registered
    window_ = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, this);
    port_.SetEvents(this);
}

StationDesk::~StationDesk() {
    Stop();
    port_.SetEvents(nullptr);
    // Commands posted but never dispatched are answered above; free their envelopes.
    MSG message;
    while (window_ && PeekMessageA(&message, window_, kRunCommand, kRunCommand, PM_REMOVE)) {
        delete reinterpret_cast<std::shared_ptr<Command>*>(message.lParam);
    }
    if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK StationDesk::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (message == kRunCommand) {
        auto* desk = reinterpret_cast<StationDesk*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        std::unique_ptr<std::shared_ptr<Command>> held(reinterpret_cast<std::shared_ptr<Command>*>(lParam));
        if (desk) desk->Execute(*held);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void StationDesk::Execute(const std::shared_ptr<Command>& command) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (command->answered) return;
    }
    StationAnswer answer;
    try {
        answer = command->run();
    } catch (const std::exception& e) {
        answer = StationAnswer{500, e.what()};
    }
    Refresh();
    Answer(command, answer);
}

void StationDesk::Answer(const std::shared_ptr<Command>& command, const StationAnswer& answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (command->answered) return;
    command->answered = true;
    command->done.set_value(answer);
    pending_.erase(command);
}

StationAnswer StationDesk::Run(const std::function<StationAnswer()>& command) {
    auto shared = std::make_shared<Command>();
    shared->run = command;
    std::future<StationAnswer> answer = shared->done.get_future();
    if (GetCurrentThreadId() == ownerThread_) {
        Execute(shared);
        return answer.get();
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_) return StationAnswer{503, "service is stopping"};
        pending_.insert(shared);
    }
    auto held = std::make_unique<std::shared_ptr<Command>>(shared);
    if (!PostMessageA(window_, kRunCommand, 0, reinterpret_cast<LPARAM>(held.get()))) {
        Answer(shared, StationAnswer{503, "service is stopping"});
    } else {
        held.release();  // the window procedure owns it now
    }
    return answer.get();
}

void StationDesk::Stop() {
    std::set<std::shared_ptr<Command>> pending;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        pending = pending_;
    }
    for (const auto& command : pending) Answer(command, StationAnswer{503, "service is stopping"});
}

StationAnswer StationDesk::Open() {
    return Run([this] { return port_.Open(); });
}

StationAnswer StationDesk::SetPerson(const std::wstring& key, const std::wstring& name) {
    return Run([this, key, name] {
        StationAnswer answer = port_.SetPerson(key, name);
        if (!answer.Ok()) return answer;
        const std::string newKey = WideToUtf8(key), newName = WideToUtf8(name);
        bool changed = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            // Fingers captured before belong to the person named then.
            changed = !hasPerson_ || newKey != personKey_ || newName != personName_;
            if (changed) slotFiles_.clear();
            personKey_ = newKey;
            personName_ = newName;
            hasPerson_ = true;
        }
        // Every page learns that the fingers it holds are no longer the station's.
        if (changed) events_.Append("person", nlohmann::json{{"key", newKey}, {"name", newName}}.dump());
        return answer;
    });
}

StationAnswer StationDesk::Close() {
    return Run([this] { return port_.Close(); });
}

void StationDesk::Refresh() {
    const StationState state = port_.State();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state == state_) return;
        state_ = state;
    }
    if (OnStateChanged) OnStateChanged(state);
}

StationState StationDesk::State() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

std::string StationDesk::InfoJson(const std::string& version, bool withPerson) const {
    std::lock_guard<std::mutex> lock(mutex_);
    nlohmann::json info{{"version", version}, {"state", StateName(state_)}};
    if (!withPerson) return info.dump();
    info["person"] = nullptr;
    if (hasPerson_) info["person"] = {{"key", personKey_}, {"name", personName_}};
    nlohmann::json slots = nlohmann::json::array();
    for (const auto& slot : slotFiles_) slots.push_back(slot.first);
    info["slots"] = slots;
    return info.dump();
}

StationDesk::SlotLookup StationDesk::SlotFile(int slot, const std::string* expectedKey) const {
    std::lock_guard<std::mutex> lock(mutex_);
    SlotLookup lookup;
    if (expectedKey && (!hasPerson_ || *expectedKey != personKey_)) {
        lookup.Outcome = SlotLookup::Result::OtherPerson;
        return lookup;
    }
    const auto found = slotFiles_.find(slot);
    if (found == slotFiles_.end()) return lookup;
    lookup.Outcome = SlotLookup::Result::Found;
    lookup.File = found->second;
    lookup.Key = personKey_;
    return lookup;
}

StationDesk::PersonLookup StationDesk::CapturedFingers(const std::string* expectedKey) const {
    std::lock_guard<std::mutex> lock(mutex_);
    PersonLookup lookup;
    if (expectedKey && (!hasPerson_ || *expectedKey != personKey_)) {
        lookup.Outcome = SlotLookup::Result::OtherPerson;
        return lookup;
    }
    if (slotFiles_.empty()) return lookup;
    lookup.Outcome = SlotLookup::Result::Found;
    lookup.Key = personKey_;
    lookup.Name = personName_;
    lookup.Files = slotFiles_;
    return lookup;
}

void StationDesk::StationReady() {
    Refresh();
    events_.Append("ready", "{}");
}

void StationDesk::FingerCollected(int slot, const std::string& personSlotFile) {
    std::string key;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        slotFiles_[slot] = personSlotFile;
        key = personKey_;
    }
    // The key says whose finger it is: a page that named someone else drops it.
    events_.Append("collected", nlohmann::json{{"slot", slot}, {"finger", FingerName(slot)}, {"key", key}}.dump());
}

void StationDesk::StationClosed(const std::string& reason) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        slotFiles_.clear();
        personKey_.clear();
        personName_.clear();
        hasPerson_ = false;
    }
    Refresh();
    events_.Append("closed", nlohmann::json{{"reason", reason}}.dump());
}
