#include "framework/menus/ShortCut.h"

TShortCut MakeShortCut(WORD key, TShiftState shift) {
  TShortCut s = static_cast<TShortCut>(key & 0xFF);
  if (shift & ssShift) s |= scShift;
  if (shift & ssCtrl) s |= scCtrl;
  if (shift & ssAlt) s |= scAlt;
  return s;
}

static std::u16string KeyName(WORD key) {
  struct Name {
    WORD key;
    const char16_t* text;
  };
  static const Name names[] = {
      {VK_BACK, u"BkSp"}, {VK_TAB, u"Tab"}, {VK_RETURN, u"Enter"}, {VK_ESCAPE, u"Esc"},
      {VK_SPACE, u"Space"}, {VK_PRIOR, u"PgUp"}, {VK_NEXT, u"PgDn"}, {VK_END, u"End"},
      {VK_HOME, u"Home"}, {VK_LEFT, u"Left"}, {VK_UP, u"Up"}, {VK_RIGHT, u"Right"},
      {VK_DOWN, u"Down"}, {VK_INSERT, u"Ins"}, {VK_DELETE, u"Del"},
  };
  for (const auto& n : names)
    if (n.key == key) return n.text;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::u16string(1, static_cast<char16_t>(key));
  if (key >= VK_F1 && key <= VK_F24) {
    int n = key - VK_F1 + 1;
    std::u16string s = u"F";
    if (n >= 10) s += static_cast<char16_t>(u'0' + n / 10);
    s += static_cast<char16_t>(u'0' + n % 10);
    return s;
  }
  return {};
}

std::u16string ShortCutToText(TShortCut shortCut) {
  std::u16string key = KeyName(shortCut & 0xFF);
  if (key.empty()) return {};
  std::u16string text;
  if (shortCut & scShift) text += u"Shift+";
  if (shortCut & scCtrl) text += u"Ctrl+";
  if (shortCut & scAlt) text += u"Alt+";
  return text + key;
}

char16_t AcceleratorOf(const std::u16string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') {
      ++i;
      continue;
    }
    char16_t c = caption[i + 1];
    return (c >= u'a' && c <= u'z') ? c - 32 : c;
  }
  return 0;
}

bool IsAccel(char16_t key, const std::u16string& caption) {
  char16_t accel = AcceleratorOf(caption);
  if (key >= u'a' && key <= u'z') key -= 32;
  return accel != 0 && accel == key;
}

std::u16string StripHotkey(const std::u16string& caption) {
  std::u16string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (i + 1 < caption.size() && caption[i + 1] == u'&') out += u'&';
      ++i;
      if (i < caption.size() && caption[i] != u'&') out += caption[i];
      continue;
    }
    out += caption[i];
  }
  return out;
}
