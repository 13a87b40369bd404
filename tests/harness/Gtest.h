#pragma once
// GoogleTest is a native library: it must not see the Windows macros.
#include <windows.h>

#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#pragma push_macro("__WIN32__")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN64")
#pragma push_macro("__WINNT__")
#undef _WIN32
#undef WIN32
#undef __WIN32__
#undef _WIN64
#undef WIN64
#undef __WINNT__
#include <gtest/gtest.h>
#pragma pop_macro("__WINNT__")
#pragma pop_macro("WIN64")
#pragma pop_macro("_WIN64")
#pragma pop_macro("__WIN32__")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")

#include <string>

#include "framework/core/Unicode.h"

// Readable failure output for UTF-16 strings.
inline void PrintTo(const std::u16string& s, std::ostream* os) { *os << '"' << Utf16ToUtf8(s) << '"'; }
