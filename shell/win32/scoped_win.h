#pragma once
// One small owner per kind of system handle that the window code holds, so
// that every handle is given back on every way out of a function, also when
// an exception passes.
#include <windows.h>

#include <objbase.h>

#include <memory>
#include <type_traits>
#include <utility>

#include "platform/win32/scoped_handle.h"

// A GDI object that we created (a font, a brush), deleted with DeleteObject.
// Stock objects and system brushes are not ours and never go in here.
template <typename Object>
class ScopedGdiObject {
 public:
  ScopedGdiObject() = default;
  explicit ScopedGdiObject(Object object) : object_(object) {}
  ScopedGdiObject(ScopedGdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ~ScopedGdiObject() {
    if (object_) DeleteObject(object_);
  }

  Object Get() const { return object_; }

 private:
  Object object_ = nullptr;
};
using ScopedFont = ScopedGdiObject<HFONT>;

// One WM_PAINT's drawing context, from BeginPaint to EndPaint.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  ~ScopedPaint() { EndPaint(hwnd_, &paint_); }

  HDC Dc() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a drawing context; the one it replaced goes back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// COM on this thread, as the shell's dialogs need it, for the owner's life.
// A thread that already had COM in another model keeps it, and is then not
// ours to end.
class ScopedCom {
 public:
  ScopedCom() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ScopedCom(const ScopedCom&) = delete;
  ScopedCom& operator=(const ScopedCom&) = delete;
  ~ScopedCom() {
    if (initialised_) CoUninitialize();
  }

 private:
  bool initialised_;
};

// Memory that a system call allocated for us with the COM allocator, such
// as the folder dialog's item list.
struct CoTaskMemFreer {
  void operator()(void* memory) const { CoTaskMemFree(memory); }
};
template <typename Pointer>
using CoTaskMemPtr = std::unique_ptr<std::remove_pointer_t<Pointer>, CoTaskMemFreer>;
