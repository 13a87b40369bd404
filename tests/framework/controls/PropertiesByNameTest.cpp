#include <functional>
#include <memory>

#include "framework/controls/BitBtn.h"
#include "framework/controls/Button.h"
#include "framework/controls/CheckBox.h"
#include "framework/controls/CoolBar.h"
#include "framework/controls/Edit.h"
#include "framework/controls/GroupBox.h"
#include "framework/controls/Image.h"
#include "framework/controls/Label.h"
#include "framework/controls/PageControl.h"
#include "framework/controls/Panel.h"
#include "framework/controls/TabSheet.h"
#include "framework/controls/ToolBar.h"
#include "framework/controls/ToolButton.h"
#include "framework/core/Property.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "framework/forms/Timer.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Font.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

using TFactory = std::function<TComponent*(TComponent*)>;

template <class T>
TFactory Make() {
  return [](TComponent* owner) { return new T(owner); };
}

// How a property reads on a freshly made component: its kind and value as text.
struct ReadCase {
  const char16_t* className;
  TFactory make;
  const char16_t* property;
  // "int:N", "enum:NAME", "text:TEXT", "object:CLASS", "set:[..]" or "absent".
  const char16_t* expected;
};

std::u16string Describe(TObject* o, const char16_t* name) {
  const TPropInfo* p = GetPropInfo(o, name);
  if (p == nullptr) {
    // A missing property reads as the documented empty values.
    EXPECT_EQ(GetOrdProp(o, name), -1);
    EXPECT_EQ(GetStrProp(o, name), u"");
    EXPECT_EQ(GetEnumProp(o, name), u"");
    EXPECT_EQ(GetObjectProp(o, name), nullptr);
    EXPECT_FALSE(SetPropText(o, name, u"1"));
    return u"absent";
  }
  switch (p->Kind) {
    case TPropKind::Integer: return u"int:" + IntToStr(GetOrdProp(o, name));
    case TPropKind::Enumeration: return u"enum:" + GetEnumProp(o, name);
    case TPropKind::Set: return u"set:" + GetSetProp(o, name);
    case TPropKind::Text: return u"text:" + GetStrProp(o, name);
    case TPropKind::Object: {
      TObject* v = GetObjectProp(o, name);
      return u"object:" + (v != nullptr ? v->ClassName() : std::u16string(u"nil"));
    }
  }
  return u"?";
}

class PropertiesByNameTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    form = new TForm(Application);
  }
  void TearDown() override { FreeObject(form); }
  TForm* form;
};

TEST_F(PropertiesByNameTest, TableOverClassesAndNames) {
  const ReadCase cases[] = {
      {u"TButton", Make<TButton>(), u"Caption", u"text:"},
      {u"TButton", Make<TButton>(), u"Default", u"enum:False"},
      {u"TButton", Make<TButton>(), u"Font", u"object:TFont"},
      {u"TButton", Make<TButton>(), u"Visible", u"enum:True"},
      {u"TButton", Make<TButton>(), u"Enabled", u"enum:True"},
      {u"TButton", Make<TButton>(), u"Tag", u"int:0"},
      {u"TButton", Make<TButton>(), u"Glyph", u"absent"},
      {u"TButton", Make<TButton>(), u"Color", u"absent"},
      {u"TBitBtn", Make<TBitBtn>(), u"Glyph", u"object:TBitmap"},
      {u"TBitBtn", Make<TBitBtn>(), u"NumGlyphs", u"int:1"},
      {u"TBitBtn", Make<TBitBtn>(), u"Layout", u"enum:blGlyphLeft"},
      {u"TBitBtn", Make<TBitBtn>(), u"Margin", u"int:-1"},
      {u"TBitBtn", Make<TBitBtn>(), u"Spacing", u"int:4"},
      {u"TBitBtn", Make<TBitBtn>(), u"Default", u"enum:False"},
      {u"TBitBtn", Make<TBitBtn>(), u"Alignment", u"absent"},
      {u"TBitBtn", Make<TBitBtn>(), u"Images", u"absent"},
      {u"TCheckBox", Make<TCheckBox>(), u"State", u"enum:cbUnchecked"},
      {u"TCheckBox", Make<TCheckBox>(), u"Checked", u"enum:False"},
      {u"TCheckBox", Make<TCheckBox>(), u"Caption", u"text:"},
      {u"TCheckBox", Make<TCheckBox>(), u"DataField", u"absent"},
      {u"TEdit", Make<TEdit>(), u"Text", u"text:"},
      {u"TEdit", Make<TEdit>(), u"Caption", u"absent"},
      {u"TEdit", Make<TEdit>(), u"BorderStyle", u"enum:bsSingle"},
      {u"TEdit", Make<TEdit>(), u"Color", u"int:-16777211"},
      {u"TPanel", Make<TPanel>(), u"ParentBackground", u"enum:True"},
      {u"TPanel", Make<TPanel>(), u"Color", u"int:-16777201"},
      {u"TPanel", Make<TPanel>(), u"BorderStyle", u"enum:bsNone"},
      {u"TPanel", Make<TPanel>(), u"Flat", u"absent"},
      {u"TGroupBox", Make<TGroupBox>(), u"ParentBackground", u"enum:True"},
      {u"TGroupBox", Make<TGroupBox>(), u"Caption", u"text:"},
      {u"TLabel", Make<TLabel>(), u"Transparent", u"enum:False"},
      {u"TLabel", Make<TLabel>(), u"ShowHint", u"enum:False"},
      {u"TLabel", Make<TLabel>(), u"Hint", u"text:"},
      {u"TImage", Make<TImage>(), u"Transparent", u"enum:False"},
      {u"TImage", Make<TImage>(), u"Font", u"absent"},
      {u"TToolBar", Make<TToolBar>(), u"Flat", u"enum:False"},
      {u"TToolBar", Make<TToolBar>(), u"Transparent", u"enum:False"},
      {u"TToolBar", Make<TToolBar>(), u"Menu", u"object:nil"},
      {u"TToolButton", Make<TToolButton>(), u"Style", u"enum:tbsButton"},
      {u"TPageControl", Make<TPageControl>(), u"Style", u"enum:tsTabs"},
      {u"TPageControl", Make<TPageControl>(), u"TabHeight", u"int:0"},
      {u"TTabSheet", Make<TTabSheet>(), u"TabVisible", u"enum:True"},
      {u"TCoolBar", Make<TCoolBar>(), u"Bitmap", u"object:TBitmap"},
      {u"TForm", Make<TForm>(), u"AutoScroll", u"enum:False"},
      {u"TForm", Make<TForm>(), u"BorderStyle", u"enum:bsSizeable"},
      {u"TForm", Make<TForm>(), u"BorderIcons", u"set:[biSystemMenu,biMinimize,biMaximize]"},
      {u"TForm", Make<TForm>(), u"FixedColor", u"absent"},
      {u"TTimer", Make<TTimer>(), u"Interval", u"int:1000"},
      {u"TTimer", Make<TTimer>(), u"Caption", u"absent"},
  };
  for (const auto& c : cases) {
    TComponent* object = c.make(form);
    SCOPED_TRACE(Utf16ToUtf8(std::u16string(c.className) + u"." + c.property));
    EXPECT_EQ(object->ClassName(), c.className);
    EXPECT_EQ(Describe(object, c.property), c.expected);
    object->Free();
  }
}

