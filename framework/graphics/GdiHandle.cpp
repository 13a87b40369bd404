#include "framework/graphics/GdiHandle.h"

namespace {

TGdiTally g_tally;

bool StillExists(TGdiKind kind, void* handle) {
  switch (kind) {
    case TGdiKind::Icon: {
      ICONINFO info{};
      if (!GetIconInfo(static_cast<HICON>(handle), &info)) return false;
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
      return true;
    }
    case TGdiKind::ImageList:
      return false;  // ImageList_Destroy's answer is all the platform tells
    default:
      return GetObjectType(static_cast<HGDIOBJ>(handle)) != 0;
  }
}

}  // namespace

const TGdiTally& GdiTally() { return g_tally; }

void GdiCountCreated(TGdiKind kind, const void* handle) {
  if (handle != nullptr) ++g_tally.Created[static_cast<int>(kind)];
}

void GdiDestroy(TGdiKind kind, void* handle) {
  if (handle == nullptr) return;
  BOOL ok = FALSE;
  switch (kind) {
    case TGdiKind::DC:
      ok = DeleteDC(static_cast<HDC>(handle));
      break;
    case TGdiKind::Icon:
      ok = DestroyIcon(static_cast<HICON>(handle));
      break;
    case TGdiKind::ImageList:
      ok = ImageList_Destroy(static_cast<HIMAGELIST>(handle));
      break;
    default:
      ok = DeleteObject(static_cast<HGDIOBJ>(handle));
      break;
  }
  ++g_tally.Deleted[static_cast<int>(kind)];
  if (!ok || StillExists(kind, handle)) ++g_tally.FailedDeletes;
}

TScopedMemoryDC::TScopedMemoryDC(HBITMAP bitmap, HDC compatible)
    : dc_(CreateCompatibleDC(compatible)) {
  if (dc_ && bitmap != nullptr) original_ = SelectObject(dc_.Get(), bitmap);
}

TScopedMemoryDC::~TScopedMemoryDC() {
  if (original_ != nullptr) SelectObject(dc_.Get(), original_);
}
