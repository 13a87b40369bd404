#include <windows.h>

#include <vector>

#include "framework/controls/Button.h"
#include "framework/controls/Edit.h"
#include "framework/controls/Label.h"
#include "framework/controls/Panel.h"
#include "framework/core/Property.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

std::vector<std::u16string> g_log;

// Logs when its window goes and when the object goes.
class TLoggedPanel : public TPanel {
  DECLARE_CLASS(TLoggedPanel, TPanel)
  using TPanel::TPanel;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_DESTROY) g_log.push_back(u"window " + Name());
    TPanel::WndProc(m);
  }

 protected:
  void BeforeDestruction() override {
    g_log.push_back(u"free " + Name());
    TPanel::BeforeDestruction();
  }
};

}  // namespace

IMPLEMENT_CLASS(TLoggedPanel)

namespace {

class ControlTreeTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    g_log.clear();
    form = new TForm(Application);
    form->SetBounds(100, 100, 400, 300);
  }
  void TearDown() override { FreeObject(form); }
  TForm* form;
};

TEST_F(ControlTreeTest, WindowsAreCreatedOnDemandUnderTheFrameworkClassName) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  auto* button = new TButton(form);
  button->SetParent(panel);
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_FALSE(button->HandleAllocated());

  HWND h = button->Handle();  // the parents' windows come first
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(form->HandleAllocated());
  EXPECT_TRUE(panel->HandleAllocated());
  EXPECT_EQ(GetParent(h), panel->Handle());
  EXPECT_EQ(WindowClass(h), u"TButton");
  EXPECT_EQ(WindowClass(panel->Handle()), u"TPanel");
  EXPECT_EQ(WindowClass(form->Handle()), u"TForm");
  // Superclassed: the native button answers its own messages.
  SendMessageW(h, BM_SETSTATE, TRUE, 0);
  EXPECT_NE(SendMessageW(h, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  // The top-level form is owned by the hidden application window.
  EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Application->Handle());
  EXPECT_EQ(WindowClass(Application->Handle()), u"TApplication");
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
}

TEST_F(ControlTreeTest, ControlFromHandleFindsTheControlThroughTheWindowProperty) {
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  HWND h = edit->Handle();
  EXPECT_EQ(ControlFromHandle(h), edit);
  EXPECT_EQ(ControlFromHandle(form->Handle()), form);
  EXPECT_EQ(ControlFromHandle(nullptr), nullptr);
  EXPECT_EQ(ControlFromHandle(GetDesktopWindow()), nullptr);
  // The property is the one a skin engine looks for, under the documented atom name.
  std::u16string name = ControlAtomName();
  ASSERT_EQ(name.size(), 26u);
  EXPECT_EQ(name.substr(0, 10), u"ControlOfs");
  EXPECT_EQ(name.substr(18), IntToHex(GetCurrentThreadId(), 8));
  for (char16_t c : name.substr(10)) EXPECT_TRUE((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'));
  EXPECT_EQ(GetPropW(h, reinterpret_cast<LPCWSTR>(name.c_str())), static_cast<HANDLE>(static_cast<TControl*>(edit)));
  // A destroyed window leaves nothing behind.
  edit->Free();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(ControlFromHandle(h), nullptr);
}

TEST_F(ControlTreeTest, FormWindowGoesBeforeItsControlsAreFreed) {
  auto* outer = new TLoggedPanel(form);
  outer->SetName(u"outer");
  outer->SetParent(form);
  auto* inner = new TLoggedPanel(form);
  inner->SetName(u"inner");
  inner->SetParent(outer);
  form->HandleNeeded();
  TForm* doomed = form;
  form = nullptr;
  doomed->Free();
  // Every window is destroyed while every object still exists.
  ASSERT_EQ(g_log.size(), 4u);
  EXPECT_EQ(g_log[0].substr(0, 7), u"window ");
  EXPECT_EQ(g_log[1].substr(0, 7), u"window ");
  EXPECT_EQ(g_log[2], u"free outer");
  EXPECT_EQ(g_log[3], u"free inner");
}

TEST_F(ControlTreeTest, FreedChildLeavesParentAndOwner) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  auto* label = new TLabel(form);
  label->SetParent(panel);
  auto* button = new TButton(form);
  button->SetParent(panel);
  EXPECT_EQ(panel->ControlCount(), 2);
  int owned = form->ComponentCount();
  label->Free();
  EXPECT_EQ(panel->ControlCount(), 1);
  EXPECT_EQ(panel->Controls(0), button);
  EXPECT_EQ(form->ComponentCount(), owned - 1);
  // A parent takes its children with it whoever owns them.
  TWeakRef<TButton> watch(button);
  panel->Free();
  EXPECT_FALSE(watch);
}

TEST_F(ControlTreeTest, StateSurvivesWindowRecreation) {
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetText(u"部首");
  HWND first = edit->Handle();
  edit->SetBorderStyle(TBorderStyle::bsNone);  // needs a new window
  HWND second = edit->Handle();
  EXPECT_NE(first, second);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(edit->Text(), u"部首");
  EXPECT_EQ(WindowText(second), u"部首");
  EXPECT_EQ(GetWindowLongPtrW(second, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

TEST_F(ControlTreeTest, AlignmentFillsTopBottomLeftThenClient) {
  form->SetClientSize(300, 200);
  form->HandleNeeded();
  auto add = [&](TAlign align, int size) {
    auto* p = new TPanel(form);
    p->SetBounds(0, 0, size, size);
    p->SetAlign(align);
    p->SetParent(form);
    return p;
  };
  TPanel* top = add(TAlign::alTop, 26);
  TPanel* bottom = add(TAlign::alBottom, 20);
  TPanel* left = add(TAlign::alLeft, 50);
  TPanel* client = add(TAlign::alClient, 10);
  EXPECT_EQ(top->BoundsRect(), TRect(0, 0, 300, 26));
  EXPECT_EQ(bottom->BoundsRect(), TRect(0, 180, 300, 200));
  EXPECT_EQ(left->BoundsRect(), TRect(0, 26, 50, 180));
  EXPECT_EQ(client->BoundsRect(), TRect(50, 26, 300, 180));
  top->SetVisible(false);
  EXPECT_EQ(client->BoundsRect(), TRect(50, 0, 300, 180));
}

}  // namespace
