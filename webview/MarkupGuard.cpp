#include "webview/MarkupGuard.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

namespace {

bool OneOf(const std::string& name, std::initializer_list<const char*> names) {
  return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

bool IsVoid(const std::string& name) {
  return OneOf(name, {"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr", "img", "input",
                      "keygen", "link", "meta", "param", "source", "track", "wbr"});
}

// Their content is text up to the matching end tag.
bool IsRawText(const std::string& name) {
  return OneOf(name, {"script", "style", "textarea", "title", "xmp", "noscript", "iframe", "noembed", "plaintext"});
}

// A new one of these ends an open one on top, as the parser does.
bool ClosesItself(const std::string& name) {
  return OneOf(name, {"p", "li", "dt", "dd", "tr", "td", "th", "option"});
}

size_t FindNoCase(std::string_view text, std::string_view needle, size_t from) {
  auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(std::min(from, text.size())), text.end(),
                        needle.begin(), needle.end(), [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                        });
  return it == text.end() ? std::string_view::npos : static_cast<size_t>(it - text.begin());
}

// The '>' that ends the tag starting at lt, outside quoted attribute values.
size_t TagEnd(std::string_view html, size_t lt) {
  char quote = 0;
  for (size_t i = lt + 1; i < html.size(); ++i) {
    char c = html[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      // Only a quote that opens a value (after '=') starts a quoted stretch.
      size_t j = i;
      while (j > lt && std::isspace(static_cast<unsigned char>(html[j - 1]))) --j;
      if (j > lt && html[j - 1] == '=') quote = c;
    } else if (c == '>') {
      return i;
    }
  }
  return std::string_view::npos;
}

// colspan=N / rowspan=N above the limit written down to it.
std::string ClampSpans(std::string_view tag, int maxSpan) {
  std::string out(tag);
  for (const char* attribute : {"colspan", "rowspan"}) {
    size_t at = FindNoCase(out, attribute, 0);
    while (at != std::string::npos) {
      size_t i = at + 7;
      while (i < out.size() && std::isspace(static_cast<unsigned char>(out[i]))) ++i;
      if (i < out.size() && out[i] == '=') {
        ++i;
        while (i < out.size() && (std::isspace(static_cast<unsigned char>(out[i])) || out[i] == '"' || out[i] == '\''))
          ++i;
        size_t end = i;
        while (end < out.size() && std::isdigit(static_cast<unsigned char>(out[end]))) ++end;
        if (end > i && (end - i > 9 || std::stol(out.substr(i, end - i)) > maxSpan))
          out.replace(i, end - i, std::to_string(maxSpan));
      }
      at = FindNoCase(out, attribute, at + 7);
    }
  }
  return out;
}

}  // namespace

std::string GuardMarkup(std::string_view html, const TMarkupGuardLimits& limits) {
  std::string out;
  out.reserve(html.size());
  std::vector<std::string> open;
  std::map<std::string, int> dropped;
  size_t i = 0;
  while (i < html.size()) {
    size_t lt = html.find('<', i);
    if (lt == std::string_view::npos) {
      out.append(html.substr(i));
      break;
    }
    out.append(html.substr(i, lt - i));
    if (html.compare(lt, 4, "<!--") == 0) {
      size_t end = html.find("-->", lt + 4);
      size_t stop = end == std::string_view::npos ? html.size() : end + 3;
      out.append(html.substr(lt, stop - lt));
      i = stop;
      continue;
    }
    bool closing = lt + 1 < html.size() && html[lt + 1] == '/';
    size_t nameStart = lt + (closing ? 2 : 1);
    size_t nameEnd = nameStart;
    while (nameEnd < html.size() && (std::isalnum(static_cast<unsigned char>(html[nameEnd])) || html[nameEnd] == '-'))
      ++nameEnd;
    if (nameEnd == nameStart || !std::isalpha(static_cast<unsigned char>(html[nameStart]))) {
      // "<!DOCTYPE", "<?xml", a lone "<": none of them nests.
      out.push_back('<');
      i = lt + 1;
      continue;
    }
    size_t gt = TagEnd(html, lt);
    if (gt == std::string_view::npos) {
      out.append(html.substr(lt));
      break;
    }
    std::string name(html.substr(nameStart, nameEnd - nameStart));
    for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string_view tag = html.substr(lt, gt + 1 - lt);
    i = gt + 1;
    if (closing) {
      auto& count = dropped[name];
      if (count > 0) {
        --count;
        continue;
      }
      auto it = std::find(open.rbegin(), open.rend(), name);
      if (it != open.rend()) open.erase(std::next(it).base(), open.end());
      out.append(tag);
      continue;
    }
    if (IsRawText(name)) {
      size_t end = FindNoCase(html, "</" + name, i);
      size_t stop = end == std::string_view::npos ? html.size() : end;
      out.append(tag);
      out.append(html.substr(i, stop - i));
      i = stop;
      continue;
    }
    bool selfClosing = tag.size() >= 2 && tag[tag.size() - 2] == '/';
    if (name == "td" || name == "th") {
      out.append(ClampSpans(tag, limits.MaxSpan));
      if (!open.empty() && ClosesItself(name) && (open.back() == "td" || open.back() == "th")) open.pop_back();
      if (static_cast<int>(open.size()) < limits.MaxDepth) open.push_back(name);
      continue;
    }
    if (IsVoid(name) || selfClosing) {
      out.append(tag);
      continue;
    }
    if (ClosesItself(name) && !open.empty() && open.back() == name) open.pop_back();
    if (static_cast<int>(open.size()) >= limits.MaxDepth) {
      ++dropped[name];
      continue;
    }
    open.push_back(name);
    out.append(tag);
  }
  return out;
}
