// Small owners for what a paint creates, so that every step releases it on every path and in the
// reverse order of creation.
#pragma once

#include <windows.h>

#include <utility>

// A pen, brush, font or bitmap, deleted with the guard.
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    GdiObject(GdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Delete();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    ~GdiObject() { Delete(); }

    HGDIOBJ Get() const { return object_; }

private:
    void Delete() {
        if (object_) DeleteObject(object_);
    }
    HGDIOBJ object_ = nullptr;
};

// Selects an object into a device context and puts the one it replaced back.
class SelectedObject {
public:
    SelectedObject() = default;
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(SelectedObject&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
    SelectedObject& operator=(SelectedObject&& other) noexcept {
        if (this != &other) {
            Restore();
            dc_ = std::exchange(other.dc_, nullptr);
            previous_ = std::exchange(other.previous_, nullptr);
        }
        return *this;
    }
    ~SelectedObject() { Restore(); }

private:
    void Restore() {
        if (dc_) SelectObject(dc_, previous_);
    }
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// The device context of a window (GetDC), handed back with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() { ReleaseDC(window_, dc_); }

    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context compatible with another one, deleted with DeleteDC.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() { DeleteDC(dc_); }

    HDC Get() const { return dc_; }

private:
    HDC dc_;
};
