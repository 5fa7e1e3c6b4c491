#include "FakeStation.h"

StationAnswer FakeStation::Open() {
    Calls.push_back("open");
    if (state_ != StationState::Stopped) return StationAnswer{409, "already open"};
    state_ = StationState::Ready;
    if (events_) events_->StationReady();
    return StationAnswer();
}

StationAnswer FakeStation::SetPerson(const std::wstring& key, const std::wstring&) {
    Calls.push_back("person");
    if (state_ != StationState::Ready) return StationAnswer{409, "not ready"};
    if (key.find(L'$') != std::wstring::npos) return StationAnswer{400, "key contains $"};
    return StationAnswer();
}

StationAnswer FakeStation::Close() {
    Calls.push_back("close");
    if (state_ != StationState::Ready) return StationAnswer{409, "not ready"};
    state_ = StationState::Stopped;
    if (events_) events_->StationClosed("closed");
    return StationAnswer();
}

void FakeStation::Collect(int slot, const std::string& file) {
    if (events_) events_->FingerCollected(slot, file);
}
