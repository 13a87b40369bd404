#pragma once
// Conversions between the program's UTF-16 strings and UTF-8 / ANSI bytes, and the
// ASCII-only case rules that the dictionary and skin data rely on.
#include <cstdint>
#include <string>
#include <string_view>

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// Code page 936 is GBK; 0 is the process's ANSI code page.
std::u16string AnsiToWide(std::string_view bytes, unsigned codePage = 0);
std::string WideToAnsi(std::u16string_view text, unsigned codePage = 0);

// Only A-Z / a-z change; everything else stays as it is.
std::u16string LowerAscii(std::u16string_view text);
std::u16string UpperAscii(std::u16string_view text);
std::string LowerAscii(std::string_view text);
bool SameTextAscii(std::u16string_view a, std::u16string_view b);
// <0, 0, >0 like strcmp, ignoring ASCII case.
int CompareTextAscii(std::u16string_view a, std::u16string_view b);

std::u16string IntToStr(int64_t value);
std::u16string IntToHex(uint64_t value, int digits);
// Decimal with optional sign, or hexadecimal after "$"; false on anything else.
bool TryStrToInt(std::u16string_view text, int64_t& value);
std::u16string Trim(std::u16string_view text);
std::u16string StringReplaceAll(std::u16string_view text, std::u16string_view find,
                                std::u16string_view by);
