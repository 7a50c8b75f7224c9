#pragma once
// Owns one COM interface reference; no ATL with MinGW.

#include <windows.h>

#include <utility>

namespace quillet::installer::win32 {

template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        Reset();
        p_ = std::exchange(other.p_, nullptr);
        return *this;
    }
    ~ComPtr() { Reset(); }

    void Reset() {
        if (p_)
            p_->Release();
        p_ = nullptr;
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For functions that hand out a new reference.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

private:
    T* p_ = nullptr;
};

} // namespace quillet::installer::win32
