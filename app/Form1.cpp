#include "app/Form1.h"

#include "framework/core/Property.h"
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
