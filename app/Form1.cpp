#include "app/Form1.h"

#include <windows.h>

#include "app/DMa.h"
#include "app/SearchText.h"
#include "framework/core/Property.h"
#include "framework/forms/Application.h"
#include "framework/graphics/Colors.h"

TForm1* Form1 = nullptr;

IMPLEMENT_CLASS(TForm1)

TMenuItem* TForm1::MenuItem(TMenuItem* parent, const char16_t* name, const char16_t* caption) {
  auto* item = new TMenuItem(this);
  item->SetName(name);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

TTabSheet* TForm1::Sheet(const char16_t* name, const char16_t* caption) {
  auto* sheet = new TTabSheet(this);
  sheet->SetName(name);
  sheet->SetCaption(caption);
  sheet->SetPageControl(pc1);
  return sheet;
}

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  SetName(u"Form1");
  SetCaption(u"青禾中文词典");
  SetBorderStyle(TFormBorderStyle::bsSingle);
  SetBorderIcons(biSystemMenuBit | biMinimizeBit);
  SetPosition(TPosition::poDesktopCenter);
  SetClientSize(937, 601);
  Font()->SetName(u"MS Sans Serif");
  Font()->SetSize(8);
  OnCreate = [this](TObject* s) { FormCreate(s); };

  MainMenu2 = new TMainMenu(this);
  MainMenu2->SetName(u"MainMenu2");
  TMenuItem* root = MainMenu2->Items();
  B1 = MenuItem(root, u"B1", u"基本功能(&B)");
  N2 = MenuItem(B1, u"N2", u"中文字典");
  O1 = MenuItem(B1, u"O1", u"中文词典(&O)");
  N3 = MenuItem(B1, u"N3", u"成语词典");
  N4 = MenuItem(B1, u"N4", u"-");
  X1 = MenuItem(B1, u"X1", u"退出(&X)");
  E1 = MenuItem(root, u"E1", u"扩展功能(&E)");
  F1 = MenuItem(E1, u"F1", u"英语词典(&F)");
  X2 = MenuItem(E1, u"X2", u"歇后语词典(&X)");
  T1 = MenuItem(root, u"T1", u"工具(&T)");
  O2 = MenuItem(T1, u"O2", u"选项(&O)");
  L1 = MenuItem(root, u"L1", u"在线链接(&L)");
  N5 = MenuItem(L1, u"N5", u"软件官网");
  N6 = MenuItem(L1, u"N6", u"软件论坛");
  H1 = MenuItem(root, u"H1", u"帮助(&H)");
  H2 = MenuItem(H1, u"H2", u"帮助主题(&H)");
  T2 = MenuItem(H1, u"T2", u"软件作者(&T)");
  A2 = MenuItem(H1, u"A2", u"关于软件(&A)");
  N2->OnClick = [this](TObject* s) { ToolButton1Click(s); };
  O1->OnClick = [this](TObject* s) { ToolButton2Click(s); };
  N3->OnClick = [this](TObject* s) { ToolButton4Click(s); };
  X1->OnClick = [this](TObject* s) { X1Click(s); };
  F1->OnClick = [this](TObject* s) { ToolButton7Click(s); };
  X2->OnClick = [this](TObject* s) { ToolButton9Click(s); };

  CoolBar2 = new TCoolBar(this);
  CoolBar2->SetName(u"CoolBar2");
  CoolBar2->SetBounds(0, 0, 937, 26);
  CoolBar2->SetAlign(TAlign::alTop);
  CoolBar2->SetParent(this);
  ToolBar1 = new TToolBar(this);
  ToolBar1->SetName(u"ToolBar1");
  ToolBar1->SetBounds(0, 0, 880, 22);
  ToolBar1->SetFlat(true);
  ToolBar1->SetButtonWidth(74);
  ToolBar1->SetButtonHeight(21);
  ToolBar1->SetParent(CoolBar2);
  ToolBar1->SetMenu(MainMenu2);

  Panel1 = new TPanel(this);
  Panel1->SetName(u"Panel1");
  Panel1->SetBounds(0, 575, 937, 26);
  Panel1->SetAlign(TAlign::alBottom);
  Panel1->SetBevelOuter(TBevelCut::bvLowered);
  Panel1->SetParent(this);
  timeP = new TPanel(this);
  timeP->SetName(u"timeP");
  timeP->SetBounds(1, 1, 344, 24);
  timeP->SetAlign(TAlign::alLeft);
  timeP->SetBevelOuter(TBevelCut::bvNone);
  timeP->SetAlignment(TAlignment::taLeftJustify);
  timeP->Font()->SetName(u"宋体");
  timeP->Font()->SetHeight(-12);
  timeP->Font()->SetColor(clActiveCaption);
  timeP->SetParent(Panel1);
  Edit1 = new TEdit(this);
  Edit1->SetName(u"Edit1");
  Edit1->SetBounds(360, 2, 121, 21);
  Edit1->SetVisible(false);
  Edit1->SetParent(Panel1);

  pc1 = new TPageControl(this);
  pc1->SetName(u"pc1");
  pc1->SetAlign(TAlign::alClient);
  pc1->SetTabHeight(29);
  pc1->SetParent(this);
  TabSheet1 = Sheet(u"TabSheet1", u"  首  页  ");
  TabSheet2 = Sheet(u"TabSheet2", u"中文字典");
  TabSheet3 = Sheet(u"TabSheet3", u"中文词典");
  TabSheet4 = Sheet(u"TabSheet4", u"成语词典");
  TabSheet5 = Sheet(u"TabSheet5", u"英语词典");
  TabSheet6 = Sheet(u"TabSheet6", u"歇后语典");
  // The character page is current in the stored layout; FormCreate hides the five.
  pc1->SetActivePage(TabSheet2);

  BuildSearchPages();

  PopupMenu1 = new TPopupMenu(this);
  PopupMenu1->SetName(u"PopupMenu1");
  N1 = MenuItem(PopupMenu1->Items(), u"N1", u"关闭当前页");
  N1->OnClick = [this](TObject* s) { N1Click(s); };
  pc1->SetPopupMenu(PopupMenu1);
}

