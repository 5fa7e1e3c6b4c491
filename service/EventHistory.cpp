// The numbered event history and the listeners' queues.
#include "service/EventHistory.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

// Wakers run outside the history's lock: a waker may take locks of its own.
void Wake(const std::vector<std::function<void()>>& wakers) {
    for (const auto& waker : wakers)
        if (waker) waker();
}

}  // namespace

EventHistory::EventHistory(size_t kept, size_t queuedPerListener, size_t maxListeners, std::string run)
    : kept_(kept), queuedPerListener_(queuedPerListener), maxListeners_(maxListeners), run_(std::move(run)) {}

EventHistory::~EventHistory() { Shutdown(); }

void EventHistory::End(EventSubscription& listener) {
    listener.ended_ = true;
    listener.queue_.clear();
}

std::string EventHistory::Append(const std::string& name, const std::string& data) {
    std::vector<std::function<void()>> wakers;
    ServiceEvent event;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++lastNumber_;
        event = ServiceEvent{run_ + "-" + std::to_string(lastNumber_), name, data};
        events_.push_back(Kept{lastNumber_, event});
        while (events_.size() > kept_) events_.pop_front();
        for (EventSubscription* listener : listeners_) {
            if (listener->ended_) continue;
            if (listener->queue_.size() >= listener->capacity_) {
                // A page that does not read is cut off rather than buffered for;
                // it resumes from the history with the last number it saw.
                End(*listener);
            } else {
                listener->queue_.push_back(event);
            }
            wakers.push_back(listener->waker_);
        }
    }
    Wake(wakers);
    return event.Id;
}

uint64_t EventHistory::ResumeAfter(const std::string& lastEventId) const {
    const std::string prefix = run_ + "-";
    if (lastEventId.size() <= prefix.size() || lastEventId.size() > prefix.size() + 19 ||
        lastEventId.compare(0, prefix.size(), prefix) != 0)
        return 0;
    uint64_t number = 0;
    for (size_t at = prefix.size(); at < lastEventId.size(); ++at) {
        const char c = lastEventId[at];
        if (c < '0' || c > '9') return 0;
        number = number * 10 + static_cast<uint64_t>(c - '0');
    }
    return number <= lastNumber_ ? number : 0;
}

std::shared_ptr<EventSubscription> EventHistory::Subscribe(const std::string& lastEventId) {
    std::function<void()> displaced;
    std::shared_ptr<EventSubscription> subscription;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (shutDown_) return nullptr;
        if (listeners_.size() >= maxListeners_ && !listeners_.empty()) {
            EventSubscription* oldest = listeners_.front();
            End(*oldest);
            displaced = oldest->waker_;
            listeners_.erase(listeners_.begin());
        }
        // The backlog is not cut to the queue's bound: the history is bounded
        // already, and a resuming page must get all of it. The bound counts
        // only what comes after it, or a page resuming a full history would be
        // cut off by the next event before it had read a single one.
        const uint64_t after = ResumeAfter(lastEventId);
        std::deque<ServiceEvent> backlog;
        for (const Kept& kept : events_)
            if (kept.Number > after) backlog.push_back(kept.Event);
        subscription.reset(new EventSubscription(*this, backlog.size() + queuedPerListener_));
        subscription->queue_ = std::move(backlog);
        listeners_.push_back(subscription.get());
    }
    if (displaced) displaced();
    return subscription;
}

void EventHistory::Shutdown() {
    std::vector<std::function<void()>> wakers;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        shutDown_ = true;
        for (EventSubscription* listener : listeners_) {
            End(*listener);
            wakers.push_back(listener->waker_);
        }
    }
    Wake(wakers);
}

size_t EventHistory::Listeners() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return listeners_.size();
}

void EventHistory::Unsubscribe(EventSubscription* subscription) {
    std::lock_guard<std::mutex> lock(mutex_);
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), subscription), listeners_.end());
}

EventSubscription::Take EventSubscription::Next(ServiceEvent& event) {
    std::lock_guard<std::mutex> lock(history_.mutex_);
    if (!queue_.empty()) {
        event = std::move(queue_.front());
        queue_.pop_front();
        return Take::Event;
    }
    return ended_ ? Take::Ended : Take::Empty;
}

void EventSubscription::SetWaker(std::function<void()> waker) {
    std::lock_guard<std::mutex> lock(history_.mutex_);
    waker_ = std::move(waker);
}

EventSubscription::~EventSubscription() { history_.Unsubscribe(this); }

std::string NewRunTag() {
    // The start time to the 100 ns and the process id: two runs never share both.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    char tag[32];
    std::snprintf(tag, sizeof tag, "%llx%04lx", ticks, static_cast<unsigned long>(GetCurrentProcessId() & 0xFFFF));
    return tag;
}
