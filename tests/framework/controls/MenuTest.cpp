#include <windows.h>
#include <commctrl.h>

#include "framework/controls/CoolBar.h"
#include "framework/controls/ToolBar.h"
#include "framework/controls/ToolButton.h"
#include "framework/core/Property.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "framework/menus/MainMenu.h"
#include "framework/menus/PopupMenu.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

// While installed: counts the menu windows that open and sends each the given keys.
struct TMenuDriver {
  explicit TMenuDriver(std::vector<WPARAM> keys) {
    Keys() = std::move(keys);
    Opened() = 0;
    hook = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~TMenuDriver() { UnhookWindowsHookEx(hook); }
  static int& Opened() {
    static int opened = 0;
    return opened;
  }
  static std::vector<WPARAM>& Keys() {
    static std::vector<WPARAM> keys;
    return keys;
  }
  static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l) {
    if (code == HCBT_CREATEWND && WindowClass(reinterpret_cast<HWND>(w)) == u"#32768") {
      ++Opened();
      for (WPARAM key : Keys()) PostMessageW(reinterpret_cast<HWND>(w), WM_KEYDOWN, key, 0);
    }
    return CallNextHookEx(nullptr, code, w, l);
  }
  HHOOK hook;
};

class MenuTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    form = new TForm(Application);
    form->SetBounds(40, 40, 500, 300);
    menu = new TMainMenu(form);
    file = Item(menu->Items(), u"基本功能(&B)");
    open = Item(file, u"中文字典");
    Item(file, u"-");
    quit = Item(file, u"退出(&X)");
    help = Item(menu->Items(), u"帮助(&H)");
    about = Item(help, u"关于软件(&A)");
  }
  void TearDown() override { FreeObject(form); }
  TMenuItem* Item(TMenuItem* parent, const char16_t* caption) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }
  TForm* form;
  TMainMenu* menu;
  TMenuItem *file, *open, *quit, *help, *about;
};

TEST_F(MenuTest, NativeMenuMirrorsTheItems) {
  HMENU bar = menu->Handle();
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  HMENU sub = GetSubMenu(bar, 0);
  ASSERT_EQ(sub, file->Handle());
  ASSERT_EQ(GetMenuItemCount(sub), 3);
  EXPECT_EQ(GetMenuItemID(sub, 0), open->Command());
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(sub, 1, TRUE, &info);
  EXPECT_NE(info.fType & MFT_SEPARATOR, 0u);
  // Changes rebuild the menu.
  open->SetEnabled(false);
  open->SetShortCut(MakeShortCut('N', ssCtrl));
  sub = file->Handle();
  EXPECT_NE(GetMenuState(sub, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
  WCHAR text[64] = {};
  GetMenuStringW(sub, 0, text, 64, MF_BYPOSITION);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), u"中文字典\tCtrl+N");
  about->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(help->Handle()), 0);
}

TEST_F(MenuTest, CommandsReachTheItemsFromAnyMenuOwner) {
  int clicks = 0;
  open->OnClick = [&](TObject* s) {
    EXPECT_EQ(s, open);
    ++clicks;
  };
  SendMessageW(PopupListWindow(), WM_COMMAND, open->Command(), 0);
  SendMessageW(form->Handle(), WM_COMMAND, open->Command(), 0);
  EXPECT_EQ(clicks, 2);
  // A shortcut runs its item from the form's key handling.
  open->SetShortCut(MakeShortCut('N', ssCtrl));
  form->SetMenu(menu);
  EXPECT_TRUE(form->IsShortCut('N', ssCtrl));
  EXPECT_EQ(clicks, 3);
  EXPECT_FALSE(form->IsShortCut('N', 0));
  open->SetEnabled(false);
  EXPECT_FALSE(form->IsShortCut('N', ssCtrl));
  EXPECT_EQ(clicks, 3);
}