void TForm1::FormCreate(TObject*) {
  TabSheet2->SetTabVisible(false);
  TabSheet3->SetTabVisible(false);
  TabSheet4->SetTabVisible(false);
  TabSheet5->SetTabVisible(false);
  TabSheet6->SetTabVisible(false);
}

void TForm1::OpenPage(TTabSheet* page) {
  page->SetTabVisible(true);
  pc1->SetActivePage(page);
}

void TForm1::CloseCurrentPage() {
  TTabSheet* page = pc1->ActivePage();
  if (page != nullptr && page->PageIndex() != 0) page->SetTabVisible(false);
}

void TForm1::ToolButton1Click(TObject*) { OpenPage(TabSheet2); }
void TForm1::ToolButton2Click(TObject*) { OpenPage(TabSheet3); }
void TForm1::ToolButton4Click(TObject*) { OpenPage(TabSheet4); }
void TForm1::ToolButton7Click(TObject*) { OpenPage(TabSheet5); }
void TForm1::ToolButton9Click(TObject*) { OpenPage(TabSheet6); }
void TForm1::N1Click(TObject*) { CloseCurrentPage(); }
void TForm1::X1Click(TObject*) { Close(); }

// --- search pages ------------------------------------------------------------------------

TGroupBox* TForm1::SearchGroup(TTabSheet* page, const char16_t* name) {
  auto* box = new TGroupBox(this);
  box->SetName(name);
  box->SetCaption(u"查询条件:可组合使用");
  box->SetBounds(8, 8, 217, 137);
  box->Font()->SetName(u"宋体");
  box->Font()->SetHeight(-12);
  box->SetParent(page);
  return box;
}

TLabel* TForm1::SearchLabel(TGroupBox* box, const char16_t* caption, int left, int top) {
  auto* label = new TLabel(this);
  label->SetCaption(caption);
  label->SetLeft(left);
  label->SetTop(top);
  label->SetTransparent(true);
  label->Font()->SetName(u"宋体");
  label->Font()->SetHeight(-12);
  label->Font()->SetColor(clBlack);
  label->SetParent(box);
  return label;
}

TEdit* TForm1::SearchEdit(TGroupBox* box, const char16_t* name, int left, int top, int width,
                          const char16_t* hint, void (TForm1::*keyPress)(TObject*, char16_t&)) {
  auto* edit = new TEdit(this);
  edit->SetName(name);
  edit->SetBounds(left, top, width, 24);
  edit->Font()->SetName(u"楷体_GB2312");
  edit->Font()->SetHeight(-16);
  edit->Font()->SetColor(clBlue);
  if (hint != nullptr) {
    edit->SetHint(hint);
    edit->SetShowHint(true);
  }
  edit->OnKeyPress = [this, keyPress](TObject* sender, char16_t& key) { (this->*keyPress)(sender, key); };
  edit->SetParent(box);
  return edit;
}

