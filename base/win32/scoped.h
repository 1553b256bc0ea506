// Owners of Win32 handles: each releases its handle exactly once, on every
// way out of a scope. Copying is deleted (two owners would release twice);
// moving hands the handle over.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

// The common shape: Traits says what "no handle" is and how to release one.
template <typename H, typename Traits>
class ScopedResource {
 public:
  ScopedResource() = default;
  explicit ScopedResource(H handle) : handle_(handle) {}
  ~ScopedResource() { reset(); }
  ScopedResource(const ScopedResource&) = delete;
  ScopedResource& operator=(const ScopedResource&) = delete;
  ScopedResource(ScopedResource&& other) noexcept : handle_(other.release()) {}
  ScopedResource& operator=(ScopedResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  H get() const { return handle_; }
  explicit operator bool() const { return Traits::Valid(handle_); }
  // Gives the handle up without releasing it.
  H release() {
    H handle = handle_;
    handle_ = Traits::None();
    return handle;
  }
  void reset(H handle = Traits::None()) {
    if (Traits::Valid(handle_)) Traits::Release(handle_);
    handle_ = handle;
  }

 private:
  H handle_ = Traits::None();
};

template <typename T>
struct GdiObjectTraits {
  static T None() { return nullptr; }
  static bool Valid(T handle) { return handle != nullptr; }
  static void Release(T handle) { DeleteObject(handle); }
};
// A pen, brush, font, bitmap or region made by this code. It must not be
// selected into a DC when released (ScopedSelect below restores first).
template <typename T>
using ScopedGdiObject = ScopedResource<T, GdiObjectTraits<T>>;

struct KernelHandleTraits {
  static HANDLE None() { return nullptr; }
  // CreateFile answers INVALID_HANDLE_VALUE, most others null.
  static bool Valid(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }
  static void Release(HANDLE handle) { CloseHandle(handle); }
};
using ScopedHandle = ScopedResource<HANDLE, KernelHandleTraits>;

struct FindTraits {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE search) { return search != INVALID_HANDLE_VALUE && search != nullptr; }
  static void Release(HANDLE search) { FindClose(search); }
};
// A search of FindFirstFile, ended with FindClose.
using ScopedFind = ScopedResource<HANDLE, FindTraits>;

struct KeyTraits {
  static HKEY None() { return nullptr; }
  static bool Valid(HKEY key) { return key != nullptr; }
  static void Release(HKEY key) { RegCloseKey(key); }
};
using ScopedKey = ScopedResource<HKEY, KeyTraits>;

struct ImageListTraits {
  static HIMAGELIST None() { return nullptr; }
  static bool Valid(HIMAGELIST list) { return list != nullptr; }
  static void Release(HIMAGELIST list) { ImageList_Destroy(list); }
};
using ScopedImageList = ScopedResource<HIMAGELIST, ImageListTraits>;

struct WindowTraits {
  static HWND None() { return nullptr; }
  static bool Valid(HWND window) { return window != nullptr; }
  static void Release(HWND window) {
    if (IsWindow(window)) DestroyWindow(window);
  }
};
using ScopedWindow = ScopedResource<HWND, WindowTraits>;

// A device context: either borrowed from a window (GetDC, given back with
// ReleaseDC) or made in memory (CreateCompatibleDC, ended with DeleteDC).
class ScopedDC {
 public:
  ScopedDC() = default;
  static ScopedDC ForWindow(HWND window) { return ScopedDC(window, GetDC(window), false); }
  static ScopedDC Compatible(HDC like) { return ScopedDC(nullptr, CreateCompatibleDC(like), true); }
  ~ScopedDC() { reset(); }
  ScopedDC(const ScopedDC&) = delete;
  ScopedDC& operator=(const ScopedDC&) = delete;
  ScopedDC(ScopedDC&& other) noexcept : window_(other.window_), dc_(other.dc_), memory_(other.memory_) {
    other.dc_ = nullptr;
  }
  ScopedDC& operator=(ScopedDC&& other) noexcept {
    if (this != &other) {
      reset();
      window_ = other.window_;
      dc_ = other.dc_;
      memory_ = other.memory_;
      other.dc_ = nullptr;
    }
    return *this;
  }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void reset() {
    if (dc_) {
      if (memory_)
        DeleteDC(dc_);
      else
        ReleaseDC(window_, dc_);
    }
    dc_ = nullptr;
  }

 private:
  ScopedDC(HWND window, HDC dc, bool memory) : window_(window), dc_(dc), memory_(memory) {}
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  bool memory_ = false;
};

// Selects an object into a DC for a scope and puts the previous one back,
// so that the object can be deleted afterwards.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~ScopedSelect() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  bool ok() const { return previous_ && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};
