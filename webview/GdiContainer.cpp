#include "webview/GdiContainer.h"

#include <algorithm>

#include "framework/core/Unicode.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Graphic.h"

namespace {

COLORREF ToColorRef(const litehtml::web_color& c) { return RGB(c.red, c.green, c.blue); }

RECT ToRect(const litehtml::position& p) { return RECT{p.x, p.y, p.x + p.width, p.y + p.height}; }

COLORREF Shade(COLORREF c, bool darker) {
  auto mix = [darker](int v) { return darker ? v * 2 / 3 : v + (255 - v) / 2; };
  return RGB(mix(GetRValue(c)), mix(GetGValue(c)), mix(GetBValue(c)));
}

// Windows' own scan of an axis-aligned side: dotted and dashed as runs of squares.
void FillSide(HDC dc, RECT r, COLORREF color, litehtml::border_style style, bool horizontal) {
  HBRUSH brush = CreateSolidBrush(color);
  if (style == litehtml::border_style_dotted || style == litehtml::border_style_dashed) {
    int thickness = std::max(1, horizontal ? static_cast<int>(r.bottom - r.top) : static_cast<int>(r.right - r.left));
    int on = style == litehtml::border_style_dotted ? thickness : thickness * 3;
    int from = horizontal ? r.left : r.top, to = horizontal ? r.right : r.bottom;
    for (int p = from; p < to; p += on + thickness) {
      RECT piece = r;
      if (horizontal) {
        piece.left = p;
        piece.right = std::min(p + on, to);
      } else {
        piece.top = p;
        piece.bottom = std::min(p + on, to);
      }
      FillRect(dc, &piece, brush);
    }
  } else {
    FillRect(dc, &r, brush);
  }
  DeleteObject(brush);
}

}  // namespace

TGdiContainer::TGdiContainer() : TDocumentContainer(FaceInstalled), canvas_(new TCanvas) {
  measureDC_ = CreateCompatibleDC(nullptr);
}

TGdiContainer::~TGdiContainer() {
  DropFonts();
  if (measureOriginal_ != nullptr) SelectObject(measureDC_, measureOriginal_);
  DeleteDC(measureDC_);
}

HDC TGdiContainer::DC(litehtml::uint_ptr target) const {
  auto* t = reinterpret_cast<TDrawTarget*>(target);
  return t != nullptr ? t->DC : nullptr;
}

void TGdiContainer::CreateDeviceFont(TFontEntry& font) {
  LOGFONTW lf{};
  lf.lfHeight = -font.Size;
  lf.lfWeight = font.Weight;
  lf.lfItalic = font.Italic ? TRUE : FALSE;
  lf.lfUnderline = (font.Decoration & litehtml::font_decoration_underline) != 0 ? TRUE : FALSE;
  lf.lfStrikeOut = (font.Decoration & litehtml::font_decoration_linethrough) != 0 ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  std::u16string face = font.Face.substr(0, LF_FACESIZE - 1);
  face.copy(reinterpret_cast<char16_t*>(lf.lfFaceName), face.size());
  font.Handle = CreateFontIndirectW(&lf);
  if (font.Handle == nullptr) font.Handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HGDIOBJ old = SelectObject(measureDC_, font.Handle);
  if (measureOriginal_ == nullptr) measureOriginal_ = old;
  measureFont_ = font.Handle;
  TEXTMETRICW tm{};
  GetTextMetricsW(measureDC_, &tm);
  font.Metrics.height = tm.tmHeight;
  font.Metrics.ascent = tm.tmAscent;
  font.Metrics.descent = tm.tmDescent;
  font.Metrics.x_height = std::max(1, static_cast<int>((tm.tmAscent - tm.tmInternalLeading) * 11 / 20));
}

void TGdiContainer::DeleteDeviceFont(TFontEntry& font) {
  if (font.Handle == nullptr) return;
  if (measureFont_ == font.Handle) {
    SelectObject(measureDC_, measureOriginal_);
    measureFont_ = nullptr;
  }
  if (font.Handle != GetStockObject(DEFAULT_GUI_FONT)) DeleteObject(font.Handle);
  font.Handle = nullptr;
}

