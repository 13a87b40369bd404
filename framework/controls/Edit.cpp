#include "framework/controls/Edit.h"

#include <algorithm>

#include "framework/controls/ControlProperties.h"
#include "framework/core/Unicode.h"
#include "framework/graphics/Colors.h"

IMPLEMENT_CLASS(TCustomEdit)
IMPLEMENT_CLASS_WITH_PROPERTIES(TEdit) {
  PublishText(p);
  PublishColor(p);
  PublishFont(p);
  p.Integer(u"MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength);
  p.Boolean(u"ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly);
  p.Enum<TBorderStyle>(u"BorderStyle", &TEdit::BorderStyle, &TEdit::SetBorderStyle);
  p.Enum<TEditCharCase>(u"CharCase", &TEdit::CharCase, &TEdit::SetCharCase);
  p.Boolean(u"AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect);
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(csClickEvents | csSetCaption | csDoubleClicks | csFixedHeight);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, u"EDIT");
  static const DWORD cases[] = {0, ES_UPPERCASE, ES_LOWERCASE};
  p.Style |= ES_AUTOHSCROLL | cases[static_cast<int>(charCase_)];
  if (readOnly_) p.Style |= ES_READONLY;
  if (passwordChar_ != 0) p.Style |= ES_PASSWORD;
  if (borderStyle_ == TBorderStyle::bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

static WPARAM NativeLimit(int maxLength, bool inBytes) {
  // A byte limit is ours to keep; the native limit only stops what cannot fit anyway.
  return static_cast<WPARAM>(inBytes ? 0 : maxLength);
}

void TCustomEdit::CreateWnd() {
  creating_ = true;
  TWinControl::CreateWnd();
  HWND h = Handle();
  SendMessageW(h, EM_LIMITTEXT, NativeLimit(maxLength_, maxLengthInBytes_), 0);
  if (passwordChar_ != 0) SendMessageW(h, EM_SETPASSWORDCHAR, passwordChar_, 0);
  SendMessageW(h, EM_SETSEL, static_cast<WPARAM>(selStart_), static_cast<LPARAM>(selStart_ + selLength_));
  creating_ = false;
}

void TCustomEdit::DestroyWnd() {
  selStart_ = SelStart();
  selLength_ = SelLength();
  TWinControl::DestroyWnd();
}

void TCustomEdit::SetMaxLength(int n) {
  if (n < 0) n = 0;
  if (n == maxLength_) return;
  maxLength_ = n;
  if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, NativeLimit(n, maxLengthInBytes_), 0);
}

void TCustomEdit::SetMaxLengthInBytes(bool v) {
  if (v == maxLengthInBytes_) return;
  maxLengthInBytes_ = v;
  if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, NativeLimit(maxLength_, v), 0);
}

std::u16string TCustomEdit::WithSelectionReplaced(const std::u16string& text) const {
  std::u16string all = Text();
  size_t start = std::min(static_cast<size_t>(SelStart()), all.size());
  size_t length = std::min(static_cast<size_t>(SelLength()), all.size() - start);
  return all.replace(start, length, text);
}

bool TCustomEdit::FitsLimit(const std::u16string& text) const {
  if (maxLength_ <= 0) return true;
  size_t size = maxLengthInBytes_ ? WideToAnsi(text, 0).size() : text.size();
  return size <= static_cast<size_t>(maxLength_);
}

void TCustomEdit::WMPaste(TMessage& m) {
  bool byteLimit = maxLengthInBytes_ && maxLength_ > 0;
  if ((!byteLimit && !OnPaste) || readOnly_) {
    DefaultHandler(m);
    return;
  }
  // The clipboard's first line, as the handler lets it through, as much as fits.
  std::u16string clip;
  if (OpenClipboard(Handle())) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (auto* text = static_cast<const char16_t*>(GlobalLock(data))) {
        clip = text;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
  }
  clip = clip.substr(0, clip.find_first_of(u"\r\n"));
  if (OnPaste) OnPaste(this, clip);
  std::u16string fitting;
  for (char16_t c : clip) {
    if (!FitsLimit(WithSelectionReplaced(fitting + c))) break;
    fitting += c;
  }
  if (!fitting.empty()) SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(fitting.c_str()));
  m.Result = 0;
}

void TCustomEdit::SetReadOnly(bool v) {
  if (v == readOnly_) return;
  readOnly_ = v;
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase c) {
  if (c == charCase_) return;
  charCase_ = c;
  RecreateWnd();
}

void TCustomEdit::SetPasswordChar(char16_t c) {
  if (c == passwordChar_) return;
  passwordChar_ = c;
  if (HandleAllocated()) {
    SendMessageW(Handle(), EM_SETPASSWORDCHAR, c, 0);
    Invalidate();
  }
}

int TCustomEdit::SelStart() const {
  if (!HandleAllocated()) return selStart_;
  DWORD start = 0, end = 0;
  SendMessageW(const_cast<TCustomEdit*>(this)->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int start) {
  start = std::max(0, start);
  if (!HandleAllocated()) {
    selStart_ = std::min(start, static_cast<int>(Text().size()));
    selLength_ = 0;
    return;
  }
  SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start));
}

int TCustomEdit::SelLength() const {
  if (!HandleAllocated()) return selLength_;
  DWORD start = 0, end = 0;
  SendMessageW(const_cast<TCustomEdit*>(this)->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int length) {
  int start = SelStart();
  if (!HandleAllocated()) {
    selLength_ = std::max(0, length);
    return;
  }
  SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + std::max(0, length)));
}

std::u16string TCustomEdit::SelText() const {
  std::u16string text = Text();
  int start = std::min(SelStart(), static_cast<int>(text.size()));
  return text.substr(static_cast<size_t>(start), static_cast<size_t>(SelLength()));
}

void TCustomEdit::SetSelText(const std::u16string& text) {
  if (HandleAllocated()) {
    SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    return;
  }
  std::u16string all = Text();
  size_t start = std::min(static_cast<size_t>(selStart_), all.size());
  all.replace(start, std::min(static_cast<size_t>(selLength_), all.size() - start), text);
  SetText(all);
  selStart_ = static_cast<int>(start + text.size());
  selLength_ = 0;
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETSEL, 0, -1);
  else {
    selStart_ = 0;
    selLength_ = static_cast<int>(Text().size());
  }
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == EN_CHANGE && !creating_) Change();
      return;
    case CM_TEXTCHANGED:
      // Without a window no EN_CHANGE comes: the change is ours to report.
      if (!HandleAllocated()) Change();
      return;
    case WM_CHAR:
      // A typed character that would take the text past a byte limit is dropped.
      if (maxLengthInBytes_ && maxLength_ > 0 && m.WParam >= 0x20 &&
          !FitsLimit(WithSelectionReplaced(std::u16string(1, static_cast<char16_t>(m.WParam))))) {
        if (!DoKeyPress(m)) MessageBeep(0);
        return;
      }
      break;
    case WM_PASTE:
      WMPaste(m);
      return;
    case WM_SETFOCUS:
      TWinControl::WndProc(m);
      if (autoSelect_ && (GetKeyState(VK_LBUTTON) >= 0)) SendMessageW(Handle(), EM_SETSEL, 0, -1);
      return;
  }
  TWinControl::WndProc(m);
}
