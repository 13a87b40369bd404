#include "webview/TextDecoding.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "framework/core/Unicode.h"

namespace {

struct TCharsetName {
  const char* Name;
  unsigned CodePage;
};

// Sorted by name for the lookup.  GB18030 is read as GBK: the platform has no 54936 here
// and the pages of this program stay within GBK.
const TCharsetName kCharsets[] = {
    {"big5", 950},          {"cp936", 936},        {"euc-cn", 936},      {"euc-kr", 949},
    {"gb18030", 936},       {"gb2312", 936},       {"gbk", 936},         {"iso-8859-1", 1252},
    {"latin1", 1252},       {"shift_jis", 932},    {"us-ascii", 1252},   {"utf-16", 1200},
    {"utf-16be", 1201},     {"utf-16le", 1200},    {"utf-8", CP_UTF8},   {"utf8", CP_UTF8},
    {"windows-1252", 1252}, {"x-gbk", 936},
};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (auto& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The value after "charset=" in text, without quotes, or "".
std::string CharsetParameter(std::string_view text) {
  std::string lower = Lower(text);
  size_t at = lower.find("charset");
  while (at != std::string::npos) {
    size_t i = at + 7;
    while (i < lower.size() && (lower[i] == ' ' || lower[i] == '\t')) ++i;
    if (i < lower.size() && lower[i] == '=') {
      ++i;
      while (i < lower.size() && (lower[i] == ' ' || lower[i] == '"' || lower[i] == '\'')) ++i;
      size_t end = i;
      while (end < lower.size() && (std::isalnum(static_cast<unsigned char>(lower[end])) || lower[end] == '-' ||
                                    lower[end] == '_' || lower[end] == ':' || lower[end] == '.'))
        ++end;
      if (end > i) return lower.substr(i, end - i);
    }
    at = lower.find("charset", at + 7);
  }
  return {};
}

std::string ToUtf8(std::string_view bytes, unsigned codePage) {
  if (codePage == CP_UTF8) return std::string(bytes);
  if (codePage == 1200 || codePage == 1201) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
      auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
      text.push_back(static_cast<char16_t>(codePage == 1200 ? (a | (b << 8)) : ((a << 8) | b)));
    }
    return Utf16ToUtf8(text);
  }
  return Utf16ToUtf8(AnsiToWide(bytes, codePage));
}

}  // namespace

unsigned CodePageOfCharset(std::string_view charset) {
  std::string name = Lower(charset);
  auto it = std::lower_bound(std::begin(kCharsets), std::end(kCharsets), name,
                             [](const TCharsetName& c, const std::string& n) { return n.compare(c.Name) > 0; });
  return it != std::end(kCharsets) && name == it->Name ? it->CodePage : 0;
}

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    auto c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + extra >= s.size()) return false;
    for (int k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

std::string DecodeDocument(std::string_view bytes, std::u16string_view contentType) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE") return ToUtf8(bytes.substr(2), 1200);
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFE\xFF") return ToUtf8(bytes.substr(2), 1201);
  unsigned codePage = CodePageOfCharset(CharsetParameter(Utf16ToUtf8(contentType)));
  if (codePage == 0) {
    std::string head = Lower(bytes.substr(0, 2048));
    for (size_t meta = head.find("<meta"); meta != std::string::npos && codePage == 0;
         meta = head.find("<meta", meta + 5)) {
      size_t end = head.find('>', meta);
      codePage = CodePageOfCharset(CharsetParameter(head.substr(meta, end == std::string::npos ? end : end - meta)));
    }
  }
  if (codePage == 0) codePage = IsValidUtf8(bytes) ? CP_UTF8 : 936;
  std::string text = ToUtf8(bytes, codePage);
  // The engine takes C strings: a NUL inside a broken file would cut the page short.
  text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
  return text;
}
