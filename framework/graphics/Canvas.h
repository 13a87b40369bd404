#pragma once
// Drawing on a DC with a font, a brush and a pen of its own.  The canvas is bound to a
// DC at a time; it selects its objects lazily, reselects them after they change, and
// puts the DC's own objects back when it lets the DC go.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/Object.h"
#include "framework/core/Strings.h"
#include "framework/core/Types.h"
#include "framework/graphics/Brush.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Pen.h"

class TGraphic;

class TCanvas : public TPersistent {
  DECLARE_CLASS(TCanvas, TPersistent)
  TCanvas();

  // The DC; an unbound canvas asks CreateHandle() for one and raises
  // EInvalidOperation when it gets none.  Whoever takes the handle may draw with it
  // behind the canvas's back, so this counts as a change about to happen (OnChanging;
  // a bitmap forgets its mask).  A bitmap's OnChange needs Modified() after such drawing.
  HDC Handle();
  // Binds the canvas to dc (0 unbinds).  The DC's original objects, colours, mode and
  // position go back into it when it is let go.  The canvas never deletes the DC.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  // One UI thread: a nesting count that tells owners of the DC not to take it away.
  void Lock();
  void Unlock();
  int LockCount() const { return lockCount_; }

  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont* font) { font_->Assign(font); }
  TBrush* Brush() const { return brush_.get(); }
  void SetBrush(const TBrush* brush) { brush_->Assign(brush); }
  TPen* Pen() const { return pen_.get(); }
  void SetPen(const TPen* pen) { pen_->Assign(pen); }

  TPoint PenPos() const { return penPos_; }
  void SetPenPos(const TPoint& p) { MoveTo(p.X, p.Y); }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(const std::vector<TPoint>& points);
  void Polygon(const std::vector<TPoint>& points);
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void RoundRect(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  // With the brush, no pen.
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  void DrawFocusRect(const TRect& r);

  // TextOut and DrawText are platform macros: these members are TextOutW and DrawTextW
  // for everyone who includes <windows.h>, which every caller does.
  // Draws with the font; the background is the brush colour unless the brush is clear.
  // Moves the pen to the end of the text.
  void TextOut(int x, int y, const std::u16string& text);
  // Text clipped to r, r filled with the brush first unless the brush is clear.
  void TextRect(const TRect& r, int x, int y, const std::u16string& text);
  SIZE TextExtent(const std::u16string& text);
  int TextWidth(const std::u16string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::u16string& text) { return TextExtent(text).cy; }
  // DrawTextW with the canvas's font; answers the text height (r gets the extent with DT_CALCRECT).
  int DrawText(const std::u16string& text, TRect& r, UINT flags);

  void Draw(int x, int y, const TGraphic& graphic);
  void StretchDraw(const TRect& r, const TGraphic& graphic);
  // Blits (stretching as needed) source's src into dest with CopyMode.
  void CopyRect(const TRect& dest, TCanvas& source, const TRect& src);
  DWORD CopyMode() const { return copyMode_; }
  void SetCopyMode(DWORD rop) { copyMode_ = rop; }

  // clNone outside the DC's clip area.
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);
  // The clip box of the DC in logical coordinates.
  TRect ClipRect();

  // Deselects the canvas's objects (they are selected again before the next drawing).
  void Refresh();

  // Around every drawing call.
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

 protected:
  ~TCanvas() override;
  // Called by Handle() while the canvas is unbound; an override calls SetHandle.
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();

  enum : uint32_t { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
  void RequireState(uint32_t state);
  // The DC without announcing a change (for reading from it).
  HDC HandleNeeded();

 private:
  void DeselectFont();
  void DeselectBrush();
  void DeselectPen();
  void DeselectAll();

  struct TSaved {
    HGDIOBJ Font = nullptr, Brush = nullptr, Pen = nullptr;
    COLORREF TextColor = 0, BkColor = 0;
    int BkMode = 0, Rop2 = 0;
    POINT Position{};
  };

  HDC dc_ = nullptr;
  TSaved saved_;
  uint32_t valid_ = 0;
  int lockCount_ = 0;
  TOwned<TFont> font_;
  TOwned<TBrush> brush_;
  TOwned<TPen> pen_;
  TPoint penPos_;
  DWORD copyMode_ = SRCCOPY;
};
