#pragma once
// The main window: the menu band, the page control with the home tab and the five
// dictionary tabs, and the status bar.
#include <functional>
#include <vector>

#include "framework/controls/Button.h"
#include "framework/controls/CheckBox.h"
#include "framework/controls/CoolBar.h"
#include "framework/data/ADOQuery.h"
#include "framework/controls/Edit.h"
#include "framework/controls/GroupBox.h"
#include "framework/controls/Label.h"
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
  TEdit* Edit1;  // the SQL text of the last search, hidden

  // Search conditions and buttons, page by page.
  TGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4, *GroupBox5;
  TEdit *seachEdit, *se2, *se3, *se4;
  TCheckBox* CheckBox1;
  TEdit *Edit4, *Edit2, *Edit3;
  TEdit *Edit5, *Edit6, *Edit7;
  TEdit *Edit8, *Edit9, *Edit10;
  TEdit *Edit11, *Edit12;
  TButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8, *Button9,
      *Button10;

  // The five searches.
  void seachClick(TObject* sender);
  void seach2Click(TObject* sender);
  void seach3Click(TObject* sender);
  void seach4Click(TObject* sender);
  void seach5Click(TObject* sender);
  // Reset buttons: empty the edits of their page.
  void Button2Click(TObject* sender);
  void Button4Click(TObject* sender);
  void Button6Click(TObject* sender);
  void Button8Click(TObject* sender);
  void Button10Click(TObject* sender);
  void seachEditKeyPress(TObject* sender, char16_t& key);
  void se2KeyPress(TObject* sender, char16_t& key);
  void se3KeyPress(TObject* sender, char16_t& key);
  void se4KeyPress(TObject* sender, char16_t& key);
  void Edit4KeyPress(TObject* sender, char16_t& key);
  void Edit2KeyPress(TObject* sender, char16_t& key);
  void Edit5KeyPress(TObject* sender, char16_t& key);
  void Edit8KeyPress(TObject* sender, char16_t& key);
  void Edit11KeyPress(TObject* sender, char16_t& key);

  // Where the "提示" messages go; a message box when not set (tools set it).
  std::function<void(const std::u16string& text)> OnPrompt;

  void FormCreate(TObject* sender);
  void ToolButton1Click(TObject* sender);
  void ToolButton2Click(TObject* sender);
  void ToolButton4Click(TObject* sender);
  void ToolButton7Click(TObject* sender);
  void ToolButton9Click(TObject* sender);
  void N1Click(TObject* sender);
  void X1Click(TObject* sender);

 private:
  struct TCondition {
    TEdit* Edit;
    const char16_t* Fragment;
  };
  // The search steps shared by all five dictionaries.
  void RunSearch(TADOQuery* query, const char16_t* base, const std::vector<TCondition>& conditions,
                 const std::u16string& wildcard, const std::function<bool()>& validate);
  void Prompt(const std::u16string& text);
  void BuildSearchPages();
  TGroupBox* SearchGroup(TTabSheet* page, const char16_t* name);
  TEdit* SearchEdit(TGroupBox* box, const char16_t* name, int left, int top, int width,
                    const char16_t* hint, void (TForm1::*keyPress)(TObject*, char16_t&));
  TLabel* SearchLabel(TGroupBox* box, const char16_t* caption, int left, int top);
  TButton* PageButton(TTabSheet* page, const char16_t* name, const char16_t* caption, int left, int top,
                      void (TForm1::*click)(TObject*));
  void EnterSearches(char16_t key, void (TForm1::*search)(TObject*), TObject* sender);
  void DigitKey(char16_t& key, char16_t low, char16_t high, TObject* sender);
  // Keeps only the characters a digit edit allows in pasted text.
  static void KeepOnly(std::u16string& text, char16_t low, char16_t high);
  bool searching_ = false;

  void OpenPage(TTabSheet* page);
  void CloseCurrentPage();
  TMenuItem* MenuItem(TMenuItem* parent, const char16_t* name, const char16_t* caption);
  TTabSheet* Sheet(const char16_t* name, const char16_t* caption);
};

extern TForm1* Form1;