TEST_F(MenuTest, ShortCutTextAndAccelerators) {
  struct Case {
    TShortCut shortCut;
    const char16_t* text;
  };
  const Case cases[] = {{MakeShortCut('N', ssCtrl), u"Ctrl+N"},
                        {MakeShortCut(VK_F4, ssAlt), u"Alt+F4"},
                        {MakeShortCut(VK_DELETE, ssShift | ssCtrl), u"Shift+Ctrl+Del"},
                        {MakeShortCut(VK_F10, 0), u"F10"},
                        {scNone, u""}};
  for (const auto& c : cases) EXPECT_EQ(ShortCutToText(c.shortCut), c.text);
  EXPECT_EQ(AcceleratorOf(u"基本功能(&B)"), u'B');
  EXPECT_EQ(AcceleratorOf(u"a && b"), 0);
  EXPECT_TRUE(IsAccel(u'x', u"退出(&X)"));
  EXPECT_EQ(StripHotkey(u"退出(&X) && 关"), u"退出(X) & 关");
}

TEST_F(MenuTest, ToolBarShowsTheMenuAsCaptionButtonsThatDropDown) {
  auto* bar = new TCoolBar(form);
  bar->SetBounds(0, 0, 500, 26);
  bar->SetAlign(TAlign::alTop);
  bar->SetParent(form);
  auto* tools = new TToolBar(form);
  tools->SetBounds(0, 0, 480, 22);
  tools->SetFlat(true);
  tools->SetButtonWidth(74);
  tools->SetButtonHeight(21);
  tools->SetParent(bar);
  tools->SetMenu(menu);
  form->Show();
  PumpFor(50);
  ASSERT_EQ(tools->ButtonCount(), 2);
  EXPECT_EQ(tools->Buttons(0)->Caption(), u"基本功能(&B)");
  EXPECT_EQ(tools->Buttons(0)->MenuItem(), file);
  EXPECT_EQ(tools->Buttons(1)->ClassName(), u"TToolButton");
  HWND h = tools->Handle();
  ASSERT_EQ(SendMessageW(h, TB_BUTTONCOUNT, 0, 0), 2);
  RECT first{};
  SendMessageW(h, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_EQ(first.right - first.left, 74);
  EXPECT_EQ(first.bottom - first.top, 21);
  EXPECT_EQ(tools->Buttons(0)->BoundsRect(), TRect(first));
  // A new top-level item is a new button.
  Item(menu->Items(), u"工具(&T)");
  EXPECT_EQ(tools->ButtonCount(), 3);

  // Pressing a caption button opens its drop-down; a click on an item runs it.
  int clicks = 0;
  open->OnClick = [&](TObject*) { ++clicks; };
  {
    TMenuDriver driver({VK_DOWN, VK_RETURN});  // choose the first item once the menu is up
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((first.left + first.right) / 2, 10));
    EXPECT_EQ(TMenuDriver::Opened(), 1);
  }
  EXPECT_EQ(clicks, 1);
}

TEST_F(MenuTest, AltAndTheAcceleratorOpensTheCaptionButtonsMenu) {
  auto* tools = new TToolBar(form);
  tools->SetBounds(0, 0, 480, 22);
  tools->SetParent(form);
  tools->SetMenu(menu);
  form->HandleNeeded();
  TMenuDriver driver({VK_ESCAPE});
  // Alt+H as the message loop delivers it: WM_SYSCHAR with the Alt bit.
  LRESULT handled = tools->Perform(CN_SYSCHAR, u'h', 0x20000000);
  EXPECT_NE(handled, 0);
  EXPECT_EQ(TMenuDriver::Opened(), 1);
  EXPECT_EQ(tools->Perform(CN_SYSCHAR, u'q', 0x20000000), 0);
}

TEST_F(MenuTest, PopupMenuCommandRunsItsItem) {
  auto* popup = new TPopupMenu(form);
  auto* close = new TMenuItem(form);
  close->SetCaption(u"关闭当前页");
  popup->Items()->Add(close);
  int clicks = 0;
  close->OnClick = [&](TObject*) { ++clicks; };
  TMenuDriver driver({VK_DOWN, VK_RETURN});
  popup->Popup(100, 100);
  EXPECT_EQ(TMenuDriver::Opened(), 1);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
