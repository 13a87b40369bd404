#include "webview/DocumentContainer.h"

#include "framework/core/Stream.h"
#include "framework/graphics/Graphic.h"
#include "framework/core/Unicode.h"
#include "webview/PresentationalElements.h"
#include "webview/TextDecoding.h"
#include "webview/Url.h"

namespace {

// The old control's "medium" text size: 12 pt at 96 dpi.
constexpr int kDefaultFontSize = 16;

std::u16string FontKey(const std::u16string& face, int size, int weight, bool italic, unsigned decoration) {
  return face + u'|' + IntToStr(size) + u'|' + IntToStr(weight) + u'|' + (italic ? u"i" : u"n") + u'|' +
         IntToStr(decoration);
}

std::u16string FromEngine(const litehtml::tchar_t* text) { return text != nullptr ? Utf8ToUtf16(text) : std::u16string(); }

}  // namespace

TDocumentContainer::TDocumentContainer(TFontFamilies::TInstalled installed) : families_(std::move(installed)) {}

TDocumentContainer::~TDocumentContainer() = default;

void TDocumentContainer::SetBaseUrl(const std::u16string& url) { baseUrl_ = url.empty() ? u"about:blank" : url; }

void TDocumentContainer::SetViewport(int width, int height) {
  viewportWidth_ = width;
  viewportHeight_ = height;
}

std::u16string TDocumentContainer::ResolveImage(const char* src, const char* baseurl) const {
  std::u16string base = baseurl != nullptr && *baseurl != '\0' ? Utf8ToUtf16(baseurl) : baseUrl_;
  return ResolveUrl(FromEngine(src), base);
}

void TDocumentContainer::BeginDraw(TDrawTarget* target, int originX, int originY) {
  target_ = target;
  originX_ = originX;
  originY_ = originY;
  clips_.clear();
}

void TDocumentContainer::EndDraw() {
  while (!clips_.empty()) del_clip();
  if (target_ != nullptr) DrawEnded();
  target_ = nullptr;
}

std::u16string TDocumentContainer::MarkerText(const litehtml::list_marker& marker) {
  int n = marker.index;
  if (n <= 0) n = 1;
  auto alpha = [](int value, char16_t first) {
    std::u16string s;
    for (; value > 0; value = (value - 1) / 26) s.insert(s.begin(), static_cast<char16_t>(first + (value - 1) % 26));
    return s;
  };
  auto roman = [](int value, bool upper) {
    static const struct { int Value; const char16_t* Text; } kDigits[] = {
        {1000, u"m"}, {900, u"cm"}, {500, u"d"}, {400, u"cd"}, {100, u"c"}, {90, u"xc"}, {50, u"l"},
        {40, u"xl"}, {10, u"x"}, {9, u"ix"}, {5, u"v"}, {4, u"iv"}, {1, u"i"}};
    std::u16string s;
    if (value >= 4000) return IntToStr(value);
    for (const auto& d : kDigits)
      for (; value >= d.Value; value -= d.Value) s += d.Text;
    return upper ? UpperAscii(s) : s;
  };
  auto chinese = [](int value) {
    static const char16_t* kDigits = u"〇一二三四五六七八九";
    if (value >= 100) return IntToStr(value);
    std::u16string s;
    if (value >= 10) {
      if (value >= 20) s += kDigits[value / 10];
      s += u'十';
      if (value % 10 != 0) s += kDigits[value % 10];
    } else {
      s += kDigits[value];
    }
    return s;
  };
  switch (marker.marker_type) {
    case litehtml::list_style_type_decimal: return IntToStr(n) + u".";
    case litehtml::list_style_type_decimal_leading_zero: return (n < 10 ? u"0" : u"") + IntToStr(n) + u".";
    case litehtml::list_style_type_lower_alpha:
    case litehtml::list_style_type_lower_latin: return alpha(n, u'a') + u".";
    case litehtml::list_style_type_upper_alpha:
    case litehtml::list_style_type_upper_latin: return alpha(n, u'A') + u".";
    case litehtml::list_style_type_lower_roman: return roman(n, false) + u".";
    case litehtml::list_style_type_upper_roman: return roman(n, true) + u".";
    case litehtml::list_style_type_cjk_ideographic: return chinese(n) + u"、";
    case litehtml::list_style_type_lower_greek:
      return n <= 24 ? std::u16string(1, static_cast<char16_t>(0x3B1 + n - 1 + (n > 17 ? 1 : 0))) + u"." : IntToStr(n) + u".";
    default: return {};
  }
}

bool TDocumentContainer::Selected(const litehtml::position& drawn) const {
  return !selected_.empty() && selected_.count(RunKey(drawn.x - originX_, drawn.y - originY_)) != 0;
}

litehtml::uint_ptr TDocumentContainer::create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                                   litehtml::font_style italic, unsigned int decoration,
                                                   litehtml::font_metrics* fm) {
  std::u16string face = families_.Resolve(faceName != nullptr ? faceName : "");
  if (size <= 0) size = kDefaultFontSize;
  // Sizes beyond this only come from broken pages; GDI would make them anyway, slowly.
  if (size > 1000) size = 1000;
  bool isItalic = italic == litehtml::fontStyleItalic;
  std::u16string key = FontKey(face, size, weight, isItalic, decoration);
  auto it = fonts_.find(key);
  if (it == fonts_.end()) {
    auto font = std::make_unique<TFontEntry>();
    font->Face = face;
    font->Size = size;
    font->Weight = weight;
    font->Italic = isItalic;
    font->Decoration = decoration;
    CreateDeviceFont(*font);
    // Spaces are drawn too: selected ones show the highlight, underlined ones the line.
    font->Metrics.draw_spaces = true;
    it = fonts_.emplace(key, std::move(font)).first;
  }
  if (fm != nullptr) *fm = it->second->Metrics;
  return reinterpret_cast<litehtml::uint_ptr>(it->second.get());
}

