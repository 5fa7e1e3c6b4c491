// The numbered event history and the listeners' queues.
#include "service/EventHistory.h"

#include <algorithm>

EventHistory::EventHistory(size_t kept, size_t queuedPerListener, size_t maxListeners)
    : kept_(kept), queuedPerListener_(queuedPerListener), maxListeners_(maxListeners) {}

EventHistory::~EventHistory() { Shutdown(); }

uint64_t EventHistory::Append(const std::string& name, const std::string& data) {
    std::lock_guard<std::mutex> lock(mutex_);
    ServiceEvent event{++lastId_, name, data};
    events_.push_back(event);
    while (events_.size() > kept_) events_.pop_front();
    for (EventSubscription* listener : listeners_) {
        if (listener->ended_) continue;
        if (listener->queue_.size() >= listener->capacity_) {
            // A page that does not read is cut off rather than buffered for;
            // it resumes from the history with the last number it saw.
            listener->ended_ = true;
            listener->queue_.clear();
        } else {
            listener->queue_.push_back(event);
        }
    }
    changed_.notify_all();
    return event.Id;
}

std::unique_ptr<EventSubscription> EventHistory::Subscribe(uint64_t lastSeen) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (shutDown_ || listeners_.size() >= maxListeners_) return nullptr;
    std::unique_ptr<EventSubscription> subscription(new EventSubscription(*this, queuedPerListener_));
    // A number from the future (another run of the service) resumes nothing.
    // The backlog is not cut to the queue's bound: the history is bounded
    // already, and a resuming page must get all of it.
    if (lastSeen <= lastId_) {
        for (const ServiceEvent& event : events_)
            if (event.Id > lastSeen) subscription->queue_.push_back(event);
    }
    listeners_.push_back(subscription.get());
    return subscription;
}

void EventHistory::Shutdown() {
    std::lock_guard<std::mutex> lock(mutex_);
    shutDown_ = true;
    for (EventSubscription* listener : listeners_) listener->ended_ = true;
    changed_.notify_all();
}

size_t EventHistory::Listeners() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return listeners_.size();
}

uint64_t EventHistory::LastId() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastId_;
}

void EventHistory::Unsubscribe(EventSubscription* subscription) {
    std::lock_guard<std::mutex> lock(mutex_);
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), subscription), listeners_.end());
}

EventSubscription::Wait EventSubscription::Next(std::chrono::milliseconds timeout, ServiceEvent& event) {
    std::unique_lock<std::mutex> lock(history_.mutex_);
    history_.changed_.wait_for(lock, timeout, [this] { return ended_ || !queue_.empty(); });
    if (!queue_.empty()) {
        event = queue_.front();
        queue_.pop_front();
        return Wait::Event;
    }
    return ended_ ? Wait::Ended : Wait::TimedOut;
}

EventSubscription::~EventSubscription() { history_.Unsubscribe(this); }
