#pragma once
// A container without a device, for tests and measurements: text is measured by fixed
// rules (Latin characters half the font size wide, others the full size; ascent = size,
// descent = size / 4) and every drawing call is recorded instead of drawn.
#include <string>
#include <vector>

#include "webview/DocumentContainer.h"

struct TDrawCall {
  enum TKind { dcText, dcBackground, dcImage, dcBorders, dcMarker };
  TKind Kind = dcText;
  litehtml::position Box;
  std::u16string Text;   // the text; for images and markers the image address
  uint32_t Color = 0;    // 0xRRGGBB
  bool Opaque = false;   // backgrounds: a colour was painted
  std::u16string Face;
  int Size = 0, Weight = 0;
  bool Italic = false;
  unsigned Decoration = 0;
  bool Selected = false;
  litehtml::borders Edges;
  int MarkerType = 0;
};

class THeadlessContainer final : public TDocumentContainer {
 public:
  // Faces it takes as installed; the rest fall back like missing fonts do.
  THeadlessContainer();
  ~THeadlessContainer() override;
  const std::vector<TDrawCall>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  static int CharWidth(char16_t c, int size) { return c < 0x250 ? size / 2 : size; }

  void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr font,
                 litehtml::web_color color, const litehtml::position& pos) override;
  void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
  void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
  void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders, const litehtml::position& drawPos,
                    bool root) override;

 protected:
  void CreateDeviceFont(TFontEntry& font) override;
  int MeasureText(TFontEntry& font, const std::u16string& text) override;

 private:
  std::vector<TDrawCall> calls_;
};
