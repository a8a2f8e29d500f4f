// Handles and GDI helpers of the Win32 backend, shared by every file of it: one owning, move-only wrapper
// for every kind of handle (kernel objects, files and searches, GDI objects, memory DCs, windows, icons),
// the guards that select a GDI object into a DC or save a DC's state and put it back, that hold a window's
// DC or its paint, or keep the thread in a COM apartment, the 32-bit DIB section that paint bands and icons
// are drawn in, and text for the wide-character API.
// <windows.h> stays in the .cpp file; the handle types are declared here by their tag names.
#pragma once

#include "platform/Picture.h"
#include "platform/Text.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

struct HWND__;
struct HDC__;
struct HICON__;
struct HBITMAP__;
struct HFONT__;
struct HBRUSH__;

namespace platform {

class SystemLibrary;

// Text is handed to the wide API by copying code unit for code unit, which needs a 16-bit wchar_t (as on
// Windows).
inline std::wstring Wide(TextView text) {
    return std::wstring(text.begin(), text.end());
}
inline Text FromWide(std::wstring_view text) {
    return Text(text.begin(), text.end());
}
// Whether the text holds a NUL character, which the wide API would read as the end of a shorter text.
inline bool HasNul(TextView text) {
    return text.find(u'\0') != TextView::npos;
}

// A colour as GDI takes it (COLORREF: 0x00BBGGRR).
inline std::uint32_t ColourRef(Rgb colour) {
    return std::uint32_t{colour.r} | (std::uint32_t{colour.g} << 8) | (std::uint32_t{colour.b} << 16);
}

// Owns one handle, released by `Traits::Release` when the owner goes; move-only. `Traits::Empty()` is the
// value that owns nothing (a failed call's result).
template <class Traits>
class Unique {
public:
    using Handle = typename Traits::Handle;

    Unique() = default;
    explicit Unique(Handle handle) : handle_(handle) {}
    ~Unique() { static_cast<void>(Close()); }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Empty())) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) {
            static_cast<void>(Close());
            handle_ = std::exchange(other.handle_, Traits::Empty());
        }
        return *this;
    }

    bool Valid() const { return handle_ != Traits::Empty(); }
    Handle Get() const { return handle_; }
    // Gives the handle up without releasing it: for a window that the system has destroyed already (a
    // child goes with its parent).
    Handle Release() { return std::exchange(handle_, Traits::Empty()); }

    // Releases the handle now. False when that failed, which after writing a file can mean that the data
    // never reached the disk.
    [[nodiscard]] bool Close() {
        if (!Valid()) {
            return true;
        }
        return Traits::Release(std::exchange(handle_, Traits::Empty()));
    }

private:
    Handle handle_ = Traits::Empty();
};

// The releasing calls, each defined beside <windows.h>.
bool CloseKernelHandle(void* handle);
bool CloseSearchHandle(void* handle);
bool DeleteGdiObject(void* object);
bool DeleteMemoryDc(HDC__* dc);
bool DestroyWindowHandle(HWND__* hwnd);
bool DestroyIconHandle(HICON__* icon);

// The value CreateFileW and FindFirstFileExW give on failure (INVALID_HANDLE_VALUE).
inline void* InvalidHandleValue() {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
}

// What Unique needs of a kind of handle: its type, the call that releases it, and whether a failed call
// gives INVALID_HANDLE_VALUE (files and searches) rather than NULL (everything else).
template <class HandleType, auto Free, bool kInvalidIsEmpty = false>
struct HandleTraits {
    using Handle = HandleType;
    static Handle Empty() {
        if constexpr (kInvalidIsEmpty) {
            return InvalidHandleValue();
        } else {
            return nullptr;
        }
    }
    static bool Release(Handle h) { return Free(h); }
};

