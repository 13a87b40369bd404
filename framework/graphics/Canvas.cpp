#include "framework/graphics/Canvas.h"

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Graphic.h"

IMPLEMENT_CLASS(TCanvas)

namespace {

std::vector<POINT> ToPoints(const std::vector<TPoint>& points) {
  std::vector<POINT> out;
  out.reserve(points.size());
  for (const TPoint& p : points) out.push_back(p.ToPOINT());
  return out;
}

}  // namespace

TCanvas::TCanvas() : font_(new TFont), brush_(new TBrush), pen_(new TPen) {
  font_->OnChange = [this](TObject*) { valid_ &= ~csFontValid; };
  font_->OnHandleReleasing = [this](TObject*) { DeselectFont(); };
  brush_->OnChange = [this](TObject*) { valid_ &= ~csBrushValid; };
  brush_->OnHandleReleasing = [this](TObject*) { DeselectBrush(); };
  pen_->OnChange = [this](TObject*) { valid_ &= ~csPenValid; };
  pen_->OnHandleReleasing = [this](TObject*) { DeselectPen(); };
}

TCanvas::~TCanvas() {
  // The objects must leave the DC before the members that own them are destroyed.
  SetHandle(nullptr);
}

HDC TCanvas::Handle() {
  Changing();
  return HandleNeeded();
}

HDC TCanvas::HandleNeeded() {
  if (dc_ == nullptr) CreateHandle();
  if (dc_ == nullptr) throw EInvalidOperation(u"Canvas does not allow drawing");
  return dc_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  if (dc_ != nullptr) {
    DeselectAll();
    POINT here{};
    if (GetCurrentPositionEx(dc_, &here)) penPos_ = TPoint(here.x, here.y);
    SetTextColor(dc_, saved_.TextColor);
    SetBkColor(dc_, saved_.BkColor);
    SetBkMode(dc_, saved_.BkMode);
    SetROP2(dc_, saved_.Rop2);
    MoveToEx(dc_, saved_.Position.x, saved_.Position.y, nullptr);
    dc_ = nullptr;
    valid_ = 0;
  }
  if (dc != nullptr) {
    saved_ = TSaved();
    saved_.TextColor = GetTextColor(dc);
    saved_.BkColor = GetBkColor(dc);
    saved_.BkMode = GetBkMode(dc);
    saved_.Rop2 = GetROP2(dc);
    MoveToEx(dc, penPos_.X, penPos_.Y, &saved_.Position);
    dc_ = dc;
    valid_ = csHandleValid;
  }
}

void TCanvas::Lock() { ++lockCount_; }

void TCanvas::Unlock() {
  if (lockCount_ == 0) throw EInvalidOperation(u"Canvas unlocked more often than locked");
  --lockCount_;
}

void TCanvas::DeselectFont() {
  if (saved_.Font != nullptr) SelectObject(dc_, saved_.Font);
  saved_.Font = nullptr;
  valid_ &= ~csFontValid;
}

void TCanvas::DeselectBrush() {
  if (saved_.Brush != nullptr) SelectObject(dc_, saved_.Brush);
  saved_.Brush = nullptr;
  valid_ &= ~csBrushValid;
}

void TCanvas::DeselectPen() {
  if (saved_.Pen != nullptr) SelectObject(dc_, saved_.Pen);
  saved_.Pen = nullptr;
  valid_ &= ~csPenValid;
}

void TCanvas::DeselectAll() {
  DeselectFont();
  DeselectBrush();
  DeselectPen();
}

void TCanvas::Refresh() {
  if (dc_ != nullptr) DeselectAll();
}