int TGdiContainer::MeasureText(TFontEntry& font, const std::u16string& text) {
  if (measureFont_ != font.Handle) {
    HGDIOBJ old = SelectObject(measureDC_, font.Handle);
    if (measureOriginal_ == nullptr) measureOriginal_ = old;
    measureFont_ = font.Handle;
  }
  SIZE size{};
  GetTextExtentPoint32W(measureDC_, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), &size);
  return size.cx;
}

void TGdiContainer::SelectFont(HDC dc, const TFontEntry& font) {
  if (fontDC_ == dc && fontSelected_ == font.Handle) return;
  HGDIOBJ old = SelectObject(dc, font.Handle);
  if (fontDC_ != dc) {
    fontDC_ = dc;
    fontOriginal_ = old;
  }
  fontSelected_ = font.Handle;
}

void TGdiContainer::DrawEnded() {
  if (fontDC_ != nullptr && fontOriginal_ != nullptr) SelectObject(fontDC_, fontOriginal_);
  fontDC_ = nullptr;
  fontSelected_ = nullptr;
  fontOriginal_ = nullptr;
}

void TGdiContainer::FillBox(HDC dc, const RECT& r, COLORREF color) {
  COLORREF old = SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

void TGdiContainer::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr font,
                              litehtml::web_color color, const litehtml::position& pos) {
  HDC dc = DC(hdc);
  if (dc == nullptr || text == nullptr || font == 0) return;
  TFontEntry& entry = FontOf(font);
  bool selected = Selected(pos);
  bool space = text[0] == ' ' || text[0] == '\t' || text[0] == '\n';
  if (selected) FillBox(dc, ToRect(pos), GetSysColor(COLOR_HIGHLIGHT));
  // A space shows nothing but a highlight or a line through or under it.
  if (space && !selected && (entry.Decoration & (litehtml::font_decoration_underline |
                                                 litehtml::font_decoration_linethrough)) == 0)
    return;
  std::u16string wide = Utf8ToUtf16(text);
  SelectFont(dc, entry);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
  SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ToColorRef(color));
  int baseline = pos.bottom() - entry.Metrics.descent;
  ExtTextOutW(dc, pos.x, baseline, 0, nullptr, reinterpret_cast<LPCWSTR>(wide.data()), static_cast<UINT>(wide.size()),
              nullptr);
  if ((entry.Decoration & litehtml::font_decoration_overline) != 0) {
    RECT line{pos.x, pos.y, pos.right(), pos.y + std::max(1, entry.Size / 16)};
    FillBox(dc, line, ToColorRef(color));
  }
}

void TGdiContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) {
  HDC dc = DC(hdc);
  if (dc == nullptr) return;
  RECT r = ToRect(marker.pos);
  if (!marker.image.empty()) {
    if (const TGraphic* image = Images().Image(ResolveImage(marker.image.c_str(), marker.baseurl))) {
      RECT box{r.left, r.top, r.left + image->Width(), r.top + image->Height()};
      DrawImage(dc, *image, box);
      return;
    }
  }
  COLORREF color = ToColorRef(marker.color);
  switch (marker.marker_type) {
    case litehtml::list_style_type_none: return;
    case litehtml::list_style_type_square: FillBox(dc, r, color); return;
    case litehtml::list_style_type_disc:
    case litehtml::list_style_type_circle: {
      HBRUSH brush = marker.marker_type == litehtml::list_style_type_disc ? CreateSolidBrush(color) : nullptr;
      HPEN pen = CreatePen(PS_SOLID, 1, color);
      HGDIOBJ oldBrush = SelectObject(dc, brush != nullptr ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
      HGDIOBJ oldPen = SelectObject(dc, pen);
      Ellipse(dc, r.left, r.top, r.right, r.bottom);
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
      DeleteObject(pen);
      if (brush != nullptr) DeleteObject(brush);
      return;
    }
    default: break;
  }
  std::u16string text = MarkerText(marker);
  if (text.empty() || marker.font == 0) return;
  TFontEntry& entry = FontOf(marker.font);
  SelectFont(dc, entry);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  SetTextAlign(dc, TA_RIGHT | TA_BASELINE | TA_NOUPDATECP);
  ExtTextOutW(dc, r.right, r.bottom, 0, nullptr, reinterpret_cast<LPCWSTR>(text.data()),
              static_cast<UINT>(text.size()), nullptr);
}

void TGdiContainer::DrawImage(HDC dc, const TGraphic& image, const RECT& r) {
  canvas_->SetHandle(dc);
  canvas_->StretchDraw(TRect(r), image);
  canvas_->SetHandle(nullptr);
}

void TGdiContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) {
  HDC dc = DC(hdc);
  if (dc == nullptr) return;
  RECT clip = ToRect(bg.clip_box);
  if (bg.image.empty()) {
    if (bg.color.alpha != 0) FillBox(dc, clip, ToColorRef(bg.color));
    return;
  }
  const TGraphic* image = Images().Image(ResolveImage(bg.image.c_str(), bg.baseurl.c_str()));
  if (image == nullptr) return;
  int w = bg.image_size.width > 0 ? bg.image_size.width : image->Width();
  int h = bg.image_size.height > 0 ? bg.image_size.height : image->Height();
  if (w <= 0 || h <= 0) return;
  RECT visible{};
  RECT dcClip{};
  if (GetClipBox(dc, &dcClip) == NULLREGION || !IntersectRect(&visible, &clip, &dcClip)) return;
  int saved = SaveDC(dc);
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  bool repeatX = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_x;
  bool repeatY = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_y;
  auto first = [](int origin, int from, int step) {
    if (origin <= from) return origin + (from - origin) / step * step;
    return origin - ((origin - from + step - 1) / step) * step;
  };
  int x0 = repeatX ? first(bg.position_x, visible.left, w) : bg.position_x;
  int y0 = repeatY ? first(bg.position_y, visible.top, h) : bg.position_y;
  int x1 = repeatX ? static_cast<int>(visible.right) : x0 + 1;
  int y1 = repeatY ? static_cast<int>(visible.bottom) : y0 + 1;
  for (int y = y0; y < y1; y += h)
    for (int x = x0; x < x1; x += w) DrawImage(dc, *image, RECT{x, y, x + w, y + h});
  RestoreDC(dc, saved);
}

