#include "framework/controls/Button.h"
#include "framework/controls/Edit.h"
#include "framework/core/Property.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

class KeyboardTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    form = new TForm(Application);
    form->SetBounds(100, 100, 300, 200);
    first = new TEdit(form);
    first->SetParent(form);
    second = new TEdit(form);
    second->SetBounds(0, 40, 100, 21);
    second->SetParent(form);
    form->Show();
    PumpUntil([&] { return GetActiveWindow() == form->Handle(); });
  }
  void TearDown() override { FreeObject(form); }
  TForm* form;
  TEdit* first;
  TEdit* second;
};

TEST_F(KeyboardTest, KeyReplacedByNullIsDroppedAndOthersChangeTheText) {
  std::u16string seen;
  first->OnKeyPress = [&](TObject*, char16_t& key) {
    seen += key;
    if (key == u'a' || key == u'6') key = 0;       // dropped
    else if (key == u'x') key = u'5';              // replaced
  };
  first->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return first->Focused(); }));
  TypeText(u"1a6x2");
  ASSERT_TRUE(PumpUntil([&] { return seen.size() == 5; }));
  EXPECT_EQ(seen, u"1a6x2");
  EXPECT_EQ(first->Text(), u"152");
}

TEST_F(KeyboardTest, EnterReachesTheEditsKeyPressWithoutADefaultButton) {
  int enters = 0;
  first->OnKeyPress = [&](TObject*, char16_t& key) {
    if (key == u'\r') ++enters;
  };
  first->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return first->Focused(); }));
  PressKey(VK_RETURN);
  EXPECT_TRUE(PumpUntil([&] { return enters == 1; }));
}

TEST_F(KeyboardTest, TabMovesTheFocusInTabOrder) {
  auto* button = new TButton(form);
  button->SetBounds(0, 80, 75, 25);
  button->SetParent(form);
  button->SetTabOrder(0);  // before both edits now
  std::vector<TWinControl*> order;
  form->GetTabOrderList(order);
  ASSERT_EQ(order.size(), 3u);
  EXPECT_EQ(order[0], button);
  EXPECT_EQ(order[1], first);
  first->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return first->Focused(); }));
  int exits = 0, enters = 0;
  first->OnExit = [&](TObject*) { ++exits; };
  second->OnEnter = [&](TObject*) { ++enters; };
  PressKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return second->Focused(); }));
  EXPECT_EQ(form->ActiveControl(), second);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(enters, 1);
  PressKey(VK_TAB);
  EXPECT_TRUE(PumpUntil([&] { return button->Focused(); }));
  PressKey(VK_TAB, false, false, true);  // Shift+Tab goes back
  EXPECT_TRUE(PumpUntil([&] { return second->Focused(); }));
}

TEST_F(KeyboardTest, ChangeEventFollowsTypingAndAssignment) {
  int changes = 0;
  first->OnChange = [&](TObject*) { ++changes; };
  first->SetText(u"中");
  EXPECT_EQ(changes, 1);
  first->SetSelStart(1);
  first->SetSelText(u"国");
  EXPECT_EQ(first->Text(), u"中国");
  EXPECT_EQ(changes, 2);
  // Without a window the edit reports changes itself.
  auto* loose = new TEdit(form);
  int looseChanges = 0;
  loose->OnChange = [&](TObject*) { ++looseChanges; };
  loose->SetText(u"x");
  EXPECT_EQ(looseChanges, 1);
  EXPECT_FALSE(loose->HandleAllocated());
  loose->SetSelStart(1);
  loose->SetSelText(u"y");
  EXPECT_EQ(loose->Text(), u"xy");
}

}  // namespace
