#include "framework/controls/Button.h"
#include "framework/controls/HintWindow.h"
#include "framework/controls/Label.h"
#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "framework/forms/Screen.h"
#include "framework/forms/Timer.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

class ApplicationTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    Application->SetTitle(u"青禾词典");
  }
};

TEST_F(ApplicationTest, ErrorInAHandlerShowsTheStandardBoxAndTheProgramGoesOn) {
  auto* form = new TForm(Application);
  auto* button = new TButton(form);
  button->SetParent(form);
  button->OnClick = [](TObject*) { throw EFOpenError(u"Cannot open file \"C:\\x\\img\\hz.txt\"."); };
  Application->OnException = nullptr;  // the real box
  TMessageBoxWatcher watcher;
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(watcher.Boxes().size(), 1u);
  EXPECT_EQ(watcher.Boxes()[0].Text, u"Cannot open file \"C:\\x\\img\\hz.txt\".");
  EXPECT_EQ(watcher.Boxes()[0].Caption, u"青禾词典");
  EXPECT_EQ(watcher.Boxes()[0].Icon, static_cast<UINT>(MB_ICONERROR));
  // Still answering.
  button->OnClick = nullptr;
  EXPECT_EQ(SendMessageW(button->Handle(), WM_GETTEXTLENGTH, 0, 0), 0);
  form->Free();
}

TEST_F(ApplicationTest, ClosingTheMainFormEndsRun) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  EXPECT_EQ(Application->MainForm(), main);
  auto* timer = new TTimer(main);
  timer->SetInterval(20);
  timer->OnTimer = [main, timer](TObject*) {
    timer->SetEnabled(false);
    main->Close();
  };
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  // Closing ended the loop; the form itself is freed with the application.
  EXPECT_TRUE(main->Alive());
  EXPECT_TRUE(IsWindow(main->Handle()));
}

TEST_F(ApplicationTest, ReleasedFormIsNotFreedInsideANestedPump) {
  auto* form = new TForm(Application);
  auto* button = new TButton(form);
  button->SetParent(form);
  TWeakRef<TForm> watch(form);
  bool aliveAfterNestedPump = false;
  button->OnClick = [&](TObject*) {
    form->Release();
    Application->ProcessMessages();  // CM_RELEASE arrives in here
    aliveAfterNestedPump = watch.Get() != nullptr;
  };
  PostMessageW(button->Handle(), BM_CLICK, 0, 0);
  Application->ProcessMessages();
  EXPECT_TRUE(aliveAfterNestedPump);
  EXPECT_FALSE(watch);
}

TEST_F(ApplicationTest, CreateFormLoadsComponentsThenRunsOnCreate) {
  struct TLoadedProbe : TComponent {
    using TComponent::TComponent;
    bool wasLoading = false;
    int loadedCalls = 0;
    void Loaded() override {
      wasLoading = IsLoading();
      ++loadedCalls;
      TComponent::Loaded();
    }
  };
  struct TProbeForm : TForm {
    explicit TProbeForm(TComponent* owner) : TForm(owner) {
      probe = new TLoadedProbe(this);
      loadingInConstructor = probe->IsLoading();
      OnCreate = [this](TObject*) { probeLoadedBeforeCreate = probe->loadedCalls == 1; };
    }
    TLoadedProbe* probe;
    bool loadingInConstructor = false;
    bool probeLoadedBeforeCreate = false;
  };
  TProbeForm* form = nullptr;
  Application->CreateForm(form);
  EXPECT_TRUE(form->loadingInConstructor);
  EXPECT_TRUE(form->probe->wasLoading);
  EXPECT_FALSE(form->probe->IsLoading());
  EXPECT_TRUE(form->probeLoadedBeforeCreate);
  EXPECT_FALSE(form->IsLoading());
  // Made at run time: never loading.
  auto* late = new TLoadedProbe(form);
  EXPECT_FALSE(late->IsLoading());
}

TEST_F(ApplicationTest, HookedMainWindowSeesTheActivationNotice) {
  auto* form = new TForm(Application);
  struct THookTarget : TObject {
    int activations = 0;
    bool Hook(TMessage& m) {
      if (m.Msg == CM_ACTIVATE) ++activations;
      return false;
    }
  };
  TOwned<THookTarget> target(new THookTarget);
  TWindowHook hook = TWindowHook::Of<&THookTarget::Hook>(target.get());
  Application->HookMainWindow(hook);
  Application->HookMainWindow(hook);  // once only
  SendMessageW(form->Handle(), WM_ACTIVATEAPP, FALSE, 0);
  SendMessageW(form->Handle(), WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_EQ(target->activations, 1);
  EXPECT_TRUE(Application->Active());
  SendMessageW(form->Handle(), WM_ACTIVATEAPP, TRUE, 0);  // already active: no second notice
  EXPECT_EQ(target->activations, 1);
  Application->UnhookMainWindow(hook);
  SendMessageW(form->Handle(), WM_ACTIVATEAPP, FALSE, 0);
  SendMessageW(form->Handle(), WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_EQ(target->activations, 1);
  form->Free();
}

TEST_F(ApplicationTest, MouseEnterLeaveAndHintsForAWindowlessControl) {
  auto* form = new TForm(Application);
  form->SetBounds(100, 100, 300, 200);
  auto* label = new TLabel(form);
  label->SetBounds(20, 20, 120, 30);
  label->SetAutoSize(false);
  label->SetCaption(u"笔画码[推荐]");
  label->SetHint(u"输入汉字的笔画码，可使用上面的按钮辅助输入");
  label->SetShowHint(true);
  label->SetParent(form);
  std::vector<std::string> events;
  struct TTracker : TObject {
    std::vector<std::string>* events;
    TWndMethod next;
    void Handle(TMessage& m) {
      if (m.Msg == CM_MOUSEENTER) events->push_back("enter");
      if (m.Msg == CM_MOUSELEAVE) events->push_back("leave");
      next(m);
    }
  };
  TOwned<TTracker> tracker(new TTracker);
  tracker->events = &events;
  tracker->next = label->WindowProc();
  label->SetWindowProc(TWndMethod::Of<&TTracker::Handle>(tracker.get()));
  Application->SetHintPause(50);
  form->Show();
  PumpFor(50);
  SendMessageW(form->Handle(), WM_ACTIVATEAPP, TRUE, 0);
  HWND h = form->Handle();
  MoveMouseTo(h, 5, 150);
  MoveMouseTo(h, 40, 30);
  ASSERT_TRUE(PumpUntil([&] { return !events.empty(); }));
  EXPECT_EQ(events, (std::vector<std::string>{"enter"}));
  EXPECT_EQ(Application->MouseControl(), label);
  // The hint comes after the pause, with the control's text.
  ASSERT_TRUE(PumpUntil([&] {
    THintWindow* hint = Application->HintWindow();
    return hint->HandleAllocated() && IsWindowVisible(hint->Handle());
  }));
  EXPECT_EQ(WindowText(Application->HintWindow()->Handle()), label->Hint());
  MoveMouseTo(h, 200, 150);
  ASSERT_TRUE(PumpUntil([&] { return events.size() == 2; }));
  EXPECT_EQ(events[1], "leave");
  EXPECT_FALSE(Application->HintWindow()->HandleAllocated() &&
               IsWindowVisible(Application->HintWindow()->Handle()));
  label->SetWindowProc(tracker->next);
  form->Free();
}

}  // namespace
