#include "framework/core/Unicode.h"

#include <windows.h>

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    uint32_t c = static_cast<unsigned char>(text[i]);
    int extra;
    if (c < 0x80) extra = 0;
    else if ((c & 0xE0) == 0xC0) { c &= 0x1F; extra = 1; }
    else if ((c & 0xF0) == 0xE0) { c &= 0x0F; extra = 2; }
    else if ((c & 0xF8) == 0xF0) { c &= 0x07; extra = 3; }
    else { out.push_back(0xFFFD); ++i; continue; }
    bool bad = false;
    for (int k = 1; !bad && k <= extra; ++k) {
      if (i + k >= text.size()) { bad = true; break; }
      unsigned char b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) bad = true;
      else c = (c << 6) | (b & 0x3F);
    }
    // A broken sequence costs one replacement character and resynchronises at the next byte.
    if (bad) { out.push_back(0xFFFD); ++i; continue; }
    i += extra + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::u16string AnsiToWide(std::string_view bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string out(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                      reinterpret_cast<LPWSTR>(out.data()), n);
  return out;
}

std::string WideToAnsi(std::u16string_view text, unsigned codePage) {
  if (text.empty()) return {};
  auto src = reinterpret_cast<LPCWSTR>(text.data());
  int n = WideCharToMultiByte(codePage, 0, src, static_cast<int>(text.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, src, static_cast<int>(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

static char16_t LowerChar(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }

std::u16string LowerAscii(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) c = LowerChar(c);
  return out;
}

std::u16string UpperAscii(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out)
    if (c >= u'a' && c <= u'z') c -= 32;
  return out;
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (auto& c : out)
    if (c >= 'A' && c <= 'Z') c += 32;
  return out;
}

int CompareTextAscii(std::u16string_view a, std::u16string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    char16_t x = LowerChar(a[i]), y = LowerChar(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameTextAscii(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && CompareTextAscii(a, b) == 0;
}

std::u16string IntToStr(int64_t value) {
  std::string s = std::to_string(value);
  return std::u16string(s.begin(), s.end());
}

std::u16string IntToHex(uint64_t value, int digits) {
  static const char16_t hex[] = u"0123456789ABCDEF";
  std::u16string out;
  do {
    out.insert(out.begin(), hex[value & 15]);
    value >>= 4;
  } while (value != 0);
  while (static_cast<int>(out.size()) < digits) out.insert(out.begin(), u'0');
  return out;
}

bool TryStrToInt(std::u16string_view text, int64_t& value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  bool hexadecimal = false;
  if (i < text.size() && text[i] == u'$') {
    hexadecimal = true;
    ++i;
  }
  if (i >= text.size()) return false;
  uint64_t result = 0;
  for (; i < text.size(); ++i) {
    char16_t c = text[i];
    unsigned digit;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (hexadecimal && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (hexadecimal && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    else return false;
    uint64_t next = result * (hexadecimal ? 16 : 10) + digit;
    if (next / (hexadecimal ? 16 : 10) != result || next > 0x7FFFFFFFFFFFFFFFull + negative)
      return false;
    result = next;
  }
  value = negative ? static_cast<int64_t>(0 - result) : static_cast<int64_t>(result);
  return true;
}

std::u16string Trim(std::u16string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] <= u' ') ++b;
  while (e > b && text[e - 1] <= u' ') --e;
  return std::u16string(text.substr(b, e - b));
}

std::u16string StringReplaceAll(std::u16string_view text, std::u16string_view find,
                                std::u16string_view by) {
  if (find.empty()) return std::u16string(text);
  std::u16string out;
  size_t pos = 0;
  for (;;) {
    size_t hit = text.find(find, pos);
    if (hit == std::u16string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(by);
    pos = hit + find.size();
  }
  out.append(text.substr(pos));
  return out;
}