void TDocumentContainer::DropFonts() {
  for (auto& [key, font] : fonts_) DeleteDeviceFont(*font);
  fonts_.clear();
}

void TDocumentContainer::delete_font(litehtml::uint_ptr) {
  // Fonts stay for the next page, which uses the same few; they go with the container.
}

int TDocumentContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr font) {
  if (text == nullptr || *text == '\0' || font == 0) return 0;
  TFontEntry& entry = FontOf(font);
  auto it = entry.Widths.find(text);
  if (it != entry.Widths.end()) return it->second;
  int width = MeasureText(entry, Utf8ToUtf16(text));
  // Words repeat; a page with a long vocabulary must not grow the cache without end.
  if (entry.Widths.size() > 20000) entry.Widths.clear();
  entry.Widths.emplace(text, width);
  return width;
}

int TDocumentContainer::pt_to_px(int pt) const { return MulDiv(pt, 96, 72); }

int TDocumentContainer::get_default_font_size() const { return kDefaultFontSize; }

const litehtml::tchar_t* TDocumentContainer::get_default_font_name() const {
  static const std::string name = Utf16ToUtf8(TFontFamilies::DefaultFace());
  return name.c_str();
}

void TDocumentContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool) {
  std::u16string url = ResolveImage(src, baseurl);
  if (!url.empty()) images_.Request(url);
}

void TDocumentContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                                        litehtml::size& sz) {
  sz.width = sz.height = 0;
  const TGraphic* image = images_.Image(ResolveImage(src, baseurl));
  if (image == nullptr) return;
  sz.width = image->Width();
  sz.height = image->Height();
}

void TDocumentContainer::set_caption(const litehtml::tchar_t* caption) { caption_ = FromEngine(caption); }

void TDocumentContainer::set_base_url(const litehtml::tchar_t* baseUrl) {
  std::u16string resolved = ResolveUrl(FromEngine(baseUrl), baseUrl_);
  if (!resolved.empty()) baseUrl_ = resolved;
}

void TDocumentContainer::link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) {}

void TDocumentContainer::on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr& el) {
  if (OnAnchorClick) OnAnchorClick(url != nullptr ? url : "", el);
}

void TDocumentContainer::set_cursor(const litehtml::tchar_t* cursor) { cursor_ = cursor != nullptr ? cursor : "auto"; }

void TDocumentContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt) {
  if (tt == litehtml::text_transform_none || text.empty()) return;
  std::u16string wide = Utf8ToUtf16(text);
  auto* p = reinterpret_cast<LPWSTR>(wide.data());
  auto n = static_cast<DWORD>(wide.size());
  switch (tt) {
    case litehtml::text_transform_uppercase: CharUpperBuffW(p, n); break;
    case litehtml::text_transform_lowercase: CharLowerBuffW(p, n); break;
    case litehtml::text_transform_capitalize: CharUpperBuffW(p, 1); break;
    default: break;
  }
  text = Utf16ToUtf8(wide);
}

void TDocumentContainer::import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl) {
  std::u16string base = baseurl.empty() ? baseUrl_ : Utf8ToUtf16(baseurl);
  std::u16string address = ResolveUrl(Utf8ToUtf16(url), base);
  text.clear();
  if (address.empty()) return;
  baseurl = Utf16ToUtf8(address);
  auto known = styleSheets_.find(address);
  if (known != styleSheets_.end()) {
    text = known->second;
    return;
  }
  // Local sheets are read here; network ones only arrive with their page (never wait here).
  TUrl parsed = ParseAddress(address);
  if (parsed.Kind != TUrlKind::File) return;
  try {
    TOwned<TMemoryStream> file(new TMemoryStream);
    file->LoadFromFile(parsed.Path);
    text = DecodeDocument(std::string_view(reinterpret_cast<const char*>(file->Memory()),
                                           static_cast<size_t>(file->Size())));
  } catch (const std::exception&) {
    text.clear();
  }
}

void TDocumentContainer::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&, bool validX,
                                  bool validY) {
  litehtml::position box = pos;
  // An axis that is not clipped reaches as far as anything could be drawn.
  if (!validX) {
    box.x = -0x3FFFFFFF;
    box.width = 0x7FFFFFFE;
  }
  if (!validY) {
    box.y = -0x3FFFFFFF;
    box.height = 0x7FFFFFFE;
  }
  clips_.push_back(box);
  if (target_ != nullptr) PushClip(box);
}

void TDocumentContainer::del_clip() {
  if (clips_.empty()) return;
  clips_.pop_back();
  if (target_ != nullptr) PopClip();
}

void TDocumentContainer::get_client_rect(litehtml::position& client) const {
  client = litehtml::position(0, 0, viewportWidth_, viewportHeight_);
}

std::shared_ptr<litehtml::element> TDocumentContainer::create_element(const litehtml::tchar_t* tagName,
                                                                      const litehtml::string_map&,
                                                                      const std::shared_ptr<litehtml::document>& doc) {
  return CreatePresentationalElement(tagName, doc);
}

void TDocumentContainer::get_media_features(litehtml::media_features& media) const {
  media.type = litehtml::media_type_screen;
  media.width = viewportWidth_;
  media.height = viewportHeight_;
  media.device_width = GetSystemMetrics(SM_CXSCREEN);
  media.device_height = GetSystemMetrics(SM_CYSCREEN);
  media.color = 8;
  media.monochrome = 0;
  media.color_index = 256;
  media.resolution = 96;
}

void TDocumentContainer::get_language(litehtml::tstring& language, litehtml::tstring& culture) const {
  language = "zh";
  culture = "zh-CN";
}
