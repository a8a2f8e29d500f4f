// Handles and GDI helpers of the Win32 backend, shared by every file of it: one owning, move-only wrapper
// for every kind of handle (kernel objects, files and searches, GDI objects, memory DCs, windows, icons),
// the guards that select a GDI object into a DC or save a DC's state and put it back, the 32-bit DIB
// section that paint bands and icons are drawn in, and text for the wide-character API.
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

// A kernel object that reports failure as NULL: a mutex, a process, a thread.
struct KernelTraits {
    using Handle = void*;
    static Handle Empty() { return nullptr; }
    static bool Release(Handle h) { return CloseKernelHandle(h); }
};
// A file, which reports failure as INVALID_HANDLE_VALUE.
struct FileTraits {
    using Handle = void*;
    static Handle Empty() { return InvalidHandleValue(); }
    static bool Release(Handle h) { return CloseKernelHandle(h); }
};
// A file search (FindFirstFileExW).
struct SearchTraits {
    using Handle = void*;
    static Handle Empty() { return InvalidHandleValue(); }
    static bool Release(Handle h) { return CloseSearchHandle(h); }
};
// A GDI object: a font, a brush, a bitmap.
template <class Object>
struct GdiTraits {
    using Handle = Object*;
    static Handle Empty() { return nullptr; }
    static bool Release(Handle h) { return DeleteGdiObject(h); }
};
struct MemoryDcTraits {
    using Handle = HDC__*;
    static Handle Empty() { return nullptr; }
    static bool Release(Handle h) { return DeleteMemoryDc(h); }
};
struct WindowTraits {
    using Handle = HWND__*;
    static Handle Empty() { return nullptr; }
    static bool Release(Handle h) { return DestroyWindowHandle(h); }
};
struct IconTraits {
    using Handle = HICON__*;
    static Handle Empty() { return nullptr; }
    static bool Release(Handle h) { return DestroyIconHandle(h); }
};

using KernelHandle = Unique<KernelTraits>;
using FileHandle = Unique<FileTraits>;
using SearchHandle = Unique<SearchTraits>;
using FontHandle = Unique<GdiTraits<HFONT__>>;
using BrushHandle = Unique<GdiTraits<HBRUSH__>>;
using BitmapHandle = Unique<GdiTraits<HBITMAP__>>;
using MemoryDc = Unique<MemoryDcTraits>;
using WindowHandle = Unique<WindowTraits>;
using IconHandle = Unique<IconTraits>;

// A memory DC compatible with the screen.
MemoryDc MakeMemoryDc();

// Selects a GDI object into a DC and puts the old one back when it goes.
class Selection {
public:
    Selection(HDC__* dc, void* object);
    ~Selection();
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    // Whether the object was selected.
    bool Selected() const { return old_ != nullptr; }

private:
    HDC__* dc_;
    void* old_;
};

// Saves the DC's state (clip region, colours, modes) and restores it when it goes.
class SavedDc {
public:
    explicit SavedDc(HDC__* dc);
    ~SavedDc();
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC__* dc_;
    int saved_;
};

// A width x height top-down 32-bit drawing surface (a DIB section, rows as platform::Bitmap holds them)
// selected into a memory DC of its own. GDI draws into it through Dc(); Bits() are its pixels, 0x00RRGGBB
// (GDI leaves the fourth byte alone).
class DibSection {
public:
    DibSection(int width, int height);
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;

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
