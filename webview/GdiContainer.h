#pragma once
// The container that draws through GDI: text with the page's fonts, backgrounds, borders,
// list markers, images (BMP, PNG, JPEG) and clipping, on the DC of the TDrawTarget.
#include "framework/core/Object.h"
#include "webview/DocumentContainer.h"

class TCanvas;

class TGdiContainer final : public TDocumentContainer {
 public:
  TGdiContainer();
  ~TGdiContainer() override;

  void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr font,
                 litehtml::web_color color, const litehtml::position& pos) override;
  void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
  void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
  void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders, const litehtml::position& drawPos,
                    bool root) override;

 protected:
  void CreateDeviceFont(TFontEntry& font) override;
  void DeleteDeviceFont(TFontEntry& font) override;
  int MeasureText(TFontEntry& font, const std::u16string& text) override;
  void PushClip(const litehtml::position& box) override;
  void PopClip() override;
  void DrawEnded() override;

 private:
  HDC DC(litehtml::uint_ptr target) const;
  void SelectFont(HDC dc, const TFontEntry& font);
  void FillBox(HDC dc, const RECT& r, COLORREF color);
  void DrawImage(HDC dc, const TGraphic& image, const RECT& r);

  HDC measureDC_ = nullptr;
  HFONT measureFont_ = nullptr;
  HGDIOBJ measureOriginal_ = nullptr;
  HDC fontDC_ = nullptr;  // the drawing DC that has fontSelected_ selected
  HFONT fontSelected_ = nullptr;
  HGDIOBJ fontOriginal_ = nullptr;
  TOwned<TCanvas> canvas_;
};
