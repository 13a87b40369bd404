#pragma once
// One laid-out page over a container: parsing, layout for a viewport, drawing at a scroll
// position, what lies under a point, and text selection.  Knows nothing of windows; the
// view and the tests drive it alike.
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Types.h"
#include "webview/DocumentContainer.h"

class THtmlDocument {
 public:
  explicit THtmlDocument(TDocumentContainer& container);
  ~THtmlDocument();
  THtmlDocument(const THtmlDocument&) = delete;
  THtmlDocument& operator=(const THtmlDocument&) = delete;

  // Replaces the page by UTF-8 markup.  Bad markup never fails: the parser mends what it
  // can and the guard drops what would overflow the engine.  hostCss comes after the
  // view's default style sheet (the host's style sheet).
  void Load(std::string_view utf8, const std::u16string& baseUrl, const std::string& hostCss = {});
  void Clear();
  bool Loaded() const { return doc_ != nullptr; }
  TDocumentContainer& Container() { return container_; }

  // Lays the page out for a viewport width (and height, for percentages and media queries).
  // Cheap when neither the size nor the page changed since the last call.
  void Layout(int width, int height);
  // Lays out again at the same size: an image arrived with a size of its own.
  void Relayout();
  bool NeedsLayout() const { return dirty_; }
  int Width() const;
  int Height() const;
  int LayoutWidth() const { return layoutWidth_; }

  // Draws the part of the page within clip (target coordinates) with the page scrolled by
  // (scrollX, scrollY).  The whole clip is painted: the canvas takes the background of the
  // root element, else of the body (as browsers do), else white.
  void Draw(TDrawTarget& target, int scrollX, int scrollY, const TRect& clip);

  // Mouse, in document coordinates (client coordinates alongside, for fixed boxes).
  // Each answers whether something must be drawn again.
  bool MouseMove(int x, int y, int clientX, int clientY);
  bool LButtonDown(int x, int y, int clientX, int clientY);
  // A click on a link reaches the container's OnAnchorClick from in here.
  bool LButtonUp(int x, int y, int clientX, int clientY);
  bool MouseLeave();

  struct THit {
    std::u16string Link;    // the resolved address of the link under the point
    std::u16string Target;  // its target attribute ("_blank" …)
    std::u16string Image;   // the resolved address of an image under the point
    bool InSelection = false;
  };
  THit HitTest(int x, int y, int clientX, int clientY);

  // 0x00BBGGRR of the canvas (see Draw).
  COLORREF CanvasColor() const;
  std::u16string Title() const;
  // The page's text, blocks on lines of their own.
  std::u16string Text();

  // Selection in the engine's text runs: a Chinese character, a Latin word, a space.
  void SelectAll();
  void ClearSelection();
  void StartSelection(int x, int y);
  void ExtendSelection(int x, int y);
  bool HasSelection() const { return selectionEnd_ > selectionStart_; }
  std::u16string SelectedText();

  // The top of the element that #name points at (id or <a name>), or -1.
  int AnchorTop(const std::u16string& name);
  // The border box, in document coordinates, of the first element a CSS selector finds;
  // empty when none does.
  TRect BoxOf(const std::string& selector);

 private:
  struct TRun {
    litehtml::element* Element = nullptr;
    litehtml::position Box;
    std::u16string Text;
    const litehtml::element* Block = nullptr;
    bool Space = false;
    bool Break = false;
  };
  void CollectRuns();
  void Collect(const litehtml::element::ptr& el, const litehtml::element* block);
  int CaretAt(int x, int y);
  std::u16string TextOf(int from, int to);
  void PublishSelection();
  TRect BoxOfElement(const litehtml::element::ptr& el);

  TDocumentContainer& container_;
  std::shared_ptr<litehtml::document> doc_;
  int layoutWidth_ = -1, layoutHeight_ = -1;
  bool dirty_ = true;
  std::vector<TRun> runs_;
  bool runsValid_ = false;
  int anchor_ = 0;
  int selectionStart_ = 0, selectionEnd_ = 0;
};
