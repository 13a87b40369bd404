#include "framework/controls/HintWindow.h"

#include "framework/core/Property.h"
#include "framework/forms/Screen.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/ScreenDC.h"

IMPLEMENT_CLASS(THintWindow)

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetColor(clInfoBk);
  if (Screen != nullptr) Font()->Assign(Screen->HintFont());
  Font()->SetColor(clInfoText);
  visible_ = false;
}

void THintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = WS_POPUP | WS_BORDER;
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  p.WndParent = nullptr;
  p.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::u16string& text) {
  TScreenDC dc(Font()->Handle());
  RECT r{0, 0, maxWidth, 0};
  DrawTextW(dc.Get(), reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  return TRect(0, 0, r.right + 8, r.bottom + 4);
}

void THintWindow::ActivateHint(TRect rect, const std::u16string& text) {
  SetCaption(text);
  int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  if (rect.Right > screenW) rect = rect.Offset(screenW - rect.Right, 0);
  if (rect.Left < 0) rect = rect.Offset(-rect.Left, 0);
  if (rect.Bottom > screenH) rect = rect.Offset(0, screenH - rect.Bottom);
  HWND h = Handle();
  SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
  SetWindowPos(h, HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  visible_ = true;
  Invalidate();
}

void THintWindow::ReleaseHandle() {
  visible_ = false;
  DestroyHandle();
}

void THintWindow::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  c->Font()->Assign(Font());
  c->Brush()->SetStyle(TBrushStyle::bsClear);
  TRect text = r.Inflate(-3, -1);
  c->DrawText(Caption(), text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

void THintWindow::WndProc(TMessage& m) {
  if (m.Msg == WM_NCHITTEST) {
    m.Result = HTTRANSPARENT;
    return;
  }
  TCustomControl::WndProc(m);
}
