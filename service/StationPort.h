// What the service needs of the host half of the station's link: open,
// name a person, close, and be told what the station does. The service
// calls a port only on the thread that owns it (the one whose messages the
// link's window receives); StationDesk carries the web requests there.
#pragma once

#include <string>

enum class StationState { Stopped, Starting, Ready, Closing };

// The outcome of one command: Status 200, or the HTTP status that fits the
// refusal with the link's own reason (UTF-8).
struct StationAnswer {
    int Status = 200;
    std::string Error;
    bool Ok() const { return Status == 200; }
};

class StationEvents {
public:
    virtual void StationReady() = 0;
    // Called while the station waits for the host; the file exists now.
    virtual void FingerCollected(int slot, const std::string& personSlotFile) = 0;
    virtual void StationClosed(const std::string& reason) = 0;

protected:
    ~StationEvents() = default;
};

class StationPort {
public:
    virtual ~StationPort() = default;

    virtual void SetEvents(StationEvents* events) = 0;
    // Each returns once done: open once the station is ready, close once it ended.
    virtual StationAnswer Open() = 0;
    virtual StationAnswer SetPerson(const std::wstring& key, const std::wstring& name) = 0;
    virtual StationAnswer Close() = 0;
    virtual StationState State() const = 0;
};

const char* StateName(StationState state);
