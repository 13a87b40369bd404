// The main window built in this process: its layout and the rules of its pages.
#include <windows.h>
#include <commctrl.h>

#include "app/Form1.h"
#include "framework/controls/ToolButton.h"
#include "framework/forms/Application.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

class Form1Test : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    Application->CreateForm(Form1);
    Form1->Show();
    PumpFor(30);
  }
  std::vector<std::u16string> Tabs() {
    std::vector<std::u16string> out;
    for (TTabSheet* s : Form1->pc1->VisibleTabs()) out.push_back(s->Caption());
    return out;
  }
};

TEST_F(Form1Test, WindowAndMenuBand) {
  EXPECT_EQ(Form1->ClassName(), u"TForm1");
  EXPECT_EQ(Form1->Caption(), u"青禾中文词典");
  EXPECT_EQ(Form1->ClientWidth(), 937);
  EXPECT_EQ(Form1->ClientHeight(), 601);
  EXPECT_EQ(Form1->Font()->Name(), u"MS Sans Serif");
  EXPECT_EQ(Form1->Font()->Size(), 8);
  TToolBar* bar = Form1->ToolBar1;
  ASSERT_EQ(bar->ButtonCount(), 5);
  const char16_t* captions[] = {u"基本功能(&B)", u"扩展功能(&E)", u"工具(&T)", u"在线链接(&L)", u"帮助(&H)"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(bar->Buttons(i)->Caption(), captions[i]);
    EXPECT_EQ(bar->Buttons(i)->Width(), 74);
    EXPECT_EQ(bar->Buttons(i)->Height(), 21);
  }
  EXPECT_EQ(Form1->CoolBar2->Height(), 26);
  EXPECT_EQ(Form1->Panel1->Height(), 26);
  EXPECT_EQ(Form1->pc1->TabHeight(), 29);
  CaptureWindow(Form1->Handle()).Save(u"Form1.png");
}

TEST_F(Form1Test, AtStartOnlyTheHomeTabIsShown) {
  EXPECT_EQ(Tabs(), (std::vector<std::u16string>{u"  首  页  "}));
  EXPECT_EQ(Form1->pc1->ActivePage(), Form1->TabSheet1);
  EXPECT_EQ(SendMessageW(Form1->pc1->Handle(), TCM_GETITEMCOUNT, 0, 0), 1);
}

TEST_F(Form1Test, OpeningPagesKeepsPageOrderAndClosingPassesCurrentOn) {
  Form1->ToolButton7Click(nullptr);  // English
  Form1->ToolButton1Click(nullptr);  // characters
  EXPECT_EQ(Tabs(), (std::vector<std::u16string>{u"  首  页  ", u"中文字典", u"英语词典"}));
  EXPECT_EQ(Form1->pc1->ActivePage(), Form1->TabSheet2);
  // Closing the last visible tab makes the one before it current.
  Form1->pc1->SetActivePage(Form1->TabSheet5);
  Form1->N1Click(nullptr);
  EXPECT_EQ(Form1->pc1->ActivePage(), Form1->TabSheet2);
  EXPECT_EQ(Tabs(), (std::vector<std::u16string>{u"  首  页  ", u"中文字典"}));
  // The home page is never closed.
  Form1->pc1->SetActivePage(Form1->TabSheet1);
  Form1->N1Click(nullptr);
  EXPECT_EQ(Tabs(), (std::vector<std::u16string>{u"  首  页  ", u"中文字典"}));
  EXPECT_EQ(Form1->pc1->ActivePage(), Form1->TabSheet1);
}

TEST_F(Form1Test, MenuItemsOpenThePagesAndExitEndsTheProgram) {
  struct Case {
    TMenuItem* item;
    TTabSheet* page;
  };
  const Case cases[] = {{Form1->N2, Form1->TabSheet2}, {Form1->O1, Form1->TabSheet3},
                        {Form1->N3, Form1->TabSheet4}, {Form1->F1, Form1->TabSheet5},
                        {Form1->X2, Form1->TabSheet6}};
  for (const auto& c : cases) {
    c.item->Click();
    EXPECT_EQ(Form1->pc1->ActivePage(), c.page);
    EXPECT_TRUE(c.page->TabVisible());
  }
  EXPECT_EQ(Tabs().size(), 6u);
  // "选项(&O)" and "软件作者(&T)" do nothing.
  Form1->O2->Click();
  Form1->T2->Click();
  EXPECT_EQ(Form1->pc1->ActivePage(), Form1->TabSheet6);
  Form1->X1->Click();
  EXPECT_TRUE(Application->Terminated());
}

}  // namespace
