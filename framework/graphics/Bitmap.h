#pragma once
// A device-independent bitmap (DIB section) with a canvas, scan lines, transparency
// by colour and BMP reading and writing.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/ClassInfo.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/GdiHandle.h"
#include "framework/graphics/Graphic.h"
#include "framework/graphics/PixelFormat.h"
#include "framework/graphics/RawImage.h"

struct TDibImage;

// tmAuto: the transparent colour is the bottom-left pixel's; tmFixed: TransparentColor.
enum class TTransparentMode { tmAuto, tmFixed };
DECLARE_ENUM_NAMES(TTransparentMode, u"tmAuto", u"tmFixed")

// How the fourth byte of a pf32bit bitmap is drawn: ignored (opaque copy), straight
// alpha, or alpha already multiplied into the colours.
enum class TAlphaFormat { afIgnored, afDefined, afPremultiplied };
DECLARE_ENUM_NAMES(TAlphaFormat, u"afIgnored", u"afDefined", u"afPremultiplied")

class TBitmap : public TGraphic {
  DECLARE_CLASS(TBitmap, TGraphic)
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int width) override { SetSize(width, height_); }
  void SetHeight(int height) override { SetSize(width_, height); }
  // Keeps the top-left content that still fits; new pixels are zero (black).
  void SetSize(int width, int height);
  bool Empty() const override { return width_ <= 0 || height_ <= 0; }

  TPixelFormat PixelFormat() const { return format_; }
  // Converts the pixels (indexed formats take the nearest palette colour).
  void SetPixelFormat(TPixelFormat format);
  TAlphaFormat AlphaFormat() const { return alphaFormat_; }
  void SetAlphaFormat(TAlphaFormat format);
  // The colour table of an indexed bitmap (2^bits entries); empty otherwise.
  const std::vector<RGBQUAD>& Palette() const { return palette_; }
  // Replaces the colour table of an indexed bitmap; pixel indices stay.
  void SetPalette(const std::vector<RGBQUAD>& palette);

  // Null while empty.  An API that selects the bitmap into a DC of its own can do so
  // only while the canvas does not hold it: call Dormant() first.
  HBITMAP Handle() const { return handle_.Get(); }
  // A memory DC with the bitmap selected, made when first drawn on and kept until
  // Dormant(), FreeMemoryContexts() or the bitmap's end.
  TCanvas* Canvas();
  // Lets the canvas's DC go unless the canvas is locked; answers whether it is gone.
  bool Dormant();

  // Row y counted from the top, whatever the DIB's orientation.  The writable form tells
  // the bitmap its pixels may change; call Modified() when done to notify OnChange.
  uint8_t* ScanLine(int y);
  const uint8_t* ScanLine(int y) const;
  int ScanLineSize() const;
  // The colour of a pixel, decoded from any format.
  TPixel PixelAt(int x, int y) const;

  TColor TransparentColor() const;
  // Switches to tmFixed; clDefault switches back to tmAuto.
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode);
  // Monochrome DDB of the bitmap's size: white (1) where the pixel has the transparent
  // colour, black elsewhere.  Owned by the bitmap, remade after a change.
  HBITMAP MaskHandle() const;
  // Replaces the image by its mask for color (pf1bit, white where the colour was).
  void Mask(TColor color);

  // nullptr empties the bitmap; another bitmap is copied deeply (size, format,
  // palette, pixels, transparency, alpha format); other graphics copy themselves in.
  void Assign(const TPersistent* source) override;
  // BMP files of 1, 4, 8, 16, 24 or 32 bits, uncompressed, bit fields or RLE.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // A bitmap resource (RT_BITMAP) of a module; EInvalidGraphic when missing or bad.
  void LoadFromResourceName(HINSTANCE instance, const std::u16string& name);
  void LoadFromResourceID(HINSTANCE instance, int id);
  // Takes decoded pixels (used by the BMP, JPEG and PNG readers).  Three channels
  // give pf24bit, four give pf32bit with straight alpha (afDefined).
  void LoadFromDib(const TDibImage& image);
  void LoadFromRaw(const TRawImage& image);
  // The pixels as RGB (3) or RGBA (4, straight alpha).  Alpha is 255 unless the
  // bitmap is pf32bit with an alpha format: GDI leaves 0 in the fourth byte.
  TRawImage ToRaw(int channels) const;
  TGraphic* NewEmpty() const override { return new TBitmap; }
  void Clear();

 protected:
  ~TBitmap() override;
  void Draw(TCanvas& canvas, const TRect& r) const override;
  void Changed() override;

 private:
  friend class TBitmapCanvas;
  struct TDib;
  static TDib CreateDib(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>& palette);
  void Replace(TDib&& dib, int width, int height, TPixelFormat format, std::vector<RGBQUAD> palette);
  void InvalidateCaches() const;
  void CheckRow(int y) const;
  HBITMAP PremultipliedHandle() const;
  void DrawTransparent(HDC dest, const TRect& r, HDC source) const;

  TBitmapHandle handle_;
  uint8_t* bits_ = nullptr;  // bottom-up rows of the DIB section
  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = TPixelFormat::pf24bit;
  TAlphaFormat alphaFormat_ = TAlphaFormat::afIgnored;
  std::vector<RGBQUAD> palette_;
  TColor transparentColor_;
  TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
  TOwned<TCanvas> canvas_;
  mutable TBitmapHandle mask_;
  mutable TColor maskColor_ = 0;
  mutable TBitmapHandle premultiplied_;
};

// Lets go of the DCs of every bitmap canvas that is not locked (call when idle).
void FreeMemoryContexts();
// How many bitmap canvases hold a DC now.
int MemoryContextCount();
