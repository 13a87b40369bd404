#include "framework/core/Property.h"

#include "framework/core/Component.h"
#include "tests/harness/Gtest.h"

namespace {

enum class TShade { shLight, shMedium, shDark };
enum class TPart { ptTop, ptMiddle, ptBottom };

}  // namespace

DECLARE_ENUM_NAMES(TShade, u"shLight", u"shMedium", u"shDark")
DECLARE_ENUM_NAMES(TPart, u"ptTop", u"ptMiddle", u"ptBottom")

namespace {

class TThing : public TComponent {
  DECLARE_CLASS(TThing, TComponent)
  using TComponent::TComponent;
  int Size() const { return size_; }
  void SetSize(int v) { size_ = v; }
  bool Flat() const { return flat_; }
  void SetFlat(bool v) { flat_ = v; }
  TShade Shade() const { return shade_; }
  void SetShade(TShade v) { shade_ = v; }
  uint32_t Parts() const { return parts_; }
  void SetParts(uint32_t v) { parts_ = v; }
  const std::u16string& Caption() const { return caption_; }
  void SetCaption(const std::u16string& v) { caption_ = v; }
  TComponent* Buddy() const { return buddy_; }
  void SetBuddy(TComponent* v) { buddy_ = v; }
  int Fixed() const { return 42; }

 private:
  int size_ = 0;
  bool flat_ = false;
  TShade shade_ = TShade::shLight;
  uint32_t parts_ = 0;
  std::u16string caption_;
  TComponent* buddy_ = nullptr;
};

// Adds one property and hides nothing: lookups fall back to the parent class.
class TSubThing : public TThing {
  DECLARE_CLASS(TSubThing, TThing)
  using TThing::TThing;
  const std::u16string& Hint() const { return hint_; }
  void SetHint(const std::u16string& v) { hint_ = v; }

 private:
  std::u16string hint_;
};

class TOther : public TComponent {
  DECLARE_CLASS(TOther, TComponent)
  using TComponent::TComponent;
};

}  // namespace

IMPLEMENT_CLASS_WITH_PROPERTIES(TThing) {
  p.Integer(u"Size", &TThing::Size, &TThing::SetSize);
  p.Boolean(u"Flat", &TThing::Flat, &TThing::SetFlat);
  p.Enum<TShade>(u"Shade", &TThing::Shade, &TThing::SetShade);
  p.Set<TPart>(u"Parts", &TThing::Parts, &TThing::SetParts);
  p.Text(u"Caption", &TThing::Caption, &TThing::SetCaption);
  p.Object<TComponent>(u"Buddy", &TThing::Buddy, &TThing::SetBuddy);
  p.Integer(u"Fixed", &TThing::Fixed);
}
IMPLEMENT_CLASS_WITH_PROPERTIES(TSubThing) { p.Text(u"Hint", &TSubThing::Hint, &TSubThing::SetHint); }
IMPLEMENT_CLASS(TOther)

