#pragma once
// Owning wrappers for the GDI handles this layer creates, with a tally per kind.
// Every deletion is checked: GDI postpones deleting an object that is still selected
// into a DC and still answers success, so a handle that survives its DeleteObject
// counts as a failed deletion.  Tests read the tally to prove that nothing leaks.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <utility>

enum class TGdiKind { Font, Brush, Pen, Bitmap, DC, Icon, ImageList };
constexpr int GdiKindCount = 7;

struct TGdiTally {
  int64_t Created[GdiKindCount] = {};
  int64_t Deleted[GdiKindCount] = {};
  // Deletions that the platform refused or postponed (object still selected somewhere).
  int64_t FailedDeletes = 0;
  int64_t Live(TGdiKind kind) const {
    return Created[static_cast<int>(kind)] - Deleted[static_cast<int>(kind)];
  }
};

const TGdiTally& GdiTally();
// Bookkeeping for a handle that has just been created (null handles are not counted).
void GdiCountCreated(TGdiKind kind, const void* handle);
// Deletes a handle of that kind and records whether it is really gone.
void GdiDestroy(TGdiKind kind, void* handle);

// Sole owner of one handle.
template <class H, TGdiKind Kind>
class TGdiHandle {
 public:
  TGdiHandle() = default;
  // Takes a freshly created handle (may be null when creation failed).
  explicit TGdiHandle(H handle) : handle_(handle) { GdiCountCreated(Kind, handle_); }
  ~TGdiHandle() { Reset(); }
  TGdiHandle(TGdiHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  TGdiHandle& operator=(TGdiHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  TGdiHandle(const TGdiHandle&) = delete;
  TGdiHandle& operator=(const TGdiHandle&) = delete;

  H Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(H handle = nullptr) {
    if (handle != nullptr && handle == handle_) return;
    if (handle_ != nullptr) GdiDestroy(Kind, handle_);
    handle_ = handle;
    GdiCountCreated(Kind, handle_);
  }
  // Gives the handle away; the caller deletes it.
  H Release() { return std::exchange(handle_, nullptr); }

 private:
  H handle_ = nullptr;
};

using TFontHandle = TGdiHandle<HFONT, TGdiKind::Font>;
using TBrushHandle = TGdiHandle<HBRUSH, TGdiKind::Brush>;
using TPenHandle = TGdiHandle<HPEN, TGdiKind::Pen>;
using TBitmapHandle = TGdiHandle<HBITMAP, TGdiKind::Bitmap>;
using TDCHandle = TGdiHandle<HDC, TGdiKind::DC>;
using TIconHandle = TGdiHandle<HICON, TGdiKind::Icon>;
using TImageListHandle = TGdiHandle<HIMAGELIST, TGdiKind::ImageList>;

// A memory DC with one bitmap selected for the length of a scope; the DC's own
// bitmap goes back in before the DC is deleted.
class TScopedMemoryDC {
 public:
  explicit TScopedMemoryDC(HBITMAP bitmap, HDC compatible = nullptr);
  ~TScopedMemoryDC();
  TScopedMemoryDC(const TScopedMemoryDC&) = delete;
  TScopedMemoryDC& operator=(const TScopedMemoryDC&) = delete;
  HDC Get() const { return dc_.Get(); }
  // False when the bitmap could not be selected (it is selected into another DC).
  bool Selected() const { return original_ != nullptr; }

 private:
  TDCHandle dc_;
  HGDIOBJ original_ = nullptr;
};
