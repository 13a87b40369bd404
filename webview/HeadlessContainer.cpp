#include "webview/HeadlessContainer.h"

#include <algorithm>

#include "framework/core/Unicode.h"

namespace {

uint32_t ToRgb(const litehtml::web_color& c) { return (c.red << 16) | (c.green << 8) | c.blue; }

bool HeadlessInstalled(const std::u16string& face) {
  static const char16_t* kFaces[] = {u"宋体", u"楷体_GB2312", u"楷体", u"黑体", u"SimSun", u"KaiTi",
                                     u"SimHei", u"DejaVu Sans Mono", u"MS Shell Dlg 2"};
  return std::any_of(std::begin(kFaces), std::end(kFaces), [&](const char16_t* f) { return face == f; });
}

}  // namespace

THeadlessContainer::THeadlessContainer() : TDocumentContainer(HeadlessInstalled) {}

THeadlessContainer::~THeadlessContainer() { DropFonts(); }

void THeadlessContainer::CreateDeviceFont(TFontEntry& font) {
  font.Metrics.ascent = font.Size;
  font.Metrics.descent = std::max(1, font.Size / 4);
  font.Metrics.height = font.Metrics.ascent + font.Metrics.descent;
  font.Metrics.x_height = std::max(1, font.Size / 2);
}

int THeadlessContainer::MeasureText(TFontEntry& font, const std::u16string& text) {
  int width = 0;
  for (char16_t c : text) width += CharWidth(c, font.Size);
  return width;
}

void THeadlessContainer::draw_text(litehtml::uint_ptr, const litehtml::tchar_t* text, litehtml::uint_ptr font,
                                   litehtml::web_color color, const litehtml::position& pos) {
  if (text == nullptr || font == 0) return;
  const TFontEntry& entry = FontOf(font);
  TDrawCall call;
  call.Kind = TDrawCall::dcText;
  call.Box = pos;
  call.Text = Utf8ToUtf16(text);
  call.Color = ToRgb(color);
  call.Face = entry.Face;
  call.Size = entry.Size;
  call.Weight = entry.Weight;
  call.Italic = entry.Italic;
  call.Decoration = entry.Decoration;
  call.Selected = Selected(pos);
  calls_.push_back(std::move(call));
}

void THeadlessContainer::draw_list_marker(litehtml::uint_ptr, const litehtml::list_marker& marker) {
  TDrawCall call;
  call.Kind = TDrawCall::dcMarker;
  call.Box = marker.pos;
  call.Color = ToRgb(marker.color);
  call.MarkerType = marker.marker_type;
  call.Text = marker.image.empty() ? MarkerText(marker) : ResolveImage(marker.image.c_str(), marker.baseurl);
  calls_.push_back(std::move(call));
}

void THeadlessContainer::draw_background(litehtml::uint_ptr, const litehtml::background_paint& bg) {
  TDrawCall call;
  call.Box = bg.clip_box;
  if (bg.image.empty()) {
    if (bg.color.alpha == 0) return;
    call.Kind = TDrawCall::dcBackground;
    call.Opaque = true;
    call.Color = ToRgb(bg.color);
  } else {
    call.Kind = TDrawCall::dcImage;
    call.Text = ResolveImage(bg.image.c_str(), bg.baseurl.c_str());
    call.Box = litehtml::position(bg.position_x, bg.position_y, bg.image_size.width, bg.image_size.height);
    // Broken images draw nothing; the record says whether there was a picture.
    call.Opaque = Images().Image(call.Text) != nullptr;
  }
  calls_.push_back(std::move(call));
}

void THeadlessContainer::draw_borders(litehtml::uint_ptr, const litehtml::borders& borders,
                                      const litehtml::position& drawPos, bool) {
  TDrawCall call;
  call.Kind = TDrawCall::dcBorders;
  call.Box = drawPos;
  call.Edges = borders;
  call.Color = ToRgb(borders.top.color);
  calls_.push_back(std::move(call));
}
