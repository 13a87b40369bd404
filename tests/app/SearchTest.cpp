// The five searches over a fixture database: SQL texts, conditions, keys, reset,
// status line and messages.
#include <windows.h>

#include <regex>

#include "app/DMa.h"
#include "app/Form1.h"
#include "app/SearchText.h"
#include "framework/forms/Application.h"
#include "tests/app/DictionaryFixture.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

class SearchTest : public testing::Test {
 protected:
  void SetUp() override {
    WriteDictionaryFixture(dir);
    CreateProgramIn(dir.Path());
    ASSERT_TRUE(DMa->db->Connected());
    Form1->OnPrompt = [this](const std::u16string& text) { prompts.push_back(text); };
  }
  // Types characters into an edit as the keyboard delivers them.
  static void Type(TEdit* edit, const std::u16string& keys) {
    for (char16_t c : keys) SendMessageW(edit->Handle(), WM_CHAR, c, 1);
  }
  TTempDir dir;
  std::vector<std::u16string> prompts;
};

struct SqlCase {
  const char* name;
  std::vector<std::pair<TEdit* TForm1::*, std::u16string>> edits;
  bool partial;
  void (TForm1::*search)(TObject*);
  std::u16string sql;
  int results;
};

TEST_F(SearchTest, SqlTextsAreExactlyThoseOfTheDictionaryAndFindTheirEntries) {
  const SqlCase cases[] = {
      {"stroke count only", {{&TForm1::se3, u"12"}}, false, &TForm1::seachClick,
       u"select *  from kest_hz where 1=1  and strokes=12", 0},
      {"character or pinyin", {{&TForm1::seachEdit, u"zhong"}}, false, &TForm1::seachClick,
       u"select *  from kest_hz where 1=1 and (name='zhong' or  pycode='zhong')", 2},
      {"stroke code whole", {{&TForm1::se4, u"12"}}, false, &TForm1::seachClick,
       u"select *  from kest_hz where 1=1  and bhm like '12'", 1},
      {"stroke code partial", {{&TForm1::se4, u"12"}}, true, &TForm1::seachClick,
       u"select *  from kest_hz where 1=1  and bhm like '%12%'", 5},
      {"all four, filled in any order",
       {{&TForm1::se4, u"2512"}, {&TForm1::se3, u"4"}, {&TForm1::se2, u"丨"}, {&TForm1::seachEdit, u"中"}},
       false, &TForm1::seachClick,
       u"select *  from kest_hz where 1=1 and (name='中' or  pycode='中') and part='丨' and strokes=4 and bhm like '2512'",
       2},
      {"blanks count as a condition", {{&TForm1::seachEdit, u" "}}, false, &TForm1::seachClick,
       u"select *  from kest_hz where 1=1 and (name=' ' or  pycode=' ')", 0},
      {"ascii case as Jet compares it", {{&TForm1::seachEdit, u"ZHONG"}}, false, &TForm1::seachClick,
       u"select *  from kest_hz where 1=1 and (name='ZHONG' or  pycode='ZHONG')", 2},
      {"words: initials and part", {{&TForm1::Edit4, u"zg"}, {&TForm1::Edit3, u"国"}}, false, &TForm1::seach2Click,
       u"select *  from kest_cd where 1=1 and (word='zg' or  szm='zg') and word like '%国%'", 1},
      {"words: explanation, then part", {{&TForm1::Edit3, u"国"}, {&TForm1::Edit2, u"感情"}}, false,
       &TForm1::seach2Click,
       u"select *  from kest_cd where 1=1  and content like '%感情%' and word like '%国%'", 0},
      {"idioms", {{&TForm1::Edit5, u"hhyy"}, {&TForm1::Edit7, u"月"}}, false, &TForm1::seach3Click,
       u"select *  from kest_cy where 1=1 and (ChengYu='hhyy' or  pyjm='hhyy') and (ChengYu like '%月%')", 1},
      {"idioms by explanation", {{&TForm1::Edit6, u"美好"}}, false, &TForm1::seach3Click,
       u"select *  from kest_cy where 1=1  and (content like '%美好%')", 1},
      {"english prefix", {{&TForm1::Edit8, u"good"}}, false, &TForm1::seach4Click,
       u"select *  from kest_en where 1=1  and (en like 'good%')", 3},
      {"english %: anywhere", {{&TForm1::Edit8, u"%ness"}}, false, &TForm1::seach4Click,
       u"select *  from kest_en where 1=1  and (en like '%ness%')", 1},
      {"english contains and chinese", {{&TForm1::Edit9, u"in"}, {&TForm1::Edit10, u"中国"}}, false,
       &TForm1::seach4Click,
       u"select *  from kest_en where 1=1  and (en like '%in%') and (zh like '%中国%')  ", 1},
      {"sayings", {{&TForm1::Edit11, u"老鼠"}, {&TForm1::Edit12, u"喊"}}, false, &TForm1::seach5Click,
       u"select *  from kest_xhy where 1=1  and (first1 like '%老鼠%' )   and (end1 like '%喊%' )  ", 1},
      {"a quote is searched for", {{&TForm1::Edit3, u"o'c"}}, false, &TForm1::seach2Click,
       u"select *  from kest_cd where 1=1  and word like '%o''c%'", 1},
      {"a quote in an equality", {{&TForm1::Edit4, u"o'clock"}}, false, &TForm1::seach2Click,
       u"select *  from kest_cd where 1=1 and (word='o''clock' or  szm='o''clock')", 1},
      {"markers typed are text", {{&TForm1::Edit9, u"{W}"}}, false, &TForm1::seach4Click,
       u"select *  from kest_en where 1=1  and (en like '%{W}%')", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (TEdit* TForm1::*e : {&TForm1::seachEdit, &TForm1::se2, &TForm1::se3, &TForm1::se4, &TForm1::Edit2,
                              &TForm1::Edit3, &TForm1::Edit4, &TForm1::Edit5, &TForm1::Edit6, &TForm1::Edit7,
                              &TForm1::Edit8, &TForm1::Edit9, &TForm1::Edit10, &TForm1::Edit11, &TForm1::Edit12})
      (Form1->*e)->SetText(u"");
    for (const auto& [edit, text] : c.edits) (Form1->*edit)->SetText(text);
    Form1->CheckBox1->SetChecked(c.partial);
    (Form1->*c.search)(nullptr);
    EXPECT_EQ(Form1->Edit1->Text(), c.sql);
    EXPECT_TRUE(prompts.empty());
    TADOQuery* query = c.search == &TForm1::seachClick    ? DMa->seachQ
                       : c.search == &TForm1::seach2Click ? DMa->cd_seachq
                       : c.search == &TForm1::seach3Click ? DMa->cy_seachQ
                       : c.search == &TForm1::seach4Click ? DMa->en_seachQ
                                                          : DMa->xhy_seachQ;
    ASSERT_TRUE(query->Active());
    EXPECT_EQ(query->SQL()->Text(), c.sql + u"\r\n");
    EXPECT_EQ(query->RecordCount(), c.results);
    EXPECT_EQ(Form1->timeP->Caption().rfind(u" " + IntToStr(c.results) + u"个结果；搜索用时:", 0), 0u)
        << Utf16ToUtf8(Form1->timeP->Caption());
  }
}

TEST_F(SearchTest, StatusLineHasTheCountAndTheTime) {
  Form1->Edit8->SetText(u"good");
  Form1->seach4Click(nullptr);
  std::string status = Utf16ToUtf8(Form1->timeP->Caption());
  EXPECT_TRUE(std::regex_match(status, std::regex(" 3个结果；搜索用时:[0-9]{2}\\.[0-9]{3}秒"))) << status;
}

struct ElapsedCase {
  int64_t microseconds;
  const char16_t* text;
};

TEST(SearchTextTest, ElapsedTimeKeepsWholeSecondsBeyondAMinute) {
  const ElapsedCase cases[] = {
      {47'000, u"搜索用时:00.047秒"},     {47'999, u"搜索用时:00.047秒"},
      {0, u"搜索用时:00.000秒"},          {9'005'000, u"搜索用时:09.005秒"},
      {59'999'000, u"搜索用时:59.999秒"}, {60'000'000, u"搜索用时:60.000秒"},
      {75'200'000, u"搜索用时:75.200秒"}, {3'725'001'000, u"搜索用时:3725.001秒"},
  };
  for (const auto& c : cases) EXPECT_EQ(ElapsedText(c.microseconds), c.text);
  EXPECT_EQ(ResultStatus(12, 47'000), u" 12个结果；搜索用时:00.047秒");
  struct StrokeCase {
    const char16_t* text;
    bool ok;
  };
  for (auto [text, ok] : {StrokeCase{u"1", true}, StrokeCase{u"12", true}, StrokeCase{u"123", false},
                          StrokeCase{u"1a", false}, StrokeCase{u"", false}, StrokeCase{u" 1", false},
                          StrokeCase{u"１", false}})
    EXPECT_EQ(IsStrokeCount(text), ok) << Utf16ToUtf8(text);
}

TEST_F(SearchTest, NoConditionGivesThePromptAndChangesNothing) {
  Form1->Edit8->SetText(u"good");
  Form1->seach4Click(nullptr);
  std::u16string sql = Form1->Edit1->Text(), status = Form1->timeP->Caption();
  struct Case {
    void (TForm1::*search)(TObject*);
  };
  for (auto search : {&TForm1::seachClick, &TForm1::seach2Click, &TForm1::seach3Click,
                      &TForm1::seach5Click}) {
    prompts.clear();
    (Form1->*search)(nullptr);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], u"请输入查询条件！");
  }
  EXPECT_EQ(Form1->Edit1->Text(), sql);
  EXPECT_EQ(Form1->timeP->Caption(), status);
  EXPECT_FALSE(DMa->seachQ->Active());
  EXPECT_EQ(DMa->en_seachQ->RecordCount(), 3);
}

TEST_F(SearchTest, PromptsAreTipBoxesWithOkOnly) {
  Form1->OnPrompt = nullptr;
  Application->OnException = nullptr;
  TMessageBoxWatcher watcher;
  Form1->seachClick(nullptr);
  ASSERT_EQ(watcher.Boxes().size(), 1u);
  EXPECT_EQ(watcher.Boxes()[0].Text, u"请输入查询条件！");
  EXPECT_EQ(watcher.Boxes()[0].Caption, u"提示");
  EXPECT_EQ(watcher.Boxes()[0].Icon, 0u);
}

TEST_F(SearchTest, StrokeCountThatIsNoNumberIsRefusedBeforeAnyQuery) {
  for (const char16_t* text : {u"a", u"1b", u"123", u"1 "}) {
    prompts.clear();
    Form1->se3->SetText(text);  // as a paste that got past the filter would
    Form1->seachClick(nullptr);
    ASSERT_EQ(prompts.size(), 1u) << Utf16ToUtf8(text);
    EXPECT_EQ(prompts[0], u"笔画数只能是一位或两位数字！");
    EXPECT_EQ(Form1->Edit1->Text(), u"");
    EXPECT_FALSE(DMa->seachQ->Active());
  }
}

struct KeyCase {
  const char* name;
  TEdit* TForm1::*edit;
  std::u16string typed;
  std::u16string text;   // what the edit holds afterwards
  int searches;          // how many searches Enter started
};

TEST_F(SearchTest, KeyFiltersAndEnter) {
  const KeyCase cases[] = {
      {"se4 drops a letter and 6, Enter searches and is dropped", &TForm1::se4, u"a6\r", u"", 1},
      {"se4 takes 1 to 5 and backspace", &TForm1::se4, u"1256\b3", u"123", 0},
      {"se3 takes digits only", &TForm1::se3, u"a1b", u"1", 0},
      {"se3 stops at two digits", &TForm1::se3, u"123", u"12", 0},
      {"se2 holds one Chinese character (two bytes)", &TForm1::se2, u"部首", u"部", 0},
      {"se2 or two latin letters", &TForm1::se2, u"abc", u"ab", 0},
      {"seachEdit passes Enter on", &TForm1::seachEdit, u"中\r", u"中", 1},
      {"Edit3 searches words", &TForm1::Edit3, u"国\r", u"国", 1},
      {"Edit7 searches idioms", &TForm1::Edit7, u"月\r", u"月", 1},
      {"Edit10 searches english", &TForm1::Edit10, u"好\r", u"好", 1},
      {"Edit12 searches sayings", &TForm1::Edit12, u"喊\r", u"喊", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TEdit* edit = Form1->*c.edit;
    edit->SetText(u"");
    std::u16string before = Form1->Edit1->Text();
    int opens = 0;
    for (TADOQuery* q : {DMa->seachQ, DMa->cd_seachq, DMa->cy_seachQ, DMa->en_seachQ, DMa->xhy_seachQ})
      q->AfterOpen = [&](TObject*) { ++opens; };
    Type(edit, c.typed);
    EXPECT_EQ(edit->Text(), c.text);
    // Enter with an empty stroke code asks for a condition instead of searching.
    EXPECT_EQ(opens + static_cast<int>(prompts.size()), c.searches);
    prompts.clear();
  }
}

TEST_F(SearchTest, PasteIntoDigitEditsIsFilteredAsTypingIs) {
  auto paste = [](TEdit* edit, const std::u16string& text) {
    ASSERT_TRUE(OpenClipboard(edit->Handle()));
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
    memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(char16_t));
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
    SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
  };
  paste(Form1->se4, u"1a2b6 3");
  EXPECT_EQ(Form1->se4->Text(), u"123");
  paste(Form1->se3, u"x1y23");
  EXPECT_EQ(Form1->se3->Text(), u"12");
  paste(Form1->se2, u"部首");
  EXPECT_EQ(Form1->se2->Text(), u"部");
  // Other edits take the text as it is.
  paste(Form1->seachEdit, u"a'b%");
  EXPECT_EQ(Form1->seachEdit->Text(), u"a'b%");
}

TEST_F(SearchTest, ResetEmptiesTheEditsAndKeepsTheRest) {
  Form1->seachEdit->SetText(u"中");
  Form1->se4->SetText(u"2512");
  Form1->CheckBox1->SetChecked(true);
  Form1->seachClick(nullptr);
  std::u16string status = Form1->timeP->Caption();
  Form1->se2->SetText(u"丨");
  Form1->se3->SetText(u"4");
  Form1->Button2->Click();
  for (TEdit* e : {Form1->seachEdit, Form1->se2, Form1->se3, Form1->se4}) EXPECT_EQ(e->Text(), u"");
  EXPECT_TRUE(Form1->CheckBox1->Checked());
  EXPECT_EQ(Form1->timeP->Caption(), status);
  EXPECT_TRUE(DMa->seachQ->Active());
  EXPECT_EQ(DMa->seachQ->RecordCount(), 2);
  struct Reset {
    TButton* TForm1::*button;
    std::vector<TEdit* TForm1::*> edits;
  };
  const Reset resets[] = {{&TForm1::Button4, {&TForm1::Edit2, &TForm1::Edit3, &TForm1::Edit4}},
                          {&TForm1::Button6, {&TForm1::Edit5, &TForm1::Edit6, &TForm1::Edit7}},
                          {&TForm1::Button8, {&TForm1::Edit8, &TForm1::Edit9, &TForm1::Edit10}},
                          {&TForm1::Button10, {&TForm1::Edit11, &TForm1::Edit12}}};
  for (const auto& r : resets) {
    for (auto e : r.edits) (Form1->*e)->SetText(u"x");
    (Form1->*r.button)->Click();
    for (auto e : r.edits) EXPECT_EQ((Form1->*e)->Text(), u"");
  }
}

TEST_F(SearchTest, SearchAskedForDuringTheStatusPaintIsIgnored) {
  int opens = 0;
  DMa->seachQ->AfterOpen = [&](TObject*) { ++opens; };
  Form1->seachEdit->SetText(u"中");
  // A click already waiting when the search lets the message pump run.
  PostMessageW(Form1->Button1->Handle(), BM_CLICK, 0, 0);
  Form1->seachClick(nullptr);
  EXPECT_EQ(opens, 1);
  PumpFor(20);  // afterwards a new request runs again
  EXPECT_EQ(opens, 1);
  Form1->seachClick(nullptr);
  EXPECT_EQ(opens, 2);
}

}  // namespace