TButton* TForm1::PageButton(TTabSheet* page, const char16_t* name, const char16_t* caption, int left,
                            int top, void (TForm1::*click)(TObject*)) {
  auto* button = new TButton(this);
  button->SetName(name);
  button->SetCaption(caption);
  button->SetBounds(left, top, 75, 26);
  button->OnClick = [this, click](TObject* sender) { (this->*click)(sender); };
  button->SetParent(page);
  return button;
}

void TForm1::KeepOnly(std::u16string& text, char16_t low, char16_t high) {
  std::u16string kept;
  for (char16_t c : text)
    if (c >= low && c <= high) kept += c;
  text = kept;
}

void TForm1::BuildSearchPages() {
  // Characters.
  GroupBox1 = SearchGroup(TabSheet2, u"GroupBox1");
  SearchLabel(GroupBox1, u"文字或拼音", 9, 23);
  seachEdit = SearchEdit(GroupBox1, u"seachEdit", 109, 19, 97, nullptr, &TForm1::seachEditKeyPress);
  SearchLabel(GroupBox1, u"部首", 10, 54);
  se2 = SearchEdit(GroupBox1, u"se2", 37, 47, 48, nullptr, &TForm1::se2KeyPress);
  SearchLabel(GroupBox1, u"笔画数", 125, 52);
  se3 = SearchEdit(GroupBox1, u"se3", 165, 47, 41, nullptr, &TForm1::se3KeyPress);
  SearchLabel(GroupBox1, u"笔画码[推荐]", 10, 81);
  se4 = SearchEdit(GroupBox1, u"se4", 109, 100, 97, u"输入汉字的笔画码，可使用上面的按钮辅助输入",
                   &TForm1::se4KeyPress);
  // One Chinese character, or two digits, as the 8-bit limit of two bytes allows.
  for (TEdit* e : {se2, se3}) {
    e->SetMaxLength(2);
    e->SetMaxLengthInBytes(true);
  }
  se3->OnPaste = [](TObject*, std::u16string& text) { KeepOnly(text, u'0', u'9'); };
  se4->OnPaste = [](TObject*, std::u16string& text) { KeepOnly(text, u'1', u'5'); };
  CheckBox1 = new TCheckBox(this);
  CheckBox1->SetName(u"CheckBox1");
  CheckBox1->SetCaption(u"部分匹配");
  CheckBox1->SetAlignment(TAlignment::taLeftJustify);
  CheckBox1->SetBounds(29, 103, 73, 17);
  CheckBox1->SetParent(GroupBox1);
  Button2 = PageButton(TabSheet2, u"Button2", u"复 位", 16, 152, &TForm1::Button2Click);
  Button1 = PageButton(TabSheet2, u"Button1", u"查 询", 136, 152, &TForm1::seachClick);

  // Words.
  GroupBox2 = SearchGroup(TabSheet3, u"GroupBox2");
  SearchLabel(GroupBox2, u"词语或首字母", 19, 22);
  Edit4 = SearchEdit(GroupBox2, u"Edit4", 104, 18, 97, u"输入完整的成语或拼音首字母 如：\"中国\" 或 \"zg\"",
                     &TForm1::Edit4KeyPress);
  SearchLabel(GroupBox2, u"解释反查词语", 19, 52);
  Edit2 = SearchEdit(GroupBox2, u"Edit2", 104, 48, 97,
                     u"输入词语的解释中的一部分反查对应的词语。如输入\"热情\"可找到描述热情的相关词语",
                     &TForm1::Edit2KeyPress);
  SearchLabel(GroupBox2, u"词语部分匹配", 18, 81);
  Edit3 = SearchEdit(GroupBox2, u"Edit3", 103, 77, 97, u"输入词语中的一问部分，不要求输入全部文字",
                     &TForm1::Edit2KeyPress);
  Button4 = PageButton(TabSheet3, u"Button4", u"复 位", 16, 152, &TForm1::Button4Click);
  Button3 = PageButton(TabSheet3, u"Button3", u"查 询", 136, 152, &TForm1::seach2Click);

  // Idioms.
  GroupBox3 = SearchGroup(TabSheet4, u"GroupBox3");
  SearchLabel(GroupBox3, u"成语或首字母", 13, 23);
  Edit5 = SearchEdit(GroupBox3, u"Edit5", 103, 18, 97, u"输入完整的成语或拼音首字母 如：\"花好月圆\" 或 \"hhyy\"",
                     &TForm1::Edit5KeyPress);
  SearchLabel(GroupBox3, u"解释反查成语", 13, 53);
  Edit6 = SearchEdit(GroupBox3, u"Edit6", 103, 48, 97,
                     u"输入成语的解释中的一部分反查对应的成语。如输入\"热情\"可找到描述热情的相关成语",
                     &TForm1::Edit5KeyPress);
  SearchLabel(GroupBox3, u"成语部分匹配", 12, 82);
  Edit7 = SearchEdit(GroupBox3, u"Edit7", 102, 77, 97, u"输入成语的一部分，不要求输入全部文字",
                     &TForm1::Edit5KeyPress);
  Button6 = PageButton(TabSheet4, u"Button6", u"复 位", 16, 152, &TForm1::Button6Click);
  Button5 = PageButton(TabSheet4, u"Button5", u"查 询", 136, 152, &TForm1::seach3Click);

  // English.
  GroupBox4 = SearchGroup(TabSheet5, u"GroupBox4");
  SearchLabel(GroupBox4, u"英文->中文", 16, 23);
  Edit8 = SearchEdit(GroupBox4, u"Edit8", 103, 18, 97,
                     u"输入完整的英文单词进行查询，也可以在前或后加%进行部分匹配如 good%",
                     &TForm1::Edit8KeyPress);
  SearchLabel(GroupBox4, u"英文模糊查询", 15, 53);
  Edit9 = SearchEdit(GroupBox4, u"Edit9", 102, 48, 97, u"输入英文中的一部分进行智能匹配", &TForm1::Edit8KeyPress);
  SearchLabel(GroupBox4, u"中文->英文", 16, 82);
  Edit10 = SearchEdit(GroupBox4, u"Edit10", 102, 77, 97, u"输入中文查找与其相匹配的英文单词",
                      &TForm1::Edit8KeyPress);
  Button8 = PageButton(TabSheet5, u"Button8", u"复 位", 16, 152, &TForm1::Button8Click);
  Button7 = PageButton(TabSheet5, u"Button7", u"查 询", 136, 152, &TForm1::seach4Click);

  // Two-part sayings.
  GroupBox5 = SearchGroup(TabSheet6, u"GroupBox5");
  SearchLabel(GroupBox5, u"前段->后段", 16, 23);
  Edit11 = SearchEdit(GroupBox5, u"Edit11", 101, 18, 97, nullptr, &TForm1::Edit11KeyPress);
  SearchLabel(GroupBox5, u"后段->前段", 16, 59);
  Edit12 = SearchEdit(GroupBox5, u"Edit12", 101, 54, 97, nullptr, &TForm1::Edit11KeyPress);
  Button10 = PageButton(TabSheet6, u"Button10", u"复 位", 16, 152, &TForm1::Button10Click);
  Button9 = PageButton(TabSheet6, u"Button9", u"查 询", 136, 152, &TForm1::seach5Click);
}