void TCanvas::RequireState(uint32_t state) {
  HDC dc = HandleNeeded();
  uint32_t missing = state & ~valid_;
  if (missing & csFontValid) {
    HGDIOBJ previous = SelectObject(dc, font_->Handle());
    if (saved_.Font == nullptr) saved_.Font = previous;
    SetTextColor(dc, ColorToRGB(font_->Color()));
  }
  if (missing & csPenValid) {
    HGDIOBJ previous = SelectObject(dc, pen_->Handle());
    if (saved_.Pen == nullptr) saved_.Pen = previous;
    SetROP2(dc, pen_->Rop2());
  }
  if (missing & csBrushValid) {
    HGDIOBJ previous = SelectObject(dc, brush_->Handle());
    if (saved_.Brush == nullptr) saved_.Brush = previous;
    // Text and hatch gaps take the background colour; only a solid brush shows one.
    SetBkColor(dc, ColorToRGB(brush_->Color()));
    SetBkMode(dc, brush_->Style() == TBrushStyle::bsSolid ? OPAQUE : TRANSPARENT);
  }
  valid_ |= state;
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::MoveTo(int x, int y) {
  if (dc_ != nullptr) MoveToEx(dc_, x, y, nullptr);
  penPos_ = TPoint(x, y);
}

void TCanvas::LineTo(int x, int y) {
  Changing();
  RequireState(csHandleValid | csPenValid | csBrushValid);
  ::LineTo(dc_, x, y);
  penPos_ = TPoint(x, y);
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  if (points.empty()) return;
  Changing();
  RequireState(csHandleValid | csPenValid | csBrushValid);
  std::vector<POINT> p = ToPoints(points);
  ::Polyline(dc_, p.data(), static_cast<int>(p.size()));
  Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.empty()) return;
  Changing();
  RequireState(csHandleValid | csPenValid | csBrushValid);
  std::vector<POINT> p = ToPoints(points);
  ::Polygon(dc_, p.data(), static_cast<int>(p.size()));
  Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Changing();
  RequireState(csHandleValid | csPenValid | csBrushValid);
  ::Rectangle(dc_, x1, y1, x2, y2);
  Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight) {
  Changing();
  RequireState(csHandleValid | csPenValid | csBrushValid);
  ::RoundRect(dc_, x1, y1, x2, y2, ellipseWidth, ellipseHeight);
  Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Changing();
  RequireState(csHandleValid | csPenValid | csBrushValid);
  ::Ellipse(dc_, x1, y1, x2, y2);
  Changed();
}

void TCanvas::FillRect(const TRect& r) {
  Changing();
  RequireState(csHandleValid | csBrushValid);
  RECT rc = r.ToRECT();
  ::FillRect(dc_, &rc, brush_->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  Changing();
  RequireState(csHandleValid | csBrushValid);
  RECT rc = r.ToRECT();
  ::FrameRect(dc_, &rc, brush_->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  Changing();
  RequireState(csHandleValid | csBrushValid);
  RECT rc = r.ToRECT();
  ::DrawFocusRect(dc_, &rc);
  Changed();
}

void TCanvas::TextOut(int x, int y, const std::u16string& text) {
  Changing();
  RequireState(csHandleValid | csFontValid | csBrushValid);
  ::TextOutW(dc_, x, y, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()));
  SIZE extent{};
  GetTextExtentPoint32W(dc_, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()),
                        &extent);
  MoveTo(x + extent.cx, y);
  Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::u16string& text) {
  Changing();
  RequireState(csHandleValid | csFontValid | csBrushValid);
  RECT rc = r.ToRECT();
  UINT options = ETO_CLIPPED;
  if (brush_->Style() != TBrushStyle::bsClear) options |= ETO_OPAQUE;
  ExtTextOutW(dc_, x, y, options, &rc, reinterpret_cast<LPCWSTR>(text.data()),
              static_cast<UINT>(text.size()), nullptr);
  Changed();
}

SIZE TCanvas::TextExtent(const std::u16string& text) {
  RequireState(csHandleValid | csFontValid);
  SIZE extent{};
  GetTextExtentPoint32W(dc_, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()),
                        &extent);
  return extent;
}

int TCanvas::DrawText(const std::u16string& text, TRect& r, UINT flags) {
  // The text is not ours to write into.
  flags &= ~static_cast<UINT>(DT_MODIFYSTRING);
  bool measuring = (flags & DT_CALCRECT) != 0;
  if (!measuring) Changing();
  RequireState(csHandleValid | csFontValid | csBrushValid);
  RECT rc = r.ToRECT();
  int height = ::DrawTextW(dc_, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()),
                           &rc, flags);
  if (measuring) r = TRect(rc);
  else Changed();
  return height;
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
  if (graphic.Empty()) return;
  StretchDraw(TRect::Bounds(x, y, graphic.Width(), graphic.Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic& graphic) {
  if (graphic.Empty()) return;
  Changing();
  RequireState(csHandleValid);
  graphic.Draw(*this, r);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src) {
  Changing();
  RequireState(csHandleValid | csFontValid | csBrushValid);
  HDC from = source.HandleNeeded();
  int mode = SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), from, src.Left, src.Top,
             src.Width(), src.Height(), copyMode_);
  SetStretchBltMode(dc_, mode);
  Changed();
}

TColor TCanvas::Pixels(int x, int y) {
  RequireState(csHandleValid);
  COLORREF c = GetPixel(dc_, x, y);
  return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  Changing();
  RequireState(csHandleValid | csPenValid);
  ::SetPixel(dc_, x, y, ColorToRGB(color));
  Changed();
}

TRect TCanvas::ClipRect() {
  RECT rc{};
  GetClipBox(HandleNeeded(), &rc);
  return TRect(rc);
}
