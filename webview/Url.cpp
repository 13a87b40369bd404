#include "webview/Url.h"

#include <vector>

#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"
#include "webview/TextDecoding.h"

namespace {

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsSlash(char16_t c) { return c == u'/' || c == u'\\'; }

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && SameTextAscii(text.substr(0, prefix.size()), prefix);
}

// "C:\…", "C:/…" (and "C|/…" as old file URLs write it).
bool IsDrivePath(std::u16string_view s) {
  return s.size() >= 3 && IsAsciiLetter(s[0]) && (s[1] == u':' || s[1] == u'|') && IsSlash(s[2]);
}

bool IsUncPath(std::u16string_view s) { return s.size() > 2 && s[0] == u'\\' && s[1] == u'\\'; }

// The scheme of "scheme:rest", lower-cased, or "" when there is none.  "localhost:8080/x"
// has none: digits after the colon make it a host and port.
std::u16string SchemeOf(std::u16string_view s) {
  if (s.empty() || !IsAsciiLetter(s[0])) return {};
  size_t i = 1;
  while (i < s.size() && (IsAsciiLetter(s[i]) || IsDigit(s[i]) || s[i] == u'+' || s[i] == u'-' || s[i] == u'.'))
    ++i;
  if (i >= s.size() || s[i] != u':' || i < 2) return {};
  size_t j = i + 1;
  while (j < s.size() && IsDigit(s[j])) ++j;
  if (j > i + 1 && (j == s.size() || s[j] == u'/')) return {};
  return LowerAscii(s.substr(0, i));
}

bool HasHostAfterSlashes(std::u16string_view s, size_t schemeLength) {
  std::u16string_view rest = s.substr(schemeLength + 1);
  if (rest.size() < 3 || !IsSlash(rest[0]) || !IsSlash(rest[1])) return false;
  char16_t c = rest[2];
  return !IsSlash(c) && c != u'?' && c != u'#' && c != u':';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Removes "." and ".." segments of a path that starts with "/".
std::u16string RemoveDotSegments(std::u16string_view path, size_t keep) {
  std::u16string fixed(path.substr(0, keep));
  std::u16string_view rest = path.substr(keep);
  std::u16string out;
  std::vector<size_t> starts;
  size_t i = 0;
  while (i < rest.size()) {
    size_t slash = rest.find(u'/', i);
    bool last = slash == std::u16string_view::npos;
    std::u16string_view segment = rest.substr(i, last ? std::u16string_view::npos : slash - i);
    if (segment == u".") {
    } else if (segment == u"..") {
      if (!starts.empty()) {
        out.resize(starts.back());
        starts.pop_back();
      }
    } else {
      starts.push_back(out.size());
      out += segment;
      if (!last) out += u'/';
    }
    if (last) break;
    i = slash + 1;
  }
  return fixed + out;
}

}  // namespace

std::u16string PercentDecode(std::u16string_view text) {
  if (text.find(u'%') == std::u16string_view::npos) return std::u16string(text);
  std::string bytes = Utf16ToUtf8(text), out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '%' && i + 2 < bytes.size()) {
      int hi = HexValue(bytes[i + 1]), lo = HexValue(bytes[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        continue;
      }
    }
    out.push_back(bytes[i]);
  }
  if (!IsValidUtf8(out)) return std::u16string(text);
  return Utf8ToUtf16(out);
}

std::u16string PathToFileUrl(std::u16string_view path) {
  std::u16string p(path);
  for (auto& c : p)
    if (c == u'\\') c = u'/';
  std::u16string encoded;
  for (char16_t c : p) {
    switch (c) {
      case u' ': encoded += u"%20"; break;
      case u'%': encoded += u"%25"; break;
      case u'#': encoded += u"%23"; break;
      case u'?': encoded += u"%3F"; break;
      default: encoded += c;
    }
  }
  if (encoded.size() > 2 && encoded[0] == u'/' && encoded[1] == u'/') return u"file:" + encoded;
  return u"file:///" + encoded;
}

std::u16string FileUrlToPath(std::u16string_view url) {
  if (!StartsWithNoCase(url, u"file:")) return {};
  std::u16string_view rest = url.substr(5);
  size_t slashes = 0;
  while (slashes < rest.size() && IsSlash(rest[slashes])) ++slashes;
  std::u16string_view body = rest.substr(slashes);
  size_t hash = body.find(u'#');
  if (hash != std::u16string_view::npos) body = body.substr(0, hash);
  std::u16string path = PercentDecode(body);
  for (auto& c : path)
    if (c == u'/') c = u'\\';
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && (path[1] == u':' || path[1] == u'|')) {
    path[1] = u':';
    if (path.size() == 2) path += u'\\';
    return path;
  }
  if (path.empty()) return slashes == 0 ? std::u16string() : ExpandFileName(u".");
  if (slashes == 2 || slashes >= 4) return u"\\\\" + path;
  return ExpandFileName(path);
}

