// Owners for the few kernel objects the host's side of the link holds. The core
// builds for 32 and 64 bits and stands apart from the station's own toolkit, so
// it carries its own.
#pragma once
#include <windows.h>

#include <utility>

namespace kv90host {

// A handle closed with CloseHandle (mappings, processes, threads).
class KernelHandle {
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE h) : handle_(h) {}
    ~KernelHandle() { reset(); }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    KernelHandle(KernelHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    KernelHandle& operator=(KernelHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return valid(); }
    void reset(HANDLE h = nullptr) {
        if (valid()) CloseHandle(handle_);
        handle_ = h;
    }

private:
    HANDLE handle_ = nullptr;
};

// A view of a file mapping, unmapped with UnmapViewOfFile.
class MappedView {
public:
    MappedView() = default;
    explicit MappedView(void* address) : address_(address) {}
    ~MappedView() { reset(); }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;
    MappedView(MappedView&& other) noexcept : address_(std::exchange(other.address_, nullptr)) {}
    MappedView& operator=(MappedView&& other) noexcept {
        if (this != &other) reset(std::exchange(other.address_, nullptr));
        return *this;
    }

    void* get() const { return address_; }
    explicit operator bool() const { return address_ != nullptr; }
    void reset(void* address = nullptr) {
        if (address_) UnmapViewOfFile(address_);
        address_ = address;
    }

private:
    void* address_ = nullptr;
};

}  // namespace kv90host
