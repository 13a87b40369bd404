#include "webview/HtmlDocument.h"

#include <algorithm>
#include <climits>
#include <map>

#include "framework/core/Unicode.h"
#include "webview/DefaultStyleSheet.h"
#include "webview/MarkupGuard.h"
#include "webview/Url.h"

namespace {

// Parsing the master sheet costs more than laying out a short page: one context per host
// style sheet, kept for the process.
litehtml::context& ContextFor(const std::string& hostCss) {
  static std::map<std::string, std::unique_ptr<litehtml::context>> contexts;
  auto it = contexts.find(hostCss);
  if (it == contexts.end()) {
    auto context = std::make_unique<litehtml::context>();
    std::string sheet = DefaultStyleSheet();
    sheet += '\n';
    sheet += hostCss;
    context->load_master_stylesheet(sheet.c_str());
    it = contexts.emplace(hostCss, std::move(context)).first;
  }
  return *it->second;
}

bool IsInline(litehtml::style_display d) {
  return d == litehtml::display_inline || d == litehtml::display_inline_text || d == litehtml::display_inline_block;
}

bool EndsWithBreak(const std::u16string& s) { return !s.empty() && (s.back() == u'\n' || s.back() == u'\t'); }

bool SafeName(const std::u16string& name) {
  if (name.empty() || name.size() > 200) return false;
  return std::all_of(name.begin(), name.end(), [](char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
           c == u'-' || c >= 0x80;
  });
}

}  // namespace

THtmlDocument::THtmlDocument(TDocumentContainer& container) : container_(container) {}

THtmlDocument::~THtmlDocument() { Clear(); }

void THtmlDocument::Clear() {
  doc_.reset();
  runs_.clear();
  runsValid_ = false;
  anchor_ = selectionStart_ = selectionEnd_ = 0;
  container_.SetSelectedRuns({});
  layoutWidth_ = layoutHeight_ = -1;
  dirty_ = true;
}

void THtmlDocument::Load(std::string_view utf8, const std::u16string& baseUrl, const std::string& hostCss) {
  Clear();
  container_.SetBaseUrl(baseUrl);
  std::string guarded = GuardMarkup(utf8);
  litehtml::context& context = ContextFor(hostCss);
  try {
    doc_ = litehtml::document::createFromUTF8(guarded.c_str(), &container_, &context);
  } catch (const std::exception&) {
    // Out of memory on a monster page: an empty page rather than none.
    doc_.reset();
    try {
      doc_ = litehtml::document::createFromUTF8("", &container_, &context);
    } catch (const std::exception&) {
      doc_.reset();
    }
  }
}

void THtmlDocument::Layout(int width, int height) {
  if (!doc_) return;
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (!dirty_ && width == layoutWidth_ && height == layoutHeight_) return;
  container_.SetViewport(width, height);
  if (layoutWidth_ >= 0) doc_->media_changed();
  doc_->render(width);
  layoutWidth_ = width;
  layoutHeight_ = height;
  dirty_ = false;
  runsValid_ = false;
  if (HasSelection()) PublishSelection();
}

void THtmlDocument::Relayout() {
  dirty_ = true;
  if (layoutWidth_ > 0) Layout(layoutWidth_, layoutHeight_);
}

int THtmlDocument::Width() const { return doc_ ? std::max(doc_->width(), 0) : 0; }

int THtmlDocument::Height() const { return doc_ ? std::max(doc_->height(), 0) : 0; }

COLORREF THtmlDocument::CanvasColor() const {
  if (!doc_ || !doc_->root()) return RGB(255, 255, 255);
  auto colorOf = [](const litehtml::element::ptr& el, COLORREF& color) {
    const litehtml::background* bg = el ? el->get_background(true) : nullptr;
    if (bg == nullptr || bg->m_color.alpha == 0) return false;
    color = RGB(bg->m_color.red, bg->m_color.green, bg->m_color.blue);
    return true;
  };
  COLORREF color = RGB(255, 255, 255);
  if (colorOf(doc_->root(), color)) return color;
  colorOf(doc_->root()->select_one("body"), color);
  return color;
}

void THtmlDocument::Draw(TDrawTarget& target, int scrollX, int scrollY, const TRect& clip) {
  litehtml::position area(clip.Left, clip.Top, clip.Width(), clip.Height());
  litehtml::background_paint canvas;
  COLORREF color = CanvasColor();
  canvas.color = litehtml::web_color(GetRValue(color), GetGValue(color), GetBValue(color));
  canvas.clip_box = canvas.origin_box = canvas.border_box = area;
  canvas.is_root = true;
  container_.BeginDraw(&target, -scrollX, -scrollY);
  container_.draw_background(reinterpret_cast<litehtml::uint_ptr>(&target), canvas);
  if (!doc_) {
    container_.EndDraw();
    return;
  }
  doc_->draw(reinterpret_cast<litehtml::uint_ptr>(&target), -scrollX, -scrollY, &area);
  container_.EndDraw();
}

bool THtmlDocument::MouseMove(int x, int y, int clientX, int clientY) {
  litehtml::position::vector redraw;
  return doc_ && doc_->on_mouse_over(x, y, clientX, clientY, redraw);
}

