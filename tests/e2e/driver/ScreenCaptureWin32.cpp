#include "tests/e2e/driver/ScreenCaptureWin32.h"

#include <windows.h>

#include "tests/e2e/driver/PngWriter.h"
#include "tests/e2e/driver/StepFailure.h"

namespace {

class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {
        if (!dc_) throw StepFailure("cannot get the screen's device context");
    }
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~MemoryDc() { DeleteDC(dc_); }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a context and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    ~GdiObject() { DeleteObject(object_); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ Get() const { return object_; }

private:
    HGDIOBJ object_;
};

}  // namespace

Rgb ScreenImage::At(int x, int y) const {
    const std::uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
}

Rgb ScreenPixel(int x, int y) {
    ScreenDc screen;
    COLORREF color = GetPixel(screen.Get(), x, y);
    if (color == CLR_INVALID) {
        throw StepFailure("no pixel at (" + std::to_string(x) + ", " + std::to_string(y) + ") of the screen");
    }
    return {GetRValue(color), GetGValue(color), GetBValue(color)};
}

ScreenImage CaptureScreen() {
    ScreenImage image;
    image.width = GetSystemMetrics(SM_CXSCREEN);
    image.height = GetSystemMetrics(SM_CYSCREEN);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // negative: rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    ScreenDc screen;
    MemoryDc memory(screen.Get());
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap.Get() || !bits) throw StepFailure("cannot create a bitmap of the screen's size");
    {
        SelectedObject selected(memory.Get(), bitmap.Get());
        if (!BitBlt(memory.Get(), 0, 0, image.width, image.height, screen.Get(), 0, 0, SRCCOPY)) {
            throw StepFailure("cannot copy the screen");
        }
    }
    GdiFlush();

    // A 32-bit DIB holds blue, green, red and one unused byte per pixel.
    const auto* source = static_cast<const std::uint8_t*>(bits);
    const size_t pixels = static_cast<size_t>(image.width) * image.height;
    image.rgb.resize(pixels * 3);
    for (size_t i = 0; i < pixels; ++i) {
        image.rgb[i * 3] = source[i * 4 + 2];
        image.rgb[i * 3 + 1] = source[i * 4 + 1];
        image.rgb[i * 3 + 2] = source[i * 4];
    }
    return image;
}

void SaveScreenshot(const std::string& path) {
    ScreenImage image = CaptureScreen();
    std::vector<std::uint8_t> png = EncodePng(image.width, image.height, image.rgb);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw StepFailure("cannot create " + path + ": error " + std::to_string(GetLastError()));
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != png.size()) throw StepFailure("cannot write " + path);
}
