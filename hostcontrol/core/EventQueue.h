// The link's events as records, for hosts that poll instead of taking calls
// (script hosts, test tools). Bounded, so that nothing grows unattended: when
// full, the oldest record goes and the loss is counted.
#pragma once
#include <windows.h>

#include <cstddef>
#include <deque>
#include <string>

namespace kv90host {

struct EventRecord {
    std::wstring name;  // "Ready", "Collected" or "Closed"
    int slot = -1;      // Collected
    std::wstring slotFile;
    std::wstring personSlotFile;
    std::wstring reason;  // Closed
    DWORD exitCode = 0;   // Closed
};

class EventQueue {
public:
    explicit EventQueue(size_t capacity) : capacity_(capacity ? capacity : 1) {}

    void push(EventRecord record);
    // The oldest record, if any.
    bool pop(EventRecord& record);
    void clear();
    size_t size() const { return records_.size(); }
    size_t capacity() const { return capacity_; }
    // Records dropped because the queue was full, since the last clear().
    size_t dropped() const { return dropped_; }

private:
    size_t capacity_;
    std::deque<EventRecord> records_;
    size_t dropped_ = 0;
};

}  // namespace kv90host