bool THtmlDocument::LButtonDown(int x, int y, int clientX, int clientY) {
  litehtml::position::vector redraw;
  return doc_ && doc_->on_lbutton_down(x, y, clientX, clientY, redraw);
}

bool THtmlDocument::LButtonUp(int x, int y, int clientX, int clientY) {
  litehtml::position::vector redraw;
  return doc_ && doc_->on_lbutton_up(x, y, clientX, clientY, redraw);
}

bool THtmlDocument::MouseLeave() {
  litehtml::position::vector redraw;
  return doc_ && doc_->on_mouse_leave(redraw);
}

THtmlDocument::THit THtmlDocument::HitTest(int x, int y, int clientX, int clientY) {
  THit hit;
  if (!doc_ || !doc_->root()) return hit;
  for (auto el = doc_->root()->get_element_by_point(x, y, clientX, clientY); el; el = el->parent()) {
    const char* tag = el->get_tagName();
    if (tag == nullptr) continue;
    if (hit.Link.empty() && litehtml::t_strcasecmp(tag, "a") == 0) {
      if (const char* href = el->get_attr("href")) {
        hit.Link = ResolveUrl(Utf8ToUtf16(href), container_.BaseUrl());
        if (hit.Link.empty()) hit.Link = Utf8ToUtf16(href);
        if (const char* target = el->get_attr("target")) hit.Target = Utf8ToUtf16(target);
      }
    }
    if (hit.Image.empty() && litehtml::t_strcasecmp(tag, "img") == 0) {
      if (const char* src = el->get_attr("src")) hit.Image = container_.ResolveImage(src, nullptr);
    }
  }
  if (HasSelection()) {
    CollectRuns();
    for (int i = selectionStart_; i < selectionEnd_ && i < static_cast<int>(runs_.size()); ++i)
      if (runs_[static_cast<size_t>(i)].Box.is_point_inside(x, y)) {
        hit.InSelection = true;
        break;
      }
  }
  return hit;
}

std::u16string THtmlDocument::Title() const { return container_.Caption(); }

void THtmlDocument::CollectRuns() {
  if (runsValid_) return;
  runs_.clear();
  if (doc_ && doc_->root()) Collect(doc_->root(), nullptr);
  runsValid_ = true;
}

void THtmlDocument::Collect(const litehtml::element::ptr& el, const litehtml::element* block) {
  if (!el) return;
  litehtml::style_display display = el->get_display();
  if (display == litehtml::display_none) return;
  if (dynamic_cast<litehtml::el_text*>(el.get()) != nullptr) {
    TRun run;
    run.Element = el.get();
    run.Box = el->get_placement();
    run.Block = block;
    std::string text;
    el->get_text(text);
    run.Space = el->is_white_space();
    litehtml::white_space ws = el->get_white_space();
    bool pre = ws == litehtml::white_space_pre || ws == litehtml::white_space_pre_wrap;
    run.Break = el->is_break();
    run.Text = run.Break ? u"\r\n" : Utf8ToUtf16(text);
    // In preformatted text a space is text like any other.
    if (pre && run.Space && !run.Break) run.Space = false;
    runs_.push_back(std::move(run));
    return;
  }
  if (el->is_break()) {
    TRun run;
    run.Element = el.get();
    run.Box = el->get_placement();
    run.Block = block;
    run.Break = true;
    run.Text = u"\r\n";
    runs_.push_back(std::move(run));
    return;
  }
  const litehtml::element* inner = IsInline(display) ? block : el.get();
  size_t n = el->get_children_count();
  for (size_t i = 0; i < n; ++i) Collect(el->get_child(static_cast<int>(i)), inner);
}

std::u16string THtmlDocument::TextOf(int from, int to) {
  CollectRuns();
  std::u16string out;
  const litehtml::element* lastBlock = nullptr;
  bool started = false, pendingSpace = false;
  to = std::min(to, static_cast<int>(runs_.size()));
  for (int i = std::max(from, 0); i < to; ++i) {
    const TRun& run = runs_[static_cast<size_t>(i)];
    if (started && run.Block != lastBlock && !EndsWithBreak(out)) {
      // Cells of one row on one line, tab-separated, as the old control copied them.
      bool cells = run.Block != nullptr && lastBlock != nullptr &&
                   run.Block->get_display() == litehtml::display_table_cell &&
                   lastBlock->get_display() == litehtml::display_table_cell &&
                   run.Block->parent() == lastBlock->parent();
      out += cells ? u"\t" : u"\r\n";
      pendingSpace = false;
    }
    lastBlock = run.Block;
    if (run.Break) {
      out += u"\r\n";
      pendingSpace = false;
      started = true;
      continue;
    }
    if (run.Space) {
      if (started && !EndsWithBreak(out)) pendingSpace = true;
      continue;
    }
    if (pendingSpace) out += u' ';
    pendingSpace = false;
    out += run.Text;
    started = true;
  }
  while (!out.empty() && (out.back() == u'\n' || out.back() == u'\r' || out.back() == u'\t' || out.back() == u' '))
    out.pop_back();
  return out;
}

