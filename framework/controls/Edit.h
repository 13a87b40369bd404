#pragma once
// Single-line text edits over the native "Edit" class.
#include "framework/controls/WinControl.h"

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
  DECLARE_CLASS(TCustomEdit, TWinControl)
  explicit TCustomEdit(TComponent* owner);

  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase c);
  char16_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char16_t c);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  // Caret position / selection, counted in characters from 0.
  int SelStart() const;
  void SetSelStart(int start);
  int SelLength() const;
  void SetSelLength(int length);
  std::u16string SelText() const;
  void SetSelText(const std::u16string& text);
  void SelectAll();
  void Clear() { SetText(u""); }
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void Change();

 private:
  int maxLength_ = 0;
  bool readOnly_ = false;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  TEditCharCase charCase_ = TEditCharCase::ecNormal;
  char16_t passwordChar_ = 0;
  bool autoSelect_ = true;
  int selStart_ = 0, selLength_ = 0;  // kept while there is no window
  bool creating_ = false;
};

class TEdit : public TCustomEdit {
  DECLARE_CLASS(TEdit, TCustomEdit)
  using TCustomEdit::TCustomEdit;
};

DECLARE_ENUM_NAMES(TEditCharCase, u"ecNormal", u"ecUpperCase", u"ecLowerCase")
