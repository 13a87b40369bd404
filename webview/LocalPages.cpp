#include "webview/LocalPages.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "framework/core/Unicode.h"
#include "webview/NavigationStatus.h"
#include "webview/Url.h"

namespace {

struct TEntry {
  std::u16string Name;
  bool Folder = false;
  uint64_t Size = 0;
  FILETIME Written{};
};

std::u16string SizeText(uint64_t bytes) {
  if (bytes < 1024) return IntToStr(static_cast<int64_t>(bytes)) + u" 字节";
  if (bytes < 1024 * 1024) return IntToStr(static_cast<int64_t>((bytes + 1023) / 1024)) + u" KB";
  return IntToStr(static_cast<int64_t>((bytes + 1024 * 1024 - 1) / (1024 * 1024))) + u" MB";
}

std::u16string DateText(const FILETIME& written) {
  FILETIME local;
  SYSTEMTIME t;
  if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &t)) return {};
  auto two = [](int v) { return (v < 10 ? u"0" : u"") + IntToStr(v); };
  return IntToStr(t.wYear) + u"-" + two(t.wMonth) + u"-" + two(t.wDay) + u" " + two(t.wHour) + u":" + two(t.wMinute);
}

std::u16string Join(const std::u16string& folder, const std::u16string& name) {
  if (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) return folder + name;
  return folder + u"\\" + name;
}

struct TExtensionType {
  const char16_t* Extension;
  const char16_t* Type;
};

// Sorted by extension.
const TExtensionType kTypes[] = {
    {u".bmp", u"image/bmp"},  {u".css", u"text/plain"}, {u".csv", u"text/plain"}, {u".htm", u"text/html"},
    {u".html", u"text/html"}, {u".ini", u"text/plain"}, {u".jpeg", u"image/jpeg"}, {u".jpg", u"image/jpeg"},
    {u".js", u"text/plain"},  {u".log", u"text/plain"}, {u".png", u"image/png"},  {u".txt", u"text/plain"},
    {u".xhtml", u"text/html"}, {u".xml", u"text/plain"},
};

}  // namespace

std::u16string HtmlEscape(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'"': out += u"&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string FolderListingPage(const std::u16string& folder) {
  std::vector<TEntry> entries;
  WIN32_FIND_DATAW data;
  std::u16string pattern = Join(folder, u"*");
  HANDLE find = FindFirstFileW(reinterpret_cast<LPCWSTR>(pattern.c_str()), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::u16string name(reinterpret_cast<const char16_t*>(data.cFileName));
      if (name == u"." || name == u"..") continue;
      if ((data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) continue;
      TEntry e;
      e.Name = name;
      e.Folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      e.Size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
      e.Written = data.ftLastWriteTime;
      entries.push_back(std::move(e));
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) {
    if (a.Folder != b.Folder) return a.Folder;
    return CompareTextAscii(a.Name, b.Name) < 0;
  });
  std::u16string title = HtmlEscape(folder);
  std::u16string page = u"<html><head><title>" + title +
                        u"</title><style>td { padding: 1px 16px 1px 2px; }</style></head><body><h3>" + title +
                        u"</h3>\n";
  page += u"<table cellspacing=0 cellpadding=2>\n";
  std::u16string trimmed = folder;
  while (trimmed.size() > 3 && (trimmed.back() == u'\\' || trimmed.back() == u'/')) trimmed.pop_back();
  size_t slash = trimmed.find_last_of(u"\\/");
  if (slash != std::u16string::npos && trimmed.size() > 3) {
    std::u16string parent = trimmed.substr(0, slash);
    if (parent.size() == 2 && parent[1] == u':') parent += u'\\';
    page += u"<tr><td><a href=\"" + HtmlEscape(PathToFileUrl(parent)) + u"\">[上级目录]</a></td><td></td><td></td></tr>\n";
  }
  for (const TEntry& e : entries) {
    std::u16string link = HtmlEscape(PathToFileUrl(Join(folder, e.Name)));
    page += u"<tr><td><a href=\"" + link + u"\">" + HtmlEscape(e.Name) + (e.Folder ? u"\\" : u"") + u"</a></td>";
    page += u"<td align=right>" + (e.Folder ? std::u16string(u"文件夹") : SizeText(e.Size)) + u"</td>";
    page += u"<td>" + DateText(e.Written) + u"</td></tr>\n";
  }
  page += u"</table></body></html>\n";
  return Utf16ToUtf8(page);
}

std::string ErrorPage(const std::u16string& url, int32_t status) {
  std::u16string reason;
  switch (status) {
    case StatusCannotConnect: reason = u"无法连接到服务器。"; break;
    case StatusNotFound: reason = u"找不到该地址。"; break;
    case StatusTimeout: reason = u"连接超时。"; break;
    case StatusInvalidUrl: case StatusUnknownProtocol: reason = u"地址无效。"; break;
    default:
      reason = status >= 400 && status < 600 ? u"服务器返回错误 " + IntToStr(status) + u"。" : u"下载失败。";
  }
  std::u16string page = u"<html><head><title>无法显示网页</title></head><body>"
                        u"<h3>无法显示网页</h3><p>" + reason + u"</p><p><font color=gray>" + HtmlEscape(url) +
                        u"</font></p></body></html>";
  return Utf16ToUtf8(page);
}

std::string ImagePage(const std::u16string& url) {
  std::u16string e = HtmlEscape(url);
  return Utf16ToUtf8(u"<html><head><title>" + e + u"</title></head><body><img src=\"" + e + u"\"></body></html>");
}

std::string TextPage(std::string_view utf8) {
  std::string out = "<html><body><pre>";
  for (char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out + "</pre></body></html>";
}

std::u16string ContentTypeOfFile(const std::u16string& path) {
  size_t dot = path.find_last_of(u'.');
  size_t slash = path.find_last_of(u"\\/");
  if (dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash)) return {};
  std::u16string ext = LowerAscii(path.substr(dot));
  auto it = std::lower_bound(std::begin(kTypes), std::end(kTypes), ext,
                             [](const TExtensionType& t, const std::u16string& e) { return e.compare(t.Extension) > 0; });
  return it != std::end(kTypes) && ext == it->Extension ? it->Type : u"";
}

TContentShape ShapeOfContent(std::u16string_view contentType) {
  std::u16string type = LowerAscii(contentType.substr(0, contentType.find(u';')));
  type = Trim(type);
  if (type.empty() || type == u"text/html" || type == u"application/xhtml+xml") return TContentShape::Html;
  if (type.compare(0, 6, u"image/") == 0) return TContentShape::Image;
  if (type.compare(0, 5, u"text/") == 0) return TContentShape::Text;
  return TContentShape::Unknown;
}