TUrl ParseAddress(std::u16string_view address) {
  TUrl url;
  std::u16string s = Trim(address);
  if (s.empty()) return url;
  for (char16_t c : s)
    if (c < 0x20 || c == 0x7F) return url;
  if (IsDrivePath(s) || IsUncPath(s)) {
    url.Kind = TUrlKind::File;
    url.Path = s;
    for (auto& c : url.Path)
      if (c == u'/') c = u'\\';
    if (url.Path[1] == u'|') url.Path[1] = u':';
    url.Text = PathToFileUrl(url.Path);
    return url;
  }
  std::u16string scheme = SchemeOf(s);
  if (!scheme.empty()) {
    if (scheme == u"about") {
      url.Kind = TUrlKind::Blank;
    } else if (scheme == u"file") {
      url.Path = FileUrlToPath(s);
      if (!url.Path.empty()) url.Kind = TUrlKind::File;
    } else if (scheme == u"http" || scheme == u"https" || scheme == u"ftp") {
      if (HasHostAfterSlashes(s, scheme.size()))
        url.Kind = scheme == u"http" ? TUrlKind::Http : scheme == u"https" ? TUrlKind::Https : TUrlKind::Ftp;
    }
    if (url.Kind != TUrlKind::Invalid) url.Text = s;
    return url;
  }
  if (s.find(u'\\') != std::u16string::npos) {
    url.Kind = TUrlKind::File;
    url.Path = ExpandFileName(s);
    url.Text = PathToFileUrl(url.Path);
    return url;
  }
  for (char16_t c : s)
    if (c == u' ' || c == u'\t') return url;
  if (s[0] == u'/' || s[0] == u'.' || s[0] == u'?' || s[0] == u'#') return url;
  url.Kind = TUrlKind::Http;
  url.Text = u"http://" + s;
  return url;
}

std::u16string ResolveUrl(std::u16string_view reference, std::u16string_view base) {
  std::u16string ref = Trim(reference);
  if (ref.empty()) return std::u16string(base);
  if (IsDrivePath(ref) || IsUncPath(ref)) return PathToFileUrl(ref);
  if (!SchemeOf(ref).empty()) return ref;
  std::u16string baseScheme = SchemeOf(base);
  if (baseScheme.empty() || baseScheme == u"about") return {};
  for (auto& c : ref)
    if (c == u'\\') c = u'/';
  if (ref.size() >= 2 && ref[0] == u'/' && ref[1] == u'/') return baseScheme + u":" + ref;

  std::u16string b(base);
  for (auto& c : b)
    if (c == u'\\') c = u'/';
  size_t fragment = b.find(u'#');
  std::u16string noFragment = b.substr(0, fragment);
  if (ref[0] == u'#') return noFragment + ref;
  size_t query = noFragment.find(u'?');
  std::u16string noQuery = noFragment.substr(0, query);
  if (ref[0] == u'?') return noQuery + ref;

  // The root: scheme and authority, and for a file URL with a drive the drive as well.
  size_t afterScheme = baseScheme.size() + 1;
  size_t pathStart = afterScheme;
  if (noQuery.compare(afterScheme, 2, u"//") == 0) {
    pathStart = noQuery.find(u'/', afterScheme + 2);
    if (pathStart == std::u16string::npos) {
      noQuery += u'/';
      pathStart = noQuery.size() - 1;
    }
  }
  if (baseScheme == u"file") {
    size_t p = pathStart;
    while (p < noQuery.size() && noQuery[p] == u'/') ++p;
    if (p + 1 < noQuery.size() && IsAsciiLetter(noQuery[p]) && (noQuery[p + 1] == u':' || noQuery[p + 1] == u'|'))
      pathStart = p + 2;
  }
  std::u16string root = noQuery.substr(0, pathStart);
  std::u16string path = noQuery.substr(pathStart);
  if (path.empty() || path[0] != u'/') path.insert(path.begin(), u'/');
  std::u16string merged;
  if (ref[0] == u'/') {
    merged = ref;
  } else {
    merged = path.substr(0, path.find_last_of(u'/') + 1) + ref;
  }
  // The query and fragment of the reference take no part in dot-segment removal.
  size_t tail = merged.find_first_of(u"?#");
  std::u16string suffix = tail == std::u16string::npos ? std::u16string() : merged.substr(tail);
  if (tail != std::u16string::npos) merged.resize(tail);
  return root + RemoveDotSegments(merged, 1) + suffix;
}
