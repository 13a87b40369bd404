#include "framework/controls/Label.h"
#include "framework/controls/Panel.h"
#include "framework/core/Property.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Font.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

class PaintTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    form = new TForm(Application);
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    form->SetBounds(60, 60, 300, 200);
    form->SetCaption(u"像素");
    form->SetClientSize(240, 160);
  }
  void TearDown() override { FreeObject(form); }
  TForm* form;
};

TEST_F(PaintTest, PanelLabelAndFrameReadBackFromTheScreen) {
  auto* panel = new TPanel(form);
  panel->SetBounds(10, 10, 100, 60);
  panel->SetBevelOuter(TBevelCut::bvNone);
  panel->SetColor(0x0000FF);  // red
  panel->SetParent(form);
  auto* label = new TLabel(form);
  label->SetBounds(5, 5, 60, 20);
  label->SetAutoSize(false);
  label->SetColor(0x00FF00);  // green, opaque
  label->SetParent(panel);
  form->Show();
  PumpFor(100);
  form->Repaint();
  HWND h = form->Handle();
  TCapture capture = CaptureWindow(h);
  capture.Save(u"PaintTest.png");
  POINT c = ClientOffset(h);
  EXPECT_EQ(capture.At(c.x + 5, c.y + 5), Rgb(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(capture.At(c.x + 90, c.y + 50), 0xFF0000u);  // the panel
  EXPECT_EQ(capture.At(c.x + 10 + 5 + 30, c.y + 10 + 5 + 10), 0x00FF00u);  // the label on it
  // Non-client: the caption bar is neither the client colour nor the panel's.
  uint32_t caption = capture.At(capture.Width / 2, c.y / 2);
  EXPECT_NE(caption, Rgb(GetSysColor(COLOR_BTNFACE)));
  bool asActive = caption == Rgb(GetSysColor(COLOR_ACTIVECAPTION)) ||
                  caption == Rgb(GetSysColor(COLOR_GRADIENTACTIVECAPTION));
  bool asInactive = caption == Rgb(GetSysColor(COLOR_INACTIVECAPTION)) ||
                    caption == Rgb(GetSysColor(COLOR_GRADIENTINACTIVECAPTION));
  EXPECT_TRUE(asActive || asInactive) << std::hex << caption;
  EXPECT_GT(c.y, 10);  // a caption bar exists above the client area
  // Changing the colour repaints.
  panel->SetColor(0xFF0000);  // blue
  form->Update();
  EXPECT_EQ(CaptureWindow(h).At(c.x + 90, c.y + 50), 0x0000FFu);
}

TEST_F(PaintTest, ControlPaintsIntoTheDcGivenInWmPaint) {
  auto* panel = new TPanel(form);
  panel->SetBounds(0, 0, 50, 30);
  panel->SetBevelOuter(TBevelCut::bvNone);
  panel->SetColor(0x123456);
  panel->SetParent(form);
  HWND h = panel->Handle();
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 50, 30);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all{0, 0, 50, 30};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SendMessageW(h, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
  EXPECT_EQ(GetPixel(memory, 25, 15), static_cast<COLORREF>(0x123456));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

}  // namespace
