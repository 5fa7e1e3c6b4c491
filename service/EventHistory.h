// The station's events as the pages see them: numbered within a run of the
// service, the run's tag in front of each number so that a page holding a
// number from an earlier run is recognised and sent the whole history, the
// last ones kept so that a page that reloads during a capture resumes from
// the number it saw last (Last-Event-ID) and misses no finger, and one bounded
// queue per listening page so that a page that stops reading cannot make the
// service grow: its queue overflows, its stream ends, and it resumes from the
// history when it reconnects.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct ServiceEvent {
    std::string Id;  // "<run>-<number>", as the page sends it back
    std::string Name;
    std::string Data;  // JSON text
};

class EventHistory;

// One listener's queue. Taken events leave it; the history keeps its own copy.
class EventSubscription {
public:
    enum class Take { Event, Empty, Ended };

    // The next queued event, without waiting. Ended once the queue overflowed,
    // a newer listener took this one's place, or the history was shut down.
    Take Next(ServiceEvent& event);

    // Called, on the appending thread, whenever an event was queued for this
    // listener or it ended: the stream's writer is waiting for exactly that.
    void SetWaker(std::function<void()> waker);

    ~EventSubscription();
    EventSubscription(const EventSubscription&) = delete;
    EventSubscription& operator=(const EventSubscription&) = delete;

private:
    friend class EventHistory;
    EventSubscription(EventHistory& history, size_t capacity) : history_(history), capacity_(capacity) {}

    EventHistory& history_;
    const size_t capacity_;
    // Guarded by the history's mutex.
    std::deque<ServiceEvent> queue_;
    bool ended_ = false;
    std::function<void()> waker_;
};

class EventHistory {
public:
    // run: this run's tag, different in every run of the service.
    EventHistory(size_t kept, size_t queuedPerListener, size_t maxListeners, std::string run);
    ~EventHistory();
    EventHistory(const EventHistory&) = delete;
    EventHistory& operator=(const EventHistory&) = delete;

    // Numbers the event, keeps it and queues it for every listener; returns its id.
    std::string Append(const std::string& name, const std::string& data);

    // A new listener whose queue starts with the kept events after the one
    // named by `lastEventId`; with every kept event for "" (a page just
    // loaded) and for an id this run never gave (an earlier run's, or not an
    // id at all), so that a page never misses a finger of this run. With
    // maxListeners listening already, the oldest listener ends to make room:
    // a page always gets its stream, and the one it displaced (most likely
    // a page that is gone) reconnects and resumes. Null once shut down.
    std::shared_ptr<EventSubscription> Subscribe(const std::string& lastEventId);

    // Ends every listener's stream (the service is stopping).
    void Shutdown();

    size_t Listeners() const;

private:
    friend class EventSubscription;
    void Unsubscribe(EventSubscription* subscription);
    // The number after which a resuming listener starts; 0 for all that is kept.
    uint64_t ResumeAfter(const std::string& lastEventId) const;
    static void End(EventSubscription& listener);

    const size_t kept_;
    const size_t queuedPerListener_;
    const size_t maxListeners_;
    const std::string run_;
    mutable std::mutex mutex_;
    struct Kept {
        uint64_t Number;
        ServiceEvent Event;
    };
    std::deque<Kept> events_;
    std::vector<EventSubscription*> listeners_;  // oldest first
    uint64_t lastNumber_ = 0;
    bool shutDown_ = false;
};

// A tag for this run of the service: unlike any earlier run's on this machine.
std::string NewRunTag();