void TGdiContainer::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                                 const litehtml::position& drawPos, bool) {
  HDC dc = DC(hdc);
  if (dc == nullptr) return;
  const litehtml::position& p = drawPos;
  auto visible = [](const litehtml::border& b) {
    return b.width > 0 && b.style != litehtml::border_style_none && b.style != litehtml::border_style_hidden;
  };
  // inset and groove are dark above and to the left, outset and ridge the other way round.
  auto color = [](const litehtml::border& b, bool topLeft) {
    COLORREF c = ToColorRef(b.color);
    switch (b.style) {
      case litehtml::border_style_inset:
      case litehtml::border_style_groove: return Shade(c, topLeft);
      case litehtml::border_style_outset:
      case litehtml::border_style_ridge: return Shade(c, !topLeft);
      default: return c;
    }
  };
  int top = visible(borders.top) ? borders.top.width : 0;
  int bottom = visible(borders.bottom) ? borders.bottom.width : 0;
  if (top > 0)
    FillSide(dc, RECT{p.x, p.y, p.right(), p.y + top}, color(borders.top, true), borders.top.style, true);
  if (bottom > 0)
    FillSide(dc, RECT{p.x, p.bottom() - bottom, p.right(), p.bottom()}, color(borders.bottom, false),
             borders.bottom.style, true);
  if (visible(borders.left))
    FillSide(dc, RECT{p.x, p.y + top, p.x + borders.left.width, p.bottom() - bottom}, color(borders.left, true),
             borders.left.style, false);
  if (visible(borders.right))
    FillSide(dc, RECT{p.right() - borders.right.width, p.y + top, p.right(), p.bottom() - bottom},
             color(borders.right, false), borders.right.style, false);
}

void TGdiContainer::PushClip(const litehtml::position& box) {
  HDC dc = Target()->DC;
  if (dc == nullptr) return;
  SaveDC(dc);
  // Clamped: GDI coordinates are 27-bit on some drivers.
  auto clamp = [](int v) { return std::clamp(v, -0x3FFFFFF, 0x3FFFFFF); };
  IntersectClipRect(dc, clamp(box.x), clamp(box.y), clamp(box.right()), clamp(box.bottom()));
}

void TGdiContainer::PopClip() {
  HDC dc = Target()->DC;
  if (dc == nullptr) return;
  // RestoreDC puts back the font of the save: ours must be selected again next time.
  RestoreDC(dc, -1);
  fontSelected_ = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
}
