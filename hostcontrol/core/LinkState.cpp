#include "LinkState.h"

namespace kv90host {

const wchar_t* linkStateName(LinkState state) {
    switch (state) {
    case LinkState::Stopped:
        return L"stopped";
    case LinkState::Starting:
        return L"starting";
    case LinkState::Ready:
        return L"ready";
    case LinkState::Closing:
        return L"closing";
    }
    return L"stopped";
}

const wchar_t* endReasonName(EndReason reason) { return reason == EndReason::Closed ? L"closed" : L"ended"; }

bool LinkStateMachine::beginOpen() {
    if (state_ != LinkState::Stopped) return false;
    state_ = LinkState::Starting;
    closeSeen_ = false;
    return true;
}

bool LinkStateMachine::readyArrived() {
    if (state_ != LinkState::Starting) return false;
    state_ = LinkState::Ready;
    return true;
}

void LinkStateMachine::openFailed() {
    if (state_ == LinkState::Starting) state_ = LinkState::Stopped;
}

bool LinkStateMachine::beginClose() {
    if (state_ == LinkState::Stopped) return false;
    state_ = LinkState::Closing;
    return true;
}

void LinkStateMachine::closeNotified() {
    if (state_ == LinkState::Stopped) return;
    state_ = LinkState::Closing;
    closeSeen_ = true;
}

bool LinkStateMachine::ended(EndReason& reason) {
    if (state_ == LinkState::Stopped) return false;
    state_ = LinkState::Stopped;
    reason = closeSeen_ ? EndReason::Closed : EndReason::Ended;
    closeSeen_ = false;
    return true;
}

}  // namespace kv90host