std::u16string THtmlDocument::Text() { return TextOf(0, INT_MAX); }

int THtmlDocument::CaretAt(int x, int y) {
  CollectRuns();
  int best = -1;
  long long bestScore = LLONG_MAX;
  for (size_t i = 0; i < runs_.size(); ++i) {
    const litehtml::position& b = runs_[i].Box;
    if (runs_[i].Break && b.width == 0 && b.height == 0) continue;
    long long dy = y < b.y ? b.y - y : (y >= b.bottom() ? y - b.bottom() + 1 : 0);
    long long dx = x < b.x ? b.x - x : (x >= b.right() ? x - b.right() + 1 : 0);
    long long score = dy * 1000000 + dx;
    if (score < bestScore) {
      bestScore = score;
      best = static_cast<int>(i);
    }
  }
  if (best < 0) return 0;
  const litehtml::position& b = runs_[static_cast<size_t>(best)].Box;
  bool after = y >= b.bottom() ? true : (y < b.y ? false : x >= b.x + b.width / 2);
  return after ? best + 1 : best;
}

void THtmlDocument::StartSelection(int x, int y) {
  anchor_ = CaretAt(x, y);
  selectionStart_ = selectionEnd_ = anchor_;
  PublishSelection();
}

void THtmlDocument::ExtendSelection(int x, int y) {
  int caret = CaretAt(x, y);
  selectionStart_ = std::min(anchor_, caret);
  selectionEnd_ = std::max(anchor_, caret);
  PublishSelection();
}

void THtmlDocument::SelectAll() {
  CollectRuns();
  anchor_ = 0;
  selectionStart_ = 0;
  selectionEnd_ = static_cast<int>(runs_.size());
  PublishSelection();
}

void THtmlDocument::ClearSelection() {
  anchor_ = selectionStart_ = selectionEnd_ = 0;
  container_.SetSelectedRuns({});
}

std::u16string THtmlDocument::SelectedText() { return HasSelection() ? TextOf(selectionStart_, selectionEnd_) : u""; }

void THtmlDocument::PublishSelection() {
  CollectRuns();
  std::unordered_set<uint64_t> keys;
  int end = std::min(selectionEnd_, static_cast<int>(runs_.size()));
  for (int i = selectionStart_; i < end; ++i) {
    const TRun& run = runs_[static_cast<size_t>(i)];
    if (!run.Break) keys.insert(TDocumentContainer::RunKey(run.Box.x, run.Box.y));
  }
  container_.SetSelectedRuns(std::move(keys));
}

int THtmlDocument::AnchorTop(const std::u16string& name) {
  if (!doc_ || !doc_->root() || !SafeName(name)) return -1;
  std::string utf8 = Utf16ToUtf8(name);
  litehtml::element::ptr el = doc_->root()->select_one("[id=\"" + utf8 + "\"]");
  if (!el) el = doc_->root()->select_one("a[name=\"" + utf8 + "\"]");
  if (!el) return -1;
  TRect box = BoxOfElement(el);
  return box.IsEmpty() ? el->get_placement().y : box.Top;
}

namespace {

// The boxes of an inline element are its text and images, wherever its lines put them.
void UniteContent(const litehtml::element::ptr& el, litehtml::position& box, bool& any) {
  bool leaf = dynamic_cast<litehtml::el_text*>(el.get()) != nullptr || el->is_replaced();
  if (leaf) {
    litehtml::position p = el->get_placement();
    if (p.width > 0 || p.height > 0) {
      if (!any) {
        box = p;
      } else {
        int right = std::max(box.right(), p.right()), bottom = std::max(box.bottom(), p.bottom());
        box.x = std::min(box.x, p.x);
        box.y = std::min(box.y, p.y);
        box.width = right - box.x;
        box.height = bottom - box.y;
      }
      any = true;
    }
    return;
  }
  size_t n = el->get_children_count();
  for (size_t i = 0; i < n; ++i) UniteContent(el->get_child(static_cast<int>(i)), box, any);
}

}  // namespace

TRect THtmlDocument::BoxOf(const std::string& selector) {
  if (!doc_ || !doc_->root()) return TRect();
  litehtml::element::ptr el = doc_->root()->select_one(selector);
  return el ? BoxOfElement(el) : TRect();
}

TRect THtmlDocument::BoxOfElement(const litehtml::element::ptr& el) {
  litehtml::position p;
  if (IsInline(el->get_display()) && !el->is_replaced()) {
    bool any = false;
    UniteContent(el, p, any);
    return any ? TRect(p.x, p.y, p.right(), p.bottom()) : TRect();
  }
  p = el->get_placement();
  // The placement is the content box: out to the border.
  p.x -= el->padding_left() + el->border_left();
  p.y -= el->padding_top() + el->border_top();
  p.width += el->padding_left() + el->padding_right() + el->border_left() + el->border_right();
  p.height += el->padding_top() + el->padding_bottom() + el->border_top() + el->border_bottom();
  return TRect(p.x, p.y, p.right(), p.bottom());
}
