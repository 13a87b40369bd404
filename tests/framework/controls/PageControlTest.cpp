#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/controls/PageControl.h"
#include "framework/controls/TabSheet.h"
#include "framework/core/Property.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

class PageControlTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    form = new TForm(Application);
    form->SetBounds(50, 50, 600, 400);
    pages = new TPageControl(form);
    pages->SetAlign(TAlign::alClient);
    pages->SetParent(form);
    const char16_t* captions[] = {u"  首  页  ", u"中文字典", u"中文词典", u"成语词典", u"英语词典", u"歇后语典"};
    for (const char16_t* caption : captions) {
      auto* sheet = new TTabSheet(form);
      sheet->SetCaption(caption);
      sheet->SetPageControl(pages);
      sheets.push_back(sheet);
    }
    form->HandleNeeded();
  }
  void TearDown() override { FreeObject(form); }

  // The native tab texts, in the order the control shows them.
  std::vector<std::u16string> Tabs() {
    std::vector<std::u16string> out;
    HWND h = pages->Handle();
    int n = static_cast<int>(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      WCHAR buffer[64] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = buffer;
      item.cchTextMax = 64;
      SendMessageW(h, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      out.emplace_back(reinterpret_cast<const char16_t*>(buffer));
    }
    return out;
  }
  int Selected() { return static_cast<int>(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0)); }
  void Open(int i) {
    sheets[static_cast<size_t>(i)]->SetTabVisible(true);
    pages->SetActivePage(sheets[static_cast<size_t>(i)]);
  }

  TForm* form;
  TPageControl* pages;
  std::vector<TTabSheet*> sheets;
};

TEST_F(PageControlTest, HidingTheCurrentTabOneAfterAnotherEndsOnTheHomePage) {
  pages->SetActivePage(sheets[1]);
  for (int i = 1; i <= 5; ++i) sheets[static_cast<size_t>(i)]->SetTabVisible(false);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  EXPECT_EQ(Tabs(), (std::vector<std::u16string>{u"  首  页  "}));
  EXPECT_EQ(Selected(), 0);
  EXPECT_TRUE(sheets[0]->Visible());
  for (int i = 1; i <= 5; ++i) EXPECT_FALSE(sheets[static_cast<size_t>(i)]->Visible());
}

TEST_F(PageControlTest, VisibleTabsStayInPageOrderWhateverTheOpeningOrder) {
  for (int i = 1; i <= 5; ++i) sheets[static_cast<size_t>(i)]->SetTabVisible(false);
  Open(4);
  Open(1);
  EXPECT_EQ(Tabs(), (std::vector<std::u16string>{u"  首  页  ", u"中文字典", u"英语词典"}));
  EXPECT_EQ(pages->ActivePage(), sheets[1]);
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(sheets[4]->TabIndex(), 2);
  EXPECT_EQ(sheets[4]->PageIndex(), 4);
  EXPECT_EQ(sheets[3]->TabIndex(), -1);
}

struct CloseCase {
  const char* name;
  std::vector<int> open;  // pages opened, in this order (the last is current)
  int close;              // page whose tab is hidden
  int expectCurrent;
};

TEST_F(PageControlTest, HidingTheCurrentTabPassesCurrentOn) {
  const CloseCase cases[] = {
      {"middle tab: the next one moves into its place", {1, 3, 5, 3}, 3, 5},
      {"last tab: the new last one", {1, 3, 5}, 5, 3},
      {"only dictionary tab: home", {2}, 2, 0},
      {"first dictionary tab of several", {2, 4, 2}, 2, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (int i = 1; i <= 5; ++i) sheets[static_cast<size_t>(i)]->SetTabVisible(false);
    for (int p : c.open) Open(p);
    sheets[static_cast<size_t>(c.close)]->SetTabVisible(false);
    EXPECT_EQ(pages->ActivePage(), sheets[static_cast<size_t>(c.expectCurrent)]);
    EXPECT_EQ(Selected(), sheets[static_cast<size_t>(c.expectCurrent)]->TabIndex());
  }
}

TEST_F(PageControlTest, HidingAnotherTabKeepsTheCurrentPage) {
  Open(2);
  Open(4);
  sheets[2]->SetTabVisible(false);
  EXPECT_EQ(pages->ActivePage(), sheets[4]);
  EXPECT_EQ(Selected(), sheets[4]->TabIndex());
}

TEST_F(PageControlTest, ClickingATabSelectsItsPageAndSheetsFillTheDisplayArea) {
  form->Show();
  PumpFor(50);
  int changes = 0;
  pages->OnChange = [&](TObject*) { ++changes; };
  RECT tab{};
  SendMessageW(pages->Handle(), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&tab));
  ClickAt(pages->Handle(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  ASSERT_TRUE(PumpUntil([&] { return pages->ActivePage() == sheets[2]; }));
  EXPECT_EQ(changes, 1);
  TRect display = pages->ClientRect();
  RECT r = display.ToRECT();
  SendMessageW(pages->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(sheets[2]->BoundsRect(), TRect(r));
}

TEST_F(PageControlTest, TabHeightIsTheNativeItemHeight) {
  pages->SetTabHeight(29);
  RECT tab{};
  SendMessageW(pages->Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  EXPECT_EQ(tab.bottom - tab.top, 29);
}

}  // namespace
