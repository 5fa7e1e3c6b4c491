// The station's events as the pages see them: numbered from 1, the last ones
// kept so that a page that reloads during a capture resumes from the number
// it saw last (Last-Event-ID) and misses no finger, and one bounded queue per
// listening page so that a page that stops reading cannot make the service
// grow: its queue overflows, its stream ends, and it resumes from the history
// when it reconnects.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct ServiceEvent {
    uint64_t Id = 0;
    std::string Name;
    std::string Data;  // JSON text
};

class EventHistory;

// One listener's queue. Taken events leave it; the history keeps its own copy.
class EventSubscription {
public:
    enum class Wait { Event, TimedOut, Ended };

    // The next event, waiting at most `timeout`. Ended once the queue
    // overflowed or the history was shut down.
    Wait Next(std::chrono::milliseconds timeout, ServiceEvent& event);

    ~EventSubscription();
    EventSubscription(const EventSubscription&) = delete;
    EventSubscription& operator=(const EventSubscription&) = delete;

private:
    friend class EventHistory;
    EventSubscription(EventHistory& history, size_t capacity) : history_(history), capacity_(capacity) {}

    EventHistory& history_;
    const size_t capacity_;
    std::deque<ServiceEvent> queue_;  // guarded by the history's mutex
    bool ended_ = false;
};

class EventHistory {
public:
    EventHistory(size_t kept, size_t queuedPerListener, size_t maxListeners);
    ~EventHistory();
    EventHistory(const EventHistory&) = delete;
    EventHistory& operator=(const EventHistory&) = delete;

    // Numbers the event, keeps it and queues it for every listener; returns its number.
    uint64_t Append(const std::string& name, const std::string& data);

    // A new listener whose queue starts with the kept events after
    // `lastSeen` (0: none of the past). Null when maxListeners listen already.
    std::unique_ptr<EventSubscription> Subscribe(uint64_t lastSeen);

    // Ends every listener's stream (the service is stopping).
    void Shutdown();

    size_t Listeners() const;
    uint64_t LastId() const;

private:
    friend class EventSubscription;
    void Unsubscribe(EventSubscription* subscription);

    const size_t kept_;
    const size_t queuedPerListener_;
    const size_t maxListeners_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<ServiceEvent> events_;
    std::vector<EventSubscription*> listeners_;
    uint64_t lastId_ = 0;
    bool shutDown_ = false;
};
