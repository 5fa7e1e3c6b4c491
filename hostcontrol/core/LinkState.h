// Where the host's side of the link stands, and which steps each state allows.
// Pure bookkeeping, so that the rules are tested without a station.
#pragma once

namespace kv90host {

enum class LinkState {
    Stopped,   // no station held; open() may start or adopt one
    Starting,  // the station was started and its READY is awaited
    Ready,     // the station's window is known: persons may be named
    Closing,   // the close was ordered or announced; the station's end is awaited
};

// "stopped", "starting", "ready", "closing".
const wchar_t* linkStateName(LinkState state);

// Why the station went: it announced its close (CLOSE) before its process
// ended, or its process ended without a word (killed, or a fault no handler saw).
enum class EndReason { Closed, Ended };

// "closed" or "ended".
const wchar_t* endReasonName(EndReason reason);

class LinkStateMachine {
public:
    LinkState state() const { return state_; }

    // Stopped -> Starting. False in any other state.
    bool beginOpen();
    // Starting -> Ready; true when the host should announce Ready. A READY in
    // any other state (a repeated one, or one after the close) changes nothing.
    bool readyArrived();
    // Starting -> Stopped: the open failed; no Closed follows.
    void openFailed();
    // Starting or Ready -> Closing. False when stopped; true and no change when
    // already closing.
    bool beginClose();
    // The station's CLOSE: Starting or Ready -> Closing, and the end that follows
    // counts as a close. Ignored when stopped.
    void closeNotified();
    // The station's process ended (or, when it cannot be watched, its CLOSE
    // came): any state but Stopped -> Stopped. True exactly once per station,
    // with the reason to announce.
    bool ended(EndReason& reason);
    // Persons may be named and the close ordered only with a known window.
    bool ready() const { return state_ == LinkState::Ready; }

private:
    LinkState state_ = LinkState::Stopped;
    bool closeSeen_ = false;
};

}  // namespace kv90host
