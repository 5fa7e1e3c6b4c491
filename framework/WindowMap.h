// Which object of the program stands behind which window. It is asked on
// every message, so it is kept in the process: a window property is looked up
// through the system's server on every call (about 60 us a call under Wine).
#pragma once

#include <windows.h>

#include <mutex>
#include <unordered_map>

template <typename T>
class WindowMap {
public:
    void Add(HWND wnd, T* object) {
        std::lock_guard<std::mutex> lock(mutex_);
        objects_[wnd] = object;
    }
    // Only while the window is still this object's: a handle the system has
    // since given to another window may already belong to another object.
    void Remove(HWND wnd, const T* object) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = objects_.find(wnd);
        if (found != objects_.end() && found->second == object) objects_.erase(found);
    }
    T* Find(HWND wnd) const {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = objects_.find(wnd);
        return found == objects_.end() ? nullptr : found->second;
    }

    // One map per kind of object, never destroyed, so that windows that
    // outlive static destruction still find it.
    static WindowMap& Instance() {
        static WindowMap* map = new WindowMap;
        return *map;
    }

private:
    mutable std::mutex mutex_;
    std::unordered_map<HWND, T*> objects_;
};
