#include <windows.h>
#include <commctrl.h>

#include "framework/controls/BitBtn.h"
#include "framework/controls/CheckBox.h"
#include "framework/controls/CoolBar.h"
#include "framework/controls/Edit.h"
#include "framework/controls/Image.h"
#include "framework/controls/Panel.h"
#include "framework/controls/Splitter.h"
#include "framework/controls/ToolBar.h"
#include "framework/controls/ToolButton.h"
#include "framework/core/Property.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "framework/forms/DataModule.h"
#include "framework/forms/Screen.h"
#include "framework/forms/Timer.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ImageList.h"
#include "framework/menus/PopupMenu.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

class StandardControlsTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    form = new TForm(Application);
    form->SetBounds(30, 30, 420, 320);
  }
  void TearDown() override { FreeObject(form); }
  // A solid-colour bitmap.
  TBitmap* Solid(int w, int h, TColor color) {
    auto* b = new TBitmap;
    b->SetPixelFormat(TPixelFormat::pf24bit);
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(color);
    b->Canvas()->FillRect(TRect(0, 0, w, h));
    owned.emplace_back(b);
    return b;
  }
  uint32_t ClientPixel(TWinControl* c, int x, int y) {
    TCapture capture = CaptureWindow(c->Handle());
    POINT o = ClientOffset(c->Handle());
    return capture.At(o.x + x, o.y + y);
  }
  TForm* form;
  std::vector<TOwned<TBitmap>> owned;
};

