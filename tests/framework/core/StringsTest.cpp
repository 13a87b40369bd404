#include "framework/core/Strings.h"

#include <windows.h>

#include <fstream>

#include "framework/core/Exception.h"
#include "framework/core/Stream.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/TempDir.h"

namespace {

struct SplitCase {
  std::u16string text;
  std::vector<std::u16string> lines;
};

TEST(StringsTest, TextSplitsAtCrLfOrCrOrLf) {
  const SplitCase cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\n", {u"a"}},
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\nb\rc\r\nd", {u"a", u"b", u"c", u"d"}},
      {u"a\n\nb", {u"a", u"", u"b"}},
      {u"\r\n", {u""}},
      {u"a\r\r\n", {u"a", u""}},
  };
  for (const auto& c : cases) {
    TOwned<TStringList> list(new TStringList);
    list->SetText(c.text);
    std::vector<std::u16string> got;
    for (int i = 0; i < list->Count(); ++i) got.push_back(list->Get(i));
    EXPECT_EQ(got, c.lines) << Utf16ToUtf8(c.text);
  }
}

TEST(StringsTest, TextPutsALineBreakAfterEveryLine) {
  TOwned<TStringList> list(new TStringList);
  EXPECT_EQ(list->Text(), u"");
  list->Add(u"<p>");
  list->Add(u"");
  list->Add(u"中文");
  EXPECT_EQ(list->Text(), u"<p>\r\n\r\n中文\r\n");
}

TEST(StringsTest, AssignCopiesAndFiresOneChange) {
  TOwned<TStringList> source(new TStringList), dest(new TStringList);
  source->SetText(u"one\ntwo\nthree");
  int changes = 0, changings = 0;
  dest->OnChange = [&](TObject*) { ++changes; };
  dest->OnChanging = [&](TObject*) { ++changings; };
  dest->Assign(source.get());
  EXPECT_EQ(dest->Text(), u"one\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(changings, 1);
  // The same text again is still a change.
  dest->Assign(source.get());
  EXPECT_EQ(changes, 2);
  source->Put(0, u"uno");
  EXPECT_EQ(dest->Get(0), u"one");
}

TEST(StringsTest, EachEditFiresChangeOutsideUpdates) {
  TOwned<TStringList> list(new TStringList);
  int changes = 0;
  list->OnChange = [&](TObject*) { ++changes; };
  list->Add(u"a");
  list->Insert(0, u"b");
  list->Put(1, u"c");
  list->Delete(0);
  EXPECT_EQ(changes, 4);
  list->BeginUpdate();
  list->Add(u"x");
  list->Add(u"y");
  EXPECT_EQ(changes, 4);
  list->EndUpdate();
  EXPECT_EQ(changes, 5);
  EXPECT_THROW(list->Get(3), EListError);
  EXPECT_THROW(list->Delete(-1), EListError);
}

TEST(StringsTest, NameValuePairs) {
  TOwned<TStringList> list(new TStringList);
  list->SetText(u"TDBCtrlGrid=scrollbar\nTRzButton=button\nnovalue");
  EXPECT_EQ(list->Values(u"tdbctrlgrid"), u"scrollbar");
  EXPECT_EQ(list->Values(u"novalue"), u"");
  EXPECT_EQ(list->Names(1), u"TRzButton");
  EXPECT_EQ(list->IndexOfName(u"TRZBUTTON"), 1);
  list->SetValue(u"TRzButton", u"");
  EXPECT_EQ(list->Count(), 2);
}

TEST(StringsTest, LoadsGbkFileSplittingAllLineEnds) {
  TTempDir dir;
  // "中文" in GBK is D6 D0 CE C4.
  std::string bytes = "\xD6\xD0\xCE\xC4\r\nline2\nline3\rlast";
  std::u16string path = dir.Write(u"t.txt", bytes);
  TOwned<TStringList> list(new TStringList);
  list->LoadFromFile(path);
  ASSERT_EQ(list->Count(), 4);
  EXPECT_EQ(list->Get(0), u"中文");
  EXPECT_EQ(list->Get(3), u"last");
}

TEST(StringsTest, MissingFileNamesTheFullPath) {
  TTempDir dir;
  std::u16string missing = dir.Path() + u"\\img\\hz.txt";
  TOwned<TStringList> list(new TStringList);
  list->Add(u"kept");
  try {
    list->LoadFromFile(missing);
    FAIL() << "no error";
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find(missing), std::u16string::npos) << Utf16ToUtf8(e.Message());
    EXPECT_EQ(e.Message().rfind(u"Cannot open file \"", 0), 0u);
  }
  EXPECT_EQ(list->Text(), u"kept\r\n");
}

}  // namespace
