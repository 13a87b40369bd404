#pragma once
// The main window: the menu band, the page control with the home tab and the five
// dictionary tabs, and the status bar.
#include "framework/controls/CoolBar.h"
#include "framework/controls/PageControl.h"
#include "framework/controls/Panel.h"
#include "framework/controls/TabSheet.h"
#include "framework/controls/ToolBar.h"
#include "framework/forms/CustomForm.h"
#include "framework/menus/MainMenu.h"
#include "framework/menus/PopupMenu.h"

class TForm1 : public TForm {
  DECLARE_CLASS(TForm1, TForm)
  explicit TForm1(TComponent* owner);

  // Menu band.
  TCoolBar* CoolBar2;
  TToolBar* ToolBar1;
  TMainMenu* MainMenu2;
  TMenuItem *B1, *N2, *O1, *N3, *N4, *X1;  // 基本功能
  TMenuItem *E1, *F1, *X2;                 // 扩展功能
  TMenuItem *T1, *O2;                      // 工具
  TMenuItem *L1, *N5, *N6;                 // 在线链接
  TMenuItem *H1, *H2, *T2, *A2;            // 帮助

  // Pages.
  TPageControl* pc1;
  TTabSheet *TabSheet1, *TabSheet2, *TabSheet3, *TabSheet4, *TabSheet5, *TabSheet6;
  TPopupMenu* PopupMenu1;
  TMenuItem* N1;

  // Status bar.
  TPanel* Panel1;
  TPanel* timeP;

  void FormCreate(TObject* sender);
  void ToolButton1Click(TObject* sender);
  void ToolButton2Click(TObject* sender);
  void ToolButton4Click(TObject* sender);
  void ToolButton7Click(TObject* sender);
  void ToolButton9Click(TObject* sender);
  void N1Click(TObject* sender);
  void X1Click(TObject* sender);

 private:
  void OpenPage(TTabSheet* page);
  void CloseCurrentPage();
  TMenuItem* MenuItem(TMenuItem* parent, const char16_t* name, const char16_t* caption);
  TTabSheet* Sheet(const char16_t* name, const char16_t* caption);
};

extern TForm1* Form1;
