#include "framework/controls/CoolBar.h"

#include <commctrl.h>

#include "framework/controls/ControlProperties.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Colors.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TCoolBand) {
  p.Integer(u"Width", &TCoolBand::Width, &TCoolBand::SetWidth);
  p.Integer(u"MinHeight", &TCoolBand::MinHeight, &TCoolBand::SetMinHeight);
  p.Integer(u"MinWidth", &TCoolBand::MinWidth, &TCoolBand::SetMinWidth);
  p.Boolean(u"Break", &TCoolBand::Break, &TCoolBand::SetBreak);
  p.Boolean(u"FixedSize", &TCoolBand::FixedSize, &TCoolBand::SetFixedSize);
  p.Boolean(u"Visible", &TCoolBand::Visible, &TCoolBand::SetVisible);
  p.Text(u"Text", &TCoolBand::Text, &TCoolBand::SetText);
}

IMPLEMENT_CLASS_WITH_PROPERTIES(TCoolBar) {
  PublishColor(p);
  PublishFont(p);
  p.Object<TBitmap>(u"Bitmap", &TCoolBar::Bitmap, &TCoolBar::SetBitmap);
  p.Boolean(u"ShowText", &TCoolBar::ShowText, &TCoolBar::SetShowText);
  p.Boolean(u"FixedOrder", &TCoolBar::FixedOrder, &TCoolBar::SetFixedOrder);
}

void TCoolBand::Changed() {
  if (bar_ != nullptr) bar_->UpdateBands();
}

void TCoolBand::SetControl(TControl* control) {
  control_ = control;
  Changed();
}

void TCoolBand::SetWidth(int w) {
  if (w == width_) return;
  width_ = w;
  Changed();
}

void TCoolBand::SetMinHeight(int h) {
  if (h == minHeight_) return;
  minHeight_ = h;
  Changed();
}

void TCoolBand::SetMinWidth(int w) {
  if (w == minWidth_) return;
  minWidth_ = w;
  Changed();
}

void TCoolBand::SetBreak(bool v) {
  if (v == break_) return;
  break_ = v;
  Changed();
}

void TCoolBand::SetFixedSize(bool v) {
  if (v == fixedSize_) return;
  fixedSize_ = v;
  Changed();
}

void TCoolBand::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed();
}

void TCoolBand::SetText(const std::u16string& t) {
  if (t == text_) return;
  text_ = t;
  Changed();
}

TCoolBar::TCoolBar(TComponent* owner) : TWinControl(owner), bitmap_(new TBitmap) {
  SetControlStyle(csAcceptsControls | csDoubleClicks);
  SetColor(clBtnFace);
  SetBounds(0, 0, 150, 75);
  bitmap_->OnChange = [this](TObject*) {
    pattern_.Reset();
    Invalidate();
  };
}

void TCoolBar::BeforeDestruction() {
  Destroying();
  for (auto& band : bands_) band->bar_ = nullptr;
  TWinControl::BeforeDestruction();
  bands_.clear();
}

void TCoolBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, u"ReBarWindow32");
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | RBS_VARHEIGHT | WS_CLIPCHILDREN;
  if (bandBorders_) p.Style |= RBS_BANDBORDERS;
  if (fixedOrder_) p.Style |= RBS_FIXEDORDER;
}

void TCoolBar::CreateWnd() {
  TWinControl::CreateWnd();
  REBARINFO info{sizeof(info), 0, nullptr};
  SendMessageW(Handle(), RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
  UpdateBands();
}

TCoolBand* TCoolBar::BandFor(const TControl* control) const {
  for (auto& band : bands_)
    if (band->control_ == control) return band.get();
  return nullptr;
}

void TCoolBar::SetBitmap(TBitmap* bitmap) {
  if (bitmap == nullptr) bitmap_->SetSize(0, 0);
  else bitmap_->Assign(bitmap);
}

void TCoolBar::SetBandBorders(bool v) {
  if (v == bandBorders_) return;
  bandBorders_ = v;
  RecreateWnd();
}

void TCoolBar::SetShowText(bool v) {
  if (v == showText_) return;
  showText_ = v;
  UpdateBands();
}

void TCoolBar::UpdateBands() {
  if (!HandleAllocated() || updating_ || IsDestroying()) return;
  updating_ = true;
  HWND h = Handle();
  while (SendMessageW(h, RB_GETBANDCOUNT, 0, 0) > 0) SendMessageW(h, RB_DELETEBAND, 0, 0);
  UINT id = 0;
  for (auto& band : bands_) {
    ++id;
    if (!band->visible_) continue;
    REBARBANDINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_STYLE | RBBIM_ID | RBBIM_SIZE | RBBIM_CHILDSIZE | RBBIM_TEXT | RBBIM_COLORS;
    // The bar paints the background itself (colour or tiled picture).
    info.clrBack = CLR_NONE;
    info.clrFore = CLR_DEFAULT;
    info.fStyle = (band->break_ ? RBBS_BREAK : 0) | (band->fixedSize_ ? RBBS_FIXEDSIZE | RBBS_NOGRIPPER : 0);
    info.wID = id;
    info.cx = static_cast<UINT>(band->width_);
    info.cxMinChild = static_cast<UINT>(band->minWidth_);
    info.cyMinChild = static_cast<UINT>(band->minHeight_);
    std::u16string text = showText_ ? band->text_ : u"";
    info.lpText = const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(text.c_str()));
    if (auto* w = As<TWinControl>(band->control_)) {
      info.fMask |= RBBIM_CHILD;
      info.hwndChild = w->Handle();
    }
    SendMessageW(h, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info));
  }
  updating_ = false;
  Invalidate();
}

void TCoolBar::EraseBackground(HDC dc) {
  // The bar's colour, or its picture tiled from the top-left corner of the bar (also
  // when a transparent child asks through a DC whose origin is moved to itself).
  RECT r = ClientRect().ToRECT();
  if (bitmap_->Empty()) {
    FillRect(dc, &r, Brush()->Handle());
    return;
  }
  if (!pattern_) {
    bitmap_->Dormant();
    pattern_.Reset(CreatePatternBrush(bitmap_->Handle()));
  }
  POINT origin{0, 0};
  LPtoDP(dc, &origin, 1);
  POINT old;
  SetBrushOrgEx(dc, origin.x, origin.y, &old);
  FillRect(dc, &r, pattern_.Get());
  SetBrushOrgEx(dc, old.x, old.y, nullptr);
}

void TCoolBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      EraseBackground(reinterpret_cast<HDC>(m.WParam));
      m.Result = 1;
      return;
    case CM_CONTROLLISTCHANGE: {
      auto* control = reinterpret_cast<TControl*>(m.WParam);
      if (m.LParam != 0) {
        if (BandFor(control) == nullptr) {
          auto band = TOwned<TCoolBand>(new TCoolBand(this));
          band->control_ = control;
          band->width_ = control->Width();
          band->minHeight_ = control->Height();
          bands_.push_back(std::move(band));
        }
      } else {
        for (auto it = bands_.begin(); it != bands_.end(); ++it)
          if ((*it)->control_ == control) {
            bands_.erase(it);
            break;
          }
      }
      UpdateBands();
      return;
    }
    case CN_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(m.LParam);
      if (header->code == RBN_HEIGHTCHANGE) Realign();
      m.Result = 0;
      return;
    }
  }
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) {
    TControl::WndProc(m);
    return;
  }
  TWinControl::WndProc(m);
}
