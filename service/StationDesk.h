// Between the web requests, which arrive on the server's worker threads, and
// the station's link, which lives on the thread that owns its window: the
// desk carries each command to that thread and waits for its answer, keeps a
// copy of the station's state for the readers, and turns what the station
// does into numbered events.
#pragma once

#include "service/EventHistory.h"
#include "service/StationPort.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <mutex>
#include <string>

class StationDesk : private StationEvents {
public:
    // Made on the owning thread, which must then dispatch its messages.
    StationDesk(StationPort& port, EventHistory& events);
    ~StationDesk();
    StationDesk(const StationDesk&) = delete;
    StationDesk& operator=(const StationDesk&) = delete;

    // From any thread; each waits until the owning thread has run the command.
    StationAnswer Open();
    StationAnswer SetPerson(const std::wstring& key, const std::wstring& name);
    StationAnswer Close();

    // Answers every command still waiting with 503 and refuses new ones, so
    // that the server's workers end while the owning thread stops.
    void Stop();

    // The state, person and captured slots as JSON text (UTF-8); only the
    // version and the state for a caller that may not see the person.
    std::string InfoJson(const std::string& version, bool withPerson) const;

    // The person slot file of a slot captured for the current person.
    struct SlotLookup {
        enum class Result { Found, Empty, OtherPerson };
        Result Outcome = Result::Empty;
        std::string File;
        std::string Key;  // the current person's, UTF-8: the file is offered under it
    };
    // expectedKey: the person's key the page expects (UTF-8), or null for
    // whoever is named now; another person named since gives OtherPerson.
    SlotLookup SlotFile(int slot, const std::string* expectedKey) const;

    // The current person and every slot file captured for them, as one
    // record is made of; Empty when no finger was captured.
    struct PersonLookup {
        SlotLookup::Result Outcome = SlotLookup::Result::Empty;
        std::string Key;   // UTF-8
        std::string Name;  // UTF-8
        std::map<int, std::string> Files;  // slot to person slot file, code page path
    };
    PersonLookup CapturedFingers(const std::string* expectedKey) const;
    StationState State() const;

    // Called on the owning thread whenever the state may have changed.
    std::function<void(StationState)> OnStateChanged;

private:
    struct Command;
    void Execute(const std::shared_ptr<Command>& command);
    void Answer(const std::shared_ptr<Command>& command, const StationAnswer& answer);
    StationAnswer Run(const std::function<StationAnswer()>& command);
    void Refresh();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void StationReady() override;
    void FingerCollected(int slot, const std::string& personSlotFile) override;
    void StationClosed(const std::string& reason) override;

    StationPort& port_;
    EventHistory& events_;
    HWND window_ = nullptr;
    DWORD ownerThread_ = 0;

    mutable std::mutex mutex_;
    StationState state_ = StationState::Stopped;
    std::string personKey_;   // UTF-8
    std::string personName_;  // UTF-8
    bool hasPerson_ = false;
    std::map<int, std::string> slotFiles_;
    std::set<std::shared_ptr<Command>> pending_;
    bool stopping_ = false;
};
