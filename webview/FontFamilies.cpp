#include "webview/FontFamilies.h"

#include <windows.h>

#include <vector>

#include "framework/core/Unicode.h"
#include "framework/graphics/ScreenDC.h"

namespace {

struct TFaceChoice {
  const char16_t* Name;
  std::vector<const char16_t*> Faces;  // the first installed one wins
};

// Generic families (CSS names, lower case).
const TFaceChoice kGeneric[] = {
    {u"cursive", {u"楷体_GB2312", u"楷体"}},
    {u"fantasy", {u"黑体"}},
    {u"monospace", {u"Courier New", u"DejaVu Sans Mono", u"新宋体"}},
    {u"sans-serif", {u"黑体", u"微软雅黑"}},
    {u"serif", {u"宋体"}},
    {u"system-ui", {u"MS Shell Dlg 2", u"黑体"}},
};

// Names that pages use for the same Chinese faces, tried when the name itself is missing.
const TFaceChoice kAliases[] = {
    {u"fangsong", {u"仿宋_GB2312", u"仿宋", u"宋体"}},
    {u"fangsong_gb2312", {u"仿宋_GB2312", u"仿宋", u"宋体"}},
    {u"kaiti", {u"楷体_GB2312", u"楷体"}},
    {u"kaiti_gb2312", {u"楷体_GB2312", u"楷体"}},
    {u"microsoft yahei", {u"微软雅黑", u"黑体"}},
    {u"mingliu", {u"宋体"}},
    {u"nsimsun", {u"新宋体", u"宋体"}},
    {u"pmingliu", {u"宋体"}},
    {u"simhei", {u"黑体"}},
    {u"simsun", {u"宋体"}},
    {u"仿宋", {u"仿宋_GB2312", u"宋体"}},
    {u"仿宋_gb2312", {u"仿宋", u"宋体"}},
    {u"宋体", {u"SimSun"}},
    {u"微软雅黑", {u"Microsoft YaHei", u"黑体"}},
    {u"新宋体", {u"NSimSun", u"宋体"}},
    {u"新細明體", {u"宋体"}},
    {u"楷体", {u"楷体_GB2312", u"KaiTi"}},
    {u"楷体_gb2312", {u"楷体", u"KaiTi"}},
    {u"細明體", {u"宋体"}},
    {u"黑体", {u"SimHei"}},
};

const TFaceChoice* Find(const TFaceChoice* begin, const TFaceChoice* end, const std::u16string& name) {
  for (const TFaceChoice* c = begin; c != end; ++c)
    if (name == c->Name) return c;
  return nullptr;
}

// "'楷体_GB2312', KaiTi ,serif" -> {楷体_GB2312, KaiTi, serif}
std::vector<std::u16string> SplitFamilies(std::string_view css) {
  std::vector<std::u16string> out;
  std::u16string text = Utf8ToUtf16(css);
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(u',', start);
    std::u16string item = Trim(std::u16string_view(text).substr(start, comma == std::u16string::npos ? comma : comma - start));
    if (item.size() >= 2 && (item.front() == u'"' || item.front() == u'\'') && item.back() == item.front())
      item = Trim(std::u16string_view(item).substr(1, item.size() - 2));
    if (!item.empty()) out.push_back(item);
    if (comma == std::u16string::npos) break;
    start = comma + 1;
  }
  return out;
}

}  // namespace

bool FaceInstalled(const std::u16string& face) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTW lf{};
  lf.lfHeight = -16;
  lf.lfCharSet = DEFAULT_CHARSET;
  face.copy(reinterpret_cast<char16_t*>(lf.lfFaceName), face.size());
  HFONT font = CreateFontIndirectW(&lf);
  if (font == nullptr) return false;
  WCHAR got[LF_FACESIZE] = {};
  {
    TScreenDC dc(font);
    GetTextFaceW(dc.Get(), LF_FACESIZE, got);
  }
  DeleteObject(font);
  return SameTextAscii(reinterpret_cast<const char16_t*>(got), face);
}

TFontFamilies::TFontFamilies(TInstalled installed) : installed_(std::move(installed)) {}

bool TFontFamilies::Installed(const std::u16string& face) {
  auto it = known_.find(face);
  if (it != known_.end()) return it->second;
  bool yes = installed_ ? installed_(face) : false;
  known_.emplace(face, yes);
  return yes;
}

std::u16string TFontFamilies::Resolve(std::string_view cssFamilies) {
  auto cached = resolved_.find(cssFamilies);
  if (cached != resolved_.end()) return cached->second;
  std::u16string face;
  for (const std::u16string& family : SplitFamilies(cssFamilies)) {
    std::u16string key = LowerAscii(family);
    if (const TFaceChoice* generic = Find(std::begin(kGeneric), std::end(kGeneric), key)) {
      for (const char16_t* f : generic->Faces)
        if (Installed(f)) { face = f; break; }
      if (face.empty()) face = generic->Faces.front();
      break;
    }
    if (Installed(family)) { face = family; break; }
    if (const TFaceChoice* alias = Find(std::begin(kAliases), std::end(kAliases), key)) {
      for (const char16_t* f : alias->Faces)
        if (Installed(f)) { face = f; break; }
      if (!face.empty()) break;
    }
  }
  if (face.empty()) face = DefaultFace();
  resolved_.emplace(std::string(cssFamilies), face);
  return face;
}
