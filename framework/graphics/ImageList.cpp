#include "framework/graphics/ImageList.h"

#include <memory>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Unicode.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Icon.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TImageList) {
  p.Integer(u"Width", &TImageList::Width, &TImageList::SetWidth);
  p.Integer(u"Height", &TImageList::Height, &TImageList::SetHeight);
  p.Integer(u"Count", &TImageList::Count);
}

namespace {

void InitCommonControlsOnce() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

// A copy of the caller's bitmap that no DC holds: the image list selects what it
// is given into a DC of its own, which fails for a bitmap selected elsewhere.
TOwned<TBitmap> DetachedCopy(const TBitmap& bitmap) {
  TOwned<TBitmap> copy(new TBitmap);
  copy->Assign(&bitmap);
  copy->SetTransparent(false);
  return copy;
}

// Monochrome DDB: 1 (white) where the mask pixel is light.
TBitmapHandle MonochromeMask(const TBitmap& mask) {
  const int w = mask.Width(), h = mask.Height();
  const int stride = ((w + 15) / 16) * 2;
  std::vector<uint8_t> bits(static_cast<size_t>(stride) * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      TPixel p = mask.PixelAt(x, y);
      if (p.R * 30 + p.G * 59 + p.B * 11 >= 128 * 100)
        bits[static_cast<size_t>(y) * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
  return TBitmapHandle(CreateBitmap(w, h, 1, 1, bits.data()));
}

}  // namespace

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() = default;

void TImageList::Changed() {
  if (OnChange) OnChange(this);
}

void TImageList::SetSize(int width, int height) {
  if (width < 1) width = 1;
  if (height < 1) height = 1;
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  handle_.Reset();
  Changed();
}

HIMAGELIST TImageList::Handle() const {
  if (!handle_) {
    InitCommonControlsOnce();
    handle_.Reset(ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 4, 4));
    if (!handle_) throw EOutOfResources(u"Cannot create an image list");
    // Masked pixels stay transparent when drawn with ILD_NORMAL.
    ImageList_SetBkColor(handle_.Get(), CLR_NONE);
  }
  return handle_.Get();
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_.Get()) : 0; }

void TImageList::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw EInvalidOperation(u"Image index " + IntToStr(index) + u" out of range (" + IntToStr(Count()) + u" images)");
}

int TImageList::Add(const TBitmap& image, const TBitmap* mask) {
  if (image.Empty()) throw EInvalidOperation(u"Cannot add an empty bitmap to an image list");
  TOwned<TBitmap> copy = DetachedCopy(image);
  TBitmapHandle monochrome;
  if (mask != nullptr && !mask->Empty()) monochrome = MonochromeMask(*mask);
  int index = ImageList_Add(Handle(), copy->Handle(), monochrome.Get());
  if (index < 0) throw EInvalidOperation(u"Failed to add an image to the image list");
  Changed();
  return index;
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
  if (image.Empty()) throw EInvalidOperation(u"Cannot add an empty bitmap to an image list");
  TOwned<TBitmap> copy = DetachedCopy(image);
  int index = ImageList_AddMasked(Handle(), copy->Handle(), ColorToRGB(maskColor));
  if (index < 0) throw EInvalidOperation(u"Failed to add an image to the image list");
  Changed();
  return index;
}

int TImageList::AddIcon(const TIcon& icon) {
  if (icon.Empty()) throw EInvalidOperation(u"Cannot add an empty icon to an image list");
  int index = ImageList_ReplaceIcon(Handle(), -1, icon.Handle());
  if (index < 0) throw EInvalidOperation(u"Failed to add an icon to the image list");
  Changed();
  return index;
}

void TImageList::Delete(int index) {
  CheckIndex(index);
  ImageList_Remove(handle_.Get(), index);
  Changed();
}

void TImageList::Clear() {
  if (Count() == 0) return;
  ImageList_RemoveAll(handle_.Get());
  Changed();
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  CheckIndex(index);
  if (!enabled) return DrawDisabled(canvas, x, y, index);
  ImageList_Draw(handle_.Get(), index, canvas.Handle(), x, y, ILD_TRANSPARENT);
}

void TImageList::DrawDisabled(TCanvas& canvas, int x, int y, int index) const {
  HDC dest = canvas.Handle();
  TOwned<TBitmap> image(new TBitmap(width_, height_, TPixelFormat::pf24bit));
  TOwned<TBitmap> shape(new TBitmap(width_, height_, TPixelFormat::pf24bit));
  TOwned<TBitmap> backdrop(new TBitmap(width_, height_, TPixelFormat::pf24bit));
  ImageList_DrawEx(handle_.Get(), index, image->Canvas()->Handle(), 0, 0, width_, height_, RGB(0, 0, 0), CLR_NONE,
                   ILD_NORMAL);
  // ILD_MASK paints the transparent part white and the image black.
  shape->Canvas()->Brush()->SetColor(clWhite);
  shape->Canvas()->FillRect(TRect(0, 0, width_, height_));
  ImageList_Draw(handle_.Get(), index, shape->Canvas()->Handle(), 0, 0, ILD_MASK);
  BitBlt(backdrop->Canvas()->Handle(), 0, 0, width_, height_, dest, x, y, SRCCOPY);
  for (int row = 0; row < height_; ++row) {
    const uint8_t* colors = static_cast<const TBitmap&>(*image).ScanLine(row);
    const uint8_t* mask = static_cast<const TBitmap&>(*shape).ScanLine(row);
    uint8_t* out = backdrop->ScanLine(row);
    for (int col = 0; col < width_; ++col) {
      if (mask[col * 3] != 0) continue;
      const uint8_t* c = colors + col * 3;
      int luma = (c[2] * 30 + c[1] * 59 + c[0] * 11) / 100;
      // Washed out: the darkest parts become a mid grey, the rest lighter.
      uint8_t grey = static_cast<uint8_t>(96 + luma / 2);
      out[col * 3] = out[col * 3 + 1] = out[col * 3 + 2] = grey;
    }
  }
  backdrop->Modified();
  BitBlt(dest, x, y, width_, height_, backdrop->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TImageList::GetBitmap(int index, TBitmap& bitmap) const {
  CheckIndex(index);
  bitmap.SetPixelFormat(TPixelFormat::pf24bit);
  bitmap.SetSize(width_, height_);
  bitmap.Canvas()->FillRect(TRect(0, 0, width_, height_));
  ImageList_Draw(handle_.Get(), index, bitmap.Canvas()->Handle(), 0, 0, ILD_TRANSPARENT);
  bitmap.Modified();
}
