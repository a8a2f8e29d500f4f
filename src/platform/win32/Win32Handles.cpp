// Handles and GDI helpers of the Win32 backend: the releasing calls of the owning wrapper, the selection
// and saved-state guards, and the DIB section.
#include "platform/win32/Win32Handles.h"

#include <windows.h>

#include <algorithm>

namespace platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide-character API must take UTF-16 code units");

bool CloseKernelHandle(void* handle) {
    return CloseHandle(handle) != 0;
}
bool CloseSearchHandle(void* handle) {
    return FindClose(handle) != 0;
}
bool DeleteGdiObject(void* object) {
    return DeleteObject(static_cast<HGDIOBJ>(object)) != 0;
}
bool DeleteMemoryDc(HDC dc) {
    return DeleteDC(dc) != 0;
}
bool DestroyWindowHandle(HWND hwnd) {
    return DestroyWindow(hwnd) != 0;
}
bool DestroyIconHandle(HICON icon) {
    return DestroyIcon(icon) != 0;
}

MemoryDc MakeMemoryDc() {
    return MemoryDc(CreateCompatibleDC(nullptr));
}

Selection::Selection(HDC dc, void* object) : dc_(dc), old_(nullptr) {
    if (dc != nullptr && object != nullptr) {
        HGDIOBJ old = SelectObject(dc, static_cast<HGDIOBJ>(object));
        old_ = old != HGDI_ERROR ? old : nullptr;
    }
}

Selection::~Selection() {
    if (old_ != nullptr) {
        SelectObject(dc_, static_cast<HGDIOBJ>(old_));
    }
}

SavedDc::SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}

SavedDc::~SavedDc() {
    if (saved_ != 0) {
        RestoreDC(dc_, saved_);
    }
}

void FillBitmapInfo(void* info, int width, int height) {
    auto* header = static_cast<BITMAPINFOHEADER*>(info);
    *header = BITMAPINFOHEADER{};
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = -height; // top-down rows
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
}

namespace {

HBITMAP MakeDib(int width, int height, std::uint32_t*& bits) {
    BITMAPINFO info{};
    FillBitmapInfo(&info, width, height);
    void* memory = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    bits = bitmap != nullptr ? static_cast<std::uint32_t*>(memory) : nullptr;
    return bitmap;
}

} // namespace

DibSection::DibSection(int width, int height)
    : width_(std::max(1, width)), height_(std::max(1, height)), dc_(MakeMemoryDc()),
      bitmap_(MakeDib(width_, height_, bits_)), selection_(dc_.Get(), bitmap_.Get()) {}

} // namespace platform
