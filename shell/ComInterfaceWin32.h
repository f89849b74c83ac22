// Owns one COM interface pointer and releases it at the end of its scope.
#pragma once

#include <objbase.h>

template <class Interface>
class ComInterface {
public:
    ComInterface() = default;
    ~ComInterface() { Reset(); }
    ComInterface(const ComInterface&) = delete;
    ComInterface& operator=(const ComInterface&) = delete;

    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For calls that hand out a new interface.
    void** Receive() {
        Reset();
        return reinterpret_cast<void**>(&pointer_);
    }
    void Reset() {
        if (pointer_) pointer_->Release();
        pointer_ = nullptr;
    }

private:
    Interface* pointer_ = nullptr;
};

// CoInitialize for the scope of one operation.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};