// --- the searches ---------------------------------------------------------------------------

void TForm1::Prompt(const std::u16string& text) {
  if (OnPrompt) {
    OnPrompt(text);
    return;
  }
  Application->MessageBox(text, kPromptCaption, MB_OK);
}

static int64_t MicrosecondsNow() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return now.QuadPart / frequency.QuadPart * 1000000 +
         now.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

void TForm1::RunSearch(TADOQuery* query, const char16_t* base, const std::vector<TCondition>& conditions,
                       const std::u16string& wildcard, const std::function<bool()>& validate) {
  // A request that the message pump below lets in while a search runs is dropped.
  if (searching_) return;
  if (DMa == nullptr || !DMa->db->Connected()) {
    Prompt(kNotConnected);
    return;
  }
  // The conditions are the texts as they stand when the search is asked for.
  std::vector<TSearchCondition> texts;
  bool any = false;
  for (const auto& c : conditions) {
    texts.push_back(TSearchCondition{c.Fragment, c.Edit->Text()});
    any = any || !texts.back().Text.empty();
  }
  if (!any) {
    Prompt(kNoCondition);
    return;
  }
  if (validate && !validate()) return;
  searching_ = true;
  struct TGuard {
    bool& flag;
    ~TGuard() { flag = false; }
  } guard{searching_};
  int64_t start = MicrosecondsNow();
  timeP->SetCaption(kSearchingStatus);
  Application->ProcessMessages();  // the status line is painted before the query runs
  query->Close();
  std::u16string sql = BuildSearchSql(base, texts, wildcard);
  Edit1->SetText(sql);
  try {
    query->SQL()->Clear();
    query->SQL()->Add(sql);
    query->Open();
  } catch (...) {
    timeP->SetCaption(kSearchFailedStatus);
    throw;
  }
  int64_t elapsed = MicrosecondsNow() - start;
  timeP->SetCaption(ResultStatus(query->RecordCount(), elapsed));
}

