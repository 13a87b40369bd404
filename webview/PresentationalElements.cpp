#include "webview/PresentationalElements.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace {

bool Same(const char* a, const char* b) { return a != nullptr && litehtml::t_strcasecmp(a, b) == 0; }

std::string Trimmed(const char* value) {
  std::string s = value != nullptr ? value : "";
  size_t a = s.find_first_not_of(" \t\r\n");
  size_t b = s.find_last_not_of(" \t\r\n");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::string CssString(const std::string& text) {
  std::string out = "\"";
  for (char c : text)
    if (c != '"' && c != '\\' && c != ';' && c != '{' && c != '}') out += c;
  return out + "\"";
}

// Adds declarations after the engine's own handling of the attributes, then the style
// attribute once more: what the author wrote inline wins over what the attributes say.
template <class Base>
class TPresentational : public Base {
 public:
  explicit TPresentational(const std::shared_ptr<litehtml::document>& doc) : Base(doc) {}
  void parse_attributes() override {
    Base::parse_attributes();
    std::string css;
    Declare(css);
    if (css.empty()) return;
    this->m_style.add(css.c_str(), nullptr, this);
    if (const char* inlineStyle = this->get_attr("style")) this->m_style.add(inlineStyle, nullptr, this);
  }

 protected:
  virtual void Declare(std::string& css) = 0;
  void Add(std::string& css, const char* property, const std::string& value) {
    if (!value.empty()) css += std::string(property) + ":" + value + ";";
  }
  void AddBackground(std::string& css) {
    std::string image = Trimmed(this->get_attr("background"));
    if (!image.empty()) Add(css, "background-image", "url(" + CssString(image) + ")");
  }
};

class TFontTag final : public TPresentational<litehtml::el_font> {
 public:
  using TPresentational::TPresentational;

 protected:
  void Declare(std::string& css) override {
    std::string face = Trimmed(get_attr("face"));
    if (!face.empty()) {
      // face="楷体_GB2312,宋体": a list, each name quoted on its own.
      std::string families;
      size_t start = 0;
      while (start <= face.size()) {
        size_t comma = face.find(',', start);
        std::string one = Trimmed(face.substr(start, comma == std::string::npos ? comma : comma - start).c_str());
        if (!one.empty()) families += (families.empty() ? "" : ",") + CssString(one);
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
      Add(css, "font-family", families);
    }
    int size = FontSizeAttributeToPixels(get_attr("size"));
    if (size > 0) Add(css, "font-size", std::to_string(size) + "px");
    Add(css, "color", ColorAttributeToCss(get_attr("color")));
  }
};

class TBodyTag final : public TPresentational<litehtml::el_body> {
 public:
  using TPresentational::TPresentational;

 protected:
  void Declare(std::string& css) override {
    Add(css, "background-color", ColorAttributeToCss(get_attr("bgcolor")));
    Add(css, "color", ColorAttributeToCss(get_attr("text")));
    AddBackground(css);
    Add(css, "margin-left", LengthAttributeToCss(get_attr("leftmargin")));
    Add(css, "margin-right", LengthAttributeToCss(get_attr("rightmargin")));
    Add(css, "margin-top", LengthAttributeToCss(get_attr("topmargin")));
    Add(css, "margin-bottom", LengthAttributeToCss(get_attr("bottommargin")));
    std::string width = LengthAttributeToCss(get_attr("marginwidth"));
    Add(css, "margin-left", width);
    Add(css, "margin-right", width);
    std::string height = LengthAttributeToCss(get_attr("marginheight"));
    Add(css, "margin-top", height);
    Add(css, "margin-bottom", height);
  }
};

class TTableTag final : public TPresentational<litehtml::el_table> {
 public:
  using TPresentational::TPresentational;

 protected:
  void Declare(std::string& css) override {
    AddBackground(css);
    Add(css, "height", LengthAttributeToCss(get_attr("height")));
    const char* align = get_attr("align");
    if (Same(align, "center")) {
      Add(css, "margin-left", "auto");
      Add(css, "margin-right", "auto");
    } else if (Same(align, "left") || Same(align, "right")) {
      Add(css, "float", align);
    }
    std::string border = Trimmed(get_attr("bordercolor"));
    Add(css, "border-color", ColorAttributeToCss(border.c_str()));
  }
};

class TCellTag final : public TPresentational<litehtml::el_td> {
 public:
  using TPresentational::TPresentational;

 protected:
  void Declare(std::string& css) override {
    AddBackground(css);
    Add(css, "height", LengthAttributeToCss(get_attr("height")));
    if (get_attr("nowrap") != nullptr) Add(css, "white-space", "nowrap");
    // cellpadding belongs to the table; the cells take it.
    for (auto el = parent(); el; el = el->parent()) {
      if (!Same(el->get_tagName(), "table")) continue;
      Add(css, "padding", LengthAttributeToCss(el->get_attr("cellpadding")));
      std::string color = ColorAttributeToCss(el->get_attr("bordercolor"));
      Add(css, "border-color", color);
      break;
    }
  }
};

class THrTag final : public TPresentational<litehtml::html_tag> {
 public:
  using TPresentational::TPresentational;

 protected:
  void Declare(std::string& css) override {
    std::string size = LengthAttributeToCss(get_attr("size"));
    if (!size.empty() && size.back() != '%') {
      int px = std::atoi(size.c_str());
      // The old control drew size as the whole height, borders included.
      Add(css, "height", std::to_string(px > 2 ? px - 2 : 0) + "px");
    }
    Add(css, "width", LengthAttributeToCss(get_attr("width")));
    std::string color = ColorAttributeToCss(get_attr("color"));
    bool noshade = get_attr("noshade") != nullptr;
    if (!color.empty() || noshade) {
      std::string fill = color.empty() ? "gray" : color;
      Add(css, "border-style", "solid");
      Add(css, "border-color", fill);
      Add(css, "background-color", fill);
    }
    const char* align = get_attr("align");
    if (Same(align, "left")) Add(css, "margin-left", "0");
    if (Same(align, "right")) Add(css, "margin-right", "0");
  }
};

class TImageTag final : public TPresentational<litehtml::el_image> {
 public:
  using TPresentational::TPresentational;

 protected:
  void Declare(std::string& css) override {
    const char* align = get_attr("align");
    if (Same(align, "left") || Same(align, "right")) Add(css, "float", align);
    if (Same(align, "middle") || Same(align, "absmiddle") || Same(align, "center")) Add(css, "vertical-align", "middle");
    if (Same(align, "top") || Same(align, "texttop")) Add(css, "vertical-align", "top");
    if (Same(align, "bottom") || Same(align, "absbottom")) Add(css, "vertical-align", "bottom");
    std::string border = LengthAttributeToCss(get_attr("border"));
    if (!border.empty()) {
      Add(css, "border-width", border);
      Add(css, "border-style", "solid");
    }
    std::string h = LengthAttributeToCss(get_attr("hspace"));
    Add(css, "margin-left", h);
    Add(css, "margin-right", h);
    std::string v = LengthAttributeToCss(get_attr("vspace"));
    Add(css, "margin-top", v);
    Add(css, "margin-bottom", v);
  }
};

}  // namespace

int FontSizeAttributeToPixels(const char* value) {
  static const int kPixels[] = {10, 13, 16, 18, 24, 32, 48};
  std::string s = Trimmed(value);
  if (s.empty()) return 0;
  bool relative = s[0] == '+' || s[0] == '-';
  size_t digits = relative ? 1 : 0;
  if (digits >= s.size() || !std::isdigit(static_cast<unsigned char>(s[digits]))) return 0;
  int n = std::atoi(s.c_str() + digits);
  if (n > 100) n = 100;
  int size = relative ? 3 + (s[0] == '+' ? n : -n) : n;
  if (size < 1) size = 1;
  if (size > 7) size = 7;
  return kPixels[size - 1];
}

std::string ColorAttributeToCss(const char* value) {
  std::string s = Trimmed(value);
  if (s.empty()) return {};
  bool hex = s.size() == 6 || s.size() == 3;
  for (char c : s) hex = hex && std::isxdigit(static_cast<unsigned char>(c));
  if (hex) return "#" + s;
  for (char c : s)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '#' && c != '(' && c != ')' && c != ',' && c != ' ' &&
        c != '.' && c != '%')
      return {};
  return s;
}

std::string LengthAttributeToCss(const char* value) {
  std::string s = Trimmed(value);
  size_t digits = 0;
  while (digits < s.size() && std::isdigit(static_cast<unsigned char>(s[digits]))) ++digits;
  if (digits == 0 || digits > 6) return {};
  if (digits < s.size() && s[digits] == '%') return s.substr(0, digits) + "%";
  return s.substr(0, digits) + "px";
}

std::shared_ptr<litehtml::element> CreatePresentationalElement(const char* tag,
                                                               const std::shared_ptr<litehtml::document>& doc) {
  if (tag == nullptr) return nullptr;
  if (Same(tag, "font")) return std::make_shared<TFontTag>(doc);
  if (Same(tag, "body")) return std::make_shared<TBodyTag>(doc);
  if (Same(tag, "table")) return std::make_shared<TTableTag>(doc);
  if (Same(tag, "td") || Same(tag, "th")) return std::make_shared<TCellTag>(doc);
  if (Same(tag, "hr")) return std::make_shared<THrTag>(doc);
  if (Same(tag, "img")) return std::make_shared<TImageTag>(doc);
  return nullptr;
}