using KernelHandle = Unique<HandleTraits<void*, CloseKernelHandle>>; // a mutex, a process, a thread
using FileHandle = Unique<HandleTraits<void*, CloseKernelHandle, true>>;
using SearchHandle = Unique<HandleTraits<void*, CloseSearchHandle, true>>; // FindFirstFileExW
using FontHandle = Unique<HandleTraits<HFONT__*, DeleteGdiObject>>;
using BrushHandle = Unique<HandleTraits<HBRUSH__*, DeleteGdiObject>>;
using BitmapHandle = Unique<HandleTraits<HBITMAP__*, DeleteGdiObject>>;
using MemoryDc = Unique<HandleTraits<HDC__*, DeleteMemoryDc>>;
using WindowHandle = Unique<HandleTraits<HWND__*, DestroyWindowHandle>>;
using IconHandle = Unique<HandleTraits<HICON__*, DestroyIconHandle>>;

// A memory DC compatible with the screen.
MemoryDc MakeMemoryDc();

// The base of a guard that stays where it was made: a copy would undo its work twice.
class Pinned {
public:
    Pinned(const Pinned&) = delete;
    Pinned& operator=(const Pinned&) = delete;

protected:
    Pinned() = default;
    ~Pinned() = default;
};

// Selects a GDI object into a DC and puts the old one back when it goes.
class Selection : Pinned {
public:
    Selection(HDC__* dc, void* object);
    ~Selection();
    // Whether the object was selected.
    bool Selected() const { return old_ != nullptr; }

private:
    HDC__* dc_;
    void* old_;
};

// Saves the DC's state (clip region, colours, modes) and restores it when it goes.
class SavedDc : Pinned {
public:
    explicit SavedDc(HDC__* dc);
    ~SavedDc();

private:
    HDC__* dc_;
    int saved_;
};

// A window's DC (GetDC; the screen's for no window), released (ReleaseDC) when it goes.
class WindowDc : Pinned {
public:
    explicit WindowDc(HWND__* hwnd);
    ~WindowDc();
    // Nothing when the system refused.
    HDC__* Get() const { return dc_; }

private:
    HWND__* hwnd_;
    HDC__* dc_;
};

// The paint of a window's WM_PAINT: BeginPaint when made, EndPaint when it goes, which marks the window
// painted whatever was drawn.
class PaintDc : Pinned {
public:
    explicit PaintDc(HWND__* hwnd);
    ~PaintDc();
    // Nothing when the system refused.
    HDC__* Get() const { return dc_; }
    // The rectangle that needs painting, client device pixels, right and bottom exclusive.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Right() const { return right_; }
    int Bottom() const { return bottom_; }

private:
    HWND__* hwnd_;
    alignas(8) unsigned char paint_[72]; // the PAINTSTRUCT, which <windows.h> declares
    HDC__* dc_;
    int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
};

// This thread in a single-threaded COM apartment: joined (CoInitializeEx) when made, left (CoUninitialize)
// when it goes, if joining succeeded. COM is called through `ole32`, loaded at the first join, which must
// outlive the guard.
class ComApartment : Pinned {
public:
    explicit ComApartment(SystemLibrary& ole32);
    ~ComApartment();

private:
    SystemLibrary* ole32_ = nullptr; // set while joined
};

// A width x height top-down 32-bit drawing surface (a DIB section, rows as platform::Bitmap holds them)
// selected into a memory DC of its own. GDI draws into it through Dc(); Bits() are its pixels, 0x00RRGGBB
// (GDI leaves the fourth byte alone).
class DibSection : Pinned {
public:
    DibSection(int width, int height);

    // False when GDI refused any part; then nothing may be drawn.
    bool Valid() const { return bits_ != nullptr && selection_.Selected(); }
    HDC__* Dc() const { return dc_.Get(); }
    std::uint32_t* Bits() const { return bits_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_, height_;
    MemoryDc dc_;
    std::uint32_t* bits_ = nullptr;
    BitmapHandle bitmap_; // declared before the selection: deselected first, then deleted
    Selection selection_;
};

// The BITMAPINFO header of a top-down 32-bit picture, as StretchDIBits and CreateDIBSection take it; the
// caller's buffer must be at least as big as that structure.
void FillBitmapInfo(void* info, int width, int height);

} // namespace platform
