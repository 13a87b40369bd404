#include "framework/core/Component.h"

#include <string>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "tests/harness/Gtest.h"

namespace {

std::vector<std::u16string> g_events;
std::vector<std::u16string> g_markedAtFree;

// Records its lifecycle under its name.
class TProbe : public TComponent {
  DECLARE_CLASS(TProbe, TComponent)
  explicit TProbe(TComponent* owner, const std::u16string& name) : TComponent(owner) {
    SetName(name);
  }
  TWeakRef<TComponent> Watched;
  int LoadedCalls = 0;
  bool LoadingSeenInLoaded = false;

 protected:
  ~TProbe() override { g_events.push_back(u"~" + Name()); }
  void BeforeDestruction() override {
    g_events.push_back(u"destroying " + Name() + (Owner() ? u" owned" : u" unowned"));
    g_markedAtFree.push_back(Name() + (IsDestroying() ? u":1" : u":0"));
    TComponent::BeforeDestruction();
  }
  void Loaded() override {
    ++LoadedCalls;
    LoadingSeenInLoaded = IsLoading();
    TComponent::Loaded();
    g_events.push_back(u"loaded " + Name());
  }
  void Notification(TComponent* c, TOperation op) override {
    if (op == TOperation::opRemove) g_events.push_back(Name() + u" sees removal of " + c->Name());
    TComponent::Notification(c, op);
  }
};

IMPLEMENT_CLASS(TProbe)

class ComponentTest : public testing::Test {
 protected:
  void SetUp() override { g_events.clear(); }
};

TEST_F(ComponentTest, OwnerFreesOwnedLastFirstAndChildrenLeaveTheList) {
  auto* root = new TProbe(nullptr, u"root");
  auto* a = new TProbe(root, u"a");
  new TProbe(root, u"b");
  new TProbe(a, u"a1");
  ASSERT_EQ(root->ComponentCount(), 2);
  EXPECT_EQ(a->ComponentIndex(), 0);

  root->Free();
  std::vector<std::u16string> expected{
      u"destroying root unowned", u"destroying b owned", u"~b", u"destroying a owned",
      u"destroying a1 owned", u"~a1", u"~a", u"~root"};
  // Each owned component leaves its owner's list before it is freed, so the owner's
  // notification of its removal comes first.
  std::vector<std::u16string> lifecycle;
  for (auto& e : g_events)
    if (e.find(u"sees") == std::u16string::npos) lifecycle.push_back(e);
  EXPECT_EQ(lifecycle, expected);
}

TEST_F(ComponentTest, DestroyedComponentLeavesItsOwner) {
  auto* root = new TProbe(nullptr, u"root");
  auto* a = new TProbe(root, u"a");
  auto* b = new TProbe(root, u"b");
  a->Free();
  ASSERT_EQ(root->ComponentCount(), 1);
  EXPECT_EQ(root->Components(0), b);
  EXPECT_NE(std::find(g_events.begin(), g_events.end(), u"root sees removal of a"), g_events.end());
  root->Free();
}

TEST_F(ComponentTest, WeakReferenceClearsWhenTargetIsDestroyed) {
  auto* root = new TProbe(nullptr, u"root");
  auto* target = new TProbe(root, u"target");
  TWeakRef<TProbe> ref(target);
  TWeakRef<TProbe> copy = ref;
  EXPECT_EQ(ref.Get(), target);
  target->Free();
  EXPECT_EQ(ref.Get(), nullptr);
  EXPECT_EQ(copy.Get(), nullptr);
  // Destroyed with the owner, not alone.
  auto* other = new TProbe(root, u"other");
  ref = other;
  root->Free();
  EXPECT_EQ(ref.Get(), nullptr);
}

TEST_F(ComponentTest, FreeNotificationReachesOtherTrees) {
  auto* left = new TProbe(nullptr, u"left");
  auto* right = new TProbe(nullptr, u"right");
  left->FreeNotification(right);
  right->Free();
  EXPECT_NE(std::find(g_events.begin(), g_events.end(), u"left sees removal of right"),
            g_events.end());
  g_events.clear();
  left->Free();  // must not call back into the freed component
  EXPECT_EQ(g_events.front(), u"destroying left unowned");
}

TEST_F(ComponentTest, NamesAreUniqueWithinAnOwnerIgnoringCase) {
  auto* root = new TProbe(nullptr, u"root");
  new TProbe(root, u"Button1");
  EXPECT_THROW(new TProbe(root, u"BUTTON1"), EComponentError);
  EXPECT_NE(root->FindComponent(u"button1"), nullptr);
  EXPECT_EQ(root->FindComponent(u"Button2"), nullptr);
  EXPECT_EQ(root->FindComponent(u""), nullptr);
  root->Free();
}

TEST_F(ComponentTest, LoadingScopeMarksComponentsUntilFinishLoading) {
  TProbe* root;
  TProbe* child;
  {
    TLoadingScope scope;
    root = new TProbe(nullptr, u"root");
    child = new TProbe(root, u"child");
  }
  auto* late = new TProbe(root, u"late");
  EXPECT_TRUE(root->IsLoading());
  EXPECT_TRUE(child->IsLoading());
  EXPECT_FALSE(late->IsLoading());

  root->FinishLoading();
  EXPECT_FALSE(root->IsLoading());
  EXPECT_EQ(child->LoadedCalls, 1);
  EXPECT_TRUE(child->LoadingSeenInLoaded);
  EXPECT_EQ(late->LoadedCalls, 0);
  EXPECT_EQ(root->LoadedCalls, 1);
  // Owned ones first, then the owner.
  std::vector<std::u16string> loaded{u"loaded child", u"loaded root"};
  EXPECT_EQ(g_events, loaded);
  root->FinishLoading();
  EXPECT_EQ(root->LoadedCalls, 1);
  root->Free();
}

TEST_F(ComponentTest, OwnedComponentsAreMarkedDestroyingBeforeAnyIsFreed) {
  auto* root = new TProbe(nullptr, u"root");
  new TProbe(root, u"first");
  new TProbe(root, u"second");
  g_markedAtFree.clear();
  root->Free();
  // The owner is not yet marked when its own Free starts; everything it owns is by
  // the time it is freed, so nothing owned acts on a half-destroyed tree.
  std::vector<std::u16string> expected{u"root:0", u"second:1", u"first:1"};
  EXPECT_EQ(g_markedAtFree, expected);
}

TEST_F(ComponentTest, InsertComponentMovesBetweenOwners) {
  auto* a = new TProbe(nullptr, u"a");
  auto* b = new TProbe(nullptr, u"b");
  auto* c = new TProbe(a, u"c");
  b->InsertComponent(c);
  EXPECT_EQ(c->Owner(), b);
  EXPECT_EQ(a->ComponentCount(), 0);
  EXPECT_EQ(b->ComponentCount(), 1);
  a->Free();
  b->Free();
  EXPECT_NE(std::find(g_events.begin(), g_events.end(), u"~c"), g_events.end());
}

}  // namespace
