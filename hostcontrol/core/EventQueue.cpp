#include "EventQueue.h"

#include <utility>

namespace kv90host {

void EventQueue::push(EventRecord record) {
    if (records_.size() >= capacity_) {
        records_.pop_front();
        ++dropped_;
    }
    records_.push_back(std::move(record));
}

bool EventQueue::pop(EventRecord& record) {
    if (records_.empty()) return false;
    record = std::move(records_.front());
    records_.pop_front();
    return true;
}

void EventQueue::clear() {
    records_.clear();
    dropped_ = 0;
}

}  // namespace kv90host
