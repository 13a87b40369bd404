#include <vector>

#include "framework/controls/Button.h"
#include "framework/controls/Label.h"
#include "framework/controls/Panel.h"
#include "framework/controls/WindowProcHook.h"
#include "framework/core/Property.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

// A handler object that records the messages it sees and passes them on.
class TSpy : public TObject {
  DECLARE_CLASS(TSpy, TObject)
  TSpy(const char* name, std::vector<std::string>& log) : name_(name), log_(log) {}
  TWndMethod Method() { return TWndMethod::Of<&TSpy::Handle>(this); }
  void Handle(TMessage& m) {
    if (m.Msg == kProbe) log_.push_back(name_);
    if (m.Msg == kProbe && answer != 0) m.Result = answer;
    if (next) next(m);
  }
  static constexpr UINT kProbe = WM_APP + 7;
  TWndMethod next;
  LRESULT answer = 0;

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

}  // namespace

IMPLEMENT_CLASS(TSpy)

namespace {

class WindowProcTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    form = new TForm(Application);
    button = new TButton(form);
    button->SetParent(form);
  }
  void TearDown() override { FreeObject(form); }
  std::vector<std::string> Run() {
    log.clear();
    button->Perform(TSpy::kProbe);
    SendMessageW(button->Handle(), TSpy::kProbe, 0, 0);
    return log;
  }
  TForm* form;
  TButton* button;
  std::vector<std::string> log;
};

TEST_F(WindowProcTest, ReplacedHandlerSeesMessagesFromPerformAndFromTheWindow) {
  TWndMethod original = button->WindowProc();
  TOwned<TSpy> spy(new TSpy("spy", log));
  spy->next = original;
  button->SetWindowProc(spy->Method());
  EXPECT_EQ(Run(), (std::vector<std::string>{"spy", "spy"}));
  EXPECT_NE(button->WindowProc(), original);
  EXPECT_EQ(button->WindowProc(), spy->Method());
  // Restored: the control's own handler again, compared equal to the saved one.
  button->SetWindowProc(original);
  EXPECT_EQ(button->WindowProc(), original);
  EXPECT_TRUE(Run().empty());
}

struct RemovalCase {
  const char* name;
  bool removeFirstHookFirst;
};

TEST_F(WindowProcTest, HooksComeOutInAnyOrderWithoutLosingTheOther) {
  for (RemovalCase c : {RemovalCase{"in order", false}, RemovalCase{"out of order", true}}) {
    SCOPED_TRACE(c.name);
    TWndMethod original = button->WindowProc();
    TOwned<TSpy> a(new TSpy("a", log)), b(new TSpy("b", log));
    auto hookA = std::make_unique<TWindowProcHook>(button, a->Method());
    a->next = hookA->Previous();
    auto hookB = std::make_unique<TWindowProcHook>(button, b->Method());
    b->next = hookB->Previous();
    EXPECT_EQ(Run(), (std::vector<std::string>{"b", "a", "b", "a"}));
    if (c.removeFirstHookFirst) {
      hookA.reset();
      // b now passes on straight to the control.
      b->next = hookB->Previous();
      EXPECT_EQ(Run(), (std::vector<std::string>{"b", "b"}));
      hookB.reset();
    } else {
      hookB.reset();
      EXPECT_EQ(Run(), (std::vector<std::string>{"a", "a"}));
      hookA.reset();
    }
    EXPECT_EQ(button->WindowProc(), original);
    EXPECT_TRUE(Run().empty());
  }
}

TEST_F(WindowProcTest, PerformDeliversFrameworkMessagesSynchronously) {
  TOwned<TSpy> spy(new TSpy("spy", log));
  std::vector<UINT> seen;
  struct TRecorder : TObject {
    std::vector<UINT>* seen;
    TWndMethod next;
    void Handle(TMessage& m) {
      if (m.Msg >= CM_BASE && m.Msg <= CM_LAST) seen->push_back(m.Msg);
      next(m);
    }
  };
  auto* label = new TLabel(form);
  label->SetParent(form);
  TOwned<TRecorder> recorder(new TRecorder);
  recorder->seen = &seen;
  TWindowProcHook hook(label, TWndMethod::Of<&TRecorder::Handle>(recorder.get()));
  recorder->next = hook.Previous();
  label->SetEnabled(false);
  label->SetVisible(false);
  label->SetCaption(u"部首");
  label->SetColor(0x00FF00);
  label->Font()->SetHeight(-20);
  std::vector<UINT> expected{CM_ENABLEDCHANGED, CM_VISIBLECHANGED, CM_TEXTCHANGED, CM_COLORCHANGED,
                             CM_FONTCHANGED};
  EXPECT_EQ(seen, expected);
  // A windowless control answers through the same path; the result comes back.
  spy->answer = 0x41A2;
  TWindowProcHook probe(label, spy->Method());
  spy->next = probe.Previous();
  EXPECT_EQ(label->Perform(TSpy::kProbe), 0x41A2);
}

TEST_F(WindowProcTest, FrameworkMessageNumbersStayClearOfReservedOnes) {
  const UINT reserved[] = {0x3401, 0x3502, 0x3503, 0x3506, 0x3507, 0x3514, 0x3515, 0x3516, 0x3517,
                           0x3518, 0x3523, 0xBC4A, 0xBC4B, 0xBC4D, 0xBC4E, 0xB0D0, WM_USER + 33};
  const UINT ours[] = {CM_ACTIVATE, CM_DEACTIVATE, CM_DIALOGKEY, CM_DIALOGCHAR, CM_FOCUSCHANGED,
                       CM_VISIBLECHANGED, CM_ENABLEDCHANGED, CM_COLORCHANGED, CM_FONTCHANGED,
                       CM_TEXTCHANGED, CM_MOUSEENTER, CM_MOUSELEAVE, CM_MENUCHANGED, CM_EXIT,
                       CM_ENTER, CM_RELEASE, CM_RECREATEWND, CN_COMMAND, CN_NOTIFY, CN_KEYDOWN,
                       CN_CHAR, CN_SYSCHAR, CN_CTLCOLOREDIT, CN_CTLCOLORSTATIC, CN_DRAWITEM,
                       CN_HSCROLL, CN_VSCROLL, CN_MEASUREITEM};
  for (UINT r : reserved)
    for (UINT o : ours) EXPECT_NE(o, r) << std::hex << o;
  // Every reflected notification maps back to its native message.
  EXPECT_EQ(CN_NOTIFY - CN_BASE, static_cast<UINT>(WM_NOTIFY));
}

}  // namespace
