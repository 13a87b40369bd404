#pragma once
// TControl: anything with bounds inside a parent, windowed or not.  Messages reach a
// control through its replaceable WindowProc; Perform delivers one synchronously.
#include <cstdint>
#include <functional>
#include <string>

#include "framework/core/Component.h"
#include "framework/core/Messages.h"
#include "framework/core/Strings.h"
#include "framework/core/Types.h"
#include "framework/graphics/Font.h"

class TWinControl;
class TFont;
class TPopupMenu;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TBorderStyle { bsNone, bsSingle };

using TCursor = int16_t;
enum : TCursor {
  crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
  crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22,
  crHSplit = -14, crVSplit = -15,
};

// What a class of control does by default (ControlStyle).
enum : uint32_t {
  csAcceptsControls = 1 << 0,
  csCaptureMouse = 1 << 1,   // the framework takes the mouse capture on a left press
  csClickEvents = 1 << 2,    // a left press and release inside raises Click
  csSetCaption = 1 << 3,
  csOpaque = 1 << 4,         // paints its whole rectangle: nothing behind it is painted
  csDoubleClicks = 1 << 5,
  csFixedWidth = 1 << 6,
  csFixedHeight = 1 << 7,
  csNoStdEvents = 1 << 8,    // no key or mouse events raised
  csParentBackground = 1 << 9,
};
// Transient state of one control (ControlState).
enum : uint32_t {
  csLButtonDown = 1 << 0,
  csClicked = 1 << 1,
  csAligning = 1 << 2,
  csFocusing = 1 << 3,
  csCreating = 1 << 4,
  csCustomPaint = 1 << 5,
  csDestroyingHandle = 1 << 6,
  csRecreating = 1 << 7,
};

using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TContextPopupEvent = std::function<void(TObject* sender, TPoint mousePos, bool& handled)>;

class TControl : public TComponent {
  DECLARE_CLASS(TControl, TComponent)
  explicit TControl(TComponent* owner);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  bool HasParent() const { return parent_ != nullptr; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return TRect::Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  // The area inside the control, origin (0, 0).
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
  void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
  virtual void SetClientSize(int width, int height);
  // Screen position of the client origin.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* font);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);

  std::u16string Caption() const { return GetText(); }
  void SetCaption(const std::u16string& text) { SetText(text); }
  std::u16string Text() const { return GetText(); }
  void SetText(const std::u16string& text);

  const std::u16string& Hint() const { return hint_; }
  void SetHint(const std::u16string& hint) { hint_ = hint; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c);
  TPopupMenu* PopupMenu() const { return popupMenu_.Get(); }
  void SetPopupMenu(TPopupMenu* menu);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode m) { biDiMode_ = m; }
  bool UseRightToLeftReading() const { return biDiMode_ != TBiDiMode::bdLeftToRight; }

  uint32_t ControlStyle() const { return controlStyle_; }
  void SetControlStyle(uint32_t s) { controlStyle_ = s; }
  uint32_t ControlState() const { return controlState_; }
  void SetControlState(uint32_t s) { controlState_ = s; }

  // The handler that every message of this control goes through.
  TWndMethod WindowProc() const { return windowProc_; }
  void SetWindowProc(TWndMethod proc) { windowProc_ = proc; }
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // The control's own handler; the default WindowProc.
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

  virtual void Invalidate();
  // Paints what is invalid now.
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();
  // Raises OnClick; also what a click of the user does.
  virtual void Click();
  virtual bool Showing() const;
  // The top-level form of this control, or null.
  class TCustomForm* ParentForm() const;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TContextPopupEvent OnContextPopup;

  // Replays a mouse press as the control's own (raises OnMouseDown).
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  // The mouse capture as the framework keeps it (windowless controls capture through
  // their parent's window).
  bool MouseCapture() const;
  void SetMouseCapture(bool on);

 protected:
  void BeforeDestruction() override;
  virtual std::u16string GetText() const;
  virtual void Resize();
  virtual void DoContextPopup(TPoint mousePos, bool& handled);
  // The owner's parent, so that a control created on a form lands on it.
  void RequestAlign();
  virtual void ChangeScale(int m, int d) {}
  virtual void FontChanged();
  // Called by SetBounds after the fields changed.
  virtual void BoundsChanged() {}
  // Called once the parent has taken or dropped this control.
  virtual void ParentChanged() {}
  void InvalidateRect(const TRect& r);

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  std::u16string text_;

 private:
  friend class TWinControl;
  void WMMouse(TMessage& m);
  void WMContextMenu(TMessage& m);
  void CMParentFontChanged(TMessage& m);
  void CMParentColorChanged(TMessage& m);

  TWinControl* parent_ = nullptr;
  TAlign align_ = TAlign::alNone;
  bool enabled_ = true;
  TColor color_;
  bool parentColor_ = true;
  TOwned<TFont> font_;
  bool parentFont_ = true;
  std::u16string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TCursor cursor_ = crDefault;
  TWeakRef<TPopupMenu> popupMenu_;
  TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
  uint32_t controlStyle_;
  uint32_t controlState_ = 0;
  TWndMethod windowProc_;
  bool updatingFont_ = false;
};

DECLARE_ENUM_NAMES(TAlign, u"alNone", u"alTop", u"alBottom", u"alLeft", u"alRight", u"alClient")
DECLARE_ENUM_NAMES(TBiDiMode, u"bdLeftToRight", u"bdRightToLeft", u"bdRightToLeftNoAlign",
                   u"bdRightToLeftReadingOnly")
DECLARE_ENUM_NAMES(TAlignment, u"taLeftJustify", u"taRightJustify", u"taCenter")
DECLARE_ENUM_NAMES(TBorderStyle, u"bsNone", u"bsSingle")