TEST_F(StandardControlsTest, BitBtnDrawsItsGlyphLeftOfTheCaptionWithMagentaTransparent) {
  auto* button = new TBitBtn(form);
  button->SetBounds(10, 10, 89, 25);
  button->SetCaption(u"关闭当前页");
  button->SetParent(form);
  // 16 x 16 glyph: blue with a magenta bottom-left pixel (the transparent colour).
  TBitmap* glyph = Solid(16, 16, 0xFF0000);
  glyph->Canvas()->SetPixels(0, 15, 0xFF00FF);
  glyph->Canvas()->SetPixels(3, 3, 0xFF00FF);
  button->SetGlyph(glyph);
  button->SetMargin(4);
  form->Show();
  PumpFor(50);
  button->Repaint();
  TCapture capture = CaptureWindow(button->Handle());
  capture.Save(u"BitBtn.png");
  POINT o = ClientOffset(button->Handle());
  // The glyph: the blue block, margin pixels inside the frame, centred in height.
  int left = -1, top = -1;
  for (int y = o.y; y < o.y + 25 && left < 0; ++y)
    for (int x = o.x; x < o.x + 89; ++x)
      if (capture.At(x, y) == 0x0000FFu) {
        left = x - o.x;
        top = y - o.y;
        break;
      }
  ASSERT_GE(left, 0) << "no glyph drawn";
  EXPECT_GE(left, 2 + 4);
  EXPECT_LE(left, 2 + 4 + 2);  // a default button's extra frame
  EXPECT_LE(std::abs(top - (25 - 16) / 2), 1);
  // The magenta pixels show the face behind them.
  EXPECT_EQ(capture.At(o.x + left + 3, o.y + top + 3), Rgb(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(capture.At(o.x + left + 8, o.y + top + 8), 0x0000FFu);
  EXPECT_EQ(GetWindowLongPtrW(button->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
}

TEST_F(StandardControlsTest, CheckBoxCaptionSideAndItsOwnState) {
  auto* box = new TCheckBox(form);
  box->SetCaption(u"部分匹配");
  box->SetAlignment(TAlignment::taLeftJustify);
  box->SetParent(form);
  EXPECT_NE(GetWindowLongPtrW(box->Handle(), GWL_STYLE) & BS_LEFTTEXT, 0);
  box->SetAlignment(TAlignment::taRightJustify);
  EXPECT_EQ(GetWindowLongPtrW(box->Handle(), GWL_STYLE) & BS_LEFTTEXT, 0);
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  SendMessageW(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  box->SetChecked(false);
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(clicks, 2);
  box->SetAllowGrayed(true);
  SendMessageW(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(box->State(), TCheckBoxState::cbGrayed);
}

TEST_F(StandardControlsTest, EditLimitsReadOnlyAndCaret) {
  auto* edit = new TEdit(form);
  edit->SetMaxLength(2);
  edit->SetReadOnly(true);
  edit->SetParent(form);
  HWND h = edit->Handle();
  EXPECT_EQ(SendMessageW(h, EM_GETLIMITTEXT, 0, 0), 2);
  EXPECT_NE(GetWindowLongPtrW(h, GWL_STYLE) & ES_READONLY, 0);
  edit->SetReadOnly(false);
  EXPECT_EQ(GetWindowLongPtrW(h, GWL_STYLE) & ES_READONLY, 0);
  edit->SetMaxLength(0);
  edit->SetText(u"123");
  edit->SetSelStart(1);
  EXPECT_EQ(edit->SelStart(), 1);
  edit->SetSelText(u"4");
  EXPECT_EQ(edit->Text(), u"1423");
  EXPECT_EQ(edit->SelStart(), 2);
}

TEST_F(StandardControlsTest, SplitterDragResizesTheControlBeforeIt) {
  form->SetClientSize(400, 200);
  form->HandleNeeded();
  auto* left = new TPanel(form);
  left->SetBounds(0, 0, 233, 200);
  left->SetAlign(TAlign::alLeft);
  left->SetParent(form);
  auto* splitter = new TSplitter(form);
  splitter->SetBounds(233, 0, 2, 200);
  splitter->SetParent(form);
  auto* right = new TPanel(form);
  right->SetAlign(TAlign::alClient);
  right->SetParent(form);
  EXPECT_EQ(splitter->Left(), 233);
  EXPECT_EQ(splitter->ResizedControl(), left);
  EXPECT_EQ(right->Left(), 235);
  form->Show();
  PumpFor(50);
  HWND h = form->Handle();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(234, 100));
  SetCursorPos(0, 0);  // the splitter follows screen positions
  POINT p{284, 100};
  ClientToScreen(h, &p);
  SetCursorPos(p.x, p.y);
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(284, 100));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(284, 100));
  EXPECT_EQ(left->Width(), 283);
  EXPECT_EQ(splitter->Left(), 283);
  EXPECT_EQ(right->Left(), 285);
}

TEST_F(StandardControlsTest, CoolBarTilesItsBitmapBehindTheBand) {
  auto* bar = new TCoolBar(form);
  bar->SetBounds(0, 0, 400, 60);
  bar->SetAlign(TAlign::alTop);
  bar->SetBitmap(Solid(8, 8, 0x00C000));
  bar->SetParent(form);
  auto* tools = new TToolBar(form);
  tools->SetBounds(0, 0, 100, 40);
  tools->SetTransparent(true);
  tools->SetParent(bar);
  ASSERT_EQ(bar->BandCount(), 1);
  EXPECT_EQ(bar->Bands(0)->Control(), tools);
  form->Show();
  PumpFor(80);
  bar->Repaint();
  TCapture capture = CaptureWindow(bar->Handle());
  capture.Save(u"CoolBar.png");
  // Right of the tool bar, inside the band: the tiled picture.
  POINT o = ClientOffset(bar->Handle());
  EXPECT_EQ(capture.At(o.x + 300, o.y + 20), 0x00C000u);
  // Under the transparent tool bar too.
  POINT t{50, 20};
  MapWindowPoints(tools->Handle(), bar->Handle(), &t, 1);
  EXPECT_EQ(capture.At(o.x + t.x, o.y + t.y), 0x00C000u);
}

TEST_F(StandardControlsTest, ToolBarTakesNormalAndHotImagesAndButtonSize) {
  auto* images = new TImageList(form);
  images->SetWidth(80);
  images->SetHeight(80);
  auto* hot = new TImageList(form);
  hot->SetWidth(80);
  hot->SetHeight(80);
  for (int i = 0; i < 2; ++i) {
    images->AddMasked(*Solid(80, 80, 0x0000FF), 0xFF00FF);
    hot->AddMasked(*Solid(80, 80, 0x00FF00), 0xFF00FF);
  }
  auto* bar = new TToolBar(form);
  bar->SetBounds(0, 0, 300, 90);
  bar->SetFlat(true);
  bar->SetTransparent(true);
  bar->SetButtonWidth(88);
  bar->SetButtonHeight(86);
  bar->SetImages(images);
  bar->SetHotImages(hot);
  bar->SetParent(form);
  for (int i = 0; i < 2; ++i) {
    auto* b = new TToolButton(form);
    b->SetImageIndex(i);
    b->SetParent(bar);
  }
  HWND h = bar->Handle();
  EXPECT_NE(GetWindowLongPtrW(h, GWL_STYLE) & TBSTYLE_FLAT, 0);
  EXPECT_NE(GetWindowLongPtrW(h, GWL_STYLE) & TBSTYLE_TRANSPARENT, 0);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(h, TB_GETIMAGELIST, 0, 0)), images->Handle());
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(h, TB_GETHOTIMAGELIST, 0, 0)), hot->Handle());
  ASSERT_EQ(SendMessageW(h, TB_BUTTONCOUNT, 0, 0), 2);
  RECT r{};
  SendMessageW(h, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.right - r.left, 88);
  EXPECT_EQ(r.bottom - r.top, 86);
  EXPECT_EQ(bar->Buttons(1)->BoundsRect(), TRect(r));
  int clicks = 0;
  bar->Buttons(1)->OnClick = [&](TObject*) { ++clicks; };
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), reinterpret_cast<LPARAM>(h));
  EXPECT_EQ(clicks, 1);
}

