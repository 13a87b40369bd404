#pragma once
// The seam between the layout engine and a device.  This base answers everything that is
// not drawing: fonts by family with their metrics and text widths (cached), images by
// address, the clip stack, links, the cursor, the base address, media features.  The
// engine never sees a DC: it hands back the TDrawTarget it was given.  A GDI container
// draws; a headless one records what it was asked to draw.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "webview/FontFamilies.h"
#include "webview/ImageCache.h"
#include "webview/Litehtml.h"

// What the engine draws on; opaque to it.
struct TDrawTarget {
  HDC DC = nullptr;
};

// A font as the containers keep it: the engine's uint_ptr points at one of these.
struct TFontEntry {
  std::u16string Face;
  int Size = 0;  // pixels
  int Weight = 400;
  bool Italic = false;
  unsigned Decoration = 0;  // litehtml::font_decoration_* bits
  litehtml::font_metrics Metrics;
  HFONT Handle = nullptr;  // GDI only
  std::unordered_map<std::string, int> Widths;
};

class TDocumentContainer : public litehtml::document_container {
 public:
  explicit TDocumentContainer(TFontFamilies::TInstalled installed);
  virtual ~TDocumentContainer();
  TDocumentContainer(const TDocumentContainer&) = delete;
  TDocumentContainer& operator=(const TDocumentContainer&) = delete;

  // The page's address: relative references resolve against it (a <base> may change it).
  void SetBaseUrl(const std::u16string& url);
  const std::u16string& BaseUrl() const { return baseUrl_; }
  void SetViewport(int width, int height);
  TImageCache& Images() { return images_; }
  // Style sheets that came with the page (absolute address -> UTF-8 text), for <link> and @import.
  void SetStyleSheets(std::map<std::u16string, std::string> sheets) { styleSheets_ = std::move(sheets); }
  const std::u16string& Caption() const { return caption_; }
  const std::string& Cursor() const { return cursor_; }
  // An image address as a page wrote it, made absolute.
  std::u16string ResolveImage(const char* src, const char* baseurl) const;

  // A click on a link: the href as written and the anchor element (its target attribute).
  std::function<void(const std::string& href, const litehtml::element::ptr& anchor)> OnAnchorClick;

  // Drawing passes: the target and the offset the document is drawn at; selected text runs
  // are keyed by their document position.
  void BeginDraw(TDrawTarget* target, int originX, int originY);
  void EndDraw();
  void SetSelectedRuns(std::unordered_set<uint64_t> keys) { selected_ = std::move(keys); }
  static uint64_t RunKey(int x, int y) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32) | static_cast<uint32_t>(y);
  }
  int FontCount() const { return static_cast<int>(fonts_.size()); }

  // litehtml::document_container, the parts every device shares.
  litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                 litehtml::font_style italic, unsigned int decoration,
                                 litehtml::font_metrics* fm) final;
  void delete_font(litehtml::uint_ptr font) final;
  int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr font) final;
  int pt_to_px(int pt) const final;
  int get_default_font_size() const final;
  const litehtml::tchar_t* get_default_font_name() const final;
  void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool redrawOnReady) final;
  void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, litehtml::size& sz) final;
  void set_caption(const litehtml::tchar_t* caption) final;
  void set_base_url(const litehtml::tchar_t* baseUrl) final;
  void link(const std::shared_ptr<litehtml::document>& doc, const litehtml::element::ptr& el) final;
  void on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr& el) final;
  void set_cursor(const litehtml::tchar_t* cursor) final;
  void transform_text(litehtml::tstring& text, litehtml::text_transform tt) final;
  void import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl) final;
  void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& radius, bool validX,
                bool validY) final;
  void del_clip() final;
  void get_client_rect(litehtml::position& client) const final;
  std::shared_ptr<litehtml::element> create_element(const litehtml::tchar_t* tagName,
                                                    const litehtml::string_map& attributes,
                                                    const std::shared_ptr<litehtml::document>& doc) final;
  void get_media_features(litehtml::media_features& media) const final;
  void get_language(litehtml::tstring& language, litehtml::tstring& culture) const final;

 protected:
  // The device's part of a font: a handle and the metrics.
  virtual void CreateDeviceFont(TFontEntry& font) = 0;
  virtual void DeleteDeviceFont(TFontEntry& font) {}
  virtual int MeasureText(TFontEntry& font, const std::u16string& text) = 0;
  // The clip stack changed (pushed or popped) during a drawing pass.
  virtual void PushClip(const litehtml::position& box) {}
  virtual void PopClip() {}
  virtual void DrawEnded() {}
  // The text of a numbered list marker ("3.", "iv.", "三、"); "" for bullets and images.
  static std::u16string MarkerText(const litehtml::list_marker& marker);

  // Gives every font's device part back; a device's destructor calls it (the base's
  // destructor can no longer reach the device).
  void DropFonts();
  TDrawTarget* Target() const { return target_; }
  bool Selected(const litehtml::position& drawn) const;
  static TFontEntry& FontOf(litehtml::uint_ptr font) { return *reinterpret_cast<TFontEntry*>(font); }
  const std::vector<litehtml::position>& Clips() const { return clips_; }

 private:
  TFontFamilies families_;
  std::map<std::u16string, std::unique_ptr<TFontEntry>> fonts_;  // key: face|size|weight|italic|decoration
  TImageCache images_;
  std::map<std::u16string, std::string> styleSheets_;
  std::u16string baseUrl_ = u"about:blank";
  std::u16string caption_;
  std::string cursor_ = "auto";
  int viewportWidth_ = 0, viewportHeight_ = 0;
  TDrawTarget* target_ = nullptr;
  int originX_ = 0, originY_ = 0;
  std::unordered_set<uint64_t> selected_;
  std::vector<litehtml::position> clips_;
};
