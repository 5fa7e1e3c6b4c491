// Adapting the host core to the service.
#include "service/HostLinkStation.h"

#include "service/TextUtf8.h"

namespace {

// The status a web page gets for each of the link's refusals.
int StatusOf(kv90host::HostFailure failure) {
    using kv90host::HostFailure;
    switch (failure) {
    case HostFailure::None:
        return 200;
    case HostFailure::PersonRefused:
        return 400;
    case HostFailure::WrongState:
    case HostFailure::AnotherHost:
    case HostFailure::StationEndedAtOnce:
        return 409;
    case HostFailure::NoReadyInTime:
    case HostFailure::CloseTimedOut:
        return 504;
    case HostFailure::SendFailed:
        return 502;
    case HostFailure::ProgramNotFound:
    case HostFailure::StartFailed:
    case HostFailure::WindowFailed:
        return 503;
    }
    return 500;
}

StationAnswer AnswerOf(bool done, const kv90host::HostError& error) {
    if (done) return StationAnswer();
    return StationAnswer{StatusOf(error.failure), WideToUtf8(error.description)};
}

}  // namespace

HostLinkStation::HostLinkStation(const std::wstring& installDir) : link_(*this) { link_.setInstallDir(installDir); }

StationAnswer HostLinkStation::Open() {
    kv90host::HostError error;
    const bool done = link_.open(error);
    return AnswerOf(done, error);
}

StationAnswer HostLinkStation::SetPerson(const std::wstring& key, const std::wstring& name) {
    kv90host::HostError error;
    const bool done = link_.setPerson(key, name, error);
    return AnswerOf(done, error);
}

StationAnswer HostLinkStation::Close() {
    kv90host::HostError error;
    const bool done = link_.close(error);
    return AnswerOf(done, error);
}

StationState HostLinkStation::State() const {
    switch (link_.state()) {
    case kv90host::LinkState::Stopped:
        return StationState::Stopped;
    case kv90host::LinkState::Starting:
        return StationState::Starting;
    case kv90host::LinkState::Ready:
        return StationState::Ready;
    case kv90host::LinkState::Closing:
        return StationState::Closing;
    }
    return StationState::Stopped;
}

void HostLinkStation::ready() {
    if (events_) events_->StationReady();
}

void HostLinkStation::collected(int slot, const std::wstring&, const std::wstring& personSlotFile) {
    // The service reads the file with the code page's path, as the station wrote it.
    std::string path;
    const int length = WideCharToMultiByte(CP_ACP, 0, personSlotFile.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length > 1) {
        path.resize(length - 1);
        WideCharToMultiByte(CP_ACP, 0, personSlotFile.c_str(), -1, &path[0], length, nullptr, nullptr);
    }
    if (events_) events_->FingerCollected(slot, path);
}

void HostLinkStation::closed(const std::wstring& reason, DWORD) {
    if (events_) events_->StationClosed(WideToUtf8(reason));
}