TEST_F(StandardControlsTest, OwnerDrawnMenuItemsGoThroughTheirHandlers) {
  auto* popup = new TPopupMenu(form);
  popup->SetOwnerDraw(true);
  auto* item = new TMenuItem(form);
  item->SetCaption(u"关闭当前页");
  popup->Items()->Add(item);
  int measured = 0, drawn = 0;
  item->OnMeasureItem = [&](TObject*, TCanvas*, int& w, int& h) {
    ++measured;
    w = 120;
    h = 24;
  };
  item->OnAdvancedDrawItem = [&](TObject*, TCanvas* c, TRect r, TOwnerDrawState) {
    ++drawn;
    c->Brush()->SetColor(0x00FFFF);
    c->FillRect(r);
  };
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(popup->Handle(), 0, TRUE, &info);
  EXPECT_NE(info.fType & MFT_OWNERDRAW, 0u);
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, item->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(item)};
  SendMessageW(PopupListWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_EQ(measured, 1);
  EXPECT_EQ(mis.itemWidth, 120u);
  EXPECT_EQ(mis.itemHeight, 24u);
  // With the handler set aside, the framework's own rule answers.
  auto handler = item->OnMeasureItem;
  item->OnMeasureItem = nullptr;
  SendMessageW(PopupListWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_GT(mis.itemHeight, 10u);
  EXPECT_NE(mis.itemWidth, 120u);
  item->OnMeasureItem = handler;
  // Drawing into a DC.
  TOwned<TBitmap> target(new TBitmap);
  target->SetPixelFormat(TPixelFormat::pf24bit);
  target->SetSize(120, 24);
  DRAWITEMSTRUCT dis{ODT_MENU, 0, item->Command(), ODA_DRAWENTIRE, ODS_SELECTED, nullptr,
                     target->Canvas()->Handle(), {0, 0, 120, 24}, reinterpret_cast<ULONG_PTR>(item)};
  dis.hwndItem = reinterpret_cast<HWND>(popup->Handle());
  SendMessageW(PopupListWindow(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  EXPECT_EQ(drawn, 1);
  EXPECT_EQ(target->Canvas()->Pixels(60, 12), 0x00FFFF);
  // Item data that is no item is left alone.
  dis.itemData = 12345;
  EXPECT_EQ(SendMessageW(PopupListWindow(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), 0);
  EXPECT_EQ(drawn, 1);
}

TEST_F(StandardControlsTest, ShowModalRunsUntilModalResultAndDisablesTheOthers) {
  form->Show();
  auto* dialog = new TForm(Application);
  dialog->SetBorderStyle(TFormBorderStyle::bsDialog);
  auto* timer = new TTimer(dialog);
  timer->SetInterval(30);
  bool ownerDisabledWhileModal = false;
  timer->OnTimer = [&, dialog, timer](TObject*) {
    timer->SetEnabled(false);
    ownerDisabledWhileModal = !IsWindowEnabled(form->Handle());
    EXPECT_NE(dialog->FormState() & fsModal, 0u);
    dialog->SetModalResult(mrOk);
  };
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_TRUE(ownerDisabledWhileModal);
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));
  EXPECT_FALSE(dialog->Visible());
  EXPECT_EQ(dialog->FormState() & fsModal, 0u);
  // Closing a modal form ends the display with mrCancel.
  timer->OnTimer = [dialog, timer](TObject*) {
    timer->SetEnabled(false);
    dialog->Close();
  };
  timer->SetEnabled(true);
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  dialog->Free();
}

struct FormStyleCase {
  const char* name;
  TFormBorderStyle border;
  uint32_t icons;
  TFormStyle style;
  DWORD wanted, unwanted, exWanted;
};

TEST_F(StandardControlsTest, FormPropertiesGiveTheirWindowStyles) {
  const FormStyleCase cases[] = {
      {"single fixed with system menu and minimise", TFormBorderStyle::bsSingle, biSystemMenuBit | biMinimizeBit,
       TFormStyle::fsNormal, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_THICKFRAME | WS_MAXIMIZEBOX, 0},
      {"sizeable", TFormBorderStyle::bsSizeable, biSystemMenuBit | biMaximizeBit, TFormStyle::fsNormal,
       WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX, WS_MINIMIZEBOX, 0},
      {"no border, on top", TFormBorderStyle::bsNone, biSystemMenuBit, TFormStyle::fsStayOnTop, WS_POPUP,
       WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOPMOST},
      {"dialog", TFormBorderStyle::bsDialog, biSystemMenuBit | biMinimizeBit, TFormStyle::fsNormal,
       WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_MINIMIZEBOX | WS_THICKFRAME, WS_EX_DLGMODALFRAME},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto* f = new TForm(Application);
    f->SetBorderStyle(c.border);
    f->SetBorderIcons(c.icons);
    f->SetFormStyle(c.style);
    f->SetPosition(TPosition::poScreenCenter);
    f->SetClientSize(200, 100);
    HWND h = f->Handle();
    DWORD style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
    DWORD ex = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE));
    EXPECT_EQ(style & c.wanted, c.wanted);
    EXPECT_EQ(style & c.unwanted, 0u);
    EXPECT_EQ(ex & c.exWanted, c.exWanted);
    RECT client, window;
    GetClientRect(h, &client);
    GetWindowRect(h, &window);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);
    EXPECT_EQ((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_NE(Screen->FormCount(), 0);
    bool listed = false;
    for (int i = 0; i < Screen->FormCount(); ++i) listed = listed || Screen->Forms(i) == f;
    EXPECT_TRUE(listed);
    f->Free();
    for (int i = 0; i < Screen->FormCount(); ++i) EXPECT_NE(Screen->Forms(i), f);
  }
}

TEST_F(StandardControlsTest, CursorOfAWindowlessControlShowsOverIt) {
  auto* image = new TImage(form);
  image->SetBounds(10, 10, 39, 22);
  image->SetCursor(crHandPoint);
  image->SetParent(form);
  form->Show();
  PumpFor(30);
  HWND h = form->Handle();
  MoveMouseTo(h, 20, 20);
  SendMessageW(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  MoveMouseTo(h, 200, 150);
  SendMessageW(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  // Stays on top of the form's own cursor while it shows: the screen's cursor overrides.
  Screen->SetCursor(crHourGlass);
  SendMessageW(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  Screen->SetCursor(crDefault);
}

TEST_F(StandardControlsTest, DataModuleIsCreatedLikeAForm) {
  struct TProbeModule : TDataModule {
    explicit TProbeModule(TComponent* owner) : TDataModule(owner) {
      timer = new TTimer(this);
      OnCreate = [this](TObject*) { created = !timer->IsLoading(); };
    }
    TTimer* timer;
    bool created = false;
  };
  TProbeModule* module = nullptr;
  Application->CreateForm(module);
  EXPECT_TRUE(module->created);
  EXPECT_EQ(module->Owner(), Application);
  EXPECT_NE(Application->MainForm(), static_cast<TComponent*>(module));
}

}  // namespace
