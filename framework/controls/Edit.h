#pragma once
// Single-line text edits over the native "Edit" class.
#include "framework/controls/WinControl.h"

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// The text a paste is about to insert; the handler may change it (empty: nothing).
using TEditPasteEvent = std::function<void(TObject* sender, std::u16string& text)>;

class TCustomEdit : public TWinControl {
  DECLARE_CLASS(TCustomEdit, TWinControl)
  explicit TCustomEdit(TComponent* owner);

  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  // When set, MaxLength counts the bytes the text takes in the ANSI code page (a Chinese
  // character two, a digit one), as an edit of an 8-bit program does.
  bool MaxLengthInBytes() const { return maxLengthInBytes_; }
  void SetMaxLengthInBytes(bool v);
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
  TEditPasteEvent OnPaste;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void Change();

 private:
  // What the text would be with the selection replaced by text.
  std::u16string WithSelectionReplaced(const std::u16string& text) const;
  bool FitsLimit(const std::u16string& text) const;
  void WMPaste(TMessage& m);

  int maxLength_ = 0;
  bool maxLengthInBytes_ = false;
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
