#include "framework/controls/Control.h"

#include "framework/controls/ControlProperties.h"
#include "framework/controls/WinControl.h"
#include "framework/core/Exception.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Font.h"
#include "framework/menus/PopupMenu.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TControl) {
  p.Integer(u"Left", &TControl::Left, &TControl::SetLeft);
  p.Integer(u"Top", &TControl::Top, &TControl::SetTop);
  p.Integer(u"Width", &TControl::Width, &TControl::SetWidth);
  p.Integer(u"Height", &TControl::Height, &TControl::SetHeight);
  p.Enum<TAlign>(u"Align", &TControl::Align, &TControl::SetAlign);
  p.Boolean(u"Visible", &TControl::Visible, &TControl::SetVisible);
  p.Boolean(u"Enabled", &TControl::Enabled, &TControl::SetEnabled);
  p.Text(u"Hint", &TControl::Hint, &TControl::SetHint);
  p.Boolean(u"ShowHint", &TControl::ShowHint, &TControl::SetShowHint);
  p.Boolean(u"ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint);
  p.Integer(u"Cursor", &TControl::Cursor, &TControl::SetCursor);
  p.Enum<TBiDiMode>(u"BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode);
  p.Object<TPopupMenu>(u"PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
}

TControl::TControl(TComponent* owner)
    : TComponent(owner),
      color_(clWindow),
      font_(new TFont),
      controlStyle_(csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks) {
  windowProc_ = TWndMethod::Of<&TControl::WndProc>(this);
  font_->OnChange = [this](TObject*) {
    if (!updatingFont_) {
      parentFont_ = false;
      FontChanged();
    }
  };
}

void TControl::BeforeDestruction() {
  if (MouseCapture()) SetMouseCapture(false);
  if (Application != nullptr) Application->ControlDestroyed(this);
  SetParent(nullptr);
  TComponent::BeforeDestruction();
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation(u"A control cannot have itself as its parent");
  if (parent_ != nullptr) parent_->RemoveControl(this);
  if (parent != nullptr) parent->InsertControl(this);
  ParentChanged();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  InvalidateRect(BoundsRect());
  bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  InvalidateRect(BoundsRect());
  BoundsChanged();
  RequestAlign();
  if (resized) Resize();
}

TRect TControl::ClientRect() const { return TRect(0, 0, width_, height_); }

void TControl::SetClientSize(int width, int height) {
  TRect client = ClientRect();
  SetBounds(left_, top_, width_ - client.Width() + width, height_ - client.Height() + height);
}

TPoint TControl::ClientOrigin() const {
  if (parent_ == nullptr) return TPoint(left_, top_);
  TPoint o = parent_->ClientOrigin();
  return TPoint(o.X + left_, o.Y + top_);
}

TPoint TControl::ClientToScreen(TPoint p) const {
  TPoint o = ClientOrigin();
  return TPoint(p.X + o.X, p.Y + o.Y);
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint o = ClientOrigin();
  return TPoint(p.X - o.X, p.Y - o.Y);
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  // Dropping out of the alignment changes the room of the others too.
  if (parent_ != nullptr) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) InvalidateRect(BoundsRect());
  visible_ = visible;
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
  if (visible) InvalidateRect(BoundsRect());
  RequestAlign();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor color) {
  parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v) {
  if (v == parentColor_) return;
  parentColor_ = v;
  if (v && parent_ != nullptr) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

void TControl::SetFont(TFont* font) {
  if (font != nullptr) font_->Assign(font);
}

void TControl::SetParentFont(bool v) {
  if (v == parentFont_) return;
  parentFont_ = v;
  if (v && parent_ != nullptr) Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged() { Perform(CM_FONTCHANGED); }

void TControl::SetShowHint(bool v) {
  parentShowHint_ = false;
  if (v == showHint_) return;
  showHint_ = v;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool v) {
  if (v == parentShowHint_) return;
  parentShowHint_ = v;
  if (v && parent_ != nullptr) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor c) {
  if (c == cursor_) return;
  cursor_ = c;
  Perform(CM_CURSORCHANGED);
}

std::u16string TControl::GetText() const {
  auto* self = const_cast<TControl*>(this);
  auto length = static_cast<size_t>(self->Perform(WM_GETTEXTLENGTH));
  if (length == 0) return {};
  std::u16string text(length + 1, u'\0');
  auto got = static_cast<size_t>(
      self->Perform(WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
  text.resize(got < length ? got : length);
  return text;
}

void TControl::SetText(const std::u16string& text) {
  if (GetText() == text) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  Perform(CM_TEXTCHANGED);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  windowProc_(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
    case WM_MOUSEMOVE: WMMouse(m); return;
    case WM_CONTEXTMENU: WMContextMenu(m); return;
    case WM_CANCELMODE: if (MouseCapture()) SetMouseCapture(false); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); return;
    case CM_PARENTSHOWHINTCHANGED:
      if (parentShowHint_ && parent_ != nullptr) showHint_ = parent_->ShowHint();
      return;
    case CM_ENABLEDCHANGED: case CM_COLORCHANGED: case CM_FONTCHANGED: case CM_TEXTCHANGED:
      Invalidate(); return;
    case CM_HITTEST: m.Result = 1; return;
  }
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage& m) {
  switch (m.Msg) {
    case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(text_.size()); break;
    case WM_GETTEXT: {
      auto capacity = static_cast<size_t>(m.WParam);
      if (capacity == 0) { m.Result = 0; break; }
      size_t n = text_.size() < capacity - 1 ? text_.size() : capacity - 1;
      auto* out = reinterpret_cast<char16_t*>(m.LParam);
      text_.copy(out, n);
      out[n] = u'\0';
      m.Result = static_cast<LRESULT>(n);
      break;
    }
    case WM_SETTEXT:
      text_ = m.LParam != 0 ? std::u16string(reinterpret_cast<const char16_t*>(m.LParam)) : u"";
      m.Result = 1;
      break;
  }
}

void TControl::WMMouse(TMessage& m) {
  int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
  TShiftState shift = ShiftStateFromMouse(m.WParam);
  bool noEvents = (controlStyle_ & csNoStdEvents) != 0;
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      if (!noEvents) MouseMove(shift, x, y);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if ((controlStyle_ & csCaptureMouse) != 0) SetMouseCapture(true);
      if ((controlStyle_ & csClickEvents) != 0) controlState_ |= csClicked;
      controlState_ |= csLButtonDown;
      if (m.Msg == WM_LBUTTONDBLCLK && (controlStyle_ & csDoubleClicks) != 0) {
        if (OnDblClick) OnDblClick(this);
      }
      if (!noEvents) MouseDown(TMouseButton::mbLeft, shift | (m.Msg == WM_LBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{0}), x, y);
      break;
    case WM_LBUTTONUP: {
      bool clicked = (controlState_ & csClicked) != 0;
      controlState_ &= ~(csClicked | csLButtonDown);
      if (MouseCapture()) SetMouseCapture(false);
      if (clicked && ClientRect().Contains(TPoint(x, y))) Click();
      if (!noEvents) MouseUp(TMouseButton::mbLeft, shift, x, y);
      break;
    }
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
      if (!noEvents) MouseDown(TMouseButton::mbRight, shift, x, y);
      break;
    case WM_RBUTTONUP:
      if (!noEvents) MouseUp(TMouseButton::mbRight, shift, x, y);
      break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
      if (!noEvents) MouseDown(TMouseButton::mbMiddle, shift, x, y);
      break;
    case WM_MBUTTONUP:
      if (!noEvents) MouseUp(TMouseButton::mbMiddle, shift, x, y);
      break;
  }
  DefaultHandler(m);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::WMContextMenu(TMessage& m) {
  TPoint screen(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam)));
  // From the keyboard (-1, -1): just below the control's top-left corner.
  if (m.LParam == -1) screen = ClientToScreen(TPoint(0, 0));
  bool handled = false;
  DoContextPopup(ScreenToClient(screen), handled);
  if (handled) {
    m.Result = 1;
    return;
  }
  if (TPopupMenu* menu = PopupMenu(); menu != nullptr && menu->AutoPopup()) {
    menu->SetPopupComponent(this);
    menu->Popup(screen.X, screen.Y);
    m.Result = 1;
    return;
  }
  DefaultHandler(m);
}

void TControl::DoContextPopup(TPoint mousePos, bool& handled) {
  if (OnContextPopup) OnContextPopup(this, mousePos, handled);
}

void TControl::CMParentFontChanged(TMessage&) {
  if (!parentFont_ || parent_ == nullptr) return;
  updatingFont_ = true;
  font_->Assign(parent_->Font());
  updatingFont_ = false;
  FontChanged();
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!parentColor_ || parent_ == nullptr) return;
  if (color_ == parent_->Color()) return;
  color_ = parent_->Color();
  Perform(CM_COLORCHANGED);
}

void TControl::InvalidateRect(const TRect& r) {
  if (parent_ == nullptr || !parent_->HandleAllocated() || !visible_) return;
  RECT rc = r.ToRECT();
  ::InvalidateRect(parent_->Handle(), &rc, (controlStyle_ & csOpaque) == 0);
}

void TControl::Invalidate() { InvalidateRect(BoundsRect()); }

void TControl::Update() {
  if (parent_ != nullptr) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (parent_ != nullptr) parent_->ReorderChild(this, true);
}

void TControl::SendToBack() {
  if (parent_ != nullptr) parent_->ReorderChild(this, false);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

bool TControl::Showing() const { return visible_ && parent_ != nullptr && parent_->Showing(); }

TCustomForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_ != nullptr) c = c->parent_;
  return const_cast<TCustomForm*>(As<TCustomForm>(c));
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::RequestAlign() {
  if (parent_ != nullptr && align_ != TAlign::alNone) parent_->Realign();
}

bool TControl::MouseCapture() const { return Application != nullptr && Application->CaptureControl() == this; }

void TControl::SetMouseCapture(bool on) {
  if (Application == nullptr || on == MouseCapture()) return;
  Application->SetCaptureControl(on ? this : nullptr);
}
