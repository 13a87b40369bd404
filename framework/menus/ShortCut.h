#pragma once
// Keyboard shortcuts of menu items: a virtual key with shift bits.
#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/core/Types.h"

using TShortCut = uint16_t;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };

TShortCut MakeShortCut(WORD key, TShiftState shift);
// "Ctrl+N", "Alt+F4", "Shift+Ctrl+Del"; "" for no shortcut.
std::u16string ShortCutToText(TShortCut shortCut);
// The accelerator character after a single "&" in a caption (upper-cased), or 0.
char16_t AcceleratorOf(const std::u16string& caption);
// True when key (a character) is the caption's accelerator, ASCII case ignored.
bool IsAccel(char16_t key, const std::u16string& caption);
// The caption as drawn: "&&" becomes "&", a single "&" disappears.
std::u16string StripHotkey(const std::u16string& caption);
