// A stand-in for the station's link: it opens, names and closes at once, and
// refuses as the link does, so that the routes are tested without a station.
#pragma once

#include "service/StationPort.h"

#include <string>
#include <vector>

class FakeStation : public StationPort {
public:
    void SetEvents(StationEvents* events) override { events_ = events; }
    StationAnswer Open() override;
    StationAnswer SetPerson(const std::wstring& key, const std::wstring& name) override;
    StationAnswer Close() override;
    StationState State() const override { return state_; }

    // As the station's collected notification: the file exists while it runs.
    void Collect(int slot, const std::string& file);

    std::vector<std::string> Calls;  // "open", "person", "close", in order

private:
    StationEvents* events_ = nullptr;
    StationState state_ = StationState::Stopped;
};