void TForm1::seachClick(TObject*) {
  RunSearch(DMa != nullptr ? DMa->seachQ : nullptr, u"select *  from kest_hz where 1=1 ",
            {{seachEdit, u"and (name='{T}' or  pycode='{T}')"},
             {se2, u" and part='{T}'"},
             {se3, u" and strokes={N}"},
             {se4, u" and bhm like '{W}{T}{W}'"}},
            CheckBox1->Checked() ? u"%" : u"", [this] {
              // The stroke count goes into the SQL as a number: only digits may.
              if (se3->Text().empty() || IsStrokeCount(se3->Text())) return true;
              Prompt(kBadStrokeCount);
              return false;
            });
}

void TForm1::seach2Click(TObject*) {
  RunSearch(DMa != nullptr ? DMa->cd_seachq : nullptr, u"select *  from kest_cd where 1=1 ",
            {{Edit4, u"and (word='{T}' or  szm='{T}')"},
             {Edit2, u" and content like '%{T}%'"},
             {Edit3, u" and word like '%{T}%'"}},
            u"", nullptr);
}

void TForm1::seach3Click(TObject*) {
  RunSearch(DMa != nullptr ? DMa->cy_seachQ : nullptr, u"select *  from kest_cy where 1=1 ",
            {{Edit5, u"and (ChengYu='{T}' or  pyjm='{T}')"},
             {Edit6, u" and (content like '%{T}%')"},
             {Edit7, u" and (ChengYu like '%{T}%')"}},
            u"", nullptr);
}

void TForm1::seach4Click(TObject*) {
  RunSearch(DMa != nullptr ? DMa->en_seachQ : nullptr, u"select *  from kest_en where 1=1 ",
            {{Edit8, u" and (en like '{T}%')"},
             {Edit9, u" and (en like '%{T}%')"},
             {Edit10, u" and (zh like '%{T}%')  "}},
            u"", nullptr);
}

void TForm1::seach5Click(TObject*) {
  RunSearch(DMa != nullptr ? DMa->xhy_seachQ : nullptr, u"select *  from kest_xhy where 1=1 ",
            {{Edit11, u" and (first1 like '%{T}%' )  "}, {Edit12, u" and (end1 like '%{T}%' )  "}},
            u"", nullptr);
}

void TForm1::Button2Click(TObject*) {
  for (TEdit* e : {seachEdit, se2, se3, se4}) e->SetText(u"");
}
void TForm1::Button4Click(TObject*) {
  for (TEdit* e : {Edit2, Edit3, Edit4}) e->SetText(u"");
}
void TForm1::Button6Click(TObject*) {
  for (TEdit* e : {Edit5, Edit6, Edit7}) e->SetText(u"");
}
void TForm1::Button8Click(TObject*) {
  for (TEdit* e : {Edit8, Edit9, Edit10}) e->SetText(u"");
}
void TForm1::Button10Click(TObject*) {
  for (TEdit* e : {Edit11, Edit12}) e->SetText(u"");
}

// Enter runs the page's search; the key goes on to the edit unless said otherwise.
void TForm1::seachEditKeyPress(TObject* sender, char16_t& key) { EnterSearches(key, &TForm1::seachClick, sender); }
void TForm1::se2KeyPress(TObject* sender, char16_t& key) { EnterSearches(key, &TForm1::seachClick, sender); }
void TForm1::se3KeyPress(TObject* sender, char16_t& key) { DigitKey(key, u'0', u'9', sender); }
void TForm1::se4KeyPress(TObject* sender, char16_t& key) { DigitKey(key, u'1', u'5', sender); }
void TForm1::Edit4KeyPress(TObject* sender, char16_t& key) { EnterSearches(key, &TForm1::seach2Click, sender); }
void TForm1::Edit2KeyPress(TObject* sender, char16_t& key) { EnterSearches(key, &TForm1::seach2Click, sender); }
void TForm1::Edit5KeyPress(TObject* sender, char16_t& key) { EnterSearches(key, &TForm1::seach3Click, sender); }
void TForm1::Edit8KeyPress(TObject* sender, char16_t& key) { EnterSearches(key, &TForm1::seach4Click, sender); }
void TForm1::Edit11KeyPress(TObject* sender, char16_t& key) { EnterSearches(key, &TForm1::seach5Click, sender); }

void TForm1::EnterSearches(char16_t key, void (TForm1::*search)(TObject*), TObject* sender) {
  if (key == u'\r') (this->*search)(sender);
}

// Enter searches and is dropped; of the rest only the digits low to high and Backspace.
void TForm1::DigitKey(char16_t& key, char16_t low, char16_t high, TObject* sender) {
  if (key == u'\r') {
    seachClick(sender);
    key = 0;
  } else if (!(key >= low && key <= high) && key != u'\b') {
    key = 0;
  }
}
