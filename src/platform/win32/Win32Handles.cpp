// Handles and GDI helpers of the Win32 backend: the releasing calls of the owning wrapper, the selection,
// saved-state, window DC, paint and COM apartment guards, and the DIB section.
#include "platform/win32/Win32Handles.h"

#include "platform/win32/Win32Libraries.h"

#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <new>

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

WindowDc::WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}

WindowDc::~WindowDc() {
    if (dc_ != nullptr) {
        ReleaseDC(hwnd_, dc_);
    }
}

PaintDc::PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(nullptr) {
    static_assert(sizeof(PAINTSTRUCT) <= sizeof(paint_) && alignof(PAINTSTRUCT) <= 8);
    auto* paint = new (paint_) PAINTSTRUCT{};
    dc_ = BeginPaint(hwnd, paint);
    if (dc_ != nullptr) {
        left_ = paint->rcPaint.left;
        top_ = paint->rcPaint.top;
        right_ = paint->rcPaint.right;
        bottom_ = paint->rcPaint.bottom;
    }
}

PaintDc::~PaintDc() {
    if (dc_ != nullptr) {
        EndPaint(hwnd_, reinterpret_cast<const PAINTSTRUCT*>(paint_));
    }
}

ComApartment::ComApartment(SystemLibrary& ole32) {
    // Single-threaded, as the window's thread must be for the shell, the common dialogs and readers; no
    // OLE 1 dynamic data exchange, which the launcher never uses.
    if (const auto initialise = ole32.Find<HRESULT WINAPI(void*, DWORD)>("CoInitializeEx")) {
        ole32_ = SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) ? &ole32 : nullptr;
    }
}

ComApartment::~ComApartment() {
    if (ole32_ != nullptr) {
        if (const auto uninitialise = ole32_->Find<void WINAPI()>("CoUninitialize")) {
            uninitialise();
        }
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
