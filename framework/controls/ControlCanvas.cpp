#include "framework/controls/ControlCanvas.h"

#include <algorithm>
#include <vector>

#include "framework/controls/WinControl.h"
#include "framework/core/Property.h"

IMPLEMENT_CLASS(TControlCanvas)

namespace {
std::vector<TControlCanvas*>& CanvasesWithDC() {
  static std::vector<TControlCanvas*> list;
  return list;
}
}  // namespace

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
  TControl* c = control_;
  TWinControl* window = As<TWinControl>(c);
  int dx = 0, dy = 0;
  if (window == nullptr) {
    window = c->Parent();
    dx = c->Left();
    dy = c->Top();
  }
  if (window == nullptr || !window->HandleAllocated()) return;
  dcWindow_ = window->Handle();
  ownDC_ = GetDCEx(dcWindow_, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (ownDC_ == nullptr) return;
  if (window != c) {
    SetViewportOrgEx(ownDC_, dx, dy, nullptr);
    IntersectClipRect(ownDC_, 0, 0, c->Width(), c->Height());
  }
  SetHandle(ownDC_);
  CanvasesWithDC().push_back(this);
}

void TControlCanvas::FreeHandle() {
  if (ownDC_ == nullptr) return;
  HDC dc = ownDC_;
  ownDC_ = nullptr;
  if (HandleAllocated() && Handle() == dc) SetHandle(nullptr);
  ReleaseDC(dcWindow_, dc);
  dcWindow_ = nullptr;
  auto& list = CanvasesWithDC();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TControlCanvas::FreeDeviceContexts() {
  auto list = CanvasesWithDC();
  for (TControlCanvas* c : list)
    if (c->LockCount() == 0) c->FreeHandle();
}