TEST_F(PropertiesByNameTest, WritesReachTheControl) {
  auto* button = new TBitBtn(form);
  EXPECT_TRUE(SetPropText(button, u"Caption", u"关闭当前页"));
  EXPECT_TRUE(SetPropText(button, u"layout", u"BLGLYPHTOP"));
  EXPECT_TRUE(SetPropText(button, u"Margin", u"3"));
  EXPECT_FALSE(SetPropText(button, u"Layout", u"blGlyphNowhere"));
  EXPECT_EQ(button->Caption(), u"关闭当前页");
  EXPECT_EQ(button->Layout(), TButtonLayout::blGlyphTop);
  EXPECT_EQ(button->Margin(), 3);

  auto* panel = new TPanel(form);
  EXPECT_TRUE(SetPropText(panel, u"ParentBackground", u"False"));
  EXPECT_FALSE(panel->ParentBackground());
  EXPECT_TRUE(SetOrdProp(panel, u"Color", 0x0000FF));
  EXPECT_EQ(panel->Color(), 0x0000FF);

  auto* check = new TCheckBox(form);
  EXPECT_TRUE(SetPropText(check, u"State", u"cbChecked"));
  EXPECT_TRUE(check->Checked());

  // The font is the control's own: reading gives it, writing one copies it in.
  TOwned<TFont> font(new TFont);
  font->SetName(u"黑体");
  EXPECT_TRUE(SetObjectProp(button, u"Font", font.get()));
  EXPECT_EQ(button->Font()->Name(), u"黑体");
  EXPECT_NE(GetObjectProp(button, u"Font"), font.get());
  EXPECT_EQ(GetObjectProp(button, u"Font", &TFont::StaticClass()), button->Font());
  EXPECT_EQ(GetObjectProp(button, u"Font", &TBitmap::StaticClass()), nullptr);
}

TEST_F(PropertiesByNameTest, ClassTestsAndNameTests) {
  TOwned<TBitBtn> bit(new TBitBtn(nullptr));
  EXPECT_TRUE(bit->Is<TButton>());
  EXPECT_TRUE(bit->Is<TWinControl>());
  EXPECT_FALSE(bit->Is<TCustomEdit>());
  EXPECT_EQ(UpperAscii(bit->ClassName()), u"TBITBTN");
  TOwned<TPanel> panel(new TPanel(nullptr));
  EXPECT_TRUE(panel->Is<TCustomPanel>());
  EXPECT_TRUE(panel->ClassType().InheritsFrom(u"tcustomcontrol"));
  TOwned<TPageControl> pages(new TPageControl(nullptr));
  EXPECT_TRUE(pages->Is<TCustomTabControl>());
}

}  // namespace
