// The station's link as the service uses it: the host core's HostLink, its
// failures turned into HTTP statuses and its events passed on.
#pragma once

#include "service/StationPort.h"

#include "HostLink.h"

#include <string>

class HostLinkStation : public StationPort, private kv90host::HostEvents {
public:
    // installDir: the folder of the station's program (the service lies beside it).
    explicit HostLinkStation(const std::wstring& installDir);

    void SetEvents(StationEvents* events) override { events_ = events; }
    StationAnswer Open() override;
    StationAnswer SetPerson(const std::wstring& key, const std::wstring& name) override;
    StationAnswer Close() override;
    StationState State() const override;

private:
    void ready() override;
    void collected(int slot, const std::wstring& slotFile, const std::wstring& personSlotFile) override;
    void closed(const std::wstring& reason, DWORD exitCode) override;

    StationEvents* events_ = nullptr;
    kv90host::HostLink link_;
};