namespace {

TEST(PropertyTest, ClassNamesAndDescent) {
  TOwned<TSubThing> sub(new TSubThing(nullptr));
  EXPECT_EQ(sub->ClassName(), u"TSubThing");
  EXPECT_TRUE(sub->Is<TThing>());
  EXPECT_TRUE(sub->Is<TComponent>());
  EXPECT_TRUE(sub->Is<TObject>());
  EXPECT_FALSE(sub->Is<TOther>());
  EXPECT_TRUE(sub->ClassType().InheritsFrom(u"TTHING"));
  EXPECT_FALSE(TThing::StaticClass().InheritsFrom(TSubThing::StaticClass()));
  EXPECT_EQ(As<TOther>(sub.get()), nullptr);
  EXPECT_EQ(As<TThing>(sub.get()), sub.get());
}

struct ReadCase {
  const char16_t* name;
  int64_t ord;
  std::u16string enumName;
  std::u16string text;
};

TEST(PropertyTest, ReadsByNameWithDocumentedEmptyValues) {
  TOwned<TSubThing> t(new TSubThing(nullptr));
  TOwned<TOther> buddy(new TOther(nullptr));
  t->SetSize(7);
  t->SetFlat(true);
  t->SetShade(TShade::shDark);
  t->SetParts(0b101);
  t->SetCaption(u"查 询");
  t->SetHint(u"hint");
  t->SetBuddy(buddy.get());
  t->SetTag(5555);
  const ReadCase cases[] = {
      {u"Size", 7, u"", u""},
      {u"size", 7, u"", u""},
      {u"Flat", 1, u"True", u""},
      {u"Shade", 2, u"shDark", u""},
      {u"Parts", 5, u"", u""},
      {u"Caption", -1, u"", u"查 询"},
      {u"Hint", -1, u"", u"hint"},
      {u"Tag", 5555, u"", u""},
      {u"Fixed", 42, u"", u""},
      {u"Buddy", -1, u"", u""},
      {u"Missing", -1, u"", u""},
      {u"", -1, u"", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.name));
    EXPECT_EQ(GetOrdProp(t.get(), c.name), c.ord);
    EXPECT_EQ(GetEnumProp(t.get(), c.name), c.enumName);
    EXPECT_EQ(GetStrProp(t.get(), c.name), c.text);
  }
  EXPECT_EQ(GetSetProp(t.get(), u"Parts"), u"[ptTop,ptBottom]");
  EXPECT_EQ(GetObjectProp(t.get(), u"Buddy"), buddy.get());
  EXPECT_EQ(GetObjectProp(t.get(), u"Buddy", &TThing::StaticClass()), nullptr);
  EXPECT_EQ(GetObjectProp(t.get(), u"Missing"), nullptr);
  EXPECT_EQ(GetOrdProp(nullptr, u"Size"), -1);
  EXPECT_EQ(GetStrProp(nullptr, u"Caption"), u"");
  // The parent class does not see what only the subclass publishes.
  TOwned<TThing> plain(new TThing(nullptr));
  EXPECT_FALSE(HasProperty(plain.get(), u"Hint"));
  EXPECT_TRUE(HasProperty(t.get(), u"hint"));
}

struct WriteCase {
  const char16_t* name;
  std::u16string text;
  bool accepted;
};

TEST(PropertyTest, WritesByNameAndIgnoresWhatDoesNotFit) {
  TOwned<TThing> t(new TThing(nullptr));
  const WriteCase cases[] = {
      {u"Size", u"12", true},      {u"Size", u"-3", true},       {u"Size", u"abc", false},
      {u"Flat", u"True", true},    {u"Flat", u"false", true},    {u"Flat", u"yes", false},
      {u"Shade", u"SHMEDIUM", true}, {u"Shade", u"shNone", false}, {u"Parts", u"[ptMiddle]", true},
      {u"Parts", u"[ptNone]", false}, {u"Caption", u"复 位", true}, {u"Fixed", u"1", false},
      {u"Missing", u"1", false},   {u"Buddy", u"x", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SetPropText(t.get(), c.name, c.text), c.accepted) << Utf16ToUtf8(c.name);
  EXPECT_EQ(t->Size(), -3);
  EXPECT_FALSE(t->Flat());
  EXPECT_EQ(t->Shade(), TShade::shMedium);
  EXPECT_EQ(t->Parts(), 0b010u);
  EXPECT_EQ(t->Caption(), u"复 位");
  EXPECT_FALSE(SetOrdProp(t.get(), u"Shade", 3));
  EXPECT_TRUE(SetOrdProp(t.get(), u"Shade", 0));
  TOwned<TOther> other(new TOther(nullptr));
  EXPECT_TRUE(SetObjectProp(t.get(), u"Buddy", other.get()));
  EXPECT_EQ(t->Buddy(), other.get());
  EXPECT_FALSE(SetPropText(nullptr, u"Size", u"1"));
}

TEST(PropertyTest, PropertyListIsSortedAndIncludesInherited) {
  auto props = TSubThing::StaticClass().Properties();
  std::vector<std::u16string> names;
  for (auto* p : props) names.push_back(p->Name);
  std::vector<std::u16string> expected{u"Buddy", u"Caption", u"Fixed", u"Flat", u"Hint",
                                       u"Name",  u"Parts",   u"Shade", u"Size", u"Tag"};
  EXPECT_EQ(names, expected);
}

}  // namespace
