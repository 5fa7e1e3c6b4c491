// Owners for the kernel objects the simulator holds, so that every path out of a
// function gives them back.
#pragma once
#include <windows.h>

namespace hostsim {

// A kernel handle; both 0 and INVALID_HANDLE_VALUE count as "none".
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) reset(other.release());
        return *this;
    }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return valid(); }
    HANDLE release()
    {
        HANDLE h = handle_;
        handle_ = nullptr;
        return h;
    }
    void reset(HANDLE handle = nullptr)
    {
        if (valid()) CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;
};

// A view of a file mapping.
class MappedView {
public:
    MappedView() = default;
    explicit MappedView(void* address) : address_(address) {}
    ~MappedView() { reset(); }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;
    MappedView(MappedView&& other) noexcept : address_(other.address_) { other.address_ = nullptr; }
    MappedView& operator=(MappedView&& other) noexcept
    {
        if (this != &other) {
            reset();
            address_ = other.address_;
            other.address_ = nullptr;
        }
        return *this;
    }

    void* get() const { return address_; }
    explicit operator bool() const { return address_ != nullptr; }
    void reset()
    {
        if (address_) UnmapViewOfFile(address_);
        address_ = nullptr;
    }

private:
    void* address_ = nullptr;
};

// A GDI object (the window's font).
class UniqueGdiObject {
public:
    UniqueGdiObject() = default;
    explicit UniqueGdiObject(HGDIOBJ object) : object_(object) {}
    ~UniqueGdiObject() { reset(); }
    UniqueGdiObject(const UniqueGdiObject&) = delete;
    UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;

    HGDIOBJ get() const { return object_; }
    void reset(HGDIOBJ object = nullptr)
    {
        if (object_) DeleteObject(object_);
        object_ = object;
    }

private:
    HGDIOBJ object_ = nullptr;
};

} // namespace hostsim
